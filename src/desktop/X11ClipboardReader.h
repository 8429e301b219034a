#pragma once

#include "desktop/SelectionKind.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>

struct xcb_connection_t;

namespace desktop {

// Reads the X11 clipboard (the CLIPBOARD selection, or the PRIMARY one) on a connection of its
// own, waiting a bounded time for the program that owns it.
//
// Qt reads the clipboard too, but it reports every failure as empty text: an owner that has
// gone, or one that does not answer within Qt's five seconds (during which the program
// freezes), look like an empty copy, and a lookup of nothing empties the search box. Here a
// failure is told apart and comes with a reason for the user. What counts as text follows
// ClipboardReadPlan: files from a file manager and pictures are not text; rich text gives its
// plain text.
//
// Every read is bounded: an owner gets timeoutMs for each answer and each chunk of a large
// copy, a whole copy at most five times that, and no more than maxBytes are taken (a copy
// that streams without end, or one longer than any site takes, is TooLong). A read may run on
// another thread than the one that made the reader; stop() ends it from any thread.
class X11ClipboardReader {
public:
    // Longer than any site's query takes, by far.
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    struct Result {
        // OwnWindow: the selection was made in a window of the client set by ignoreOwnClient,
        // and is not read.
        enum Kind { Text, NoText, Unreadable, TooLong, OwnWindow } kind = NoText;
        QString text;   // Text: the copied text
        QString reason; // Unreadable, TooLong: why, for the user
    };

    // Connects to `display` (the DISPLAY variable's form; empty for $DISPLAY).
    explicit X11ClipboardReader(const QByteArray& display = {}, int timeoutMs = 2000,
                                qint64 maxBytes = kMaxBytes);
    explicit X11ClipboardReader(SelectionKind selection, const QByteArray& display = {},
                                int timeoutMs = 2000, qint64 maxBytes = kMaxBytes);
    ~X11ClipboardReader();
    X11ClipboardReader(const X11ClipboardReader&) = delete;
    X11ClipboardReader& operator=(const X11ClipboardReader&) = delete;

    // False when no X server could be reached.
    bool isConnected() const;
    // A selection whose owner window was made by the client behind `connection` (the program's
    // own connection to the same server) is OwnWindow. X gives every client a range of ids of
    // its own, so the owner's id tells its client. Called before the first read.
    void ignoreOwnClient(xcb_connection_t* connection);
    Result read();
    // Ends a read under way within moments, and every later one at once; thread-safe.
    void stop() { stopped_ = true; }

private:
    struct Transfer {
        enum Outcome {
            Data,
            Refused,
            TimedOut,
            OwnerGone,
            OwnerChanged,
            Broken,
            TooLong,
            Stopped
        } outcome = Broken;
        QByteArray data;
    };
    enum class Take { Whole, TooLong, Failed };

    Transfer convert(uint32_t target);
    Transfer receiveIncrementally(qint64 deadline, qint64 lastDeadline);
    Take takeProperty(QByteArray& data, uint32_t& type, qint64 room);
    QStringList atomNames(const QList<uint32_t>& atoms);
    uint32_t atom(const char* name);
    uint32_t currentOwner();
    // Waits for the owner until `deadline`: the event that `match` accepts (returned, the
    // caller frees it), or nullptr with `outcome` telling why not.
    template <typename Match>
    void* waitForEvent(Match match, qint64 deadline, Transfer::Outcome& outcome);
    Result failure(Transfer::Outcome outcome) const;

    xcb_connection_t* connection_ = nullptr;
    uint32_t window_ = 0;
    uint32_t owner_ = 0;
    uint32_t selectionAtom_ = 0;
    uint32_t ownIdBase_ = 0;
    uint32_t ownIdMask_ = 0;
    uint32_t targetsAtom_ = 0;
    uint32_t incrAtom_ = 0;
    uint32_t propertyAtom_ = 0;
    int timeoutMs_;
    qint64 maxBytes_;
    std::atomic<bool> stopped_{false};
};

} // namespace desktop
