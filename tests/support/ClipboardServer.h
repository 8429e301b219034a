#pragma once

// The X side of a clipboard owner in plain xcb, shared by the test and benchmark tools that
// put texts on the CLIPBOARD: a window of its own that takes the selection, and a loop that
// serves requests until another client takes it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <xcb/xcb.h>

class ClipboardServer {
public:
    // Opens the display named by DISPLAY; say() tells the reason when it fails.
    explicit ClipboardServer(const char* toolName) : toolName_(toolName) {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_))
            return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        window_ = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        clipboard_ = intern("CLIPBOARD");
        targets_ = intern("TARGETS");
    }
    ~ClipboardServer() { xcb_disconnect(connection_); }
    ClipboardServer(const ClipboardServer&) = delete;
    ClipboardServer& operator=(const ClipboardServer&) = delete;

    bool connected() const { return window_ != XCB_NONE; }
    xcb_connection_t* connection() const { return connection_; }
    xcb_atom_t targetsAtom() const { return targets_; }

    xcb_atom_t intern(const std::string& name) const {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<uint16_t>(name.size()), name.c_str()),
            nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    // Asks for the clipboard and reads back who holds it: once that answer is in, the X
    // server has made this window the owner and told every watcher.
    bool take() const {
        xcb_set_selection_owner(connection_, window_, clipboard_, XCB_CURRENT_TIME);
        xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
            connection_, xcb_get_selection_owner(connection_, clipboard_), nullptr);
        const bool ours = owner && owner->owner == window_;
        std::free(owner);
        return ours;
    }

    // Serves until another client takes the clipboard. `fill` puts what a request asks for in
    // the property it names and returns that property, XCB_NONE when it has no such format,
    // or no value to leave the request unanswered. Other events go to `other`.
    template <typename Fill> void serve(Fill fill) const {
        serve(fill, [](const xcb_generic_event_t&) {});
    }
    template <typename Fill, typename Other> void serve(Fill fill, Other other) const {
        while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_SELECTION_CLEAR) {
                std::free(event);
                return;
            }
            if (type == XCB_SELECTION_REQUEST) {
                const auto* request = reinterpret_cast<xcb_selection_request_event_t*>(event);
                // Clients older than ICCCM 2 name no property: the target stands for it.
                const xcb_atom_t property = request->property ? request->property : request->target;
                if (const std::optional<xcb_atom_t> answered = fill(*request, property))
                    answer(*request, *answered);
            } else {
                other(*event);
            }
            std::free(event);
        }
    }

    void put(const xcb_selection_request_event_t& request, xcb_atom_t property, xcb_atom_t type,
             uint8_t format, uint32_t count, const void* data) const {
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, property, type,
                            format, count, data);
    }

    // Prints "TOOL: message" on stderr and returns the exit status for it.
    int fail(const char* message) const {
        std::fprintf(stderr, "%s: %s\n", toolName_, message);
        return 1;
    }

private:
    void answer(const xcb_selection_request_event_t& request, xcb_atom_t property) const {
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = property;
        xcb_send_event(connection_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(connection_);
    }

    const char* toolName_;
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t clipboard_ = XCB_NONE;
    xcb_atom_t targets_ = XCB_NONE;
};
