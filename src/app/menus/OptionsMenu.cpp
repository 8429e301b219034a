#include "app/menus/OptionsMenu.h"

#include "app/menus/OptionActions.h"
#include "settings/Options.h"

#include <QAction>
#include <QMenu>

namespace app {

namespace {

// The settings submenu, in its order; a null member is a separator.
struct OptionMenuEntry {
    bool settings::Options::*member;
    const char* label;
};

constexpr OptionMenuEntry kSettingsMenu[] = {
    {&settings::Options::bringForwardOnCopy, "文字列をコピーした時にウインドウを前面に出す(&X)"},
    {&settings::Options::raiseWithF12, "F12ボタンでLexorra2を最前面に出す(&F)"},
    {&settings::Options::pauseWithEnd, "ENDボタンで休止と監視を切り替える(&E)"},
    {&settings::Options::closeButtonMinimises,
     "右上の終了ボタンを最小化処理に変える（タスクトレイから終了してください）(&V)"},
    {&settings::Options::newTabPerSearch, "検索するとタブを新規作成する(&U)"},
    {&settings::Options::minimiseWhenInactive, "Lexorra2以外をクリックしたら最小化させる(&S)"},
    {nullptr, nullptr},
    {&settings::Options::fullWidthToAscii, "自動的に全角の英文字を半角にする(&R)"},
};

} // namespace

QMenu* buildOptionsMenu(const OptionActions& options, QAction* showAddressAction, QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("オプション"), parent);
    menu->menuAction()->setObjectName(QStringLiteral("OptionMenu"));
    auto* settingsMenu = menu->addMenu(QStringLiteral("設定(&V)"));
    settingsMenu->menuAction()->setObjectName(QStringLiteral("SetteiMenu"));
    for (const OptionMenuEntry& entry : kSettingsMenu) {
        if (!entry.member) {
            settingsMenu->addSeparator();
            continue;
        }
        // The menu shows the entry with its accelerator; the action keeps its caption.
        QAction* action = options.action(entry.member);
        auto* item = settingsMenu->addAction(QString::fromUtf8(entry.label));
        item->setCheckable(true);
        item->setChecked(action->isChecked());
        item->setObjectName(action->objectName() + QStringLiteral("_MenuItem"));
        QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
        QObject::connect(action, &QAction::toggled, item, &QAction::setChecked);
    }
    menu->addAction(showAddressAction);
    return menu;
}

} // namespace app
