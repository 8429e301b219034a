#include "app/menus/MenuTable.h"

namespace app {

namespace {

using Kind = MenuEntry::Kind;

constexpr MenuEntry action(const char* objectName, const char* label) {
    return {Kind::Action, objectName, label, {}};
}
constexpr MenuEntry separator() {
    return {Kind::Separator, nullptr, nullptr, {}};
}
constexpr MenuEntry submenu(const char* objectName, const char* label,
                            std::span<const MenuEntry> entries) {
    return {Kind::Submenu, objectName, label, entries};
}

// Text size, toolbar, priority and proxy are the settings' actions: their entries appear once
// the settings make them.
constexpr MenuEntry kTextSize[] = {
    action("moji_size_syou", "小(&Z)"),
    action("moji_size_tyuu", "中(&Y)"),
    action("moji_size_dai", "大（標準）(&X)"),
    action("moji_size_max", "最大(&W)"),
};

constexpr MenuEntry kPriority[] = {
    action("yuusendo_takai", "高い(&Z)"),
    action("yuusendo_hutuu", "普通(&Y)"),
    action("yuusendo_hikui", "低い(&X)"),
    action("yuusendo_RealTime", "リアルタイム(&W)"),
};

constexpr MenuEntry kSettings[] = {
    submenu("TextSizeMenu", "文字の大きさ(&Z)", kTextSize),
    action("tool_bar_on", "ツールバーの表示(&Y)"),
    separator(),
    action("copy_window_zenmen_on", "文字列をコピーした時にウインドウを前面に出す(&X)"),
    action("F12_de_saizennmen_on", "F12ボタンでLexorra2を最前面に出す(&F)"),
    action("End_kyuushi_on", "ENDボタンで休止と監視を切り替える(&E)"),
    action("Batu_OFF",
           "右上の終了ボタンを最小化処理に変える（タスクトレイから終了してください）(&V)"),
    action("cbOpenNew", "検索するとタブを新規作成する(&U)"),
    action("Lexorra2_off_active", "Lexorra2以外をクリックしたら最小化させる(&S)"),
    separator(),
    submenu("PriorityMenu",
            "Lexorra2の優先度を変える（他のクリップボードを使うソフトと相性が悪い場合、変更して"
            "ください)(&T)",
            kPriority),
    separator(),
    action("jidou_zenkaku_eimoji_hankaku", "自動的に全角の英文字を半角にする(&R)"),
    action("lookUpSelectionAction", "選択しただけで調べる(&Q)"),
};

constexpr MenuEntry kProxy[] = {
    action("proxy_Set_check", "設定する(&Z)"),
    action("Proxy_Settei_check", "チェック(&Y)"),
};

constexpr MenuEntry kOptions[] = {
    submenu("SetteiMenu", "設定(&V)", kSettings),
    submenu("ProxyMenu", "Proxy(プロキシ）(&P)", kProxy),
    action("Action24", "現在のページのURLを表示する(&U)"),
};

constexpr MenuEntry kOptionsMenu = submenu("OptionMenu", "オプション", kOptions);

// The category dialog is the settings' action.
constexpr MenuEntry kDictionaryHead[] = {
    action("JISYO_NO_TUIKA_KAIJYO", "辞書の追加・解除(&F)"),
    separator(),
};

constexpr MenuEntry kSupport[] = {
    action("Action30", "公式ホームページ(&W)"), action("Action3", "開発blogを開く(&B)"),
    action("Action4", "サポートBBSに行く(&S)"), separator(),
    action("Action6", "作者にメールする(&Y)"),  separator(),
    action("Action7", "バージョン情報(&Z)"),
};

constexpr MenuEntry kSupportMenu = submenu("SupportMenu", "サポート", kSupport);

constexpr MenuEntry kTray[] = {
    action("MOTO_NI_MODOSHU", "元に戻す"),
    separator(),
    action("N43", "文字列をコピーした時にウインドウを全面に出す(&X)"),
    action("N40", "クリップボードに反応しないようにする（休止モード）"),
    separator(),
    action("N41", "最小化"),
    action("Lexorra23", "Lexorra2を閉じる"),
};

constexpr MenuEntry kTrayMenu = submenu("PopupMenu3", "", kTray);

} // namespace

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
