#pragma once

#include <QObject>
#include <QString>

namespace input {

// The system clipboard as the watcher sees it: a change notice and a way to read the text.
class ClipboardSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    struct Content {
        enum Kind { Text, NoText, Unreadable, TooLong } kind = NoText;
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
