#pragma once

#include "input/ClipboardSource.h"

#include <QClipboard>
#include <memory>

namespace desktop {
class X11ClipboardWorker;
}

namespace input {

// The desktop's clipboard (on X11 the CLIPBOARD selection, told of changes by XFixes), or its
// primary selection (PRIMARY), whose selections made in this program's own windows are
// OwnWindow: the program's own connection owns them. On X11
// the text is read on a connection of the program's own, on a thread of its own and within
// bounds of time and size, which tells an owner that has gone, does not answer or sends too
// much from an empty copy, and never holds the window; elsewhere through Qt. Either way only
// text is a word: files and pictures are no text, rich text gives its plain text.
class QtClipboardSource : public ClipboardSource {
    Q_OBJECT
public:
    explicit QtClipboardSource(QClipboard* clipboard, QObject* parent = nullptr);
    QtClipboardSource(QClipboard* clipboard, Selection selection, QObject* parent = nullptr);
    // Stops a read under way and joins its thread.
    ~QtClipboardSource() override;
    // Through Qt, in place.
    Content read() override;
    // On X11 on the reading thread; through Qt, in place, elsewhere.
    void requestRead() override;

private:
    QClipboard::Mode qtMode() const;

    QClipboard* clipboard_;
    Selection selection_;
    std::unique_ptr<desktop::X11ClipboardWorker> x11_;
};

} // namespace input
