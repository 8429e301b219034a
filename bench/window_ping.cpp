// Pings a window's event loop through the window manager's protocol (_NET_WM_PING): Qt answers
// it from the program's event loop, so the round trip is how long the window would keep the
// user waiting at that moment. One ping at a time, the next 50 ms after the last answer.
//
//   window_ping WINDOW SECONDS
//
// Prints the number of answers, their median and longest round trip in milliseconds, and the
// wait of a ping still unanswered at the end.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_ping WINDOW SECONDS\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const double seconds = std::atof(argv[2]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "window_ping: cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t protocols = intern(c, "WM_PROTOCOLS");
    const xcb_atom_t ping = intern(c, "_NET_WM_PING");
    // Qt sends the answer to the root window, to whoever watches its structure.
    const uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &events);

    std::vector<double> trips;
    double unanswered = 0;
    const Clock::time_point end =
        Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    for (uint32_t serial = 1; Clock::now() < end; ++serial) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols;
        message.data.data32[0] = ping;
        message.data.data32[1] = serial;
        message.data.data32[2] = window;
        const Clock::time_point sent = Clock::now();
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c);
        bool answered = false;
        while (!answered && Clock::now() < end) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
                if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                    const auto* reply = reinterpret_cast<xcb_client_message_event_t*>(event);
                    answered = reply->type == protocols && reply->data.data32[0] == ping &&
                               reply->data.data32[1] == serial;
                }
                std::free(event);
                if (answered)
                    break;
            }
            if (!answered) {
                pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
                poll(&fd, 1, 10);
            }
        }
        if (!answered) {
            unanswered = msSince(sent);
            break;
        }
        trips.push_back(msSince(sent));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::sort(trips.begin(), trips.end());
    const double median = trips.empty() ? 0 : trips[trips.size() / 2];
    const double longest = trips.empty() ? 0 : trips.back();
    std::printf("answers %zu median_ms %.1f max_ms %.1f unanswered_ms %.1f\n", trips.size(), median,
                longest, unanswered);
    xcb_disconnect(c);
    return 0;
}
