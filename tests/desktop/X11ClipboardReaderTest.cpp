// The clipboard reader against real owners on a real X server (run under Xvfb): a small xcb
// owner that offers what file managers, browsers and image viewers offer, or misbehaves, and
// xclip for large copies.
#include "desktop/X11ClipboardReader.h"

#include "desktop/X11ClipboardWorker.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

using desktop::X11ClipboardReader;
using desktop::X11ClipboardWorker;
using Kind = X11ClipboardReader::Result::Kind;

namespace {

constexpr int kTimeoutMs = 600;

// Starts clipboard_offer with these arguments and waits until it owns the clipboard.
class Owner {
public:
    explicit Owner(const QStringList& args) {
        process_.start(QStringLiteral(CLIPBOARD_OFFER_PATH), args);
        if (!process_.waitForReadyRead(10000) || !process_.readLine().startsWith("owner"))
            ADD_FAILURE() << "clipboard_offer did not take the clipboard: "
                          << process_.readAllStandardError().toStdString();
    }
    // True once the owner has received a request (told by --never-answer owners).
    bool waitForRequest() {
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(30000))
                return false;
        return process_.readLine().startsWith("request");
    }
    ~Owner() {
        process_.kill();
        process_.waitForFinished(5000);
    }

private:
    QProcess process_;
};

struct OwnerCase {
    const char* name;
    QStringList offer;
    Kind kind;
    const char16_t* text;
};

class ReadFromOwner : public testing::TestWithParam<OwnerCase> {};

