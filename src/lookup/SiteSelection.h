#pragma once

#include <QObject>
#include <QString>
#include <vector>

namespace lookup {

struct LookupCategory;
struct SiteEntry;

// The user's choice of site per slot and what the slot's controls show of it: which entry is
// checked, whether the slot's button is shown, its hint, and whether the slot's submenu is
// marked as in use. The window's actions follow the signals.
class SiteSelection : public QObject {
    Q_OBJECT
public:
    // Starts with the catalogue's default entries checked, as before any settings are read.
    explicit SiteSelection(QObject* parent = nullptr);

    bool isChecked(const SiteEntry& entry) const;
    bool buttonVisible(const LookupCategory& slot) const;
    QString buttonHint(const LookupCategory& slot) const;
    bool menuActionChecked(const LookupCategory& slot) const;

    // An entry chosen from its slot's menu: it becomes the slot's only checked entry; the
    // button is shown with the Site's caption as hint, or hidden for "使わない" (keeping its
    // last hint), and the submenu is marked in use exactly when a Site is chosen.
    void choose(const SiteEntry& entry);

    // Sets one entry's check mark alone, as restoring stored settings does.
    void setChecked(const SiteEntry& entry, bool checked);

Q_SIGNALS:
    void checkedChanged(const lookup::SiteEntry* entry, bool checked);
    void buttonVisibleChanged(const lookup::LookupCategory* slot, bool visible);
    void buttonHintChanged(const lookup::LookupCategory* slot, const QString& hint);
    void menuActionCheckedChanged(const lookup::LookupCategory* slot, bool checked);

private:
    struct SlotState {
        bool buttonVisible = false;
        bool menuActionChecked = false;
        QString hint;
    };
    std::vector<bool> checked_; // by entry id
    std::vector<SlotState> slots_;
};

} // namespace lookup
