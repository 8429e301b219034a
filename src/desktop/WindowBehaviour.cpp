#include "desktop/WindowBehaviour.h"

namespace desktop {

WindowBehaviour::CloseOutcome WindowBehaviour::closeRequested(bool trayAvailable) const {
    if (quitting_ || !closeButtonMinimises_ || !trayAvailable)
        return CloseOutcome::Close;
    return CloseOutcome::Minimise;
}

bool WindowBehaviour::minimiseOnDeactivation(WindowState state) const {
    // A window already minimised or not shown has nothing to give way with; minimising it
    // again would only bring a hidden window onto the task bar.
    return minimiseWhenInactive_ && !quitting_ &&
           (state == WindowState::Normal || state == WindowState::Maximised);
}

bool WindowBehaviour::minimiseAfterSettingsRead(bool minimiseAtStart, WindowState state) {
    return minimiseAtStart && (state == WindowState::Normal || state == WindowState::Maximised);
}

} // namespace desktop
