// The window's repaint held after a lookup: nothing is painted during the hold, and afterwards
// only what changed meanwhile; around a page, the page first and the controls after it.
#include "app/PaintHold.h"

#include "support/ManualTimers.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// Counts the window's update requests, Qt's asks to paint what is dirty: installed after the
// hold, it sees them before the hold keeps them back.
class UpdateRequests : public QObject {
public:
    explicit UpdateRequests(QWidget& window) { window.installEventFilter(this); }
    int seen = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        seen += event->type() == QEvent::UpdateRequest;
        return false;
    }
};

// Delivers whatever is waiting in the event loop; a paint it holds is done by its end.
void passEventLoop() {
    for (int pass = 0; pass < 3; ++pass) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Shows the window and waits for its first paint to pass, then counts from zero.
bool settle(QWidget& window, std::initializer_list<CountingWidget*> counted) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    const auto allPainted = [&] {
        return std::all_of(counted.begin(), counted.end(),
                           [](const CountingWidget* widget) { return widget->paints > 0; });
    };
    if (!QTest::qWaitFor(allPainted, 5000))
        return false;
    passEventLoop();
    for (CountingWidget* widget : counted)
        widget->paints = 0;
    return true;
}

// The window has asked to paint what changed, and the hold has had its say on it.
bool askedToPaint(const UpdateRequests& requests) {
    if (!QTest::qWaitFor([&] { return requests.seen > 0; }, 5000))
        return false;
    passEventLoop();
    return true;
}

struct HeldWindow {
    static constexpr int kHoldMs = 150;
    HeldWindow() {
        auto* row = new QHBoxLayout(&window);
        row->addWidget(&changed);
        row->addWidget(&untouched);
        window.resize(300, 100);
    }
    bool settled() { return settle(window, {&changed, &untouched}); }
    ManualTimers::Timer& holdTimer() const { return timers.at(0); }
    ManualTimers timers;
    QWidget window;
    CountingWidget changed;
    CountingWidget untouched;
    app::PaintHold hold{window, kHoldMs, nullptr, 0, timers.factory()};
    UpdateRequests requests{window};
};

} // namespace

TEST(PaintHold, WhatChangedIsPaintedWhenTheHoldEndsAndNothingElse) {
    HeldWindow w;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    ASSERT_TRUE(w.holdTimer().isActive());
    EXPECT_EQ(w.holdTimer().milliseconds(), HeldWindow::kHoldMs);
    w.changed.update();
    ASSERT_TRUE(askedToPaint(w.requests));
    EXPECT_EQ(w.changed.paints, 0) << "painted during the hold";
    w.holdTimer().fire();
    EXPECT_FALSE(w.hold.isHolding());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.changed.paints > 0; }, 5000));
    EXPECT_EQ(w.untouched.paints, 0) << "the whole window was painted again";
}

TEST(PaintHold, AHoldWithNothingChangedPaintsNothing) {
    HeldWindow w;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    w.holdTimer().fire();
    passEventLoop();
    EXPECT_EQ(w.changed.paints + w.untouched.paints, 0);
}

// The hold's own time never ends here: what is painted is the release's doing.
TEST(PaintHold, ReleasePaintsWhatChangedBeforeTheHoldsEnd) {
    HeldWindow w;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    w.changed.update();
    ASSERT_TRUE(askedToPaint(w.requests));
    w.hold.release();
    EXPECT_FALSE(w.hold.isHolding());
    EXPECT_FALSE(w.holdTimer().isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.changed.paints > 0; }, 5000));
    EXPECT_EQ(w.untouched.paints, 0);
}

namespace {

// A window laid out like the main one: a control beside the container that holds the page
// (the search row beside the tab control) and a control inside it (the tab strip).
struct WindowAroundAPage {
    static constexpr int kHoldMs = 150;
    static constexpr int kControlsAfterMs = 40;
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
    ManualTimers::Timer& holdTimer() const { return timers.at(0); }
    ManualTimers::Timer& controlsTimer() const { return timers.at(1); }
    ManualTimers timers;
    QWidget window;
    CountingWidget besideContainer;
    QWidget container;
    CountingWidget insideContainer;
    CountingWidget page;
    app::PaintHold hold{window, kHoldMs, &page, kControlsAfterMs, timers.factory()};
    UpdateRequests requests{window};
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
    ASSERT_TRUE(askedToPaint(w.requests));
    EXPECT_EQ(w.page.paints + control.paints, 0) << "painted during the hold";
    w.hold.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.page.paints > 0; }, 5000));
    passEventLoop();
    EXPECT_EQ(control.paints, 0) << "the control was painted with the page";
    EXPECT_TRUE(w.hold.isHoldingControls());
    ASSERT_TRUE(w.controlsTimer().isActive());
    EXPECT_EQ(w.controlsTimer().milliseconds(), WindowAroundAPage::kControlsAfterMs);
    w.controlsTimer().fire();
    EXPECT_FALSE(w.hold.isHoldingControls());
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.paints > 0; }, 5000))
        << "the control never came back";
}

TEST_P(PaintHoldAroundAPage, ControlsComeBackAfterAHoldThatRanOut) {
    WindowAroundAPage w;
    CountingWidget& control = w.*GetParam().control;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    control.update();
    w.holdTimer().fire();
    EXPECT_FALSE(w.hold.isHolding());
    ASSERT_TRUE(w.controlsTimer().isActive()) << "the control stays held for good";
    w.controlsTimer().fire();
    EXPECT_FALSE(w.hold.isHoldingControls());
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.paints > 0; }, 5000))
        << "the control stayed held";
}

TEST(PaintHoldAroundAPage, ALookupDuringTheControlsHoldKeepsThemHeldThroughItsOwn) {
    WindowAroundAPage w;
    ASSERT_TRUE(w.settled());
    w.hold.start();
    w.hold.release();
    ASSERT_TRUE(w.hold.isHoldingControls());
    ASSERT_TRUE(w.controlsTimer().isActive());
    w.hold.start();
    EXPECT_FALSE(w.controlsTimer().isActive()) << "the first controls' time still runs";
    w.besideContainer.update();
    w.holdTimer().fire();
    // The controls' time starts again from the end of the second hold.
    EXPECT_TRUE(w.controlsTimer().isActive());
    passEventLoop();
    EXPECT_TRUE(w.hold.isHoldingControls());
    EXPECT_EQ(w.besideContainer.paints, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PaintHoldAroundAPage,
    testing::Values(ControlCase{"BesideThePagesContainer", &WindowAroundAPage::besideContainer},
                    ControlCase{"InsideThePagesContainer", &WindowAroundAPage::insideContainer}),
    [](const auto& info) { return std::string(info.param.name); });
