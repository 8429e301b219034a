#pragma once

namespace desktop {

// The two keys the program watches in every application.
enum class GlobalKey { F12, End };

// What a watched key does while its option is on.
enum class KeyStep {
    RaiseWindow, // F12: restore the window and bring it to the front
    TogglePause, // END: pause or resume the clipboard watcher
};

} // namespace desktop
