#include "lookup/SearchHistory.h"

namespace lookup {

std::optional<int> SearchHistory::add(const QString& text) {
    std::optional<int> dropped;
    if (entries_.size() >= kSize) {
        dropped = int(entries_.size()) - 1;
        entries_.removeLast();
    }
    entries_.prepend(text);
    return dropped;
}

} // namespace lookup
