#pragma once

#include "desktop/InstanceRequest.h"
#include "desktop/SingleInstance.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

// The program's command line. It answers --help and --version as Qt programs do; --raise,
// --toggle-pause and --look-up TEXT are commands for the instance already running, sent
// through its single-instance socket (a desktop's keyboard shortcut runs them); anything else
// is refused before a window is made.
class CommandLine {
public:
    // What the command line asks for: start the program, or print and end with exitCode.
    struct Outcome {
        bool startProgram = true;
        int exitCode = 0;
        QString standardOutput;
        QString standardError;
        // A command for the running instance: send it instead of starting the program.
        std::optional<desktop::InstanceRequest> command;
    };

    // The exit status of a command line that the program does not understand.
    static constexpr int kUsageErrorExitCode = 2;
    // The exit status of a command that did not reach a running instance.
    static constexpr int kNotDeliveredExitCode = 1;

    // arguments as the process got them, the program's own name first; version is the one
    // --version prints after the application's name.
    static Outcome parse(const QStringList& arguments, const QString& applicationName,
                         const QString& version);
    // Prints the outcome's texts on their streams and gives its exit status.
    static int report(const Outcome& outcome);
    // What a command's delivery ends with: nothing printed and 0 once delivered, else a line
    // on the standard error and kNotDeliveredExitCode.
    static Outcome delivered(desktop::SingleInstance::Delivery delivery, const QString& why,
                             const QString& programName);
    // The process's arguments, decoded as the system's locale does file names.
    static QStringList argumentsOf(int argc, char* argv[]);
};

} // namespace app
