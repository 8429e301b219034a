#pragma once

#include <QString>

namespace browser {

// Whether a navigation to an address of a given scheme may go on, must be refused, or may
// hand the address to another program once the user has confirmed it.
//
// Addresses of a scheme the engine doesn't show itself (ssh:, mailto:, someapp:) would start
// another program. Only a link the user clicked in the page itself may ask for that: never a
// script, a redirect by the site or a frame inside the page. The program's own schemes and
// local files are never reached from a page, and are never handed to another program.
class ExternalSchemePolicy {
public:
    enum class Navigation {
        LinkClicked,
        Typed,
        FormSubmitted,
        BackForward,
        Reload,
        Redirect,
        // A link that no press of the user's in the page led to: a script's, or a site's
        // redirect after the click that the engine reports as the click itself.
        LinkWithoutInput,
        Other
    };
    enum class Decision { Load, Ask, Refuse };

    static Decision decide(const QString& scheme, Navigation navigation, bool mainFrame);

    // Schemes the engine shows by itself.
    static bool isWebScheme(const QString& scheme);
    // The program's own schemes and the local ones.
    static bool isLocalScheme(const QString& scheme);
};

} // namespace browser
