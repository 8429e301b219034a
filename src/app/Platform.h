#pragma once

#include <QByteArray>
#include <functional>

namespace app {

// Reads one environment variable; empty when unset.
using EnvironmentReader = std::function<QByteArray(const char*)>;

// True when the program runs in a Wayland session, nobody chose a Qt platform, and an X
// server (XWayland) is reachable. Wayland tells a client of clipboard changes only while
// it has the focus, so such a session is better served through X11.
bool shouldAskForXcb(const EnvironmentReader& env);

// Everything that must be settled before the application object exists: the platform
// choice above, the shared OpenGL contexts that the browser engine needs, and the URL
// scheme of the start page.
void prepareProcessBeforeApplication();

} // namespace app
