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

    QString Settei_Sentaku = kJapaneseDictionary;      // SelectionName of the current slot
    QString Moto_Settei_Sentaku = kJapaneseDictionary; // where a long text's successor goes
    QString List_mae_moij;                             // the text last put into the history
    bool longText = false; // the search box is raised and the notice shown

    struct Plan {
        QStringList urls;           // to load one after the other
        bool recordHistory = false; // put the text at the top of the history
    };

    // Decides one lookup of `text` and updates the state for it.
    Plan okuru(const QString& text, const SiteSelection& selection);

    // A category button: its slot becomes current, and the one a long text returns to.
    void pressButton(const QString& selectionName);
};

} // namespace lookup
