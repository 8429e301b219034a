#pragma once

#include <QString>
#include <QStringList>

namespace lookup {

class SiteSelection;

// What one lookup does, decided without touching a widget: the slot it goes to (with the
// long-text rule), the URLs to load in order, and whether the text enters the history.
// The window carries the decisions out.
class LookupDispatch {
public:
    // Texts of this many UTF-16 units or more can only be translated.
    static constexpr qsizetype kLongText = 256;
    // The history never holds more entries than this.
    static constexpr int kHistorySize = 21;

    static inline const QString kJapaneseDictionary = QStringLiteral("Settei_kokugo_Button");
    static inline const QString kTranslation = QStringLiteral("Settei_Honyaku_Button");
    static inline const QString kWebSearch = QStringLiteral("Settei_kensaku_Button");

    struct Plan {
        QStringList urls;           // to load one after the other
        bool recordHistory = false; // put the text at the top of the history
    };

    // Decides one lookup of `text` in the current slot and updates the state for it.
    Plan plan(const QString& text, const SiteSelection& selection);
    // The same for one lookup in another slot; the current slot stays what it was.
    Plan planInSlot(const QString& selectionName, const QString& text,
                    const SiteSelection& selection);

    // A category button: its slot becomes current, and the one a long text returns to.
    void pressButton(const QString& selectionName);
    // A site chosen in a slot's menu makes that slot current.
    void setCurrentSlot(const QString& selectionName) { currentSlot_ = selectionName; }

    // The SelectionName of the current slot.
    QString currentSlot() const { return currentSlot_; }
    // Where the lookup after a long text goes.
    QString slotAfterLongText() const { return slotAfterLongText_; }
    QString lastHistoryText() const { return lastHistoryText_; }
    // The last text was long: the search box is raised and the notice shown.
    bool isLongText() const { return longText_; }

private:
    Plan planIn(QString& slot, const QString& text, const SiteSelection& selection);

    QString currentSlot_ = kJapaneseDictionary;
    QString slotAfterLongText_ = kJapaneseDictionary;
    QString lastHistoryText_;
    bool longText_ = false;
};

} // namespace lookup
