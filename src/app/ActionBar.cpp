#include "app/ActionBar.h"

#include "app/FlowLayout.h"

#include <QAction>
#include <QActionEvent>
#include <QMenu>
#include <QToolButton>

namespace app {

namespace {
constexpr int kRowHeight = 28; // two rows fill the bar's 56 pixels
}

ActionBar::ActionBar(QWidget* parent) : QWidget(parent), layout_(new FlowLayout(this)) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    setAutoFillBackground(true);
}

QToolButton* ActionBar::buttonFor(const QAction* action) const {
    return buttons_.value(action);
}

void ActionBar::setColorMap(const ActionBarColorMap& map) {
    colorMap_ = map;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, map.color);
    setPalette(pal);
    // A sheet on the bar itself outranks the application's style for the buttons on it.
    setStyleSheet(
        QStringLiteral("QToolButton { background: transparent; border: 1px solid transparent;"
                       " padding: 3px 6px; }"
                       "QToolButton:hover { background: %1; border-color: #a8a8b0; }"
                       "QToolButton:pressed, QToolButton:open { background: %2;"
                       " border-color: #8c8c94; }"
                       // The current category; the same size as the others, so that
                       // marking another moves nothing on the bar.
                       "QToolButton:checked { background: #d4e2f4; border-color: #2f6db5; }"
                       "QToolButton[rarelyUsed=\"true\"] { background: %3; }")
            .arg(map.highlightColor.name(), map.selectedColor.name(), map.unusedColor.name()));
}

void ActionBar::actionEvent(QActionEvent* event) {
    QAction* action = event->action();
    switch (event->type()) {
    case QEvent::ActionAdded: {
        auto* button = new QToolButton(this);
        button->setObjectName(action->objectName() + QStringLiteral("_barButton"));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        // One height for every button, so that Latin and Japanese labels share a baseline.
        button->setFixedHeight(kRowHeight);
        button->setDefaultAction(action);
        if (action->menu())
            button->setPopupMode(QToolButton::InstantPopup);
        button->installEventFilter(this);
        QToolButton* next = event->before() ? buttons_.value(event->before()) : nullptr;
        const int index = next ? layout_->indexOf(next) : -1;
        layout_->insertWidgetAt(index < 0 ? layout_->count() : index, button);
        buttons_.insert(action, button);
        syncButton(action);
        break;
    }
    case QEvent::ActionChanged:
        syncButton(action);
        break;
    case QEvent::ActionRemoved:
        if (QToolButton* button = buttons_.take(action)) {
            layout_->removeWidget(button);
            delete button;
        }
        break;
    default:
        break;
    }
    QWidget::actionEvent(event);
}

void ActionBar::syncButton(QAction* action) {
    QToolButton* button = buttons_.value(action);
    if (!button)
        return;
    // QToolButton follows text, tooltip and enabled state by itself, but not visibility.
    button->setVisible(action->isVisible());
    layout_->invalidate();
}

bool ActionBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !showHints_)
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace app
