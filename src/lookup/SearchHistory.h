#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace lookup {

// The texts looked up, newest first, as the search box's list shows them: the dispatch says
// when a text enters (LookupDispatch::Plan::recordHistory), this keeps the list's length.
class SearchHistory {
public:
    // The list never holds more entries than this.
    static constexpr int kSize = 21;

    // Puts text first. Returns the position of the entry that fell off the end to make room,
    // so that a view of the list can drop the same one.
    std::optional<int> add(const QString& text);
    const QStringList& entries() const { return entries_; }

private:
    QStringList entries_;
};

} // namespace lookup
