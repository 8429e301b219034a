#pragma once

#include "desktop/SelectionKind.h"

#include <QObject>
#include <QString>

namespace input {

// One of the desktop's selections as a watcher sees it: a change notice and a way to read the
// text. A source watches one selection: the clipboard (ClipboardWatcher) or the primary
// selection (SelectionWatcher), whatever the platform below it.
class ClipboardSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    using Selection = desktop::SelectionKind;

    struct Content {
        // OwnWindow: a source of the primary selection tells a selection made in one of this
        // program's own windows (its search box, its pages) so, without reading it.
        enum Kind { Text, NoText, Unreadable, TooLong, OwnWindow } kind = NoText;
        QString text;   // Text: the copied text, unchanged
        QString reason; // Unreadable, TooLong: why, for the user
    };
    // Reads the clipboard in place.
    virtual Content read() = 0;
    // Reads the clipboard and tells what it holds through readFinished, at once or, for a
    // source that reads elsewhere, later (asked again meanwhile: once, with the newer copy).
    virtual void requestRead() { Q_EMIT readFinished(read()); }

Q_SIGNALS:
    void changed();
    void readFinished(const input::ClipboardSource::Content& content);
};

} // namespace input
