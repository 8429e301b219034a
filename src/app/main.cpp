#include "app/MainForm.h"
#include "app/Platform.h"
#include "app/VisualStyle.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    app::prepareProcessBeforeApplication();
    // The program takes no arguments: Qt sees only the program's name, so that no option
    // on the command line changes anything.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexorra2"));
    app::applyVisualStyleOrReport(application, QString::fromLatin1(app::kVisualStyleName));

    app::TMain_Form mainForm;
    mainForm.show();
    return application.exec();
}
