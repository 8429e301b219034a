#pragma once

#include "desktop/X11ClipboardReader.h"

#include <QObject>
#include <QThread>
#include <memory>

namespace desktop {

// Reads the clipboard with an X11ClipboardReader on a thread of its own, so that an owner that
// hangs, or streams a copy without end, never holds the thread that asked: the answer comes
// back through finished(), on the asking thread.
class X11ClipboardWorker : public QObject {
    Q_OBJECT
public:
    explicit X11ClipboardWorker(std::unique_ptr<X11ClipboardReader> reader,
                                QObject* parent = nullptr);
    // Stops a read under way and joins the thread: nothing is told after this.
    ~X11ClipboardWorker() override;
    X11ClipboardWorker(const X11ClipboardWorker&) = delete;
    X11ClipboardWorker& operator=(const X11ClipboardWorker&) = delete;

    // Starts a read. Asked while one is under way, it reads once more after that one (however
    // often asked meanwhile) and tells both results: the earlier may be a failure to tell of,
    // such as an owner that went away while read.
    void read();
    bool isReading() const { return reading_; }

Q_SIGNALS:
    void finished(const desktop::X11ClipboardReader::Result& result);

private:
    void deliver(const X11ClipboardReader::Result& result);

    std::unique_ptr<X11ClipboardReader> reader_;
    QThread thread_;
    // Lives in thread_: reads run in its event loop.
    QObject* inThread_ = nullptr;
    bool reading_ = false;
    bool readAgain_ = false;
};

} // namespace desktop
