#pragma once

#include "input/OneClickRule.h"

#include <QObject>

class QComboBox;
class QAbstractButton;

namespace input {

// The search box's keys and the Search button's mouse buttons, turned into lookup requests.
// Choosing an entry of the box's history only fills the box.
class SearchBox : public QObject {
    Q_OBJECT
public:
    SearchBox(QComboBox* box, QAbstractButton* searchButton, QObject* parent = nullptr);

    const OneClickRule& rule() const { return rule_; }

Q_SIGNALS:
    // Look the box's text up in the current slot.
    void lookupRequested();
    // Look the box's text up once in the web-search slot.
    void webSearchRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keyReleased(int key);
    void searchButtonReleased(Qt::MouseButton button);

    QComboBox* box_;
    QAbstractButton* button_;
    OneClickRule rule_;
};

} // namespace input
