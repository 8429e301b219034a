#pragma once

#include <QString>
#include <QStringList>

namespace lookup {

// What a lookup needs of the window it runs in. The main window implements it; tests pass
// the real window or a fake.
class LookupView {
public:
    virtual ~LookupView() = default;

    virtual QString searchText() const = 0;
    virtual void setSearchText(const QString& text) = 0;
    // Puts the text at the top of the search box's history.
    virtual void addToHistory(const QString& text) = 0;
    // The notice that a long text can only be translated.
    virtual void setLongTextNotice(bool shown) = 0;
    // Loads the query URLs of one lookup, one after the other, in the tabs.
    virtual void openQueryUrls(const QStringList& urls) = 0;

    virtual bool isMinimised() const = 0;
    virtual void restoreIfMinimised() = 0;
    // Brings the window to the front after a lookup.
    virtual void bringForward() = 0;
};

} // namespace lookup
