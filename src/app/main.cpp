#include "app/CommandLine.h"
#include "app/FloatingPointMask.h"
#include "app/MainWindow.h"
#include "app/VisualStyle.h"
#include "app/dialogs/ProgramVersion.h"
#include "browser/FailurePageController.h"
#include "browser/StartPage.h"
#include "desktop/HeapReturn.h"
#include "desktop/PlatformChoice.h"
#include "desktop/SessionEnd.h"
#include "desktop/SingleInstance.h"
#include "desktop/WindowRaiser.h"

#include <QApplication>
#include <optional>

int main(int argc, char* argv[]) {
    const app::CommandLine::Outcome commandLine = app::CommandLine::parse(
        app::CommandLine::argumentsOf(argc, argv), QStringLiteral("Lexorra2"),
        QString::fromLatin1(app::kProgramVersion));
    if (commandLine.command) {
        // Sent and done at once: no display, no window, no browser engine.
        int coreArgc = argc > 0 ? 1 : 0;
        QCoreApplication core(coreArgc, argv);
        desktop::SingleInstance instance(desktop::SingleInstance::sessionFolder(),
                                         QStringLiteral("lexorra2"));
        // A compositor that started the command (a key bound to `lexorra2 --raise`) gave it a
        // token that lets the window it raises take the focus.
        desktop::InstanceRequest request = *commandLine.command;
        if (request.kind == desktop::InstanceRequest::Kind::ComeForward)
            request = desktop::InstanceRequest::comeForward(qgetenv("XDG_ACTIVATION_TOKEN"));
        const desktop::SingleInstance::Delivery delivery = instance.send(request);
        return app::CommandLine::report(app::CommandLine::delivered(
            delivery, instance.errorString(), QStringLiteral("lexorra2")));
    }
    if (!commandLine.startProgram)
        return app::CommandLine::report(commandLine);

    // Settled before the application object exists: floating-point faults masked for the
    // whole run, the memory allocator, the platform, the OpenGL contexts the browser engine
    // shares, and the start page's URL scheme.
    const app::FloatingPointMask floatingPointMask;
    desktop::keepLargeBlocksOffTheHeap();
    desktop::chooseQtPlatform();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    browser::registerStartPageScheme();
    browser::FailurePageController::registerScheme();
    // Qt sees only the program's name, so that no option on the command line changes anything.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexorra2"));

    // A second instance would look up every copy again and overwrite the settings at exit.
    desktop::SingleInstance instance(desktop::SingleInstance::sessionFolder(),
                                     QStringLiteral("lexorra2"));
    instance.setActivationToken(qgetenv("XDG_ACTIVATION_TOKEN"));
    if (const std::optional<int> exitCode = instance.claimForStart())
        return *exitCode;

    app::applyVisualStyleOrReport(application, QString::fromLatin1(app::kVisualStyleName));

    app::MainWindow mainWindow;
    desktop::WindowRaiser raiser(&mainWindow);
    QObject::connect(&instance, &desktop::SingleInstance::comeForwardAsked, &mainWindow,
                     [&](const QString& activationToken) {
                         raiser.useActivationToken(activationToken);
                         mainWindow.show();
                         raiser.bringForwardAfterLookup();
                     });
    QObject::connect(&instance, &desktop::SingleInstance::togglePauseAsked, &mainWindow,
                     &app::MainWindow::togglePauseAsked);
    QObject::connect(&instance, &desktop::SingleInstance::lookUpAsked, &mainWindow,
                     &app::MainWindow::lookUpAsked);
    // A logout, kill or Ctrl+C ends the run as the tray's close does, settings saved. Made
    // after the window: the browser engine, started with it, resets these signals.
    desktop::SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &desktop::SessionEnd::endRequested, &mainWindow,
                     &app::MainWindow::endRun);
    // An X server that goes away ends the process through exit(): the settings are saved there.
    sessionEnd.saveAtExit([&mainWindow] { mainWindow.saveSettingsAtEnd(); });
    mainWindow.show();
    return application.exec();
}
