#include "app/menus/TrayCommands.h"

#include <QAction>
#include <QWidget>

namespace app {

namespace {

QAction* makeAction(QWidget* window, const char* name, const QString& text) {
    auto* action = new QAction(text, window);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TrayCommands::TrayCommands(QWidget* window, QAction* bringForwardOption) : QObject(window) {
    restore_ = makeAction(window, "MOTO_NI_MODOSHU", QStringLiteral("元に戻す"));
    bringForward_ = makeAction(window, "N43",
                               QStringLiteral("文字列をコピーした時にウインドウを全面に出す(&X)"));
    pause_ = makeAction(window, "N40",
                        QStringLiteral("クリップボードに反応しないようにする（休止モード）"));
    minimise_ = makeAction(window, "N41", QStringLiteral("最小化"));
    quit_ = makeAction(window, "Lexorra23", QStringLiteral("Lexorra2を閉じる"));

    // A tick in a menu that changes nothing would mislead: the entry is the option itself,
    // under the tray's caption.
    bringForward_->setCheckable(true);
    bringForward_->setChecked(bringForwardOption->isChecked());
    connect(bringForward_, &QAction::toggled, bringForwardOption, &QAction::setChecked);
    connect(bringForwardOption, &QAction::toggled, bringForward_, &QAction::setChecked);
}

} // namespace app
