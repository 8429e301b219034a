// The window's repaint held after a lookup: nothing is painted during the hold, and afterwards
// only what changed meanwhile.
#include "app/PaintHold.h"

#include <QHBoxLayout>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

struct HeldWindow {
    // Long enough that a loaded machine still sees the middle of the hold.
    static constexpr int kHoldMs = 1000;
    HeldWindow() {
        auto* row = new QHBoxLayout(&window);
        row->addWidget(&changed);
        row->addWidget(&untouched);
        window.resize(300, 100);
        window.show();
    }
    bool settled() {
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        QTest::qWait(50);
        changed.paints = untouched.paints = 0;
        return true;
    }
    QWidget window;
    CountingWidget changed;
    CountingWidget untouched;
    app::PaintHold hold{window, kHoldMs};
};

} // namespace

TEST(PaintHold, WhatChangedIsPaintedWhenTheHoldEndsAndNothingElse) {
    HeldWindow w;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    w.changed.update();
    QTest::qWait(100);
    EXPECT_EQ(w.changed.paints, 0) << "painted during the hold";
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.changed.paints > 0; }, 5000));
    EXPECT_FALSE(w.hold.isHolding());
    EXPECT_EQ(w.untouched.paints, 0) << "the whole window was painted again";
}

TEST(PaintHold, AHoldWithNothingChangedPaintsNothing) {
    HeldWindow w;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.hold.isHolding(); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(w.changed.paints + w.untouched.paints, 0);
}

TEST(PaintHold, ReleasePaintsWhatChangedBeforeTheHoldsEnd) {
    HeldWindow w;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    w.changed.update();
    QTest::qWait(50);
    w.hold.release();
    EXPECT_FALSE(w.hold.isHolding());
    // Well before the hold's own end.
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.changed.paints > 0; }, HeldWindow::kHoldMs / 2));
    EXPECT_EQ(w.untouched.paints, 0);
}
