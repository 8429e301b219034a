#pragma once

#include <QObject>
#include <QString>

// The child of root with the given objectName, the way tests find a window's controls;
// null when there is none.
template <typename T> T* named(const QObject& root, const char* objectName) {
    return root.findChild<T*>(QString::fromLatin1(objectName));
}
