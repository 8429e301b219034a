#pragma once

#include "input/ClipboardSource.h"

class QClipboard;

namespace input {

// The desktop's clipboard (on X11 the CLIPBOARD selection, told of changes by XFixes).
class QtClipboardSource : public ClipboardSource {
    Q_OBJECT
public:
    explicit QtClipboardSource(QClipboard* clipboard, QObject* parent = nullptr);
    Content read() override;

private:
    QClipboard* clipboard_;
};

} // namespace input
