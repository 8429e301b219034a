#include "app/StartSequence.h"

#include <QTimer>

namespace app {

StartSequence::StartSequence(Steps steps, QObject* parent)
    : QObject(parent), steps_(std::move(steps)), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setSingleShot(true);
    timer_->setInterval(kDelayMs);
    connect(timer_, &QTimer::timeout, this, &StartSequence::run);
}

void StartSequence::arm() {
    timer_->start();
}

void StartSequence::copyWaiting() {
    if (!timer_->isActive() && !hasRun_)
        timer_->start();
}

void StartSequence::run() {
    if (hasRun_)
        return;
    hasRun_ = true;
    steps_.loadSettings();
    steps_.loadCategoryVisibility();
    // With the settings read: minimised once if they say so.
    steps_.applyMinimiseAtStart();
    if (!steps_.lookUpWaitingCopy())
        steps_.openStartPage();
    timer_->stop();
}

} // namespace app
