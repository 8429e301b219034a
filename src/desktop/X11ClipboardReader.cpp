#include "desktop/X11ClipboardReader.h"

#include "desktop/ClipboardReadPlan.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <xcb/xcb.h>

namespace desktop {

namespace {

// How often a wait looks whether the owner is still there (and whether the read is stopped).
constexpr int kOwnerCheckMs = 50;
// A whole copy, chunks and all, may take this many times the wait for one answer.
constexpr int kWholeCopyTimeouts = 5;

qint64 monotonicMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

struct Freer {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, Freer>;

} // namespace

X11ClipboardReader::X11ClipboardReader(const QByteArray& display, int timeoutMs, qint64 maxBytes)
    : X11ClipboardReader(SelectionKind::Clipboard, display, timeoutMs, maxBytes) {}

X11ClipboardReader::X11ClipboardReader(SelectionKind selection, const QByteArray& display,
                                       int timeoutMs, qint64 maxBytes)
    : timeoutMs_(timeoutMs), maxBytes_(maxBytes) {
    int screenNumber = 0;
    connection_ = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    window_ = xcb_generate_id(connection_);
    // Property changes on the window carry the chunks of a large transfer.
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    selectionAtom_ =
        selection == SelectionKind::Primary ? uint32_t(XCB_ATOM_PRIMARY) : atom("CLIPBOARD");
    targetsAtom_ = atom("TARGETS");
    incrAtom_ = atom("INCR");
    propertyAtom_ = atom("LEXORRA2_CLIPBOARD");
}

X11ClipboardReader::~X11ClipboardReader() {
    if (connection_)
        xcb_disconnect(connection_);
}

bool X11ClipboardReader::isConnected() const {
    return connection_ != nullptr;
}

void X11ClipboardReader::ignoreOwnClient(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    ownIdBase_ = setup->resource_id_base;
    ownIdMask_ = setup->resource_id_mask;
}

uint32_t X11ClipboardReader::atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}

uint32_t X11ClipboardReader::currentOwner() {
    Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, selectionAtom_), nullptr));
    return reply ? reply->owner : XCB_NONE;
}

QStringList X11ClipboardReader::atomNames(const QList<uint32_t>& atoms) {
    // All requests first, then the replies: one round trip for the whole list.
    QList<xcb_get_atom_name_cookie_t> cookies;
    for (uint32_t a : atoms)
        cookies.append(xcb_get_atom_name(connection_, a));
    QStringList names;
    for (const xcb_get_atom_name_cookie_t& cookie : cookies) {
        Reply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(connection_, cookie, nullptr));
        if (reply)
            names.append(QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                             xcb_get_atom_name_name_length(reply.get())));
    }
    return names;
}

template <typename Match>
void* X11ClipboardReader::waitForEvent(Match match, qint64 deadline, Transfer::Outcome& outcome) {
    qint64 nextOwnerCheck = monotonicMs() + kOwnerCheckMs;
    for (;;) {
        if (stopped_) {
            outcome = Transfer::Stopped;
            return nullptr;
        }
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if (match(event))
                return event;
            std::free(event);
        }
        if (xcb_connection_has_error(connection_)) {
            outcome = Transfer::Broken;
            return nullptr;
        }
        const qint64 now = monotonicMs();
        if (now >= nextOwnerCheck) {
            const uint32_t owner = currentOwner();
            if (owner != owner_) {
                outcome = owner == XCB_NONE ? Transfer::OwnerGone : Transfer::OwnerChanged;
                return nullptr;
            }
            nextOwnerCheck = monotonicMs() + kOwnerCheckMs;
            continue; // the owner check may have read events
        }
        if (now >= deadline) {
            outcome = Transfer::TimedOut;
            return nullptr;
        }
        pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(std::min(deadline, nextOwnerCheck) - now));
    }
}

X11ClipboardReader::Transfer X11ClipboardReader::convert(uint32_t target) {
    const qint64 deadline = monotonicMs() + timeoutMs_;
    const qint64 lastDeadline = monotonicMs() + qint64(timeoutMs_) * kWholeCopyTimeouts;
    xcb_delete_property(connection_, window_, propertyAtom_);
    xcb_convert_selection(connection_, window_, selectionAtom_, target, propertyAtom_,
                          XCB_CURRENT_TIME);
    xcb_flush(connection_);
    Transfer transfer;
    Reply<xcb_selection_notify_event_t> notify(
        static_cast<xcb_selection_notify_event_t*>(waitForEvent(
            [&](xcb_generic_event_t* e) {
                if ((e->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
                    return false;
                auto* n = reinterpret_cast<xcb_selection_notify_event_t*>(e);
                // An answer to an earlier request that timed out is not this one's.
                return n->requestor == window_ && n->selection == selectionAtom_ &&
                       n->target == target;
            },
            deadline, transfer.outcome)));
    if (!notify)
        return transfer;
    if (notify->property == XCB_NONE) {
        transfer.outcome = Transfer::Refused;
        return transfer;
    }
    uint32_t type = XCB_NONE;
    const Take taken = takeProperty(transfer.data, type, maxBytes_);
    if (taken != Take::Whole) {
        transfer.outcome = taken == Take::TooLong ? Transfer::TooLong : Transfer::Broken;
        transfer.data.clear();
        return transfer;
    }
    if (type == incrAtom_)
        return receiveIncrementally(deadline, lastDeadline);
    transfer.outcome = Transfer::Data;
    return transfer;
}

// Reads what the owner wrote into the property, at most room bytes, and deletes it; in a
// chunked transfer the deletion asks for the next chunk. A longer value is left in place (the
// server deletes only a value read to its end), so that the owner sends nothing more.
X11ClipboardReader::Take X11ClipboardReader::takeProperty(QByteArray& data, uint32_t& type,
                                                          qint64 room) {
    // In 32-bit units, one more than room holds: a value that fills them is too long.
    const auto units = static_cast<uint32_t>(std::max<qint64>(room, 0) / 4 + 1);
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 1, window_, propertyAtom_,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, units),
                               nullptr));
    xcb_flush(connection_);
    if (!reply)
        return Take::Failed;
    type = reply->type;
    const int length = xcb_get_property_value_length(reply.get());
    if (reply->bytes_after > 0 || length > room)
        return Take::TooLong;
    data = QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
    return Take::Whole;
}

