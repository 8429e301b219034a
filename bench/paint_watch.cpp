// Tells when a colour covers a set of points of a window, for copy_latency.py: watches the
// window's damage (the X server's note of every drawing into it) and, after each, reads the
// points back. Each line on the standard input is a colour as RRGGBB; once every point has
// that colour, the monotonic time (seconds) of the damage that brought it is printed, or of the
// request itself when the points already had it. A line "?" prints what the points show now,
// as "RRGGBB@X,Y ..." (a point that cannot be read shows "------"), so that a caller that waited
// in vain can say why.
//
//   paint_watch WINDOW X Y [X Y]...    WINDOW as a number (decimal or 0x hex), points inside it
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace {

double monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The pixel as 0xRRGGBB, or -1 when it cannot be read (window gone or unmapped).
long pixelAt(xcb_connection_t* c, xcb_window_t window, int16_t x, int16_t y) {
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, x, y, 1, 1, ~0u), nullptr);
    if (!image)
        return -1;
    long rgb = -1;
    if (xcb_get_image_data_length(image) >= 3) {
        const uint8_t* p = xcb_get_image_data(image); // B, G, R(, X) at depth 24 and 32
        rgb = (long(p[2]) << 16) | (long(p[1]) << 8) | long(p[0]);
    }
    std::free(image);
    return rgb;
}

struct Point {
    int16_t x;
    int16_t y;
};

bool allShow(xcb_connection_t* c, xcb_window_t window, const std::vector<Point>& points,
             long colour) {
    for (const Point& point : points)
        if (pixelAt(c, window, point.x, point.y) != colour)
            return false;
    return true;
}

void printPoints(xcb_connection_t* c, xcb_window_t window, const std::vector<Point>& points) {
    std::string line;
    for (const Point& point : points) {
        char text[48];
        const long rgb = pixelAt(c, window, point.x, point.y);
        if (rgb < 0)
            std::snprintf(text, sizeof text, "------@%d,%d ", point.x, point.y);
        else
            std::snprintf(text, sizeof text, "%06lx@%d,%d ", rgb, point.x, point.y);
        line += text;
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: paint_watch WINDOW X Y [X Y]...\n");
        return 2;
    }
    const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    std::vector<Point> points;
    for (int i = 2; i + 1 < argc; i += 2)
        points.push_back({int16_t(std::atoi(argv[i])), int16_t(std::atoi(argv[i + 1]))});
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "paint_watch: cannot open the display\n");
        return 1;
    }
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_damage_id);
    if (!extension || !extension->present) {
        std::fprintf(stderr, "paint_watch: the X server has no DAMAGE extension\n");
        return 1;
    }
    std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const xcb_damage_damage_t damage = xcb_generate_id(c);
    xcb_damage_create(c, damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    xcb_flush(c);

    long expected = -1;
    char line[64];
    size_t used = 0;
    pollfd fds[2] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    for (;;) {
        // Events already read from the connection first: poll() would not see them.
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const uint8_t type = event->response_type & 0x7f;
            std::free(event);
            if (type != extension->first_event + XCB_DAMAGE_NOTIFY)
                continue;
            const double at = monotonicNow();
            xcb_damage_subtract(c, damage, XCB_NONE, XCB_NONE);
            if (expected >= 0 && allShow(c, window, points, expected)) {
                std::printf("%.6f\n", at);
                std::fflush(stdout);
                expected = -1;
            }
        }
        if (xcb_connection_has_error(c))
            return 1;
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return 1;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            const ssize_t n = read(STDIN_FILENO, line + used, sizeof line - 1 - used);
            if (n <= 0)
                break;
            used += size_t(n);
            line[used] = '\0';
            // Every whole line read so far, in order: several may come in one read.
            while (char* end = std::strchr(line, '\n')) {
                *end = '\0';
                const bool question = std::strcmp(line, "?") == 0;
                if (!question)
                    expected = std::strtol(line, nullptr, 16);
                const size_t rest = used - size_t(end + 1 - line);
                std::memmove(line, end + 1, rest + 1);
                used = rest;
                if (question) {
                    printPoints(c, window, points);
                } else if (allShow(c, window, points, expected)) {
                    std::printf("%.6f\n", monotonicNow());
                    std::fflush(stdout);
                    expected = -1;
                }
            }
            if (used == sizeof line - 1)
                used = 0; // not a colour line; drop it
        }
    }
    xcb_disconnect(c);
    return 0;
}
