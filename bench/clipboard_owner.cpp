// Puts a text on the CLIPBOARD and serves it, for copy_latency.py: prints the monotonic time
// (seconds) at which the X server made it the owner, the moment every clipboard watcher is
// told of the change, then serves the text until another client takes the clipboard. Plain
// xcb, so that serving the text costs the readers as little as the X server allows.
//
//   clipboard_owner TEXT
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>
#include <xcb/xcb.h>

namespace {

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

double monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: clipboard_owner TEXT\n");
        return 2;
    }
    const char* text = argv[1];
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "clipboard_owner: cannot open the display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t clipboard = intern(c, "CLIPBOARD");
    const xcb_atom_t targets = intern(c, "TARGETS");
    const xcb_atom_t utf8 = intern(c, "UTF8_STRING");
    const xcb_atom_t textPlain = intern(c, "text/plain;charset=utf-8");

    xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
    const double taken = monotonicNow();
    const bool ours = owner && owner->owner == window;
    std::free(owner);
    if (!ours) {
        std::fprintf(stderr, "clipboard_owner: the clipboard was not taken\n");
        return 1;
    }
    std::printf("%.6f\n", taken);
    std::fflush(stdout);

    const std::vector<xcb_atom_t> offered{targets, utf8, textPlain, XCB_ATOM_STRING};
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR) {
            std::free(event);
            break;
        }
        if (type == XCB_SELECTION_REQUEST) {
            const auto* request = reinterpret_cast<xcb_selection_request_event_t*>(event);
            xcb_atom_t property = request->property ? request->property : request->target;
            if (request->target == targets) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                    XCB_ATOM_ATOM, 32, uint32_t(offered.size()), offered.data());
            } else if (request->target == utf8 || request->target == textPlain ||
                       request->target == XCB_ATOM_STRING) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                    request->target, 8, uint32_t(std::strlen(text)), text);
            } else {
                property = XCB_NONE;
            }
            xcb_selection_notify_event_t notify{};
            notify.response_type = XCB_SELECTION_NOTIFY;
            notify.time = request->time;
            notify.requestor = request->requestor;
            notify.selection = request->selection;
            notify.target = request->target;
            notify.property = property;
            xcb_send_event(c, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char*>(&notify));
            xcb_flush(c);
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
