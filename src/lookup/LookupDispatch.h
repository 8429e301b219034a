#pragma once

#include "lookup/CategoryId.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace lookup {

class SiteSelection;
struct SiteEntry;

// What one lookup does, decided without touching a widget: the category it goes to (with the
// long-text rule), the URLs to load in order, and whether the text enters the history.
// The window carries the decisions out.
class LookupDispatch {
public:
    // Texts of this many UTF-16 units or more can only be translated.
    static constexpr qsizetype kLongText = 256;

    struct Plan {
        QStringList urls;                    // to load one after the other
        std::vector<const SiteEntry*> sites; // the site of each URL
        bool recordHistory = false;          // put the text at the top of the history
    };

    // Decides one lookup of `text` in the current category and updates the state for it.
    Plan plan(const QString& text, const SiteSelection& selection);
    // The same for one lookup in another category; the current category stays what it was.
    Plan planInCategory(CategoryId category, const QString& text, const SiteSelection& selection);

    // A category button: its category becomes current, and the one a long text returns to.
    void pressButton(CategoryId category);
    // A site chosen in a category's menu makes that category current.
    void setCurrentCategory(CategoryId category) { currentCategory_ = category; }

    CategoryId currentCategory() const { return currentCategory_; }
    // Where the lookup after a long text goes.
    CategoryId categoryAfterLongText() const { return categoryAfterLongText_; }
    QString lastHistoryText() const { return lastHistoryText_; }
    // The last text was long: the search box is raised and the notice shown.
    bool isLongText() const { return longText_; }

private:
    Plan planIn(CategoryId& category, const QString& text, const SiteSelection& selection);

    CategoryId currentCategory_ = CategoryId::JapaneseDictionary;
    CategoryId categoryAfterLongText_ = CategoryId::JapaneseDictionary;
    QString lastHistoryText_;
    bool longText_ = false;
};

} // namespace lookup
