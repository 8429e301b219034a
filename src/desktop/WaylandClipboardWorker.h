#pragma once

#include "desktop/WaylandDataControl.h"

#include <QObject>
#include <QThread>
#include <memory>

namespace desktop {

// Watches and reads the Wayland selections with a WaylandDataControl on a thread of its own:
// the thread sleeps until the compositor's socket is readable (no timer), and a source that
// hangs, or streams a copy without end, never holds the thread that asked. Changes and
// results come back through signals, on the thread that made the worker.
class WaylandClipboardWorker : public QObject {
    Q_OBJECT
public:
    using Selection = WaylandDataControl::Selection;

    explicit WaylandClipboardWorker(std::unique_ptr<WaylandDataControl> control,
                                    QObject* parent = nullptr);
    // Stops a read under way and joins the thread: nothing is told after this.
    ~WaylandClipboardWorker() override;
    WaylandClipboardWorker(const WaylandClipboardWorker&) = delete;
    WaylandClipboardWorker& operator=(const WaylandClipboardWorker&) = delete;

    // Starts a read of selection. Asked while one of it is under way, it reads once more after
    // that one (however often asked meanwhile) and tells both results.
    void read(Selection selection);

Q_SIGNALS:
    void changed(desktop::WaylandDataControl::Selection selection);
    void finished(desktop::WaylandDataControl::Selection selection,
                  const desktop::WaylandDataControl::Result& result);
    // The compositor closed the connection: nothing more is told.
    void connectionLost();

private:
    struct Reading {
        bool underWay = false;
        bool again = false;
    };
    Reading& readingOf(Selection selection);
    void deliver(Selection selection, const WaylandDataControl::Result& result);

    std::unique_ptr<WaylandDataControl> control_;
    QThread thread_;
    // Lives in thread_: the socket's notifier and the reads run in its event loop.
    QObject* inThread_ = nullptr;
    Reading clipboard_;
    Reading primary_;
};

} // namespace desktop
