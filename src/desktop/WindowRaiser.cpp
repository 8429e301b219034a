#include "desktop/WindowRaiser.h"

#include "desktop/ActivationRoute.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <utility>
#include <xcb/xcb.h>

namespace desktop {

namespace {

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// Window managers refuse to hand the focus to a program that asks for it while another one
// is in use, but they follow the same request made on behalf of a pager (the user's own
// choice of window): source indication 2.
bool requestActivationAsPager(QWidget* window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window->windowHandle())
        return false;
    xcb_connection_t* c = x11->connection();
    if (!c)
        return false;
    // Atoms live as long as the X server; the program keeps one connection to it.
    static const xcb_atom_t active = internAtom(c, "_NET_ACTIVE_WINDOW");
    if (active == XCB_ATOM_NONE)
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window->winId());
    event.type = active;
    event.data.data32[0] = 2; // source: pager
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = XCB_NONE;
    xcb_send_event(c, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
    return true;
}

} // namespace

bool WindowRaiser::forceToFront() {
    const QString token = std::exchange(activationToken_, QString());
    const ActivationRoute route =
        activationRoute(QGuiApplication::platformName(), !token.isEmpty());
    // Qt's Wayland platform hands the compositor this variable's token with the next
    // activation request, and clears it.
    if (route == ActivationRoute::WaylandWithToken)
        qputenv("XDG_ACTIVATION_TOKEN", token.toLatin1());
    window_->raise();
    window_->activateWindow();
    if (route == ActivationRoute::X11AsPager && requestActivationAsPager(window_))
        return true;
    return window_->windowHandle() != nullptr;
}

// A restore ends a minimised state (back to maximised when the window was maximised before)
// and, on a window that is not minimised, a maximised one. Queued, like a posted command.
void WindowRaiser::postRestore() {
    QMetaObject::invokeMethod(
        window_,
        [w = window_] {
            const Qt::WindowStates state = w->windowState();
            if (state & Qt::WindowMinimized)
                w->setWindowState((state & ~Qt::WindowMinimized) | Qt::WindowActive);
            else
                w->setWindowState(state & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
            w->show();
        },
        Qt::QueuedConnection);
}

void WindowRaiser::restoreAndRaise() {
    postRestore();
    QCoreApplication::processEvents();
    forceToFront();
}

void WindowRaiser::restoreIfMinimised() {
    if (window_->isMinimized())
        postRestore();
    QCoreApplication::processEvents();
}

void WindowRaiser::bringForwardAfterLookup() {
    if (window_->isMaximized() && !window_->isMinimized()) {
        forceToFront();
        QCoreApplication::processEvents();
    } else {
        restoreAndRaise();
    }
}

} // namespace desktop
