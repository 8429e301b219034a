#pragma once

#include "browser/LoadFailure.h"

#include <QString>
#include <optional>

namespace browser {

// Says once that the network (or the proxy) is gone, not once per lookup: with no network
// every copy fails the same way, and the same words each time would only flicker. Once a
// page loads again, the next such failure is news again.
class NetworkNotice {
public:
    // The status-bar text a failed load calls for, or nothing when it was said already or
    // the failure concerns only one site.
    std::optional<QString> failed(const LoadFailure& failure);
    // A page loaded: the network works.
    void loaded();

private:
    std::optional<LoadFailureKind> said_;
};

} // namespace browser