// A large copy comes in chunks: the owner writes one into the property each time the
// requestor has deleted the last, and an empty one ends it. Each chunk renews the wait, up to
// the last deadline of the whole copy; more than maxBytes_ end it as too long.
X11ClipboardReader::Transfer X11ClipboardReader::receiveIncrementally(qint64 deadline,
                                                                      qint64 lastDeadline) {
    Transfer transfer;
    for (;;) {
        Reply<xcb_generic_event_t> event(static_cast<xcb_generic_event_t*>(waitForEvent(
            [&](xcb_generic_event_t* e) {
                if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                    return false;
                auto* p = reinterpret_cast<xcb_property_notify_event_t*>(e);
                return p->window == window_ && p->atom == propertyAtom_ &&
                       p->state == XCB_PROPERTY_NEW_VALUE;
            },
            std::min(deadline, lastDeadline), transfer.outcome)));
        if (!event) {
            transfer.data.clear();
            return transfer;
        }
        QByteArray chunk;
        uint32_t type = XCB_NONE;
        const Take taken = takeProperty(chunk, type, maxBytes_ - transfer.data.size());
        if (taken != Take::Whole) {
            transfer.outcome = taken == Take::TooLong ? Transfer::TooLong : Transfer::Broken;
            transfer.data.clear();
            return transfer;
        }
        if (chunk.isEmpty()) {
            transfer.outcome = Transfer::Data;
            return transfer;
        }
        transfer.data.append(chunk);
        deadline = monotonicMs() + timeoutMs_;
    }
}

X11ClipboardReader::Result X11ClipboardReader::failure(Transfer::Outcome outcome) const {
    switch (outcome) {
    case Transfer::TimedOut:
        return {Result::Unreadable,
                {},
                QStringLiteral("（コピー元のプログラムが %1 秒以内に応答しません）")
                    .arg(double(timeoutMs_) / 1000.0)};
    case Transfer::OwnerGone:
        return {Result::Unreadable,
                {},
                QStringLiteral("（コピー元のプログラムが内容を渡す前に終了しました）")};
    case Transfer::Broken:
        return {Result::Unreadable, {}, QStringLiteral("（X サーバーとの接続が切れました）")};
    case Transfer::TooLong:
        return {
            Result::TooLong, {}, QStringLiteral("（%1 KiB を超えています）").arg(maxBytes_ / 1024)};
    case Transfer::Stopped:      // nobody waits for this read any more
    case Transfer::OwnerChanged: // a newer copy, told of by a change of its own
    case Transfer::Refused:
    case Transfer::Data:
        break;
    }
    return {};
}

X11ClipboardReader::Result X11ClipboardReader::read() {
    if (stopped_)
        return {};
    if (!connection_)
        return {Result::Unreadable, {}, QStringLiteral("（X サーバーに接続できません）")};
    // Whatever an earlier, abandoned read left behind.
    while (xcb_generic_event_t* stale = xcb_poll_for_event(connection_))
        std::free(stale);
    owner_ = currentOwner();
    if (owner_ == XCB_NONE)
        return {}; // nobody holds anything: the program that copied has closed
    if (ownIdMask_ != 0 && (owner_ & ~ownIdMask_) == ownIdBase_)
        return {Result::OwnWindow, {}, {}};

    QStringList formats;
    const Transfer targets = convert(targetsAtom_);
    if (targets.outcome == Transfer::Data) {
        QList<uint32_t> atoms(targets.data.size() / 4);
        std::memcpy(atoms.data(), targets.data.constData(), atoms.size() * 4);
        formats = atomNames(atoms);
    } else if (targets.outcome == Transfer::Refused) {
        // An owner too old to list its formats: ask for text directly.
        formats = {QStringLiteral("UTF8_STRING"), QStringLiteral("STRING")};
    } else {
        return failure(targets.outcome);
    }

    const ClipboardReadPlan plan = ClipboardReadPlan::forFormats(formats);
    if (!plan.fileListFormat.isEmpty()) {
        const Transfer list = convert(atom(plan.fileListFormat.toLatin1().constData()));
        if (list.outcome == Transfer::Data && isLocalFileList(list.data))
            return {};
        if (list.outcome != Transfer::Data && list.outcome != Transfer::Refused)
            return failure(list.outcome);
    }
    if (plan.textFormat.isEmpty())
        return {};
    const Transfer text = convert(atom(plan.textFormat.toLatin1().constData()));
    if (text.outcome != Transfer::Data)
        return failure(text.outcome);
    QString decoded = decodeClipboardText(text.data, plan.textFormat);
    if (plan.textIsHtml) {
        decoded = plainTextOfHtml(decoded);
        if (decoded.isEmpty())
            return {};
    }
    return {Result::Text, decoded, {}};
}

} // namespace desktop
