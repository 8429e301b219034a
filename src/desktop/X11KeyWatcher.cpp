#include "desktop/X11KeyWatcher.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace desktop {

namespace {

constexpr quint32 kKeysymF12 = 0xffc9; // XK_F12
constexpr quint32 kKeysymEnd = 0xff57; // XK_End
constexpr int kPollIntervalMs = 100;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

QString noKeysMessage(const QString& why) {
    return QStringLiteral("F12キーとENDキーの設定は使えません: %1").arg(why);
}

} // namespace

X11KeyWatcher::X11KeyWatcher(const QByteArray& display, const QString& platformName,
                             QObject* parent)
    : GlobalKeySource(parent) {
    if (display.isEmpty()) {
        reason_ = noKeysMessage(
            platformName.isEmpty() ? QStringLiteral("X11のディスプレイがありません")
                                   : QStringLiteral("X11のディスプレイがありません（表示方式: %1）")
                                         .arg(platformName));
        return;
    }
    connectToDisplay(display);
}

X11KeyWatcher::~X11KeyWatcher() {
    disconnectDisplay();
}

QByteArray X11KeyWatcher::applicationDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    const QByteArray display = qgetenv("DISPLAY");
    return display;
}

void X11KeyWatcher::connectToDisplay(const QByteArray& display) {
    int screenNumber = 0;
    connection_ = xcb_connect(display.constData(), &screenNumber);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        reason_ = noKeysMessage(
            QStringLiteral("Xサーバー %1 に接続できません").arg(QString::fromLocal8Bit(display)));
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    root_ = screens.data->root;
    loadKeycodes();
    mode_ = setUpRawEvents() ? Mode::RawEvents : Mode::KeymapPoll;

    // Events (raw keys, keyboard mapping changes) are read when the socket has data.
    notifier_ =
        new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &X11KeyWatcher::readEvents);
    pollTimer_ = new QTimer(this);
    pollTimer_->setInterval(kPollIntervalMs);
    connect(pollTimer_, &QTimer::timeout, this, &X11KeyWatcher::pollKeymap);
}

bool X11KeyWatcher::setUpRawEvents() {
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection_, &xcb_input_id);
    if (!extension || !extension->present)
        return false;
    XcbReply<xcb_input_xi_query_version_reply_t> version(xcb_input_xi_query_version_reply(
        connection_, xcb_input_xi_query_version(connection_, 2, 2), nullptr));
    // Raw events reach the root window whatever grabs are active from XInput 2.1 on.
    if (!version || version->major_version < 2 ||
        (version->major_version == 2 && version->minor_version < 1))
        return false;
    xinputOpcode_ = extension->major_opcode;
    return true;
}

void X11KeyWatcher::forceKeymapPoll() {
    if (mode_ != Mode::RawEvents)
        return;
    const bool wasListening = listening_;
    setListening(false);
    mode_ = Mode::KeymapPoll;
    setListening(wasListening);
}

void X11KeyWatcher::selectRawEvents(bool on) {
    struct {
        xcb_input_event_mask_t head;
        quint32 mask;
    } mask{};
    // Master devices only: each key press reaches them once, whichever keyboard it came from.
    mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
    mask.head.mask_len = 1;
    mask.mask =
        on ? XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE : 0;
    xcb_input_xi_select_events(connection_, root_, 1, &mask.head);
    xcb_flush(connection_);
}

void X11KeyWatcher::setListening(bool on) {
    if (!connection_ || on == listening_)
        return;
    listening_ = on;
    if (mode_ == Mode::RawEvents) {
        selectRawEvents(on);
    } else if (on) {
        pollKeymap();
        pollTimer_->start();
    } else {
        pollTimer_->stop();
    }
    if (!on) {
        // Nothing reports a release from now on: the keys count as up.
        down_.reset();
        for (GlobalKey key : {GlobalKey::F12, GlobalKey::End})
            setKeyDown(key, false);
    }
}

void X11KeyWatcher::catchUp() {
    if (!connection_ || !listening_)
        return;
    if (mode_ == Mode::RawEvents)
        readEvents();
    else
        pollKeymap();
}

void X11KeyWatcher::loadKeycodes() {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    XcbReply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection_,
        xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<quint8>(count)),
        nullptr));
    for (auto& codes : keycodes_)
        codes.clear();
    if (!mapping)
        return;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perKeycode = mapping->keysyms_per_keycode;
    for (int i = 0; i < count; ++i) {
        const auto keycode = static_cast<quint8>(setup->min_keycode + i);
        for (int column = 0; column < perKeycode; ++column) {
            const xcb_keysym_t sym = keysyms[i * perKeycode + column];
            const int key = sym == kKeysymF12   ? static_cast<int>(GlobalKey::F12)
                            : sym == kKeysymEnd ? static_cast<int>(GlobalKey::End)
                                                : -1;
            if (key >= 0 && !keycodes_[key].contains(keycode))
                keycodes_[key].append(keycode);
        }
    }
}

