#pragma once

namespace desktop {

// How far the desktop's GlobalShortcuts portal has come with the program's two shortcuts.
enum class PortalShortcuts {
    NotAsked,    // not asked (yet, or again after the keys were given back)
    Asking,      // asked; no answer yet
    Bound,       // the desktop reports the shortcuts
    Unavailable, // no portal, no such interface, refused or no answer in time
};

enum class KeySourceKind {
    XInput, // XInput 2 on the X server (under XWayland only while an X window has the focus)
    Portal, // the desktop's GlobalShortcuts portal
};

// Whether to ask the portal at all: only a Wayland session keeps keys from X clients.
bool asksPortalForKeys(bool waylandSession);

// Where F12 and END are seen now. The portal serves only once it has bound the shortcuts;
// until then, and when it can't, the keys are read as before.
KeySourceKind keySourceFor(bool waylandSession, PortalShortcuts portal);

} // namespace desktop
