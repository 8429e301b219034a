#include "desktop/X11ClipboardWorker.h"

#include <utility>

namespace desktop {

X11ClipboardWorker::X11ClipboardWorker(std::unique_ptr<X11ClipboardReader> reader, QObject* parent)
    : QObject(parent), reader_(std::move(reader)) {
    thread_.setObjectName(QStringLiteral("ClipboardRead"));
    inThread_ = new QObject;
    inThread_->moveToThread(&thread_);
    thread_.start();
}

X11ClipboardWorker::~X11ClipboardWorker() {
    reader_->stop();
    thread_.quit();
    thread_.wait();
    delete inThread_;
}

void X11ClipboardWorker::read() {
    if (reading_) {
        readAgain_ = true;
        return;
    }
    reading_ = true;
    readAgain_ = false;
    QMetaObject::invokeMethod(
        inThread_,
        [this] {
            const X11ClipboardReader::Result result = reader_->read();
            // Posted to this object: dropped unread if it is destroyed first.
            QMetaObject::invokeMethod(
                this, [this, result] { deliver(result); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void X11ClipboardWorker::deliver(const X11ClipboardReader::Result& result) {
    reading_ = false;
    // The newer read starts before this result is told: whatever the receiver does meanwhile
    // (a lookup that runs the event loop) finds a read under way and only asks for one more.
    if (std::exchange(readAgain_, false))
        read();
    Q_EMIT finished(result);
}

} // namespace desktop
