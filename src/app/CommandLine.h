#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The program's command line. It takes no arguments of its own; it answers --help and
// --version as Qt programs do, and refuses anything else before a window is made.
class CommandLine {
public:
    // What the command line asks for: start the program, or print and end with exitCode.
    struct Outcome {
        bool startProgram = true;
        int exitCode = 0;
        QString standardOutput;
        QString standardError;
    };

    // The exit status of a command line that the program does not understand.
    static constexpr int kUsageErrorExitCode = 2;

    // arguments as the process got them, the program's own name first; version is the one
    // --version prints after the application's name.
    static Outcome parse(const QStringList& arguments, const QString& applicationName,
                         const QString& version);
    // Prints the outcome's texts on their streams and gives its exit status.
    static int report(const Outcome& outcome);
    // The process's arguments, decoded as the system's locale does file names.
    static QStringList argumentsOf(int argc, char* argv[]);
};

} // namespace app
