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
    // What was said in this spell, to stand in the status bar while nothing else is said.
    const std::optional<QString>& standing() const { return standing_; }

private:
    std::optional<LoadFailureKind> said_;
    std::optional<QString> standing_;
};

} // namespace browser
