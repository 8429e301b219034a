#include "app/ActionBar.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class ActionBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 12; ++i) {
            auto* action = new QAction(QStringLiteral("Button"), &bar); // one width for all
            actions.append(action);
            bar.addAction(action);
        }
        bar.show();
    }
    int rowHeight() const { return bar.buttonFor(actions[0])->height(); }
    app::ActionBar bar;
    QList<QAction*> actions;
};

TEST_F(ActionBarTest, WrapsIntoRowsInsteadOfHidingItems) {
    const int oneRow = bar.heightForWidth(100000);
    const int narrow = bar.heightForWidth(bar.buttonFor(actions[0])->sizeHint().width() * 3);
    EXPECT_EQ(oneRow, rowHeight());
    EXPECT_EQ(narrow, 4 * rowHeight()) << "twelve buttons, three to a row";

    bar.resize(bar.buttonFor(actions[0])->sizeHint().width() * 3, narrow);
    QApplication::processEvents();
    for (QAction* action : actions)
        EXPECT_TRUE(bar.rect().contains(bar.buttonFor(action)->geometry()))
            << action->text().toStdString();
}

TEST_F(ActionBarTest, ButtonFollowsItsAction) {
    QAction* action = actions[5];
    QToolButton* button = bar.buttonFor(action);
    const int width = bar.buttonFor(actions[6])->x();

    action->setVisible(false);
    QApplication::processEvents();
    EXPECT_FALSE(button->isVisible());
    EXPECT_LT(bar.buttonFor(actions[6])->x(), width) << "a hidden button takes no room";

    action->setVisible(true);
    action->setText("オークション");
    action->setIconText("競売");
    QApplication::processEvents();
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->text(), "競売");

    bar.removeAction(action);
    EXPECT_EQ(bar.buttonFor(action), nullptr);
}

TEST_F(ActionBarTest, ActionInsertedBeforeAnotherTakesItsPlace) {
    auto* menu = new QMenu("辞書の選択", &bar);
    bar.insertAction(actions[0], menu->menuAction());
    QApplication::processEvents();
    QToolButton* menuButton = bar.buttonFor(menu->menuAction());
    ASSERT_NE(menuButton, nullptr);
    EXPECT_LT(menuButton->x(), bar.buttonFor(actions[0])->x());
    EXPECT_EQ(menuButton->popupMode(), QToolButton::InstantPopup);
}

TEST_F(ActionBarTest, TooltipsOnlyWhileHintsAreOn) {
    actions[0]->setToolTip("yahoo!国語辞書");
    QToolButton* button = bar.buttonFor(actions[0]);
    for (const bool on : {false, true}) {
        bar.setShowHints(on);
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        help.setAccepted(false);
        const bool filtered = static_cast<QObject&>(bar).eventFilter(button, &help);
        EXPECT_EQ(filtered, !on) << "hints " << on;
    }
}

} // namespace
