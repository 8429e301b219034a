#include "desktop/WaylandClipboardWorker.h"

#include <QSocketNotifier>
#include <utility>

namespace desktop {

WaylandClipboardWorker::WaylandClipboardWorker(std::unique_ptr<WaylandDataControl> control,
                                               QObject* parent)
    : QObject(parent), control_(std::move(control)) {
    qRegisterMetaType<WaylandDataControl::Selection>();
    qRegisterMetaType<WaylandDataControl::Result>();
    thread_.setObjectName(QStringLiteral("WaylandClipboard"));
    inThread_ = new QObject;
    inThread_->moveToThread(&thread_);
    // From here on the connection is the thread's alone.
    control_->onSelectionChanged([this](Selection selection) {
        QMetaObject::invokeMethod(
            this, [this, selection] { Q_EMIT changed(selection); }, Qt::QueuedConnection);
    });
    thread_.start();
    QMetaObject::invokeMethod(
        inThread_,
        [this] {
            auto* notifier = new QSocketNotifier(control_->fd(), QSocketNotifier::Read, inThread_);
            QObject::connect(notifier, &QSocketNotifier::activated, inThread_, [this, notifier] {
                if (control_->dispatch())
                    return;
                notifier->setEnabled(false);
                QMetaObject::invokeMethod(
                    this, [this] { Q_EMIT connectionLost(); }, Qt::QueuedConnection);
            });
            // Anything that came with the set-up is already queued: act on it now.
            control_->dispatch();
        },
        Qt::QueuedConnection);
}

WaylandClipboardWorker::~WaylandClipboardWorker() {
    control_->stop();
    thread_.quit();
    thread_.wait();
    delete inThread_;
}

WaylandClipboardWorker::Reading& WaylandClipboardWorker::readingOf(Selection selection) {
    return selection == Selection::Clipboard ? clipboard_ : primary_;
}

void WaylandClipboardWorker::read(Selection selection) {
    Reading& reading = readingOf(selection);
    if (reading.underWay) {
        reading.again = true;
        return;
    }
    reading.underWay = true;
    reading.again = false;
    QMetaObject::invokeMethod(
        inThread_,
        [this, selection] {
            // The newest selection first: a copy made while the read was asked for counts.
            control_->dispatch();
            const WaylandDataControl::Result result = control_->read(selection);
            // Posted to this object: dropped unread if it is destroyed first.
            QMetaObject::invokeMethod(
                this, [this, selection, result] { deliver(selection, result); },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void WaylandClipboardWorker::deliver(Selection selection,
                                     const WaylandDataControl::Result& result) {
    Reading& reading = readingOf(selection);
    reading.underWay = false;
    if (std::exchange(reading.again, false))
        read(selection);
    Q_EMIT finished(selection, result);
}

} // namespace desktop
