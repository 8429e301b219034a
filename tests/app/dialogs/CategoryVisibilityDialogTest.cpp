#include "app/dialogs/CategoryVisibilityDialog.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using dialogs::CategoryVisibilityDialog;
using settings::CategoryVisibility;

namespace {

QListWidget* list(CategoryVisibilityDialog& d) {
    return d.findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
}

} // namespace

TEST(CategoryVisibilityDialog, ShowsTheTicksItWasGiven) {
    for (int height : {1080, 768}) {
        const CategoryVisibility ticks = CategoryVisibility::defaults(height);
        CategoryVisibilityDialog dialog(ticks);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("辞書の追加・解除"));
        EXPECT_EQ(dialog.size(), QSize(290, 556));
        QListWidget* l = list(dialog);
        ASSERT_NE(l, nullptr);
        ASSERT_EQ(l->count(), 26);
        EXPECT_EQ(l->item(0)->text(), QStringLiteral("国語辞書"));
        EXPECT_EQ(l->item(25)->text(), QStringLiteral("掲示板"));
        for (int line = 0; line < 26; ++line)
            EXPECT_EQ(l->item(line)->checkState() == Qt::Checked, ticks.isShown(line)) << line;
        EXPECT_EQ(dialog.ticks(), ticks);
        EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    }
}

// Ticking by mouse and by space, then "閉じる": accepted with the new ticks.
TEST(CategoryVisibilityDialog, CloseAcceptsTheTicks) {
    CategoryVisibilityDialog dialog(CategoryVisibility::defaults(1080));
    dialog.show();
    QListWidget* l = list(dialog);
    // All 26 lines in view: none hides below the list's edge.
    EXPECT_EQ(l->verticalScrollBar()->maximum(), 0);
    const QRect row14 = l->visualItemRect(l->item(14));
    // The check box sits at the start of the row.
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                      QPoint(row14.left() + 8, row14.center().y()));
    l->setCurrentRow(15);
    QTest::keyClick(l, Qt::Key_Space);

    CategoryVisibility expected = CategoryVisibility::defaults(1080);
    expected.setShown(14, false);
    expected.setShown(15, true);
    EXPECT_EQ(dialog.ticks(), expected);

    auto* close = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("閉じる"));
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(CategoryVisibilityDialog, EscapeAppliesNothing) {
    CategoryVisibilityDialog dialog(CategoryVisibility::defaults(1080));
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
