#pragma once

#include "desktop/NotificationArea.h"

class QSystemTrayIcon;

namespace desktop {

// The notification area of the running desktop, through Qt's system tray icon.
class SystemTrayIcon : public NotificationArea {
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject* parent = nullptr);

    bool isAvailable() const override;
    void show() override;
    void hide() override;
    void setMenu(QMenu* menu) override;
    void setPaused(bool paused) override;

    bool isVisible() const;
    bool isPaused() const { return paused_; }
    QString toolTip() const;

private:
    QSystemTrayIcon* icon_ = nullptr;
    bool paused_ = false;
};

} // namespace desktop