// A key's signal may run the event loop (raising the window does) and whoever handles it may
// stop or delete the watcher meanwhile: each turn checks that there is still a connection.
void X11KeyWatcher::readEvents() {
    QPointer<X11KeyWatcher> self(this);
    while (self && connection_) {
        xcb_generic_event_t* event = xcb_poll_for_event(connection_);
        if (!event)
            break;
        handleEvent(event);
        std::free(event);
    }
    if (self && connection_ && xcb_connection_has_error(connection_))
        fail(noKeysMessage(QStringLiteral("Xサーバーとの接続が切れました")));
}

void X11KeyWatcher::readQueuedEvents() {
    QPointer<X11KeyWatcher> self(this);
    while (self && connection_) {
        xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_);
        if (!event)
            break;
        handleEvent(event);
        std::free(event);
    }
}

void X11KeyWatcher::handleEvent(const void* data) {
    const auto* event = static_cast<const xcb_generic_event_t*>(data);
    const quint8 type = event->response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY) {
        const auto* mapping = static_cast<const xcb_mapping_notify_event_t*>(data);
        if (mapping->request == XCB_MAPPING_KEYBOARD) {
            loadKeycodes();
            // Events that came with the reply wait in the queue, not in the socket.
            readQueuedEvents();
        }
        return;
    }
    if (type != XCB_GE_GENERIC || !listening_)
        return;
    const auto* generic = static_cast<const xcb_ge_generic_event_t*>(data);
    if (generic->extension != xinputOpcode_)
        return;
    const auto* raw = static_cast<const xcb_input_raw_key_press_event_t*>(data);
    if (generic->event_type == XCB_INPUT_RAW_KEY_PRESS)
        keyChanged(static_cast<quint8>(raw->detail), true);
    else if (generic->event_type == XCB_INPUT_RAW_KEY_RELEASE)
        keyChanged(static_cast<quint8>(raw->detail), false);
}

void X11KeyWatcher::pollKeymap() {
    if (!connection_ || !listening_)
        return;
    XcbReply<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(connection_, xcb_query_keymap(connection_), nullptr));
    if (!keymap) {
        if (xcb_connection_has_error(connection_))
            fail(noKeysMessage(QStringLiteral("Xサーバーとの接続が切れました")));
        return;
    }
    // Copied first: a key's signal may change the keycodes or end the connection.
    const std::array<QList<quint8>, 2> keycodes = keycodes_;
    QPointer<X11KeyWatcher> self(this);
    for (const auto& codes : keycodes)
        for (quint8 keycode : codes)
            if (self && connection_)
                keyChanged(keycode, keymap->keys[keycode / 8] & (1 << (keycode % 8)));
    // A mapping change read along with the reply waits in the queue.
    if (self)
        readQueuedEvents();
}

void X11KeyWatcher::keyChanged(quint8 keycode, bool down) {
    for (GlobalKey key : {GlobalKey::F12, GlobalKey::End}) {
        const QList<quint8>& codes = keycodes_[static_cast<int>(key)];
        if (!codes.contains(keycode))
            continue;
        down_[keycode] = down;
        bool anyDown = false;
        for (quint8 code : codes)
            anyDown = anyDown || down_[code];
        // One key per keycode: the signal is the last thing done here.
        setKeyDown(key, anyDown);
        return;
    }
}

void X11KeyWatcher::setKeyDown(GlobalKey key, bool down) {
    bool& state = keyDown_[static_cast<int>(key)];
    if (state == down)
        return;
    state = down;
    if (down)
        Q_EMIT keyDown(key);
    else
        Q_EMIT keyUp(key);
}

void X11KeyWatcher::fail(const QString& reason) {
    reason_ = reason;
    disconnectDisplay();
    mode_ = Mode::Unavailable;
    Q_EMIT failed(reason);
}

void X11KeyWatcher::disconnectDisplay() {
    if (pollTimer_)
        pollTimer_->stop();
    if (notifier_) {
        notifier_->setEnabled(false);
        delete notifier_;
        notifier_ = nullptr;
    }
    listening_ = false;
    keyDown_ = {};
    down_.reset();
    if (connection_) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
    }
}

} // namespace desktop
