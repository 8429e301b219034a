#pragma once

#include <QObject>

class QMenu;

namespace desktop {

// The program's icon in the desktop's notification area (the system tray).
class NotificationArea : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether the desktop shows tray icons at this moment. Without a tray, a minimised window
    // can only come back through the task bar, and nothing offers the tray menu's close.
    virtual bool isAvailable() const = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    // The menu the icon opens on a right click; the caller keeps it.
    virtual void setMenu(QMenu* menu) = 0;
    // The paused picture while the clipboard watcher is paused, the program's own otherwise.
    virtual void setPaused(bool paused) = 0;

Q_SIGNALS:
    // A left click on the icon.
    void clicked();
};

} // namespace desktop
