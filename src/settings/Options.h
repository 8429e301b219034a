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

// One on/off option: the member it sets. Its action's name and label are the menu table's.
struct Switch {
    bool Options::*member;
};

// The twelve on/off options, in the order the settings file stores them.
inline constexpr std::array<Switch, 12> kSwitches{{
    {&Options::showToolbar},
    {&Options::bringForwardOnCopy},
    {&Options::minimiseAtStart},
    {&Options::raiseWithF12},
    {&Options::pauseWithEnd},
    {&Options::closeButtonMinimises},
    {&Options::newTabPerSearch},
    {&Options::minimiseWhenInactive},
    {&Options::fullWidthToAscii},
    {&Options::limitTextLength},
    {&Options::ignoreMixedWidth},
    {&Options::ignoreSymbols},
}};

// The on/off options of the program's own configuration file (ConfigLines), with the key that
// stores each there.
struct ConfigSwitch {
    Switch option;
    const char* key;
};
inline constexpr std::array<ConfigSwitch, 1> kConfigSwitches{{
    {{&Options::lookUpSelection}, "lookUpSelection"},
}};

} // namespace settings
