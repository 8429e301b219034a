// Holds the Wayland clipboard through the compositor's data-control protocol, offering what a
// test needs, also what no ordinary program sends:
//
//   data_control_offer [--primary] MIME-TYPE MODE [TEXT]
//
// With --primary it holds the primary selection instead (data control version 2). wl-copy 2.1
// cannot set the primary selection under KWin 5.27: it takes the primary selection for
// unsupported unless the compositor tells of one on connecting, which KWin does not while
// there is none.
// MODE is "text" (sends TEXT), "endless" (sends without end until the reader closes) or "hang"
// (takes the request and never answers or closes). Prints "ready" once the selection is set
// and serves until another program copies. Exit status 0, or 1 when the compositor offers no
// data control (or, with --primary, none of version 2). With DATA_CONTROL_OFFER_TIME set in
// its environment it first prints "set SECONDS", the monotonic time at which it asked for the
// selection (for bench/wayland_copy_latency.py).
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

namespace {

struct State {
    wl_seat* seat = nullptr;
    zwlr_data_control_manager_v1* manager = nullptr;
    std::string mode;
    std::string text;
    std::vector<int> heldOpen;
    bool cancelled = false;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t version) {
    auto& state = *static_cast<State*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !state.seat)
        state.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
        state.manager = static_cast<zwlr_data_control_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_data_control_manager_v1_interface, std::min(version, 2u)));
}

void globalRemove(void*, wl_registry*, uint32_t) {}

void send(void* data, zwlr_data_control_source_v1*, const char*, int32_t fd) {
    auto& state = *static_cast<State*>(data);
    if (state.mode == "hang") {
        state.heldOpen.push_back(fd);
        return;
    }
    if (state.mode == "endless") {
        const std::string chunk(65536, 'x');
        while (write(fd, chunk.data(), chunk.size()) > 0) {
        }
    } else {
        (void)!write(fd, state.text.data(), state.text.size());
    }
    close(fd);
}

void cancelled(void* data, zwlr_data_control_source_v1*) {
    static_cast<State*>(data)->cancelled = true;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool primary = argc > 1 && std::strcmp(argv[1], "--primary") == 0;
    if (primary) {
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: data_control_offer [--primary] MIME-TYPE text|endless|hang [TEXT]\n");
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN); // a reader that closes ends an endless send
    State state;
    state.mode = argv[2];
    state.text = argc > 3 ? argv[3] : "";
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return 1;
    static const wl_registry_listener registryListener{global, globalRemove};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &state);
    wl_display_roundtrip(display);
    if (!state.seat || !state.manager)
        return 1;
    if (primary && zwlr_data_control_manager_v1_get_version(state.manager) <
                       ZWLR_DATA_CONTROL_DEVICE_V1_SET_PRIMARY_SELECTION_SINCE_VERSION)
        return 1;
    zwlr_data_control_source_v1* source =
        zwlr_data_control_manager_v1_create_data_source(state.manager);
    static const zwlr_data_control_source_v1_listener sourceListener{send, cancelled};
    zwlr_data_control_source_v1_add_listener(source, &sourceListener, &state);
    zwlr_data_control_source_v1_offer(source, argv[1]);
    zwlr_data_control_device_v1* device =
        zwlr_data_control_manager_v1_get_data_device(state.manager, state.seat);
    if (primary)
        zwlr_data_control_device_v1_set_primary_selection(device, source);
    else
        zwlr_data_control_device_v1_set_selection(device, source);
    if (std::getenv("DATA_CONTROL_OFFER_TIME")) {
        // The moment the compositor is asked to make the offer the selection, before the
        // round trip in which the first reader may already have been served.
        wl_display_flush(display);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("set %.6f\n", double(now.tv_sec) + double(now.tv_nsec) / 1e9);
    }
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);
    while (!state.cancelled && wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
