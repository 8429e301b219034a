#include "desktop/PlatformChoice.h"

#include <QtGlobal>

namespace desktop {

bool isWaylandSession(const EnvironmentReader& env) {
    return env("XDG_SESSION_TYPE") == "wayland" || !env("WAYLAND_DISPLAY").isEmpty();
}

bool shouldAskForXcb(const EnvironmentReader& env) {
    if (!env("QT_QPA_PLATFORM").isEmpty())
        return false;
    return isWaylandSession(env) && !env("DISPLAY").isEmpty();
}

void chooseQtPlatform() {
    const EnvironmentReader env = [](const char* name) { return qgetenv(name); };
    if (shouldAskForXcb(env))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace desktop
