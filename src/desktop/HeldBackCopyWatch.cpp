#include "desktop/HeldBackCopyWatch.h"

#include <QGuiApplication>

namespace desktop {

namespace {

const QString kHeldBackCopyNotice = QStringLiteral(
    "このデスクトップは、ほかのウインドウでのコピーを Lexorra2 が前面に来るまで渡しません。"
    "コピーしたら Lexorra2 に切り替えてください。");

} // namespace

bool HeldBackCopyWatch::copiesMayBeHeldBack(const EnvironmentReader& env,
                                            const QString& platformName) {
    return isWaylandSession(env) && platformName == QLatin1StringView("xcb");
}

bool HeldBackCopyWatch::copiesMayBeHeldBack() {
    return copiesMayBeHeldBack([](const char* name) { return qgetenv(name); },
                               QGuiApplication::platformName());
}

HeldBackCopyWatch::HeldBackCopyWatch(QObject* parent) : QObject(parent) {
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    notice_.windowActivated(clock_.elapsed());
                else
                    notice_.windowDeactivated();
            });
    clock_.start();
}

void HeldBackCopyWatch::clipboardChanged() {
    if (notice_.clipboardChanged(clock_.elapsed()))
        Q_EMIT heldBackCopySeen(kHeldBackCopyNotice);
}

} // namespace desktop
