#pragma once

namespace app {

// Every command that the window's menus, the tray's menu and the options offer as an action.
// The menu table names each one's action (objectName) and label; the command registry holds
// the action made for it; the menus are built from these keys.
enum class Command {
    // The on/off options.
    ShowToolbar,
    BringForwardOnCopy,
    MinimiseAtStart,
    RaiseWithF12,
    PauseWithEnd,
    CloseButtonMinimises,
    NewTabPerSearch,
    MinimiseWhenInactive,
    FullWidthToAscii,
    LimitTextLength,
    IgnoreMixedWidth,
    IgnoreSymbols,
    // Kept in the program's own configuration file.
    LookUpSelection,
    // The text size of the pages.
    TextSizeSmall,
    TextSizeMedium,
    TextSizeLarge,
    TextSizeMax,
    // The priority of the program's processes.
    PriorityHigh,
    PriorityNormal,
    PriorityIdle,
    PriorityRealTime,
    // The proxy.
    ChooseProxy,
    CheckProxy,
    ShowPageAddress,
    ChooseShownCategories,
    // "サポート".
    OpenHomePage,
    OpenBlog,
    OpenSupportBoard,
    MailTheAuthor,
    ShowAbout,
    // The tray.
    RestoreWindow,
    TrayBringForwardOnCopy,
    TogglePause,
    MinimiseWindow,
    QuitProgram,
};

inline constexpr int kCommandCount = static_cast<int>(Command::QuitProgram) + 1;

} // namespace app
