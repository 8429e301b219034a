#pragma once

#include <QColor>
#include <QHash>
#include <QWidget>

class QAction;
class QToolButton;

namespace app {

class FlowLayout;

// Colours of the action bar: its background, a hovered item, a pressed or open item,
// and items that are rarely used.
struct ActionBarColorMap {
    QColor color;
    QColor highlightColor;
    QColor selectedColor;
    QColor unusedColor;
};

// The window's only menu: a bar of buttons that wraps into further rows when its items do
// not fit in one, instead of hiding them behind an overflow arrow as QMenuBar and QToolBar
// do. Every action added gets one flat button; an action that carries a menu gets a button
// that opens the menu. A button follows its action: text (the action's iconText, so an action
// may show a shorter label than its caption), tooltip, enabled state and visibility.
class ActionBar : public QWidget {
    Q_OBJECT
public:
    explicit ActionBar(QWidget* parent = nullptr);

    // The button that shows the action, or nullptr when the action is not on the bar.
    QToolButton* buttonFor(const QAction* action) const;

    void setColorMap(const ActionBarColorMap& map);
    const ActionBarColorMap& colorMap() const { return colorMap_; }

    // Tooltips of the buttons are shown only while hints are on.
    void setShowHints(bool on) { showHints_ = on; }
    bool showHints() const { return showHints_; }

protected:
    void actionEvent(QActionEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncButton(QAction* action);

    FlowLayout* layout_;
    QHash<const QAction*, QToolButton*> buttons_;
    ActionBarColorMap colorMap_;
    bool showHints_ = false;
};

} // namespace app
