#include "desktop/KeySourceChoice.h"

namespace desktop {

bool asksPortalForKeys(bool waylandSession) {
    return waylandSession;
}

KeySourceKind keySourceFor(bool waylandSession, PortalShortcuts portal) {
    if (waylandSession && portal == PortalShortcuts::Bound)
        return KeySourceKind::Portal;
    return KeySourceKind::XInput;
}

} // namespace desktop
