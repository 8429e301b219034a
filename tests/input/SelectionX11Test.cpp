// The primary selection looked up on a real X server (run under Xvfb): xclip selects text as
// another program would, and the test program's own selection stands for one made in the
// search box or a page.
#include "input/ClipboardWatcher.h"
#include "input/QtClipboardSource.h"
#include "input/SelectionWatcher.h"
#include "lookup/LookupController.h"
#include "lookup/LookupView.h"
#include "settings/Options.h"
#include "support/FakeLookupView.h"
#include "support/ManualTimers.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace input;
using Content = ClipboardSource::Content;

namespace {

// xclip holding text as the primary selection until it goes.
class XclipSelection {
public:
    explicit XclipSelection(const QString& text) {
        xclip_.start(QStringLiteral("xclip"), {"-quiet", "-selection", "primary", "-i"});
        started_ = xclip_.waitForStarted(5000);
        xclip_.write(text.toUtf8());
        xclip_.closeWriteChannel();
    }
    ~XclipSelection() {
        xclip_.kill();
        xclip_.waitForFinished(5000);
    }
    bool started() const { return started_; }

private:
    QProcess xclip_;
    bool started_ = false;
};

// The watchers as the window composes them, with the real primary selection of the display
// and the settle count ended by hand once a change has started it.
struct Watch {
    Watch() {
        options.lookUpSelection = true;
        lookups.lookUpWaitingCopy();
    }
    // Waits for the selection to change, lets its count run out and waits for the read.
    Content settle() {
        if (!QTest::qWaitFor([this] { return timers.size() == 1 && timers.at(0).isActive(); },
                             20000)) {
            ADD_FAILURE() << "the change of the selection was not seen";
            return {};
        }
        QSignalSpy read(&primary, &ClipboardSource::readFinished);
        timers.at(0).fire();
        if (!read.wait(20000)) {
            ADD_FAILURE() << "the selection was not read";
            return {};
        }
        return read.first().first().value<Content>();
    }

    FakeLookupView view;
    settings::Options options;
    ManualTimers timers;
    lookup::LookupController lookups{view, options};
    QtClipboardSource clipboard{QGuiApplication::clipboard()};
    QtClipboardSource primary{QGuiApplication::clipboard(), ClipboardSource::Selection::Primary};
    ClipboardWatcher copies{clipboard, lookups, options};
    SelectionWatcher watcher{primary, copies, options, timers.factory()};
};

TEST(PrimarySelection, AnotherProgramsSelectionIsLookedUpOnce) {
    Watch w;
    XclipSelection xclip(QStringLiteral("選んだ語"));
    ASSERT_TRUE(xclip.started());
    const Content content = w.settle();
    EXPECT_EQ(content.kind, Content::Text);
    EXPECT_EQ(w.view.lookups, QStringList{QStringLiteral("選んだ語")});
    EXPECT_TRUE(QGuiApplication::clipboard()->text(QClipboard::Clipboard).isEmpty())
        << "the selection went through the clipboard";
}

// Selected in the program's own window (Qt's connection owns the selection, as it does for
// the search box and the pages): not looked up.
TEST(PrimarySelection, OwnSelectionIsNotLookedUp) {
    Watch w;
    QGuiApplication::clipboard()->setText(QStringLiteral("自分の選択"), QClipboard::Selection);
    const Content content = w.settle();
    EXPECT_EQ(content.kind, Content::OwnWindow);
    EXPECT_TRUE(w.view.lookups.isEmpty());
    EXPECT_TRUE(w.view.box.isEmpty());
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
