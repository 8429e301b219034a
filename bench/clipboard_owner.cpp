// Puts a text on the CLIPBOARD and serves it, for copy_latency.py: prints the monotonic time
// (seconds) at which the X server made it the owner, the moment every clipboard watcher is
// told of the change, then serves the text until another client takes the clipboard. Plain
// xcb, so that serving the text costs the readers as little as the X server allows.
//
//   clipboard_owner TEXT
#include "ClipboardServer.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

namespace {

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
    const ClipboardServer server("clipboard_owner");
    if (!server.connected())
        return server.fail("cannot open the display");
    const xcb_atom_t utf8 = server.intern("UTF8_STRING");
    const xcb_atom_t textPlain = server.intern("text/plain;charset=utf-8");
    if (!server.take())
        return server.fail("the clipboard was not taken");
    std::printf("%.6f\n", monotonicNow());
    std::fflush(stdout);

    const std::vector<xcb_atom_t> offered{server.targetsAtom(), utf8, textPlain, XCB_ATOM_STRING};
    server.serve([&](const xcb_selection_request_event_t& request,
                     xcb_atom_t property) -> std::optional<xcb_atom_t> {
        if (request.target == server.targetsAtom()) {
            server.put(request, property, XCB_ATOM_ATOM, 32, uint32_t(offered.size()),
                       offered.data());
            return property;
        }
        if (request.target == utf8 || request.target == textPlain ||
            request.target == XCB_ATOM_STRING) {
            server.put(request, property, request.target, 8, uint32_t(std::strlen(text)), text);
            return property;
        }
        return XCB_NONE;
    });
    return 0;
}
