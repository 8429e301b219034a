#pragma once

#include "desktop/GlobalKeySource.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <bitset>

class QSocketNotifier;
class QTimer;
struct xcb_connection_t;

namespace desktop {

// Sees F12 and END pressed in any application of an X11 display, without a grab: the
// application with the focus gets the keys as well.
//
// It keeps a connection of its own to the X server. Where the server offers XInput 2 it asks
// for raw key events on the root window and reads them on the GUI thread when the
// connection's socket has data, so nothing runs while no key is pressed. Where it doesn't,
// it reads the key map ten times a second while listening.
class X11KeyWatcher : public GlobalKeySource {
    Q_OBJECT
public:
    enum class Mode { Unavailable, RawEvents, KeymapPoll };

    // display: an X11 display name such as ":0"; empty means the keys cannot be watched
    // (unavailableReason says why, with platformName naming the display system in use).
    explicit X11KeyWatcher(const QByteArray& display, const QString& platformName = {},
                           QObject* parent = nullptr);
    ~X11KeyWatcher() override;

    // The display of the running application when it is an X11 one, else empty.
    static QByteArray applicationDisplay();

    Mode mode() const { return mode_; }
    bool isListening() const { return listening_; }
    void setListening(bool on) override;
    void catchUp() override;
    QString unavailableReason() const override { return reason_; }

    // Uses the key-map poll even where raw events exist (tests of the fallback).
    void forceKeymapPoll();

private:
    void connectToDisplay(const QByteArray& display);
    bool setUpRawEvents();
    void selectRawEvents(bool on);
    void loadKeycodes();
    void readEvents();
    void readQueuedEvents();
    void handleEvent(const void* event);
    void pollKeymap();
    void keyChanged(quint8 keycode, bool down);
    void setKeyDown(GlobalKey key, bool down);
    void fail(const QString& reason);
    void disconnectDisplay();

    xcb_connection_t* connection_ = nullptr;
    quint32 root_ = 0;
    quint8 xinputOpcode_ = 0;
    Mode mode_ = Mode::Unavailable;
    bool listening_ = false;
    QString reason_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* pollTimer_ = nullptr;
    // Keycodes that carry each key's symbol.
    std::array<QList<quint8>, 2> keycodes_;
    // Which keycodes of the watched keys are down.
    std::bitset<256> down_;
    std::array<bool, 2> keyDown_{};
};

} // namespace desktop
