#include "browser/PageInputWatch.h"

#include <QChildEvent>
#include <QEvent>
#include <QWidget>
#include <utility>

namespace browser {

PageInputWatch::PageInputWatch(QWidget* view) : QObject(view) {
    view->installEventFilter(this);
    // The engine draws into a child widget, made anew when the page's renderer changes.
    for (QObject* child : view->children())
        if (child->isWidgetType())
            child->installEventFilter(this);
}

bool PageInputWatch::takePress() {
    return std::exchange(pressed_, false);
}

bool PageInputWatch::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
            child->installEventFilter(this);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::TouchBegin:
        pressed_ = true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace browser
