#pragma once

#include <QString>
#include <array>

namespace settings {

// Process priority, in the order the options menu lists it.
enum class ProcessPriority { High, Normal, Idle, RealTime };

// Text size of the active page; Large is the standard size (100 %).
enum class TextSize { Small = 1, Medium = 2, Large = 3, Max = 4 };

// Every option of the program with its default: the one place the program asks what the user
// chose. The checkable actions mirror it both ways; the settings file reads and writes it.
struct Options {
    bool showToolbar = true;
    bool bringForwardOnCopy = true;
    bool minimiseAtStart = false;
    bool raiseWithF12 = false;
    bool pauseWithEnd = false;
    bool closeButtonMinimises = false;
    bool newTabPerSearch = false;
    bool minimiseWhenInactive = false;
    bool fullWidthToAscii = true;
    bool limitTextLength = false;
    bool ignoreMixedWidth = false;
    bool ignoreSymbols = false;
    // Kept in the program's own configuration file, not in the settings file.
    bool lookUpSelection = false;

    ProcessPriority priority = ProcessPriority::Normal;
    TextSize textSize = TextSize::Large;

    // The proxy is used when proxyChoice is 0; 1 (the default) means no proxy. Other values
    // can only come from a hand-edited settings file and mean no proxy as well.
    quint8 proxyChoice = 1;
    // host:port as typed in the proxy dialog.
    QString proxyAddress;

    bool useProxy() const { return proxyChoice == 0; }
    friend bool operator==(const Options&, const Options&) = default;
};

// One on/off option: the member it sets, the objectName of its action and its caption.
struct Switch {
    bool Options::*member;
    const char* actionName;
    const char* caption;
};

// The twelve on/off options, in the order the settings file stores them.
inline constexpr std::array<Switch, 12> kSwitches{{
    {&Options::showToolbar, "tool_bar_on", "ツールバーの表示"},
    {&Options::bringForwardOnCopy, "copy_window_zenmen_on",
     "文字列をコピーした時にウインドウを前面に出す"},
    {&Options::minimiseAtStart, "kidouji_saisyouka_on", "起動時には最小化"},
    {&Options::raiseWithF12, "F12_de_saizennmen_on", "F12ボタンでLexorra2を最前面に出す"},
    {&Options::pauseWithEnd, "End_kyuushi_on", "ENDボタンで休止と監視を切り替える"},
    {&Options::closeButtonMinimises, "Batu_OFF",
     "右上の終了ボタンを最小化処理に変える（タスクトレイから終了してください）"},
    {&Options::newTabPerSearch, "cbOpenNew", "検索するとタブを新規作成する"},
    {&Options::minimiseWhenInactive, "Lexorra2_off_active",
     "Lexorra2以外をクリックしたら最小化させる"},
    {&Options::fullWidthToAscii, "jidou_zenkaku_eimoji_hankaku",
     "自動的に全角の英文字を半角にする"},
    {&Options::limitTextLength, "Max_mojishuu", "反応する最大文字数の設定"},
    {&Options::ignoreMixedWidth, "hankaku_zenkaku_batu",
     "半角英数字と全角が混じった文字には反応しないようにする"},
    {&Options::ignoreSymbols, "kigou_batu", "記号が入っている文字には反応しないようにする"},
}};

// The on/off options of the program's own configuration file (ConfigLines), with the key that
// stores each there.
struct ConfigSwitch {
    Switch option;
    const char* key;
};
inline constexpr std::array<ConfigSwitch, 1> kConfigSwitches{{
    {{&Options::lookUpSelection, "lookUpSelectionAction", "選択しただけで調べる"},
     "lookUpSelection"},
}};

} // namespace settings
