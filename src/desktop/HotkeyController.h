#pragma once

#include "desktop/KeyStepSchedule.h"
#include "timing/OneShotTimer.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace desktop {

class GlobalKeySource;

// Runs the steps of F12 (raise the window) and END (pause or resume) when their options are
// on: once when the key goes down, then about every 0.1 s while it is held. It listens to the
// keys only while one of the options is on, and a timer runs only while such a key is held,
// so an idle program is never woken by it.
class HotkeyController : public QObject {
    Q_OBJECT
public:
    // Milliseconds of a monotonic clock; empty means the system's steady clock.
    using Clock = std::function<qint64()>;

    // The source must outlive the controller or be stopped with it. Empty makeTimer means
    // the event loop's timers.
    explicit HotkeyController(GlobalKeySource& source, Clock clock = {},
                              const timing::OneShotTimerFactory& makeTimer = {},
                              QObject* parent = nullptr);
    ~HotkeyController() override;

    void setRaiseWithF12(bool on);
    void setPauseWithEnd(bool on);

    // Ends listening for good: no step runs after it, also from a key event or a timer tick
    // already queued. Called before the window that the steps act on goes away.
    void stop();
    bool isStopped() const { return stopped_; }
    // Whether the repeat timer is running (a key whose option is on is held).
    bool isRepeating() const;

Q_SIGNALS:
    void raiseRequested();
    void pauseToggleRequested();
    // Once per run, when an option is on but the keys cannot be seen: why, for the status bar.
    void unavailable(const QString& message);

private:
    void setEnabled(GlobalKey key, bool on);
    void onKeyDown(GlobalKey key);
    void onKeyUp(GlobalKey key);
    void onTimer();
    void onSourceFailed(const QString& reason);
    void run(const std::vector<KeyStep>& steps);
    void updateListening();
    void rearm();
    qint64 now() const;

    GlobalKeySource& source_;
    Clock clock_;
    KeyStepSchedule schedule_;
    std::unique_ptr<timing::OneShotTimer> timer_;
    bool stopped_ = false;
    bool listening_ = false;
    bool unavailableTold_ = false;
};

} // namespace desktop
