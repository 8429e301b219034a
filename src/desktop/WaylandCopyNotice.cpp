#include "desktop/WaylandCopyNotice.h"

namespace desktop {

void WaylandCopyNotice::windowActivated(qint64 nowMs) {
    active_ = true;
    activatedAtMs_ = nowMs;
}

void WaylandCopyNotice::windowDeactivated() {
    active_ = false;
}

bool WaylandCopyNotice::clipboardChanged(qint64 nowMs) {
    if (!waylandSession_ || told_ || !active_)
        return false;
    const qint64 since = nowMs - activatedAtMs_;
    if (since < 0 || since > kHeldBackWindowMs)
        return false;
    told_ = true;
    return true;
}

} // namespace desktop
