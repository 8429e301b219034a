#pragma once

#include <QObject>
#include <QString>

namespace lookup {

class LookupController;
struct LookupCategory;
struct SiteEntry;

// Where the next copy goes, in a few words for the status bar: the current category's button
// caption and its chosen site ("国語: yahoo!国語辞典"), or "使わない" when the category has none.
// Follows the current category and the site chosen for it, whatever changed them.
class CurrentSiteText : public QObject {
    Q_OBJECT
public:
    explicit CurrentSiteText(const LookupController& lookups, QObject* parent = nullptr);

    QString text() const { return text_; }

    static QString describe(const LookupCategory& category, const SiteEntry& chosen);

Q_SIGNALS:
    void changed(const QString& text);

private:
    void update();

    const LookupController& lookups_;
    QString text_;
};

} // namespace lookup
