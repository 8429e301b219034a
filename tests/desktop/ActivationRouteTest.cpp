// How the window asks to come forward on each platform: only a native Wayland window can use
// an activation token, and an X window keeps the pager's request that window managers honour.
#include "desktop/ActivationRoute.h"

#include <gtest/gtest.h>

namespace {

using desktop::ActivationRoute;

struct RouteCase {
    const char* name;
    const char* platform;
    bool haveToken;
    ActivationRoute expected;
};

void PrintTo(const RouteCase& row, std::ostream* out) {
    *out << row.name;
}

class Route : public testing::TestWithParam<RouteCase> {};

TEST_P(Route, FollowsThePlatformAndTheToken) {
    EXPECT_EQ(
        desktop::activationRoute(QString::fromLatin1(GetParam().platform), GetParam().haveToken),
        GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Route,
    testing::Values(
        RouteCase{"X11", "xcb", false, ActivationRoute::X11AsPager},
        RouteCase{"XWaylandGivenAToken", "xcb", true, ActivationRoute::X11AsPager},
        RouteCase{"WaylandGivenAToken", "wayland", true, ActivationRoute::WaylandWithToken},
        RouteCase{"WaylandEglGivenAToken", "wayland-egl", true, ActivationRoute::WaylandWithToken},
        RouteCase{"WaylandWithoutAToken", "wayland", false, ActivationRoute::WaylandOwnRequest},
        RouteCase{"OffscreenGivenAToken", "offscreen", true, ActivationRoute::PlatformOnly},
        RouteCase{"NoPlatformYet", "", false, ActivationRoute::PlatformOnly}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
