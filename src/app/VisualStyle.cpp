#include "app/VisualStyle.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QStyleFactory>
#include <QWidget>

namespace app {

namespace {

// Qt reports a style sheet that does not parse only as a warning while polishing a widget;
// this catches that warning for the span of one application of a sheet.
QString g_parseError;
QtMessageHandler g_previousHandler = nullptr;

void catchParseWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("Could not parse")) && message.contains(QLatin1String("stylesheet"))) {
        g_parseError = message;
        return;
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

QString styleSheetPath(const QString& name) {
    return QStringLiteral(":/styles/%1.qss").arg(name);
}

QString applyStyleSheet(QApplication& application, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The style %1 cannot be read: %2").arg(path, file.errorString());
    const QString sheet = QString::fromUtf8(file.readAll());
    if (sheet.trimmed().isEmpty())
        return QStringLiteral("The style %1 is empty.").arg(path);

    const QString previous = application.styleSheet();
    g_parseError.clear();
    g_previousHandler = qInstallMessageHandler(catchParseWarning);
    application.setStyleSheet(sheet);
    {
        QWidget probe; // polishing a widget makes Qt parse the sheet now
        probe.ensurePolished();
    }
    qInstallMessageHandler(g_previousHandler);
    g_previousHandler = nullptr;

    if (!g_parseError.isEmpty()) {
        application.setStyleSheet(previous);
        return QStringLiteral("The style %1 cannot be applied: %2").arg(path, g_parseError);
    }
    return {};
}

void applyVisualStyleOrReport(QApplication& application, const QString& name) {
    // The sheet is drawn over Fusion, which looks the same on every desktop.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        application.setStyle(fusion);
    const QString error = applyStyleSheet(application, styleSheetPath(name));
    if (!error.isEmpty())
        QMessageBox::critical(nullptr, QStringLiteral("Lexorra2"), error);
}

} // namespace app
