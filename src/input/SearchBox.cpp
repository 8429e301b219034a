#include "input/SearchBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <limits>

namespace input {

SearchBox::SearchBox(QComboBox* box, QAbstractButton* searchButton, QObject* parent)
    : QObject(parent), box_(box), button_(searchButton) {
    // Captured texts can be long; the line edit would cut them at 32767 characters.
    box_->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    // Keys reach the box, which hands them to its line edit directly, past any filter there.
    box_->installEventFilter(this);
    button_->installEventFilter(this);
}

bool SearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A held key repeats its releases; only the real one counts.
        if (!key->isAutoRepeat())
            keyReleased(key->key());
    } else if (watched == button_ && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (button_->rect().contains(mouse->position().toPoint()))
            searchButtonReleased(mouse->button());
    }
    return QObject::eventFilter(watched, event);
}

void SearchBox::keyReleased(int key) {
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (rule_.keyReleased(enter, box_->currentText()))
        Q_EMIT lookupRequested();
}

void SearchBox::searchButtonReleased(Qt::MouseButton button) {
    box_->setFocus(Qt::MouseFocusReason);
    if (button == Qt::LeftButton)
        Q_EMIT lookupRequested();
    else if (button == Qt::RightButton)
        Q_EMIT webSearchRequested();
}

} // namespace input
