#include "desktop/KeySourceChoice.h"

#include <gtest/gtest.h>

namespace {

using desktop::KeySourceKind;
using desktop::PortalShortcuts;

TEST(KeySourceChoice, ThePortalServesOnlyAWaylandSessionAndOnlyOnceBound) {
    struct Case {
        const char* what;
        bool waylandSession;
        PortalShortcuts portal;
        KeySourceKind expected;
    };
    const Case cases[] = {
        {"X11 session", false, PortalShortcuts::NotAsked, KeySourceKind::XInput},
        {"X11 session, a portal bound all the same", false, PortalShortcuts::Bound,
         KeySourceKind::XInput},
        {"Wayland session, portal not asked yet", true, PortalShortcuts::NotAsked,
         KeySourceKind::XInput},
        {"Wayland session, portal asked, no answer yet", true, PortalShortcuts::Asking,
         KeySourceKind::XInput},
        {"Wayland session, shortcuts bound", true, PortalShortcuts::Bound, KeySourceKind::Portal},
        {"Wayland session, portal can't serve", true, PortalShortcuts::Unavailable,
         KeySourceKind::XInput},
    };
    for (const Case& c : cases)
        EXPECT_EQ(desktop::keySourceFor(c.waylandSession, c.portal), c.expected) << c.what;
}

TEST(KeySourceChoice, ThePortalIsAskedOnlyInAWaylandSession) {
    EXPECT_TRUE(desktop::asksPortalForKeys(true)) << "Wayland session";
    EXPECT_FALSE(desktop::asksPortalForKeys(false)) << "X11 session";
}

} // namespace
