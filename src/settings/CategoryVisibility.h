#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace lookup {
struct LookupCategory;
} // namespace lookup

namespace settings {

// Which categories' submenus the "辞書の選択" menu lists, as kept in the 26 lines of the
// category-visibility file: one "true" or "fales" per category, in the order of the add/remove
// dialog's list.
class CategoryVisibility {
public:
    static constexpr int kLineCount = 26;
    // The one screen height that hides three more submenus by default.
    static constexpr int kSmallScreenHeight = 768;

    // What a first start shows: every submenu but those of the six repeated categories, and on a
    // primary screen exactly 768 pixels high not those of English-English, Chinese and Korean
    // either.
    static CategoryVisibility defaults(int screenHeight);

    // Only the exact word "true" shows a submenu. A file cut short leaves the missing lines at
    // their defaults; lines beyond 26 are ignored.
    static CategoryVisibility fromLines(const QStringList& lines, int screenHeight);
    QStringList toLines() const;

    // The category on a line, and the label the dialog gives it.
    static const lookup::LookupCategory& categoryOfLine(int line);
    static QString labelOfLine(int line);

    bool isShown(int line) const { return shown_[line]; }
    void setShown(int line, bool shown) { shown_[line] = shown; }

    friend bool operator==(const CategoryVisibility&, const CategoryVisibility&) = default;

private:
    std::array<bool, kLineCount> shown_{};
};

} // namespace settings
