#include "desktop/KeyStepSchedule.h"

#include <algorithm>

namespace desktop {

namespace {
constexpr GlobalKey kKeysInStepOrder[] = {GlobalKey::F12, GlobalKey::End};
} // namespace

KeyStep KeyStepSchedule::stepOf(GlobalKey key) {
    return key == GlobalKey::F12 ? KeyStep::RaiseWindow : KeyStep::TogglePause;
}

void KeyStepSchedule::setEnabled(GlobalKey key, bool on, qint64 nowMs) {
    KeyState& state = keys_[index(key)];
    if (on && !state.enabled)
        state.dueMs = nowMs + kRepeatIntervalMs;
    state.enabled = on;
}

bool KeyStepSchedule::isEnabled(GlobalKey key) const {
    return keys_[index(key)].enabled;
}

bool KeyStepSchedule::anyEnabled() const {
    return std::any_of(keys_.begin(), keys_.end(), [](const KeyState& s) { return s.enabled; });
}

std::vector<KeyStep> KeyStepSchedule::keyDown(GlobalKey key, qint64 nowMs) {
    KeyState& state = keys_[index(key)];
    if (state.held)
        return {};
    state.held = true;
    if (!state.enabled) {
        state.dueMs = nowMs + kRepeatIntervalMs;
        return {};
    }
    if (state.lastStepMs && nowMs + kEarlyToleranceMs < *state.lastStepMs + kRepeatIntervalMs) {
        state.dueMs = *state.lastStepMs + kRepeatIntervalMs;
        return {};
    }
    state.lastStepMs = nowMs;
    state.dueMs = nowMs + kRepeatIntervalMs;
    return {stepOf(key)};
}

void KeyStepSchedule::keyUp(GlobalKey key) {
    keys_[index(key)].held = false;
}

void KeyStepSchedule::releaseAll() {
    for (KeyState& state : keys_)
        state.held = false;
}

bool KeyStepSchedule::isHeld(GlobalKey key) const {
    return keys_[index(key)].held;
}

std::vector<KeyStep> KeyStepSchedule::stepsDue(qint64 nowMs) {
    std::vector<KeyStep> steps;
    for (GlobalKey key : kKeysInStepOrder) {
        KeyState& state = keys_[index(key)];
        if (!state.enabled || !state.held || nowMs + kEarlyToleranceMs < state.dueMs)
            continue;
        steps.push_back(stepOf(key));
        // From now, not from when it was due: after a stall the key repeats at its pace
        // instead of catching up in a burst.
        state.lastStepMs = nowMs;
        state.dueMs = nowMs + kRepeatIntervalMs;
    }
    return steps;
}

std::optional<qint64> KeyStepSchedule::nextDueMs() const {
    std::optional<qint64> next;
    for (const KeyState& state : keys_)
        if (state.enabled && state.held && (!next || state.dueMs < *next))
            next = state.dueMs;
    return next;
}

} // namespace desktop
