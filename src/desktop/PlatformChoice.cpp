#include "desktop/PlatformChoice.h"

#include <QtGlobal>

namespace desktop {

bool shouldAskForXcb(const EnvironmentReader& env) {
    if (!env("QT_QPA_PLATFORM").isEmpty())
        return false;
    const bool wayland = env("XDG_SESSION_TYPE") == "wayland" || !env("WAYLAND_DISPLAY").isEmpty();
    return wayland && !env("DISPLAY").isEmpty();
}

void chooseQtPlatform() {
    const EnvironmentReader env = [](const char* name) { return qgetenv(name); };
    if (shouldAskForXcb(env))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace desktop
