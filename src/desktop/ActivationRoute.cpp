#include "desktop/ActivationRoute.h"

namespace desktop {

ActivationRoute activationRoute(const QString& platformName, bool haveActivationToken) {
    if (platformName == QLatin1StringView("xcb"))
        return ActivationRoute::X11AsPager;
    // Qt names its Wayland platforms "wayland", "wayland-egl" and "wayland-brcm".
    if (platformName.startsWith(QLatin1StringView("wayland")))
        return haveActivationToken ? ActivationRoute::WaylandWithToken
                                   : ActivationRoute::WaylandOwnRequest;
    return ActivationRoute::PlatformOnly;
}

} // namespace desktop
