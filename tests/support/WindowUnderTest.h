#pragma once

#include "app/MainWindow.h"
#include "support/EventLoop.h"
#include "support/FakeBrowser.h"
#include "support/Named.h"

#include <QAction>
#include <QTimer>
#include <memory>

// The main window as the window tests use it: real in everything but the browser engine, for
// which FakeBrowser stands in. Each test makes its own.
class WindowUnderTest {
public:
    // Creates and shows the window; its start timer runs as in the program.
    app::MainWindow& create(desktop::GlobalKeySource* keys = nullptr,
                            desktop::NotificationArea* tray = nullptr) {
        window_ = std::make_unique<app::MainWindow>(&browsers_, nullptr, keys, tray);
        window_->show();
        return *window_;
    }
    // Creates the window with its start timer held, so that the test fires it when it wants.
    app::MainWindow& createHeld() {
        window_ = std::make_unique<app::MainWindow>(&browsers_);
        named<QTimer>(*window_, "Timer1")->stop();
        window_->show();
        settle();
        return *window_;
    }
    void fireStartTimer() {
        auto* timer = named<QTimer>(*window_, "Timer1");
        timer->setInterval(0);
        timer->start();
        processEventsUntil([&] { return !timer->isActive(); });
        settle();
    }
    // Creates the window and waits until its start sequence has opened the first tab; null
    // when it did not within the time-out.
    FakeBrowser* start(desktop::GlobalKeySource* keys = nullptr,
                       desktop::NotificationArea* tray = nullptr) {
        create(keys, tray);
        return firstTab();
    }
    FakeBrowser* firstTab() {
        if (!processEventsUntil([&] { return !browsers_.created.isEmpty(); }))
            return nullptr;
        return browsers_.created.first();
    }
    // The window goes, as at the end of the program (its settings are written).
    void reset() { window_.reset(); }

    // Used like a pointer to the window.
    app::MainWindow* get() const { return window_.get(); }
    app::MainWindow& operator*() const { return *window_; }
    app::MainWindow* operator->() const { return window_.get(); }
    QAction* action(const char* objectName) const { return named<QAction>(*window_, objectName); }
    FakeBrowserFactory& browsers() { return browsers_; }
    // Every address the tabs were sent to, in order, over all tabs.
    QStringList loads() const { return browsers_.loads(); }

private:
    FakeBrowserFactory browsers_;
    std::unique_ptr<app::MainWindow> window_;
};
