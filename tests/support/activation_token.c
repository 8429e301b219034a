// A Wayland window that stands in for a launcher the user is in (a terminal, a run dialog,
// a compositor's key binding): it maps a small window, waits until it is the active one, and
// for each line on its standard input asks the compositor for an xdg-activation token made
// for its surface (with the serial of its last keyboard focus, when the seat has a keyboard)
// and prints it, so that `XDG_ACTIVATION_TOKEN=<token> lexorra2 --raise` can hand it over.
// Used by tests/e2e/test_wayland_window.py and bench/wayland_forward.py.
#define _GNU_SOURCE
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

static struct wl_compositor* compositor;
static struct wl_shm* shm;
static struct xdg_wm_base* wm_base;
static struct xdg_activation_v1* activation;
static struct wl_seat* seat;
static struct wl_keyboard* keyboard;
static uint32_t focus_serial;
static int have_serial;
static int activated;
static int configured;
static char* token_text;

static void ping(void* data, struct xdg_wm_base* base, uint32_t serial) {
    xdg_wm_base_pong(base, serial);
}
static const struct xdg_wm_base_listener wm_base_listener = {ping};

static void kb_keymap(void* d, struct wl_keyboard* k, uint32_t f, int32_t fd, uint32_t s) {
    close(fd);
}
static void kb_enter(void* d, struct wl_keyboard* k, uint32_t serial, struct wl_surface* s,
                     struct wl_array* keys) {
    focus_serial = serial;
    have_serial = 1;
}
static void kb_leave(void* d, struct wl_keyboard* k, uint32_t serial, struct wl_surface* s) {}
static void kb_key(void* d, struct wl_keyboard* k, uint32_t serial, uint32_t t, uint32_t key,
                   uint32_t state) {}
static void kb_modifiers(void* d, struct wl_keyboard* k, uint32_t serial, uint32_t a, uint32_t b,
                         uint32_t c, uint32_t g) {}
static void kb_repeat(void* d, struct wl_keyboard* k, int32_t rate, int32_t delay) {}
static const struct wl_keyboard_listener keyboard_listener = {kb_keymap, kb_enter,     kb_leave,
                                                              kb_key,    kb_modifiers, kb_repeat};

static void seat_capabilities(void* data, struct wl_seat* s, uint32_t caps) {
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !keyboard) {
        keyboard = wl_seat_get_keyboard(s);
        wl_keyboard_add_listener(keyboard, &keyboard_listener, NULL);
    }
}
static void seat_name(void* data, struct wl_seat* s, const char* name) {}
static const struct wl_seat_listener seat_listener = {seat_capabilities, seat_name};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* iface,
                   uint32_t version) {
    if (!strcmp(iface, wl_compositor_interface.name))
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 4);
    else if (!strcmp(iface, wl_shm_interface.name))
        shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    else if (!strcmp(iface, xdg_wm_base_interface.name)) {
        wm_base = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
        xdg_wm_base_add_listener(wm_base, &wm_base_listener, NULL);
    } else if (!strcmp(iface, xdg_activation_v1_interface.name))
        activation = wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1);
    else if (!strcmp(iface, wl_seat_interface.name) && !seat) {
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
        wl_seat_add_listener(seat, &seat_listener, NULL);
    }
}
static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {}
static const struct wl_registry_listener registry_listener = {global, global_remove};

static void surface_configure(void* data, struct xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    configured = 1;
}
static const struct xdg_surface_listener xdg_surface_listener = {surface_configure};

static void toplevel_configure(void* data, struct xdg_toplevel* t, int32_t w, int32_t h,
                               struct wl_array* states) {
    activated = 0;
    uint32_t* state;
    wl_array_for_each(state, states) if (*state == XDG_TOPLEVEL_STATE_ACTIVATED) activated = 1;
}
static void toplevel_close(void* data, struct xdg_toplevel* t) {}
// Never sent at the version bound; named so that every member is set.
static void toplevel_bounds(void* data, struct xdg_toplevel* t, int32_t w, int32_t h) {}
static void toplevel_capabilities(void* data, struct xdg_toplevel* t, struct wl_array* caps) {}
static const struct xdg_toplevel_listener toplevel_listener = {
    toplevel_configure, toplevel_close, toplevel_bounds, toplevel_capabilities};

static void token_done(void* data, struct xdg_activation_token_v1* token, const char* text) {
    token_text = strdup(text);
}
static const struct xdg_activation_token_v1_listener token_listener = {token_done};

static struct wl_buffer* make_buffer(int width, int height) {
    const int stride = width * 4, size = stride * height;
    const int fd = memfd_create("activation_token", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) < 0)
        return NULL;
    uint32_t* pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    for (int i = 0; i < width * height; ++i)
        pixels[i] = 0xff3366aa;
    munmap(pixels, size);
    struct wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    struct wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);
    if (!compositor || !shm || !wm_base || !activation) {
        fprintf(stderr, "missing globals (xdg_activation_v1: %s)\n", activation ? "yes" : "no");
        return 1;
    }
    struct wl_surface* surface = wl_compositor_create_surface(compositor);
    struct xdg_surface* xsurface = xdg_wm_base_get_xdg_surface(wm_base, surface);
    xdg_surface_add_listener(xsurface, &xdg_surface_listener, NULL);
    struct xdg_toplevel* toplevel = xdg_surface_get_toplevel(xsurface);
    xdg_toplevel_add_listener(toplevel, &toplevel_listener, NULL);
    xdg_toplevel_set_title(toplevel, "launcher");
    xdg_toplevel_set_app_id(toplevel, "launcher");
    wl_surface_commit(surface);
    while (!configured && wl_display_dispatch(display) != -1) {
    }
    wl_surface_attach(surface, make_buffer(200, 150), 0, 0);
    wl_surface_commit(surface);
    wl_display_roundtrip(display);

    // Answers the compositor (its pings) while it waits for a line, so it is never "not
    // responding".
    char line[64];
    struct pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {0, POLLIN, 0}};
    for (;;) {
        wl_display_flush(display);
        if (poll(fds, 2, -1) < 0)
            break;
        if (fds[0].revents & POLLIN && wl_display_dispatch(display) == -1)
            break;
        if (!(fds[1].revents & (POLLIN | POLLHUP)))
            continue;
        if (!fgets(line, sizeof line, stdin))
            break;
        struct xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(activation);
        xdg_activation_token_v1_add_listener(token, &token_listener, NULL);
        xdg_activation_token_v1_set_surface(token, surface);
        if (have_serial && seat)
            xdg_activation_token_v1_set_serial(token, focus_serial, seat);
        xdg_activation_token_v1_commit(token);
        while (!token_text && wl_display_dispatch(display) != -1) {
        }
        printf("%s activated=%d serial=%d\n", token_text ? token_text : "-", activated,
               have_serial);
        fflush(stdout);
        free(token_text);
        token_text = NULL;
        xdg_activation_token_v1_destroy(token);
    }
    wl_display_disconnect(display);
    return 0;
}
