#pragma once

#include <QString>

namespace desktop {

// How the window asks to come forward, by the Qt platform it runs on.
enum class ActivationRoute {
    // X11 (also XWayland): Qt's request and a _NET_ACTIVE_WINDOW message on behalf of a pager,
    // which window managers honour against focus-stealing prevention. A Wayland activation
    // token means nothing to an X window: it is left unused.
    X11AsPager,
    // Native Wayland with the token a command or a launcher was given: the compositor made
    // the token for a user's action (a key bound to `lexorra2 --raise`), so it lets the
    // window take the focus.
    WaylandWithToken,
    // Native Wayland without one: Qt asks for a token of its own through the last input the
    // program saw; a compositor refuses it while another program is in use and marks the
    // window as wanting attention instead.
    WaylandOwnRequest,
    // Any other platform (offscreen): Qt's own request, nothing more.
    PlatformOnly,
};

ActivationRoute activationRoute(const QString& platformName, bool haveActivationToken);

} // namespace desktop
