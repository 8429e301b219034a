// A clipboard owner for tests, in plain xcb: offers the formats it is given, as a file manager,
// a browser or an image viewer would, or misbehaves as a broken owner does.
//
//   clipboard_offer [--never-answer | --exit-on-request] FORMAT=VALUE...
//
// VALUE is the format's content as it stands, or @PATH for the bytes of a file (a picture).
// It prints "owner" once it holds the clipboard, then serves every request until another
// client takes the clipboard. --never-answer takes requests and answers none of them (a hung
// program); --exit-on-request ends the program at the first request without an answer (a
// program that closes while the copy is being read).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace {

xcb_atom_t intern(xcb_connection_t* c, const std::string& name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

struct Offer {
    xcb_atom_t target;
    std::string data;
};

bool readFile(const char* path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

void answer(xcb_connection_t* c, const xcb_selection_request_event_t* request,
            xcb_atom_t property) {
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

} // namespace

int main(int argc, char* argv[]) {
    enum { Serve, NeverAnswer, ExitOnRequest } mode = Serve;
    std::vector<std::pair<std::string, std::string>> formats;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--never-answer") {
            mode = NeverAnswer;
            continue;
        }
        if (arg == "--exit-on-request") {
            mode = ExitOnRequest;
            continue;
        }
        const size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "clipboard_offer: not FORMAT=VALUE: %s\n", argv[i]);
            return 2;
        }
        std::string value = arg.substr(eq + 1);
        if (!value.empty() && value[0] == '@' && !readFile(value.c_str() + 1, value)) {
            std::fprintf(stderr, "clipboard_offer: cannot read %s\n", value.c_str() + 1);
            return 2;
        }
        formats.emplace_back(arg.substr(0, eq), value);
    }
    if (formats.empty() && mode == Serve) {
        std::fprintf(stderr, "usage: clipboard_offer [--never-answer | --exit-on-request] "
                             "FORMAT=VALUE...\n");
        return 2;
    }

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "clipboard_offer: cannot open the display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t clipboard = intern(c, "CLIPBOARD");
    const xcb_atom_t targets = intern(c, "TARGETS");
    std::vector<Offer> offers;
    for (const auto& [name, data] : formats)
        offers.push_back({intern(c, name), data});

    xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
    const bool ours = owner && owner->owner == window;
    std::free(owner);
    if (!ours) {
        std::fprintf(stderr, "clipboard_offer: the clipboard was not taken\n");
        return 1;
    }
    std::printf("owner\n");
    std::fflush(stdout);

    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR) {
            std::free(event);
            break;
        }
        if (type == XCB_SELECTION_REQUEST) {
            if (mode == ExitOnRequest)
                std::_Exit(0); // the X server drops the ownership with the connection
            if (mode == NeverAnswer) {
                std::free(event);
                continue;
            }
            const auto* request = reinterpret_cast<xcb_selection_request_event_t*>(event);
            const xcb_atom_t property = request->property ? request->property : request->target;
            xcb_atom_t answered = XCB_NONE;
            if (request->target == targets) {
                std::vector<xcb_atom_t> list{targets};
                for (const Offer& offer : offers)
                    list.push_back(offer.target);
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                    XCB_ATOM_ATOM, 32, uint32_t(list.size()), list.data());
                answered = property;
            } else {
                for (const Offer& offer : offers) {
                    if (offer.target == request->target) {
                        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                            request->target, 8, uint32_t(offer.data.size()),
                                            offer.data.data());
                        answered = property;
                        break;
                    }
                }
            }
            answer(c, request, answered);
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
