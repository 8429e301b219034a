#pragma once

#include "desktop/NotificationArea.h"

// A tray the test can take away.
class FakeNotificationArea : public desktop::NotificationArea {
    Q_OBJECT
public:
    using NotificationArea::NotificationArea;

    bool isAvailable() const override { return available; }
    void show() override { shown = true; }
    void hide() override { shown = false; }
    void setMenu(QMenu* m) override { menu = m; }
    void setPaused(bool p) override { paused = p; }

    bool available = true;
    bool shown = false;
    bool paused = false;
    QMenu* menu = nullptr;
};