TEST_P(ReadFromOwner, Result) {
    Owner owner(GetParam().offer);
    X11ClipboardReader reader({}, kTimeoutMs);
    ASSERT_TRUE(reader.isConnected());
    const X11ClipboardReader::Result result = reader.read();
    EXPECT_EQ(result.kind, GetParam().kind) << result.reason.toStdString();
    EXPECT_EQ(result.text, QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Owners, ReadFromOwner,
    testing::Values(
        OwnerCase{"PlainText", {"UTF8_STRING=辞書", "STRING=?"}, Kind::Text, u"辞書"},
        OwnerCase{"TextKeptAsItIs", {"UTF8_STRING= two\nlines "}, Kind::Text, u" two\nlines "},
        OwnerCase{"BrowserSelectionGivesPlainText",
                  {"text/html=<meta charset='utf-8'><b>太字</b>の語", "UTF8_STRING=太字の語"},
                  Kind::Text,
                  u"太字の語"},
        OwnerCase{"HtmlAloneGivesItsPlainText",
                  {"text/html=<html><body><p><span style='color:red'>赤い</span>&amp;語</p>"
                   "</body></html>"},
                  Kind::Text,
                  u"赤い&語"},
        OwnerCase{"FilesFromAFileManager",
                  {"x-special/gnome-copied-files=copy\nfile:///home/u/%E8%BE%9E%E6%9B%B8.txt",
                   "text/uri-list=file:///home/u/%E8%BE%9E%E6%9B%B8.txt\r\n",
                   "UTF8_STRING=/home/u/辞書.txt", "text/plain=/home/u/辞書.txt"},
                  Kind::NoText,
                  u""},
        OwnerCase{"WebAddressListIsText",
                  {"text/uri-list=https://example.com/\r\n", "UTF8_STRING=https://example.com/"},
                  Kind::Text,
                  u"https://example.com/"},
        OwnerCase{"Picture",
                  {"image/png=\x89PNG\r\n", "application/x-qt-image=\x89PNG"},
                  Kind::NoText,
                  u""},
        OwnerCase{"PictureFromABrowser",
                  {"text/html=<img src='http://example.com/a.png'>", "image/png=\x89PNG\r\n"},
                  Kind::NoText,
                  u""},
        OwnerCase{"HtmlOfAPictureAlone", {"text/html=<img src='a.png'>"}, Kind::NoText, u""},
        OwnerCase{"EmptyTextIsText", {"UTF8_STRING="}, Kind::Text, u""}),
    [](const auto& info) { return std::string(info.param.name); });

// The reader's own time-out, not another one: well short of the five seconds a reader that
// ignored it would take, however busy the machine.
TEST(ReadFailure, OwnerThatNeverAnswersIsUnreadableAfterTheTimeout) {
    constexpr int kShortTimeoutMs = 300;
    Owner owner({"--never-answer", "UTF8_STRING=x"});
    X11ClipboardReader reader({}, kShortTimeoutMs);
    QElapsedTimer took;
    took.start();
    const X11ClipboardReader::Result result = reader.read();
    EXPECT_EQ(result.kind, Kind::Unreadable);
    EXPECT_TRUE(result.reason.contains(QStringLiteral("応答しません")))
        << result.reason.toStdString();
    EXPECT_GE(took.elapsed(), kShortTimeoutMs);
    EXPECT_LT(took.elapsed(), 4000);
}

// An owner that has gone is known at once: a third of the time-out is far more than that
// takes, and far less than waiting the time-out out.
TEST(ReadFailure, OwnerThatClosesWhileAskedIsUnreadableAtOnce) {
    constexpr int kLongTimeoutMs = 30000;
    Owner owner({"--exit-on-request"});
    X11ClipboardReader reader({}, kLongTimeoutMs);
    QElapsedTimer took;
    took.start();
    const X11ClipboardReader::Result result = reader.read();
    EXPECT_EQ(result.kind, Kind::Unreadable);
    EXPECT_TRUE(result.reason.contains(QStringLiteral("終了"))) << result.reason.toStdString();
    EXPECT_LT(took.elapsed(), kLongTimeoutMs / 3) << "waited for an owner that had gone";
}

TEST(ReadFailure, ClipboardWithoutOwnerIsEmptyNotAnError) {
    { Owner owner({"UTF8_STRING=gone"}); } // takes the clipboard, then closes
    X11ClipboardReader reader({}, kTimeoutMs);
    const X11ClipboardReader::Result result = reader.read();
    EXPECT_EQ(result.kind, Kind::NoText);
    EXPECT_TRUE(result.reason.isEmpty());
}

// xclip holding text on the clipboard (or the primary selection), for copies larger than one X
// request.
class XclipOwner {
public:
    explicit XclipOwner(const QByteArray& bytes, const QString& selection = u"clipboard"_qs) {
        if (!file_.open())
            return;
        file_.write(bytes);
        file_.flush();
        xclip_.setStandardInputFile(file_.fileName());
        xclip_.start(QStringLiteral("xclip"),
                     {"-quiet", "-selection", selection, "-t", "UTF8_STRING", "-i"});
        started_ = xclip_.waitForStarted(5000);
    }
    ~XclipOwner() {
        xclip_.kill();
        xclip_.waitForFinished(5000);
    }
    bool started() const { return started_; }

    // Reads until xclip owns the clipboard (an earlier owner's NoText or text before that).
    X11ClipboardReader::Result readOnceOwned(X11ClipboardReader& reader, Kind expected) {
        X11ClipboardReader::Result result;
        QElapsedTimer waited;
        waited.start();
        do {
            result = reader.read();
        } while (result.kind != expected && waited.elapsed() < 10000);
        return result;
    }

private:
    QTemporaryFile file_;
    QProcess xclip_;
    bool started_ = false;
};

// A copy larger than one X request comes in chunks (INCR); the next read on the same
// connection must not be confused by what the first left behind.
TEST(LargeCopy, ComesWholeInChunks) {
    QString text;
    for (int i = 0; text.size() < 600000; ++i)
        text += QStringLiteral("辞書%1 ").arg(i);
    ASSERT_LT(text.toUtf8().size(), X11ClipboardReader::kMaxBytes);
    XclipOwner xclip(text.toUtf8());
    ASSERT_TRUE(xclip.started());
    X11ClipboardReader reader({}, 5000);
    const X11ClipboardReader::Result result = xclip.readOnceOwned(reader, Kind::Text);
    EXPECT_EQ(result.kind, Kind::Text) << result.reason.toStdString();
    EXPECT_EQ(result.text.size(), text.size());
    EXPECT_TRUE(result.text == text);
    const X11ClipboardReader::Result again = reader.read();
    EXPECT_TRUE(again.text == text);
}

// Longer than any site takes: the read stops at the bound, says so, and the next read on the
// same connection works.
struct TooLongCase {
    const char* name;
    qint64 bytes;
};

void PrintTo(const TooLongCase& row, std::ostream* out) {
    *out << row.name;
}

class CopyTooLong : public testing::TestWithParam<TooLongCase> {};

TEST_P(CopyTooLong, StopsAtTheBound) {
    XclipOwner xclip(QByteArray(GetParam().bytes, 'w'));
    ASSERT_TRUE(xclip.started());
    X11ClipboardReader reader({}, 5000);
    const X11ClipboardReader::Result result = xclip.readOnceOwned(reader, Kind::TooLong);
    EXPECT_EQ(result.kind, Kind::TooLong) << result.reason.toStdString();
    EXPECT_TRUE(result.text.isEmpty());
    EXPECT_FALSE(result.reason.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, CopyTooLong,
                         testing::Values(TooLongCase{"JustOverTheBound",
                                                     X11ClipboardReader::kMaxBytes + 1},
                                         TooLongCase{"TenMegabytes", 10'000'000}),
                         [](const auto& info) { return std::string(info.param.name); });

// An owner that streams a copy without end is cut off at the bound, not read until memory
// runs out.
TEST(EndlessCopy, StopsAtTheBound) {
    Owner owner({"--endless-incr", "UTF8_STRING=x"});
    X11ClipboardReader reader({}, 5000);
    const X11ClipboardReader::Result result = reader.read();
    EXPECT_EQ(result.kind, Kind::TooLong) << result.reason.toStdString();
}

// The worker reads on a thread of its own: while an owner hangs, the asking thread's event
// loop goes on (a timer keeps firing), and the answer comes back there.
TEST(Worker, EventLoopRunsWhileAnOwnerHangs) {
    Owner owner({"--never-answer", "UTF8_STRING=x"});
    X11ClipboardWorker worker(std::make_unique<X11ClipboardReader>(QByteArray(), kTimeoutMs));
    QSignalSpy finished(&worker, &X11ClipboardWorker::finished);
    int ticksWhileReading = 0;
    QTimer ping;
    QObject::connect(&ping, &QTimer::timeout, [&] {
        if (worker.isReading())
            ++ticksWhileReading;
    });
    ping.start(5);
    worker.read();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_GE(ticksWhileReading, 3);
    const auto result = finished.first().first().value<X11ClipboardReader::Result>();
    EXPECT_EQ(result.kind, Kind::Unreadable);
}

// Asked again while a read is under way (a newer copy), the worker reads once more after it:
// the hung owner's read ends with the change (nothing to take), then the newer copy comes.
TEST(Worker, ChangeDuringAReadIsReadAfterIt) {
    auto hung = std::make_unique<Owner>(QStringList{"--never-answer", "UTF8_STRING=x"});
    X11ClipboardWorker worker(std::make_unique<X11ClipboardReader>(QByteArray(), kTimeoutMs));
    QSignalSpy finished(&worker, &X11ClipboardWorker::finished);
    worker.read();
    Owner newer({"UTF8_STRING=新しい"});
    worker.read();
    worker.read();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() >= 2; }, 30000));
    QTest::qWait(0);
    ASSERT_EQ(finished.count(), 2);
    EXPECT_EQ(finished.at(0).first().value<X11ClipboardReader::Result>().kind, Kind::NoText);
    const auto second = finished.at(1).first().value<X11ClipboardReader::Result>();
    EXPECT_EQ(second.kind, Kind::Text);
    EXPECT_EQ(second.text, QStringLiteral("新しい"));
}

