#pragma once

#include "input/EnterLookupRule.h"

#include <QObject>

class QComboBox;
class QAbstractButton;

namespace input {

// The search box's keys, the input method's commits into it and the Search button's mouse
// buttons, turned into lookup requests. Choosing an entry of the box's history only fills
// the box.
class SearchBox : public QObject {
    Q_OBJECT
public:
    SearchBox(QComboBox* box, QAbstractButton* searchButton, QObject* parent = nullptr);

    const EnterLookupRule& rule() const { return rule_; }

Q_SIGNALS:
    // Look the box's text up in the current category.
    void lookupRequested();
    // Look the box's text up once in the web-search category.
    void webSearchRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keyReleased(int key);
    void searchButtonReleased(Qt::MouseButton button);

    QComboBox* box_;
    QAbstractButton* button_;
    EnterLookupRule rule_;
};

} // namespace input
