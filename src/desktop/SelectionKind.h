#pragma once

namespace desktop {

// Which of the desktop's selections: the clipboard, filled by an explicit copy, or the
// primary selection, which holds whatever text was selected last (X11, and Wayland where the
// compositor offers it).
enum class SelectionKind { Clipboard, Primary };

} // namespace desktop
