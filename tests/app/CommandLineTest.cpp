// The command line: what each argument list asks for, and the built program answering it
// without a display.
#include "app/CommandLine.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* name;
    QStringList arguments; // after the program's name
    bool startProgram;
    int exitCode;
    const char* outputStart; // the start of the standard output ("" for none)
    const char* errorPart;   // part of the one error line, or nullptr for none
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandLineParse : public testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParse, AsksForTheRightOutcome) {
    const ParseCase& c = GetParam();
    const QStringList arguments = QStringList{QStringLiteral("/usr/bin/lexorra2")} + c.arguments;
    const auto outcome =
        app::CommandLine::parse(arguments, QStringLiteral("Lexorra2"), QStringLiteral("1.11"));

    EXPECT_EQ(outcome.startProgram, c.startProgram);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
    if (c.outputStart[0] == '\0') {
        EXPECT_TRUE(outcome.standardOutput.isEmpty()) << outcome.standardOutput.toStdString();
    } else {
        EXPECT_TRUE(outcome.standardOutput.startsWith(QString::fromUtf8(c.outputStart)))
            << outcome.standardOutput.toStdString();
    }
    if (c.errorPart) {
        EXPECT_TRUE(outcome.standardError.contains(QString::fromUtf8(c.errorPart)))
            << outcome.standardError.toStdString();
        EXPECT_TRUE(outcome.standardError.startsWith(QStringLiteral("lexorra2: ")));
        EXPECT_TRUE(outcome.standardError.endsWith(QLatin1Char('\n')));
        EXPECT_EQ(outcome.standardError.count(QLatin1Char('\n')), 1)
            << "one line: " << outcome.standardError.toStdString();
    } else {
        EXPECT_TRUE(outcome.standardError.isEmpty()) << outcome.standardError.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineParse,
    testing::Values(
        ParseCase{"NoArguments", {}, true, 0, "", nullptr},
        ParseCase{"EndOfOptionsAlone", {"--"}, true, 0, "", nullptr},
        ParseCase{"LongHelp", {"--help"}, false, 0, "Usage: lexorra2 [options]\n", nullptr},
        ParseCase{"ShortHelp", {"-h"}, false, 0, "Usage: lexorra2 [options]\n", nullptr},
        ParseCase{"LongVersion", {"--version"}, false, 0, "Lexorra2 1.11\n", nullptr},
        ParseCase{"ShortVersion", {"-v"}, false, 0, "Lexorra2 1.11\n", nullptr},
        ParseCase{
            "VersionWinsOverHelp", {"--help", "--version"}, false, 0, "Lexorra2 1.11\n", nullptr},
        ParseCase{"UnknownLongOption", {"--bogus"}, false, 2, "", "Unknown option 'bogus'."},
        ParseCase{"UnknownShortOption", {"-x"}, false, 2, "", "Unknown option 'x'."},
        ParseCase{"SeveralUnknownOptions", {"--a", "--b"}, false, 2, "", "a, b"},
        // An error is reported even beside --help, as Qt's own parser does.
        ParseCase{"UnknownOptionBesideHelp", {"--help", "--bogus"}, false, 2, "", "bogus"},
        ParseCase{"ValueGivenToAFlag", {"--version=2"}, false, 2, "", "--version"},
        ParseCase{"Argument", {"辞書"}, false, 2, "", "Unexpected argument '辞書'."},
        ParseCase{"ArgumentAfterEndOfOptions",
                  {"--", "--help"},
                  false,
                  2,
                  "",
                  "Unexpected argument '--help'."},
        // Qt's own options would reach nothing: the program passes none on.
        ParseCase{
            "QtPlatformOption", {"-platform", "xcb"}, false, 2, "", "Unknown option 'platform'."}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(CommandLineHelp, ListsBothOptionsAndNamesTheProgramAsCalled) {
    const auto outcome =
        app::CommandLine::parse({QStringLiteral("./build/lexorra2"), QStringLiteral("--help")},
                                QStringLiteral("Lexorra2"), QStringLiteral("1.11"));
    EXPECT_TRUE(outcome.standardOutput.startsWith(QStringLiteral("Usage: lexorra2 [options]\n")));
    EXPECT_TRUE(outcome.standardOutput.contains(QStringLiteral("-h, --help")));
    EXPECT_TRUE(outcome.standardOutput.contains(QStringLiteral("-v, --version")));
    EXPECT_FALSE(outcome.standardOutput.contains(QStringLiteral("--help-all")));
}

// The commands for the running instance: what each sends, and what is refused before anything
// is sent.
struct CommandCase {
    const char* name;
    QStringList arguments;
    std::optional<desktop::InstanceRequest> command; // nothing: refused as a usage error
    const char* errorPart;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandLineCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandLineCommand, SendsOneRequestOrRefuses) {
    const CommandCase& c = GetParam();
    const auto outcome =
        app::CommandLine::parse(QStringList{QStringLiteral("lexorra2")} + c.arguments,
                                QStringLiteral("Lexorra2"), QStringLiteral("1.11"));
    EXPECT_FALSE(outcome.startProgram);
    EXPECT_EQ(outcome.command, c.command);
    if (c.command) {
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.standardError.isEmpty()) << outcome.standardError.toStdString();
    } else {
        EXPECT_EQ(outcome.exitCode, app::CommandLine::kUsageErrorExitCode);
        EXPECT_TRUE(outcome.standardError.contains(QString::fromUtf8(c.errorPart)))
            << outcome.standardError.toStdString();
    }
}

using desktop::InstanceRequest;

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineCommand,
    testing::Values(
        CommandCase{"Raise", {"--raise"}, InstanceRequest::comeForward(), ""},
        CommandCase{"TogglePause", {"--toggle-pause"}, InstanceRequest::togglePause(), ""},
        CommandCase{
            "LookUp", {"--look-up", "猫"}, InstanceRequest::lookUp(QStringLiteral("猫")), ""},
        CommandCase{"LookUpWithEquals",
                    {"--look-up=a b"},
                    InstanceRequest::lookUp(QStringLiteral("a b")),
                    ""},
        CommandCase{
            "LookUpDashText", {"--look-up=-x"}, InstanceRequest::lookUp(QStringLiteral("-x")), ""},
        CommandCase{"LookUpWithoutText", {"--look-up"}, std::nullopt, "Missing value"},
        CommandCase{"LookUpEmpty", {"--look-up", ""}, std::nullopt, "no text"},
        CommandCase{"LookUpBlanks", {"--look-up", " \t\n"}, std::nullopt, "no text"},
        CommandCase{"LookUpTooLong",
                    {"--look-up", QString(InstanceRequest::kMaxTextBytes + 1, u'a')},
                    std::nullopt,
                    "longer than"},
        CommandCase{"TwoCommands", {"--raise", "--toggle-pause"}, std::nullopt, "one command"},
        CommandCase{
            "TwoLookUps", {"--look-up", "a", "--look-up", "b"}, std::nullopt, "one command"},
        CommandCase{"CommandAndArgument", {"--raise", "word"}, std::nullopt, "Unexpected"}),
    [](const testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST(CommandLineHelp, EmptyArgumentListStartsTheProgram) {
    const auto outcome =
        app::CommandLine::parse({}, QStringLiteral("Lexorra2"), QStringLiteral("1.11"));
    EXPECT_TRUE(outcome.startProgram);
}

// The built program answers before it needs a display: no X, no Wayland, no Qt platform.
struct ProgramCase {
    const char* name;
    QStringList arguments;
    int exitCode;
    const char* output; // the whole standard output, or nullptr to skip the check
    bool errorLine;     // one line on the standard error
};

void PrintTo(const ProgramCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramCommandLine : public testing::TestWithParam<ProgramCase> {};

TEST_P(ProgramCommandLine, AnswersWithoutADisplay) {
    const ProgramCase& c = GetParam();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    // A session of its own, where no instance runs.
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(LEXORRA2_PATH), c.arguments);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), c.exitCode);
    const QByteArray out = program.readAllStandardOutput();
    const QByteArray err = program.readAllStandardError();
    if (c.output) {
        EXPECT_EQ(out, QByteArray(c.output));
    }
    if (c.errorLine) {
        EXPECT_TRUE(out.isEmpty()) << out.constData();
        EXPECT_EQ(err.count('\n'), 1) << err.constData();
        EXPECT_TRUE(err.startsWith("lexorra2: ")) << err.constData();
    } else {
        EXPECT_TRUE(err.isEmpty()) << err.constData();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProgramCommandLine,
    testing::Values(
        ProgramCase{"Version", {"--version"}, 0, "Lexorra2 " LEXORRA2_VERSION "\n", false},
        ProgramCase{"Help", {"--help"}, 0, nullptr, false},
        ProgramCase{"UnknownOption", {"--bogus"}, 2, "", true},
        ProgramCase{"Argument", {"word"}, 2, "", true},
        // Nothing runs to take the command: said, and not started.
        ProgramCase{"RaiseWithoutInstance", {"--raise"}, 1, "", true},
        ProgramCase{"TogglePauseWithoutInstance", {"--toggle-pause"}, 1, "", true},
        ProgramCase{"LookUpWithoutInstance", {"--look-up", "word"}, 1, "", true}),
    [](const testing::TestParamInfo<ProgramCase>& info) { return std::string(info.param.name); });

} // namespace
