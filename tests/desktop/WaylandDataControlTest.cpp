// The Wayland clipboard through data control, under a real headless sway or KWin
// (support/run_with_sway.sh, support/run_with_kwin.sh): copies made by wl-copy and by
// data_control_offer, a clipboard owner that can also send without end or never answer.
#include "desktop/WaylandDataControl.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <gtest/gtest.h>
#include <poll.h>

using desktop::WaylandDataControl;

namespace {

// The command prefix that runs a program as the compositor's user.
QString compositorUserPrefix() {
    return qEnvironmentVariableIsSet("KWIN_USER_PREFIX") ? qEnvironmentVariable("KWIN_USER_PREFIX")
                                                         : qEnvironmentVariable("SWAY_USER_PREFIX");
}

// Runs command (a shell line) as the compositor's user, as a program of the session would.
void runAsSessionUser(const QString& command) {
    QProcess shell;
    shell.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), compositorUserPrefix() + QLatin1Char(' ') + command});
    ASSERT_TRUE(shell.waitForFinished(30000));
    ASSERT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
}

// Waits for the compositor to tell of a new clipboard selection, within a bound only a fault
// exceeds.
bool waitForClipboardChange(WaylandDataControl& control, bool& changed) {
    const QDeadlineTimer deadline(30000);
    while (!changed && !deadline.hasExpired()) {
        pollfd socket{control.fd(), POLLIN, 0};
        poll(&socket, 1, int(deadline.remainingTime()));
        if (!control.dispatch())
            return false;
    }
    return changed;
}

struct CopyCase {
    const char* name;
    // "wl-copy ARGS" run as the session's user, or data_control_offer's arguments.
    QString wlCopyArguments;
    QStringList offerArguments;
    int timeoutMs;
    WaylandDataControl::Result::Kind kind;
    QString text;
};

void PrintTo(const CopyCase& row, std::ostream* out) {
    *out << row.name;
}

class WaylandCopy : public testing::TestWithParam<CopyCase> {};

TEST_P(WaylandCopy, IsReadWithinItsBounds) {
    const CopyCase& row = GetParam();
    std::unique_ptr<WaylandDataControl> control = WaylandDataControl::connect({}, row.timeoutMs);
    ASSERT_TRUE(control) << "the compositor offers data control";
    bool changed = false;
    control->onSelectionChanged([&changed](WaylandDataControl::Selection selection) {
        if (selection == WaylandDataControl::Selection::Clipboard)
            changed = true;
    });

    QProcess owner;
    if (!row.wlCopyArguments.isEmpty()) {
        runAsSessionUser(QStringLiteral("wl-copy ") + row.wlCopyArguments);
    } else {
        owner.start(QStringLiteral(DATA_CONTROL_OFFER_PATH), row.offerArguments);
        ASSERT_TRUE(owner.waitForReadyRead(30000));
        ASSERT_EQ(owner.readLine(), "ready\n");
    }
    ASSERT_TRUE(waitForClipboardChange(*control, changed));

    const WaylandDataControl::Result result =
        control->read(WaylandDataControl::Selection::Clipboard);
    EXPECT_EQ(result.kind, row.kind) << result.reason.toStdString();
    EXPECT_EQ(result.text, row.text);
    if (row.kind == WaylandDataControl::Result::Unreadable ||
        row.kind == WaylandDataControl::Result::TooLong) {
        EXPECT_FALSE(result.reason.isEmpty());
    }
    owner.kill();
    owner.waitForFinished();
}

using Kind = WaylandDataControl::Result::Kind;

INSTANTIATE_TEST_SUITE_P(
    Table, WaylandCopy,
    testing::Values(
        CopyCase{
            "PlainText", QStringLiteral("単語"), {}, 10000, Kind::Text, QStringLiteral("単語")},
        CopyCase{"FileList",
                 QStringLiteral("--type text/uri-list file:///etc/passwd"),
                 {},
                 10000,
                 Kind::NoText,
                 {}},
        CopyCase{
            "Picture", QStringLiteral("--type image/png PNGDATA"), {}, 10000, Kind::NoText, {}},
        CopyCase{
            "Html",
            {},
            {QStringLiteral("text/html"), QStringLiteral("text"), QStringLiteral("<b>太字</b>")},
            10000,
            Kind::Text,
            QStringLiteral("太字")},
        CopyCase{"MoreThanOneMebibyte",
                 {},
                 {QStringLiteral("text/plain"), QStringLiteral("endless")},
                 10000,
                 Kind::TooLong,
                 {}},
        // Only the time-out ends this read: short, so the test does not wait long.
        CopyCase{"SourceThatNeverAnswers",
                 {},
                 {QStringLiteral("text/plain"), QStringLiteral("hang")},
                 300,
                 Kind::Unreadable,
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

// sway 1.7 and KWin 5.27 offer zwlr_data_control_manager_v1 (version 2 and up: the primary
// selection too); newer compositors ext_data_control_manager_v1.
TEST(WaylandDataControl, BindsTheCompositorsProtocolWithThePrimarySelection) {
    std::unique_ptr<WaylandDataControl> control = WaylandDataControl::connect({}, 10000);
    ASSERT_TRUE(control) << "the compositor offers neither ext_data_control_manager_v1 nor "
                            "zwlr_data_control_manager_v1";
    EXPECT_TRUE(control->protocolName() == QLatin1StringView("ext_data_control_manager_v1") ||
                control->protocolName() == QLatin1StringView("zwlr_data_control_manager_v1"))
        << control->protocolName().toStdString();
    EXPECT_TRUE(control->watchesPrimarySelection()) << control->protocolName().toStdString();
}

TEST(WaylandDataControl, WithoutACompositorThereIsNone) {
    EXPECT_FALSE(WaylandDataControl::connect("no-such-wayland-display"));
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
