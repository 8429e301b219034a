#pragma once

#include <QtGlobal>

namespace desktop {

// In a Wayland session the program is an X client of XWayland, and a copy made in a
// Wayland program reaches it only when the compositor passes the copy on to X. Some
// compositors do that only once an X window has the focus: the copy then turns up the moment
// the user switches to the program, not when it was made. Seen from here, a clipboard change
// that arrives right after the program's window became active is such a held-back copy. The first
// one is worth a word in the status bar; once is enough.
class WaylandCopyNotice {
public:
    explicit WaylandCopyNotice(bool waylandSession) : waylandSession_(waylandSession) {}

    // How soon after the activation a change counts as held back.
    static constexpr qint64 kHeldBackWindowMs = 400;

    // The program's window became active at `nowMs` (a monotonic clock).
    void windowActivated(qint64 nowMs);
    // The window lost the focus.
    void windowDeactivated();
    // The clipboard changed at `nowMs`; true when the user should now be told.
    bool clipboardChanged(qint64 nowMs);

private:
    bool waylandSession_;
    bool told_ = false;
    bool active_ = false;
    qint64 activatedAtMs_ = 0;
};

} // namespace desktop
