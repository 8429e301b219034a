#include "browser/LoadingIndicator.h"

#include "timing/QtOneShotTimer.h"

namespace browser {

LoadingIndicator::LoadingIndicator(QObject* parent)
    : LoadingIndicator(&timing::QtOneShotTimer::make, parent) {}

LoadingIndicator::LoadingIndicator(const timing::OneShotTimerFactory& makeTimer, QObject* parent)
    : QObject(parent), delay_(makeTimer(false)) {
    delay_->setHandler([this] {
        if (loading_)
            setVisible(true);
    });
}

LoadingIndicator::~LoadingIndicator() = default;

void LoadingIndicator::started() {
    loading_ = true;
    if (progress_ != kNothingArrived) {
        progress_ = kNothingArrived;
        Q_EMIT progressChanged(progress_);
    }
    if (!visible_)
        delay_->start(kShowAfterMs);
}

void LoadingIndicator::progressed(int percent) {
    percent = qBound(0, percent, 100);
    if (progress_ == kNothingArrived && percent <= kEngineStartMark)
        return;
    if (!loading_ || percent == progress_)
        return;
    progress_ = percent;
    Q_EMIT progressChanged(progress_);
}

void LoadingIndicator::ended() {
    loading_ = false;
    delay_->stop();
    setVisible(false);
}

void LoadingIndicator::setVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    Q_EMIT visibleChanged(visible_);
}

} // namespace browser
