#include "app/MainWindow.h"
#include "app/VisualStyle.h"
#include "browser/FailurePageController.h"
#include "browser/StartPage.h"
#include "desktop/PlatformChoice.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Settled before the application object exists: the platform, the OpenGL contexts the
    // browser engine shares, and the start page's URL scheme.
    desktop::chooseQtPlatform();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    browser::registerStartPageScheme();
    browser::FailurePageController::registerScheme();
    // The program takes no arguments: Qt sees only the program's name, so that no option
    // on the command line changes anything.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexorra2"));
    app::applyVisualStyleOrReport(application, QString::fromLatin1(app::kVisualStyleName));

    app::MainWindow mainWindow;
    mainWindow.show();
    return application.exec();
}
