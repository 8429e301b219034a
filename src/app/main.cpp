#include "app/CommandLine.h"
#include "app/MainForm.h"
#include "app/Platform.h"
#include "app/VisualStyle.h"
#include "desktop/SingleInstance.h"
#include "input/WindowRaiser.h"

#include <QApplication>
#include <optional>

int main(int argc, char* argv[]) {
    const app::CommandLine::Outcome commandLine =
        app::CommandLine::parse(app::CommandLine::argumentsOf(argc, argv),
                                QStringLiteral("Lexorra2"), QStringLiteral(LEXORRA2_VERSION));
    if (!commandLine.startProgram)
        return app::CommandLine::report(commandLine);

    app::prepareProcessBeforeApplication();
    // Qt sees only the program's name, so that no option on the command line changes anything.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexorra2"));

    // A second instance would look up every copy again and overwrite the settings at exit.
    desktop::SingleInstance instance(desktop::SingleInstance::sessionFolder(),
                                     QStringLiteral("lexorra2"));
    if (const std::optional<int> exitCode = instance.claimForStart())
        return *exitCode;

    app::applyVisualStyleOrReport(application, QString::fromLatin1(app::kVisualStyleName));

    app::TMain_Form mainForm;
    input::WindowRaiser raiser(&mainForm);
    QObject::connect(&instance, &desktop::SingleInstance::comeForwardAsked, &mainForm, [&] {
        mainForm.show();
        raiser.bringForwardAfterLookup();
    });
    mainForm.show();
    return application.exec();
}
