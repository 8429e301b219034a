// The window's repaint held after a lookup: nothing is painted during the hold, and afterwards
// only what changed meanwhile; around a page, the page first and the controls after it.
#include "app/PaintHold.h"

#include <QHBoxLayout>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// Shows the window and waits for its first paint to pass, then counts from zero.
bool settle(QWidget& window, std::initializer_list<CountingWidget*> counted) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    QTest::qWait(50);
    for (CountingWidget* widget : counted)
        widget->paints = 0;
    return true;
}

struct HeldWindow {
    // Long enough that a loaded machine still sees the middle of the hold.
    static constexpr int kHoldMs = 1000;
    HeldWindow() {
        auto* row = new QHBoxLayout(&window);
        row->addWidget(&changed);
        row->addWidget(&untouched);
        window.resize(300, 100);
    }
    bool settled() { return settle(window, {&changed, &untouched}); }
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

namespace {

// A window laid out like the main one: a control beside the container that holds the page
// (the search row beside the tab control) and a control inside it (the tab strip).
struct WindowAroundAPage {
    static constexpr int kHoldMs = 1000;
    static constexpr int kControlsAfterMs = 1000;
    WindowAroundAPage() {
        auto* column = new QVBoxLayout(&window);
        column->addWidget(&besideContainer);
        column->addWidget(&container);
        auto* inner = new QVBoxLayout(&container);
        inner->addWidget(&insideContainer);
        inner->addWidget(&page);
        window.resize(300, 300);
    }
    bool settled() { return settle(window, {&besideContainer, &insideContainer, &page}); }
    QWidget window;
    CountingWidget besideContainer;
    QWidget container;
    CountingWidget insideContainer;
    CountingWidget page;
    app::PaintHold hold{window, kHoldMs, &page, kControlsAfterMs};
};

using ControlOf = CountingWidget WindowAroundAPage::*;
struct ControlCase {
    const char* name;
    ControlOf control;
};

void PrintTo(const ControlCase& c, std::ostream* os) {
    *os << c.name;
}

class PaintHoldAroundAPage : public testing::TestWithParam<ControlCase> {};

} // namespace

TEST_P(PaintHoldAroundAPage, ThePageIsPaintedWhenTheHoldEndsAndTheControlAfterIt) {
    WindowAroundAPage w;
    CountingWidget& control = w.*GetParam().control;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    control.update();
    w.page.update();
    QTest::qWait(50);
    EXPECT_EQ(w.page.paints + control.paints, 0) << "painted during the hold";
    w.hold.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.page.paints > 0; }, 5000));
    EXPECT_EQ(control.paints, 0) << "the control was painted with the page";
    EXPECT_TRUE(w.hold.isHoldingControls());
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.paints > 0; }, 5000))
        << "the control never came back";
    EXPECT_FALSE(w.hold.isHoldingControls());
}

TEST_P(PaintHoldAroundAPage, ControlsComeBackAfterAHoldThatRanOut) {
    WindowAroundAPage w;
    CountingWidget& control = w.*GetParam().control;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    control.update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.hold.isHolding(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.paints > 0; }, 5000))
        << "the control stayed held";
    EXPECT_FALSE(w.hold.isHoldingControls());
}

TEST(PaintHoldAroundAPage, ALookupDuringTheControlsHoldKeepsThemHeldThroughItsOwn) {
    WindowAroundAPage w;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    w.hold.release();
    QTest::qWait(WindowAroundAPage::kControlsAfterMs / 2);
    ASSERT_TRUE(w.hold.isHoldingControls());
    w.hold.start();
    w.besideContainer.update();
    // The second hold runs out after the first controls' time would have ended.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.hold.isHolding(); }, 5000));
    QTest::qWait(200);
    EXPECT_TRUE(w.hold.isHoldingControls());
    EXPECT_EQ(w.besideContainer.paints, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PaintHoldAroundAPage,
    testing::Values(ControlCase{"BesideThePagesContainer", &WindowAroundAPage::besideContainer},
                    ControlCase{"InsideThePagesContainer", &WindowAroundAPage::insideContainer}),
    [](const auto& info) { return std::string(info.param.name); });
