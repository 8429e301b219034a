#include "desktop/HotkeyController.h"

#include "desktop/GlobalKeySource.h"
#include "timing/QtOneShotTimer.h"

#include <QPointer>
#include <chrono>

namespace desktop {

HotkeyController::HotkeyController(GlobalKeySource& source, Clock clock,
                                   const timing::OneShotTimerFactory& makeTimer, QObject* parent)
    : QObject(parent), source_(source), clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
    }
    // Only runs while a key is held; a coarse timer would stretch the repeat by up to 5 %.
    constexpr bool kPrecise = true;
    timer_ = makeTimer ? makeTimer(kPrecise) : timing::QtOneShotTimer::make(kPrecise);
    timer_->setHandler([this] { onTimer(); });
    connect(&source_, &GlobalKeySource::keyDown, this, &HotkeyController::onKeyDown);
    connect(&source_, &GlobalKeySource::keyUp, this, &HotkeyController::onKeyUp);
    connect(&source_, &GlobalKeySource::failed, this, &HotkeyController::onSourceFailed);
}

HotkeyController::~HotkeyController() {
    stop();
}

qint64 HotkeyController::now() const {
    return clock_();
}

void HotkeyController::setRaiseWithF12(bool on) {
    setEnabled(GlobalKey::F12, on);
}

void HotkeyController::setPauseWithEnd(bool on) {
    setEnabled(GlobalKey::End, on);
}

void HotkeyController::setEnabled(GlobalKey key, bool on) {
    if (stopped_)
        return;
    schedule_.setEnabled(key, on, now());
    updateListening();
    rearm();
}

void HotkeyController::updateListening() {
    const bool wanted = schedule_.anyEnabled() && !stopped_;
    if (wanted && !unavailableTold_) {
        const QString reason = source_.unavailableReason();
        if (!reason.isEmpty()) {
            unavailableTold_ = true;
            Q_EMIT unavailable(reason);
        }
    }
    if (wanted == listening_)
        return;
    listening_ = wanted;
    if (!wanted)
        schedule_.releaseAll(); // no release will be reported while not listening
    source_.setListening(wanted);
}

void HotkeyController::stop() {
    if (stopped_)
        return;
    stopped_ = true;
    timer_->stop();
    disconnect(&source_, nullptr, this, nullptr);
    if (listening_) {
        listening_ = false;
        source_.setListening(false);
    }
    schedule_.releaseAll();
}

bool HotkeyController::isRepeating() const {
    return timer_->isActive();
}

void HotkeyController::onKeyDown(GlobalKey key) {
    if (stopped_)
        return;
    const std::vector<KeyStep> steps = schedule_.keyDown(key, now());
    rearm();
    run(steps);
}

void HotkeyController::onKeyUp(GlobalKey key) {
    if (stopped_)
        return;
    schedule_.keyUp(key);
    rearm();
}

void HotkeyController::onTimer() {
    if (stopped_)
        return;
    // On a busy machine the timer can come before a release that has already happened: a short
    // press would count as held and repeat its step.
    QPointer<HotkeyController> self(this);
    source_.catchUp();
    if (!self || stopped_)
        return;
    const std::vector<KeyStep> steps = schedule_.stepsDue(now());
    rearm();
    run(steps);
}

void HotkeyController::onSourceFailed(const QString& reason) {
    schedule_.releaseAll();
    rearm();
    if (!unavailableTold_ && !stopped_) {
        unavailableTold_ = true;
        Q_EMIT unavailable(reason);
    }
}

void HotkeyController::rearm() {
    const std::optional<qint64> due = schedule_.nextDueMs();
    if (!due || stopped_) {
        timer_->stop();
        return;
    }
    timer_->start(static_cast<int>(std::max<qint64>(0, *due - now())));
}

// A step may run the event loop (raising the window waits for the restore to take effect),
// and a handler run meanwhile may stop the controller or destroy it.
void HotkeyController::run(const std::vector<KeyStep>& steps) {
    QPointer<HotkeyController> self(this);
    for (KeyStep step : steps) {
        if (!self || stopped_)
            return;
        if (step == KeyStep::RaiseWindow)
            Q_EMIT raiseRequested();
        else
            Q_EMIT pauseToggleRequested();
    }
}

} // namespace desktop
