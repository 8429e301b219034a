#pragma once

#include "input/ClipboardSource.h"

#include <memory>

class QClipboard;

namespace desktop {
class X11ClipboardReader;
}

namespace input {

// The desktop's clipboard (on X11 the CLIPBOARD selection, told of changes by XFixes). On X11
// the text is read on a connection of the program's own, which tells an owner that has gone
// or does not answer from an empty copy; elsewhere through Qt. Either way only text is a word:
// files and pictures are no text, rich text gives its plain text.
class QtClipboardSource : public ClipboardSource {
    Q_OBJECT
public:
    explicit QtClipboardSource(QClipboard* clipboard, QObject* parent = nullptr);
    ~QtClipboardSource() override;
    Content read() override;

private:
    Content readThroughQt();

    QClipboard* clipboard_;
    std::unique_ptr<desktop::X11ClipboardReader> x11_;
};

} // namespace input
