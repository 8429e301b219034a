#pragma once

#include "desktop/GlobalKey.h"

#include <QtGlobal>
#include <array>
#include <optional>
#include <vector>

namespace desktop {

// Decides when the steps of the two global keys run. A key's step runs once when the key goes
// down and then about every repeatInterval while it stays down, for as long as the key's
// option is on: END held for half a second pauses and resumes about five times.
//
// Times are milliseconds of a monotonic clock, given by the caller: the schedule keeps no
// clock of its own, so it can be driven by a timer in the program and by tables in tests.
class KeyStepSchedule {
public:
    static constexpr qint64 kRepeatIntervalMs = 100;
    // A timer may fire this much before its time; the step counts as due all the same.
    static constexpr qint64 kEarlyToleranceMs = 5;

    // Turns a key's option on or off. Turning it on while the key is already held starts the
    // repeat one interval later; turning it off ends it at once.
    void setEnabled(GlobalKey key, bool on, qint64 nowMs);
    bool isEnabled(GlobalKey key) const;
    bool anyEnabled() const;

    // The key went down. Returns the step to run at once: none when its option is off, when
    // the key was already held (keyboards repeat a held key; the schedule repeats it at its
    // own pace) or when its last step ran less than an interval ago (a keyboard's repeat
    // reported as release and press again), so a key never steps faster than the interval.
    std::vector<KeyStep> keyDown(GlobalKey key, qint64 nowMs);
    void keyUp(GlobalKey key);
    // Forgets every held key, as when nothing reports the keys any more.
    void releaseAll();
    bool isHeld(GlobalKey key) const;

    // The steps due at nowMs, F12's before END's. A step that comes late (the program was
    // busy) runs once, not once for every interval missed.
    std::vector<KeyStep> stepsDue(qint64 nowMs);
    // When stepsDue has something to do next; none while no key with its option on is held,
    // so that nothing need wake the program.
    std::optional<qint64> nextDueMs() const;

private:
    struct KeyState {
        bool enabled = false;
        bool held = false;
        qint64 dueMs = 0;
        std::optional<qint64> lastStepMs;
    };
    static constexpr std::size_t index(GlobalKey key) { return static_cast<std::size_t>(key); }
    static KeyStep stepOf(GlobalKey key);

    std::array<KeyState, 2> keys_{};
};

} // namespace desktop
