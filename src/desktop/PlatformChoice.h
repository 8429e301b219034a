#pragma once

#include <QByteArray>
#include <functional>

namespace desktop {

// Reads one environment variable; empty when unset.
using EnvironmentReader = std::function<QByteArray(const char*)>;

// True when the environment is a Wayland session's (its type says so, or a Wayland socket is
// named).
bool isWaylandSession(const EnvironmentReader& env);

// True when the program runs in a Wayland session, nobody chose a Qt platform, and an X
// server (XWayland) is reachable. Wayland tells a client of clipboard changes only while
// it has the focus, so such a session is better served through X11.
bool shouldAskForXcb(const EnvironmentReader& env);

// Asks Qt for the xcb platform when shouldAskForXcb says so. Must run before the
// application object exists.
void chooseQtPlatform();

} // namespace desktop
