#pragma once

#include <QIcon>

namespace desktop {

// The program's pictures, carried in the program as scalable drawings so that every size the
// desktop asks for (tray, task bar, window list) is drawn sharp.
class ProgramIcons {
public:
    // The program's icon, or its paused variant while the clipboard watcher is paused.
    static QIcon icon(bool paused);
    static QString resourcePath(bool paused);
    // The form drawn on the 16 pixel grid.
    static QString smallResourcePath(bool paused);
};

} // namespace desktop
