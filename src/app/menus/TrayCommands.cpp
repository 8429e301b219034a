#include "app/menus/TrayCommands.h"

#include "app/menus/NamedAction.h"

#include <QAction>
#include <QWidget>

namespace app {

TrayCommands::TrayCommands(QWidget* window, QAction* bringForwardOption) : QObject(window) {
    restore_ = makeNamedAction(window, "MOTO_NI_MODOSHU", QStringLiteral("元に戻す"));
    bringForward_ = makeNamedAction(
        window, "N43", QStringLiteral("文字列をコピーした時にウインドウを全面に出す(&X)"));
    pause_ = makeNamedAction(window, "N40",
                             QStringLiteral("クリップボードに反応しないようにする（休止モード）"));
    minimise_ = makeNamedAction(window, "N41", QStringLiteral("最小化"));
    quit_ = makeNamedAction(window, "Lexorra23", QStringLiteral("Lexorra2を閉じる"));

    // A tick in a menu that changes nothing would mislead: the entry is the option itself,
    // under the tray's caption.
    bringForward_->setCheckable(true);
    bringForward_->setChecked(bringForwardOption->isChecked());
    connect(bringForward_, &QAction::toggled, bringForwardOption, &QAction::setChecked);
    connect(bringForwardOption, &QAction::toggled, bringForward_, &QAction::setChecked);
}

} // namespace app
