#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <map>
#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;

namespace desktop {

// The Wayland clipboard (the seat's selection) and primary selection, watched on a connection
// of the program's own through the data-control protocol (ext_data_control_manager_v1 or its
// older twin zwlr_data_control_manager_v1, whichever the compositor offers). Unlike an ordinary
// client it is told of every copy without a window or focus, so it also serves a program whose
// window is an XWayland window in the background.
//
// The connection is woken by its socket (fd()): call dispatch() when it is readable. Reads
// follow ClipboardReadPlan (files and pictures are no text) and are bounded: timeoutMs for
// each chunk of a copy, a whole copy at most five times that, and no more than maxBytes.
// All calls but stop() come from one thread.
class WaylandDataControl {
public:
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    enum class Selection { Clipboard, Primary };
    struct Result {
        enum Kind { Text, NoText, Unreadable, TooLong } kind = NoText;
        QString text;   // Text: the copied text
        QString reason; // Unreadable, TooLong: why, for the user
    };

    // Connects to the compositor named by displayName (WAYLAND_DISPLAY's form; empty for the
    // variable's value). Nothing when no compositor answers or it offers neither protocol.
    static std::unique_ptr<WaylandDataControl>
    connect(const QByteArray& displayName = {}, int timeoutMs = 2000, qint64 maxBytes = kMaxBytes);
    ~WaylandDataControl();
    WaylandDataControl(const WaylandDataControl&) = delete;
    WaylandDataControl& operator=(const WaylandDataControl&) = delete;

    // The global in use: "ext_data_control_manager_v1" or "zwlr_data_control_manager_v1".
    QString protocolName() const { return protocolName_; }
    // Whether the compositor tells of primary selection changes.
    bool watchesPrimarySelection() const;
    // The connection's socket, to be woken by.
    int fd() const;
    // Reads what the compositor sent and acts on it; false when the connection is lost.
    bool dispatch();
    // Told of every selection that changes after connect().
    void onSelectionChanged(std::function<void(Selection)> changed) {
        selectionChanged_ = std::move(changed);
    }
    Result read(Selection selection);
    // Ends a read under way at once, and every later one; thread-safe.
    void stop();

    class Binding;

private:
    WaylandDataControl(wl_display* display, int timeoutMs, qint64 maxBytes);
    bool setUp();
    void selectionOffered(Selection selection, void* offer);
    struct Globals;
    void forgetOffer(void* offer);
    struct Transfer;
    Transfer transfer(void* offer, const QString& mimeType);

    static void registryGlobal(void* data, wl_registry* registry, uint32_t name,
                               const char* interface, uint32_t version);
    static void registryGlobalRemove(void* data, wl_registry* registry, uint32_t name);

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    std::unique_ptr<Binding> binding_;
    QString protocolName_;
    // Every offer still alive, with the MIME types it listed.
    std::map<void*, QStringList> offers_;
    void* clipboardOffer_ = nullptr;
    void* primaryOffer_ = nullptr;
    bool settled_ = false;
    std::function<void(Selection)> selectionChanged_;
    int timeoutMs_;
    qint64 maxBytes_;
    int stopFd_ = -1;
    std::atomic<bool> stopped_{false};
};

} // namespace desktop
