#pragma once

#include <QObject>
#include <QString>

namespace input {

// The system clipboard as the watcher sees it: a change notice and a way to read the text.
class ClipboardSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    struct Content {
        enum Kind { Text, NoText, Unreadable } kind = NoText;
        QString text;   // Text: the copied text, unchanged
        QString reason; // Unreadable: why, for the user
    };
    virtual Content read() = 0;

Q_SIGNALS:
    void changed();
};

} // namespace input