// A window that goes while its clipboard read hangs does not wait for the owner: the read is
// stopped and its thread joined at once (were it not, the owner's hour would hold the test).
TEST(Worker, DestroyedWhileAnOwnerHangsStopsTheRead) {
    Owner owner({"--never-answer", "UTF8_STRING=x"});
    auto worker = std::make_unique<X11ClipboardWorker>(
        std::make_unique<X11ClipboardReader>(QByteArray(), 3600 * 1000));
    QSignalSpy finished(worker.get(), &X11ClipboardWorker::finished);
    worker->read();
    ASSERT_TRUE(owner.waitForRequest());
    worker.reset();
    EXPECT_EQ(finished.count(), 0);
}

// The primary selection is read like the clipboard, and only it: what xclip selects there is
// not on the clipboard.
TEST(PrimarySelection, ReadLikeTheClipboard) {
    { Owner gone({"UTF8_STRING=x"}); } // an empty clipboard
    XclipOwner xclip(QStringLiteral("選んだ語").toUtf8(), u"primary"_qs);
    ASSERT_TRUE(xclip.started());
    X11ClipboardReader primary(desktop::SelectionKind::Primary, {}, 5000);
    const X11ClipboardReader::Result result = xclip.readOnceOwned(primary, Kind::Text);
    EXPECT_EQ(result.kind, Kind::Text) << result.reason.toStdString();
    EXPECT_EQ(result.text, QStringLiteral("選んだ語"));
    X11ClipboardReader clipboard({}, 5000);
    EXPECT_EQ(clipboard.read().kind, Kind::NoText);
}

// A selection owned by a window of the client named (the program's own connection; here one
// of the test's) is the program's own and not read; one owned by another program is read,
// also with the client named.
TEST(PrimarySelection, OwnClientsSelectionIsTold) {
    xcb_connection_t* own = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(own));
    const xcb_window_t window = xcb_generate_id(own);
    xcb_create_window(own, XCB_COPY_FROM_PARENT, window,
                      xcb_setup_roots_iterator(xcb_get_setup(own)).data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(own, window, XCB_ATOM_PRIMARY, XCB_CURRENT_TIME);
    // A round trip: the ownership is in place once the server has answered.
    std::free(xcb_get_input_focus_reply(own, xcb_get_input_focus(own), nullptr));

    X11ClipboardReader reader(desktop::SelectionKind::Primary, {}, kTimeoutMs);
    reader.ignoreOwnClient(own);
    EXPECT_EQ(reader.read().kind, Kind::OwnWindow);

    XclipOwner xclip(QStringLiteral("他人の選択").toUtf8(), u"primary"_qs);
    ASSERT_TRUE(xclip.started());
    const X11ClipboardReader::Result result = xclip.readOnceOwned(reader, Kind::Text);
    EXPECT_EQ(result.kind, Kind::Text) << result.reason.toStdString();
    EXPECT_EQ(result.text, QStringLiteral("他人の選択"));
    xcb_disconnect(own);
}

} // namespace

int main(int argc, char** argv) {
    // The HTML conversion needs the GUI's text layer; no window is shown.
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
