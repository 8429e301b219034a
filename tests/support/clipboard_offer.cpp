// A clipboard owner for tests, in plain xcb: offers the formats it is given, as a file manager,
// a browser or an image viewer would, or misbehaves as a broken owner does.
//
//   clipboard_offer [--never-answer | --exit-on-request | --endless-incr] FORMAT=VALUE...
//
// VALUE is the format's content as it stands, or @PATH for the bytes of a file (a picture).
// It prints "owner" once it holds the clipboard, then serves every request until another
// client takes the clipboard. --never-answer takes requests and answers none of them (a hung
// program) and prints "request" for each; --exit-on-request ends the program at the first request without an answer (a
// program that closes while the copy is being read); --endless-incr answers a request for a
// format in chunks (INCR) and never sends the last, empty one (a copy that never ends).
#include "ClipboardServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

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

} // namespace

int main(int argc, char* argv[]) {
    // Callers that only wait for "owner" close the pipe; later lines must not end the owner.
    std::signal(SIGPIPE, SIG_IGN);
    enum { Serve, NeverAnswer, ExitOnRequest, EndlessIncr } mode = Serve;
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
        if (arg == "--endless-incr") {
            mode = EndlessIncr;
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
        std::fprintf(stderr,
                     "usage: clipboard_offer [--never-answer | --exit-on-request | --endless-incr] "
                     "FORMAT=VALUE...\n");
        return 2;
    }

    const ClipboardServer server("clipboard_offer");
    if (!server.connected())
        return server.fail("cannot open the display");
    std::vector<Offer> offers;
    for (const auto& [name, data] : formats)
        offers.push_back({server.intern(name), data});
    if (!server.take())
        return server.fail("the clipboard was not taken");
    std::printf("owner\n");
    std::fflush(stdout);

    // The endless transfer under way: its requestor, property and format.
    struct Endless {
        xcb_window_t requestor = XCB_NONE;
        xcb_atom_t property = XCB_NONE;
        xcb_atom_t target = XCB_NONE;
    } endless;
    const std::string chunk(64 * 1024, 'a');
    const xcb_atom_t incr = server.intern("INCR");

    server.serve(
        [&](const xcb_selection_request_event_t& request,
            xcb_atom_t property) -> std::optional<xcb_atom_t> {
            if (mode == ExitOnRequest)
                std::_Exit(0); // the X server drops the ownership with the connection
            if (mode == NeverAnswer) {
                // Told so a test can act while the requestor is known to be waiting.
                std::printf("request\n");
                std::fflush(stdout);
                return std::nullopt;
            }
            if (request.target == server.targetsAtom()) {
                std::vector<xcb_atom_t> list{server.targetsAtom()};
                for (const Offer& offer : offers)
                    list.push_back(offer.target);
                server.put(request, property, XCB_ATOM_ATOM, 32, uint32_t(list.size()),
                           list.data());
                return property;
            }
            if (mode == EndlessIncr) {
                // The requestor's deletions of the property ask for each next chunk.
                const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(server.connection(), request.requestor,
                                             XCB_CW_EVENT_MASK, &events);
                endless = {request.requestor, property, request.target};
                const uint32_t atLeast = 1u << 30;
                server.put(request, property, incr, 32, 1, &atLeast);
                return property;
            }
            for (const Offer& offer : offers) {
                if (offer.target == request.target) {
                    server.put(request, property, request.target, 8, uint32_t(offer.data.size()),
                               offer.data.data());
                    return property;
                }
            }
            return XCB_NONE;
        },
        [&](const xcb_generic_event_t& event) {
            if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                return;
            const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (notify.window != endless.requestor || notify.atom != endless.property ||
                notify.state != XCB_PROPERTY_DELETE)
                return;
            xcb_change_property(server.connection(), XCB_PROP_MODE_REPLACE, endless.requestor,
                                endless.property, endless.target, 8, uint32_t(chunk.size()),
                                chunk.data());
            xcb_flush(server.connection());
        });
    return 0;
}
