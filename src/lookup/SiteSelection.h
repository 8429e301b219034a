#pragma once

#include <QObject>
#include <QString>
#include <vector>

namespace lookup {

struct LookupCategory;
struct SiteEntry;

// The user's choice of site per category and what the category's controls show of it: which entry
// is checked, whether the category's button is shown, its hint, whether the category's submenu is
// marked as in use and whether it is listed at all, and which entries the menus show. The window's
// actions follow the signals.
class SiteSelection : public QObject {
    Q_OBJECT
public:
    // Starts with the catalogue's default entries checked, as before any settings are read.
    explicit SiteSelection(QObject* parent = nullptr);

    bool isChecked(const SiteEntry& entry) const;
    bool buttonVisible(const LookupCategory& category) const;
    QString buttonHint(const LookupCategory& category) const;
    bool menuActionChecked(const LookupCategory& category) const;

    // An entry chosen from its category's menu: it becomes the category's only checked entry; the
    // button is shown with the Site's caption as hint, or hidden for "使わない" (keeping its
    // last hint), and the submenu is marked in use exactly when a Site is chosen.
    void choose(const SiteEntry& entry);

    // A stored choice read back: like choose(), except that a Site's button gets `hint`,
    // which is what the settings file held, rather than the Site's caption.
    void restore(const SiteEntry& entry, const QString& hint);

    // The category's checked entry. choose() and restore() keep exactly one checked per category.
    const SiteEntry& checkedEntry(const LookupCategory& category) const;

    // Sets one entry's check mark alone.
    void setChecked(const SiteEntry& entry, bool checked);

    // Whether an entry's menu item is shown; starts as the catalogue says.
    bool entryVisible(const SiteEntry& entry) const;
    void setEntryVisible(const SiteEntry& entry, bool visible);

    // Whether the category's submenu is listed in the "辞書の選択" menu; all are at first.
    bool submenuVisible(const LookupCategory& category) const;
    void setSubmenuVisible(const LookupCategory& category, bool visible);

Q_SIGNALS:
    void checkedChanged(const lookup::SiteEntry* entry, bool checked);
    void buttonVisibleChanged(const lookup::LookupCategory* category, bool visible);
    void buttonHintChanged(const lookup::LookupCategory* category, const QString& hint);
    void menuActionCheckedChanged(const lookup::LookupCategory* category, bool checked);
    void entryVisibleChanged(const lookup::SiteEntry* entry, bool visible);
    void submenuVisibleChanged(const lookup::LookupCategory* category, bool visible);

private:
    void select(const SiteEntry& entry, const QString& hint);

    struct CategoryState {
        bool buttonVisible = false;
        bool menuActionChecked = false;
        bool submenuVisible = true;
        QString hint;
    };
    std::vector<bool> checked_;      // by entry id
    std::vector<bool> entryVisible_; // by entry id
    std::vector<CategoryState> categories_;
};

} // namespace lookup
