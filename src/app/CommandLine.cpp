#include "app/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace app {

namespace {

// The help text's first line names the program as it was called. Without an application
// object Qt cannot know that name and writes a placeholder, so the line is written here.
QString withUsageLine(const QString& helpText, const QString& programName) {
    const QString usage = QStringLiteral("Usage: ");
    const QString options = QStringLiteral(" [options]");
    const qsizetype end = helpText.indexOf(options);
    if (!helpText.startsWith(usage) || end < 0)
        return helpText;
    return usage + programName + helpText.mid(end);
}

} // namespace

CommandLine::Outcome CommandLine::parse(const QStringList& arguments,
                                        const QString& applicationName, const QString& version) {
    const QString calledAs =
        arguments.isEmpty() ? applicationName.toLower() : arguments.constFirst();
    const QString programName = QFileInfo(calledAs).fileName();

    // The options are written out rather than taken from addHelpOption(), which would also
    // offer --help-all with Qt's own options: the program passes none of them on.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Looks up every text copied to the clipboard on the dictionary, "
                       "translation or search site chosen for the current category."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays help on commandline options."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Displays version information."));
    // "-platform" is one unknown option, not the eight letters p, l, a, t, f, o, r, m.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    const QCommandLineOption raiseOption(
        QStringLiteral("raise"), QStringLiteral("Brings the running Lexorra2's window forward."));
    const QCommandLineOption togglePauseOption(
        QStringLiteral("toggle-pause"),
        QStringLiteral("Pauses or resumes the running Lexorra2's clipboard watching."));
    const QCommandLineOption lookUpOption(
        QStringLiteral("look-up"),
        QStringLiteral("Looks text up in the running Lexorra2, as a copy of it would be, "
                       "also while paused."),
        QStringLiteral("text"));
    parser.addOption(raiseOption);
    parser.addOption(togglePauseOption);
    parser.addOption(lookUpOption);

    Outcome outcome;
    QStringList toParse = arguments;
    if (toParse.isEmpty())
        toParse.append(calledAs);
    QString error;
    if (!parser.parse(toParse))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = QStringLiteral("Unexpected argument '%1'.")
                    .arg(parser.positionalArguments().constFirst());
    std::optional<desktop::InstanceRequest> command;
    if (error.isEmpty()) {
        const int commands = int(parser.isSet(raiseOption)) + int(parser.isSet(togglePauseOption)) +
                             int(parser.isSet(lookUpOption));
        if (commands > 1 || parser.values(lookUpOption).size() > 1) {
            error = QStringLiteral("Give one command at a time.");
        } else if (parser.isSet(raiseOption)) {
            command = desktop::InstanceRequest::comeForward();
        } else if (parser.isSet(togglePauseOption)) {
            command = desktop::InstanceRequest::togglePause();
        } else if (parser.isSet(lookUpOption)) {
            const QString text = parser.value(lookUpOption);
            error = desktop::InstanceRequest::whyNotLookUpText(text);
            command = desktop::InstanceRequest::lookUp(text);
        }
    }
    if (!error.isEmpty()) {
        outcome.startProgram = false;
        outcome.exitCode = kUsageErrorExitCode;
        // Qt can word several problems over more than one line; the message stays one line.
        error.replace(QLatin1Char('\n'), QLatin1Char(' '));
        outcome.standardError =
            QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(programName, error.trimmed());
        return outcome;
    }
    // Like QCommandLineParser::process(): the version wins over the help.
    if (parser.isSet(versionOption)) {
        outcome.startProgram = false;
        outcome.standardOutput = applicationName + QLatin1Char(' ') + version + QLatin1Char('\n');
    } else if (parser.isSet(helpOption)) {
        outcome.startProgram = false;
        outcome.standardOutput = withUsageLine(parser.helpText(), programName);
    } else if (command) {
        outcome.startProgram = false;
        outcome.command = command;
    }
    return outcome;
}

CommandLine::Outcome CommandLine::delivered(desktop::SingleInstance::Delivery delivery,
                                            const QString& why, const QString& programName) {
    Outcome outcome;
    outcome.startProgram = false;
    if (delivery == desktop::SingleInstance::Delivery::Delivered)
        return outcome;
    outcome.exitCode = kNotDeliveredExitCode;
    QString message = why;
    if (delivery == desktop::SingleInstance::Delivery::NoInstance)
        message += QStringLiteral(" Start it first; the command is for a running instance.");
    outcome.standardError = QStringLiteral("%1: %2\n").arg(programName, message);
    return outcome;
}

int CommandLine::report(const Outcome& outcome) {
    std::fputs(outcome.standardOutput.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.standardError.toLocal8Bit().constData(), stderr);
    std::fflush(stdout);
    return outcome.exitCode;
}

QStringList CommandLine::argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return arguments;
}

} // namespace app
