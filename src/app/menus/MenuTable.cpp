#include "app/menus/MenuTable.h"

#include <stdexcept>

namespace app {

namespace {

using Kind = MenuEntry::Kind;
using enum Command;

// Every command once, in the order of Command. Those no menu lists show their caption alone.
constexpr CommandName kCommands[] = {
    {ShowToolbar, "tool_bar_on", "ツールバーの表示(&Y)"},
    {BringForwardOnCopy, "copy_window_zenmen_on",
     "文字列をコピーした時にウインドウを前面に出す(&X)"},
    {MinimiseAtStart, "kidouji_saisyouka_on", "起動時には最小化"},
    {RaiseWithF12, "F12_de_saizennmen_on", "F12ボタンでLexorra2を最前面に出す(&F)"},
    {PauseWithEnd, "End_kyuushi_on", "ENDボタンで休止と監視を切り替える(&E)"},
    {CloseButtonMinimises, "Batu_OFF",
     "右上の終了ボタンを最小化処理に変える（タスクトレイから終了してください）(&V)"},
    {NewTabPerSearch, "cbOpenNew", "検索するとタブを新規作成する(&U)"},
    {MinimiseWhenInactive, "Lexorra2_off_active", "Lexorra2以外をクリックしたら最小化させる(&S)"},
    {FullWidthToAscii, "jidou_zenkaku_eimoji_hankaku", "自動的に全角の英文字を半角にする(&R)"},
    {LimitTextLength, "Max_mojishuu", "反応する最大文字数の設定"},
    {IgnoreMixedWidth, "hankaku_zenkaku_batu",
     "半角英数字と全角が混じった文字には反応しないようにする"},
    {IgnoreSymbols, "kigou_batu", "記号が入っている文字には反応しないようにする"},
    {LookUpSelection, "lookUpSelectionAction", "選択しただけで調べる(&Q)"},
    {TextSizeSmall, "moji_size_syou", "小(&Z)"},
    {TextSizeMedium, "moji_size_tyuu", "中(&Y)"},
    {TextSizeLarge, "moji_size_dai", "大（標準）(&X)"},
    {TextSizeMax, "moji_size_max", "最大(&W)"},
    {PriorityHigh, "yuusendo_takai", "高い(&Z)"},
    {PriorityNormal, "yuusendo_hutuu", "普通(&Y)"},
    {PriorityIdle, "yuusendo_hikui", "低い(&X)"},
    {PriorityRealTime, "yuusendo_RealTime", "リアルタイム(&W)"},
    {ChooseProxy, "proxy_Set_check", "設定する(&Z)"},
    {CheckProxy, "Proxy_Settei_check", "チェック(&Y)"},
    {ShowPageAddress, "Action24", "現在のページのURLを表示する(&U)"},
    {ChooseShownCategories, "JISYO_NO_TUIKA_KAIJYO", "辞書の追加・解除(&F)"},
    {OpenHomePage, "Action30", "公式ホームページ(&W)"},
    {OpenBlog, "Action3", "開発blogを開く(&B)"},
    {OpenSupportBoard, "Action4", "サポートBBSに行く(&S)"},
    {MailTheAuthor, "Action6", "作者にメールする(&Y)"},
    {ShowAbout, "Action7", "バージョン情報(&Z)"},
    {RestoreWindow, "MOTO_NI_MODOSHU", "元に戻す"},
    {TrayBringForwardOnCopy, "N43", "文字列をコピーした時にウインドウを全面に出す(&X)"},
    {TogglePause, "N40", "クリップボードに反応しないようにする（休止モード）"},
    {MinimiseWindow, "N41", "最小化"},
    {QuitProgram, "Lexorra23", "Lexorra2を閉じる"},
};
static_assert(std::size(kCommands) == kCommandCount);

constexpr bool inCommandOrder() {
    for (int i = 0; i < kCommandCount; ++i)
        if (kCommands[i].command != static_cast<Command>(i))
            return false;
    return true;
}
static_assert(inCommandOrder(), "kCommands lists every command once, in the order of Command");

constexpr MenuEntry action(Command command) {
    return {Kind::Action, command, nullptr, nullptr, {}};
}
constexpr MenuEntry separator() {
    return {Kind::Separator, Command{}, nullptr, nullptr, {}};
}
constexpr MenuEntry submenu(const char* objectName, const char* label,
                            std::span<const MenuEntry> entries) {
    return {Kind::Submenu, Command{}, objectName, label, entries};
}

constexpr MenuEntry kTextSize[] = {
    action(TextSizeSmall),
    action(TextSizeMedium),
    action(TextSizeLarge),
    action(TextSizeMax),
};

constexpr MenuEntry kPriority[] = {
    action(PriorityHigh),
    action(PriorityNormal),
    action(PriorityIdle),
    action(PriorityRealTime),
};

constexpr MenuEntry kSettings[] = {
    submenu("TextSizeMenu", "文字の大きさ(&Z)", kTextSize),
    action(ShowToolbar),
    separator(),
    action(BringForwardOnCopy),
    action(RaiseWithF12),
    action(PauseWithEnd),
    action(CloseButtonMinimises),
    action(NewTabPerSearch),
    action(MinimiseWhenInactive),
    separator(),
    submenu("PriorityMenu",
            "Lexorra2の優先度を変える（他のクリップボードを使うソフトと相性が悪い場合、変更して"
            "ください)(&T)",
            kPriority),
    separator(),
    action(FullWidthToAscii),
    action(LookUpSelection),
};

constexpr MenuEntry kProxy[] = {
    action(ChooseProxy),
    action(CheckProxy),
};

constexpr MenuEntry kOptions[] = {
    submenu("SetteiMenu", "設定(&V)", kSettings),
    submenu("ProxyMenu", "Proxy(プロキシ）(&P)", kProxy),
    action(ShowPageAddress),
};

constexpr MenuEntry kOptionsMenu = submenu("OptionMenu", "オプション", kOptions);

constexpr MenuEntry kDictionaryHead[] = {
    action(ChooseShownCategories),
    separator(),
};

constexpr MenuEntry kSupport[] = {
    action(OpenHomePage),  action(OpenBlog), action(OpenSupportBoard), separator(),
    action(MailTheAuthor), separator(),      action(ShowAbout),
};

constexpr MenuEntry kSupportMenu = submenu("SupportMenu", "サポート", kSupport);

constexpr MenuEntry kTray[] = {
    action(RestoreWindow), separator(), action(TrayBringForwardOnCopy),
    action(TogglePause),   separator(), action(MinimiseWindow),
    action(QuitProgram),
};

constexpr MenuEntry kTrayMenu = submenu("PopupMenu3", "", kTray);

} // namespace

const CommandName& MenuTable::command(Command command) {
    return kCommands[static_cast<std::size_t>(command)];
}

const MenuEntry& MenuTable::optionsMenu() {
    return kOptionsMenu;
}

std::span<const MenuEntry> MenuTable::dictionaryMenuHead() {
    return kDictionaryHead;
}

const MenuEntry& MenuTable::supportMenu() {
    return kSupportMenu;
}

const MenuEntry& MenuTable::trayMenu() {
    return kTrayMenu;
}

} // namespace app
