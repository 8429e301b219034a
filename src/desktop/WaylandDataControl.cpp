#include "desktop/WaylandDataControl.h"

#include "desktop/ClipboardReadPlan.h"
#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QDeadlineTimer>
#include <QTextDocumentFragment>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

namespace desktop {

// What the watcher needs of a data-control protocol. The two protocols differ only in their
// names; BindingOf<> below serves both from one description of each.
class WaylandDataControl::Binding {
public:
    struct Events {
        std::function<void(void* offer)> offered;
        std::function<void(void* offer, const QString& mimeType)> mimeTypeOffered;
        std::function<void(Selection, void* offer)> selected;
        std::function<void()> finished;
    };
    virtual ~Binding() = default;
    virtual void watch(wl_seat* seat, Events events) = 0;
    virtual void receive(void* offer, const char* mimeType, int fd) = 0;
    virtual void destroyOffer(void* offer) = 0;
    virtual uint32_t version() const = 0;
};

namespace {

// The names of one protocol, for BindingOf.
struct ExtNames {
    using Manager = ext_data_control_manager_v1;
    using Device = ext_data_control_device_v1;
    using Offer = ext_data_control_offer_v1;
    using DeviceListener = ext_data_control_device_v1_listener;
    using OfferListener = ext_data_control_offer_v1_listener;
    static constexpr const wl_interface* kManagerInterface = &ext_data_control_manager_v1_interface;
    static constexpr uint32_t kVersion = 1;
    static constexpr uint32_t kPrimarySince = 1;
    static Device* deviceOf(Manager* manager, wl_seat* seat) {
        return ext_data_control_manager_v1_get_data_device(manager, seat);
    }
    static void listen(Device* device, const DeviceListener* listener, void* data) {
        ext_data_control_device_v1_add_listener(device, listener, data);
    }
    static void listen(Offer* offer, const OfferListener* listener, void* data) {
        ext_data_control_offer_v1_add_listener(offer, listener, data);
    }
    static void receive(Offer* offer, const char* mimeType, int fd) {
        ext_data_control_offer_v1_receive(offer, mimeType, fd);
    }
    static void destroy(Offer* offer) { ext_data_control_offer_v1_destroy(offer); }
    static void destroy(Device* device) { ext_data_control_device_v1_destroy(device); }
    static void destroy(Manager* manager) { ext_data_control_manager_v1_destroy(manager); }
};

struct WlrNames {
    using Manager = zwlr_data_control_manager_v1;
    using Device = zwlr_data_control_device_v1;
    using Offer = zwlr_data_control_offer_v1;
    using DeviceListener = zwlr_data_control_device_v1_listener;
    using OfferListener = zwlr_data_control_offer_v1_listener;
    static constexpr const wl_interface* kManagerInterface =
        &zwlr_data_control_manager_v1_interface;
    static constexpr uint32_t kVersion = 2;
    static constexpr uint32_t kPrimarySince = 2;
    static Device* deviceOf(Manager* manager, wl_seat* seat) {
        return zwlr_data_control_manager_v1_get_data_device(manager, seat);
    }
    static void listen(Device* device, const DeviceListener* listener, void* data) {
        zwlr_data_control_device_v1_add_listener(device, listener, data);
    }
    static void listen(Offer* offer, const OfferListener* listener, void* data) {
        zwlr_data_control_offer_v1_add_listener(offer, listener, data);
    }
    static void receive(Offer* offer, const char* mimeType, int fd) {
        zwlr_data_control_offer_v1_receive(offer, mimeType, fd);
    }
    static void destroy(Offer* offer) { zwlr_data_control_offer_v1_destroy(offer); }
    static void destroy(Device* device) { zwlr_data_control_device_v1_destroy(device); }
    static void destroy(Manager* manager) { zwlr_data_control_manager_v1_destroy(manager); }
};

template <typename Names> class BindingOf final : public WaylandDataControl::Binding {
public:
    using Manager = typename Names::Manager;
    using Device = typename Names::Device;
    using Offer = typename Names::Offer;

    BindingOf(wl_registry* registry, uint32_t name, uint32_t offeredVersion)
        : version_(std::min(offeredVersion, Names::kVersion)),
          manager_(static_cast<Manager*>(
              wl_registry_bind(registry, name, Names::kManagerInterface, version_))) {}
    ~BindingOf() override {
        if (device_)
            Names::destroy(device_);
        Names::destroy(manager_);
    }

    void watch(wl_seat* seat, Events events) override {
        events_ = std::move(events);
        device_ = Names::deviceOf(manager_, seat);
        Names::listen(device_, &kDeviceListener, this);
    }
    void receive(void* offer, const char* mimeType, int fd) override {
        Names::receive(static_cast<Offer*>(offer), mimeType, fd);
    }
    void destroyOffer(void* offer) override { Names::destroy(static_cast<Offer*>(offer)); }
    uint32_t version() const override { return version_; }

private:
    static BindingOf& self(void* data) { return *static_cast<BindingOf*>(data); }
    static void dataOffer(void* data, Device*, Offer* offer) {
        Names::listen(offer, &kOfferListener, data);
        self(data).events_.offered(offer);
    }
    static void mimeType(void* data, Offer* offer, const char* type) {
        self(data).events_.mimeTypeOffered(offer, QString::fromUtf8(type));
    }
    static void selection(void* data, Device*, Offer* offer) {
        self(data).events_.selected(WaylandDataControl::Selection::Clipboard, offer);
    }
    static void primarySelection(void* data, Device*, Offer* offer) {
        self(data).events_.selected(WaylandDataControl::Selection::Primary, offer);
    }
    static void finished(void* data, Device*) { self(data).events_.finished(); }

    static constexpr typename Names::DeviceListener kDeviceListener{dataOffer, selection, finished,
                                                                    primarySelection};
    static constexpr typename Names::OfferListener kOfferListener{mimeType};

    uint32_t version_;
    Manager* manager_;
    Device* device_ = nullptr;
    Events events_;
};

} // namespace

// What the registry lists, gathered before anything is bound.
struct WaylandDataControl::Globals {
    uint32_t seat = 0;
    uint32_t ext = 0;
    uint32_t extVersion = 0;
    uint32_t wlr = 0;
    uint32_t wlrVersion = 0;
};

struct WaylandDataControl::Transfer {
    enum Outcome { Data, TimedOut, TooLong, Broken, Stopped } outcome = Broken;
    QByteArray data;
};

std::unique_ptr<WaylandDataControl> WaylandDataControl::connect(const QByteArray& displayName,
                                                                int timeoutMs, qint64 maxBytes) {
    wl_display* display =
        wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandDataControl> control(
        new WaylandDataControl(display, timeoutMs, maxBytes));
    if (!control->setUp())
        return nullptr;
    return control;
}

WaylandDataControl::WaylandDataControl(wl_display* display, int timeoutMs, qint64 maxBytes)
    : display_(display), timeoutMs_(timeoutMs), maxBytes_(maxBytes),
      stopFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WaylandDataControl::~WaylandDataControl() {
    for (const auto& offer : offers_)
        binding_->destroyOffer(offer.first);
    binding_.reset();
    if (seat_)
        wl_seat_destroy(seat_);
    if (registry_)
        wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
    if (stopFd_ >= 0)
        close(stopFd_);
}

void WaylandDataControl::registryGlobal(void* data, wl_registry*, uint32_t name,
                                        const char* interface, uint32_t version) {
    Globals& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals.seat == 0) {
        globals.seat = name;
    } else if (std::strcmp(interface, ext_data_control_manager_v1_interface.name) == 0) {
        globals.ext = name;
        globals.extVersion = version;
    } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
        globals.wlr = name;
        globals.wlrVersion = version;
    }
}

void WaylandDataControl::registryGlobalRemove(void*, wl_registry*, uint32_t) {}

bool WaylandDataControl::setUp() {
    static const wl_registry_listener kRegistryListener{registryGlobal, registryGlobalRemove};
    Globals globals;
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, &globals);
    if (wl_display_roundtrip(display_) < 0 || globals.seat == 0 ||
        (globals.ext == 0 && globals.wlr == 0))
        return false;
    seat_ = static_cast<wl_seat*>(wl_registry_bind(registry_, globals.seat, &wl_seat_interface, 1));
    // The newer name where both are offered: compositors keep it and may drop the older.
    if (globals.ext != 0) {
        binding_ =
            std::make_unique<BindingOf<ExtNames>>(registry_, globals.ext, globals.extVersion);
        protocolName_ = QString::fromLatin1(ext_data_control_manager_v1_interface.name);
    } else {
        binding_ =
            std::make_unique<BindingOf<WlrNames>>(registry_, globals.wlr, globals.wlrVersion);
        protocolName_ = QString::fromLatin1(zwlr_data_control_manager_v1_interface.name);
    }
    binding_->watch(
        seat_, {
                   [this](void* offer) { offers_[offer]; },
                   [this](void* offer, const QString& type) { offers_[offer].append(type); },
                   [this](Selection selection, void* offer) { selectionOffered(selection, offer); },
                   // The seat went away: no more selections come; reads find nothing.
                   [this] {
                       selectionOffered(Selection::Clipboard, nullptr);
                       selectionOffered(Selection::Primary, nullptr);
                   },
               });
    // The selections as they are now: what the program reads at its start anyway.
    if (wl_display_roundtrip(display_) < 0)
        return false;
    settled_ = true;
    return true;
}

bool WaylandDataControl::watchesPrimarySelection() const {
    return protocolName_ == QLatin1StringView(ext_data_control_manager_v1_interface.name) ||
           binding_->version() >= WlrNames::kPrimarySince;
}

void WaylandDataControl::selectionOffered(Selection selection, void* offer) {
    void*& current = selection == Selection::Clipboard ? clipboardOffer_ : primaryOffer_;
    void* const other = selection == Selection::Clipboard ? primaryOffer_ : clipboardOffer_;
    void* const previous = std::exchange(current, offer);
    if (previous && previous != offer && previous != other)
        forgetOffer(previous);
    if (settled_ && selectionChanged_)
        selectionChanged_(selection);
}

void WaylandDataControl::forgetOffer(void* offer) {
    binding_->destroyOffer(offer);
    offers_.erase(offer);
}

int WaylandDataControl::fd() const {
    return wl_display_get_fd(display_);
}

bool WaylandDataControl::dispatch() {
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0)
            return false;
    }
    wl_display_flush(display_);
    pollfd socket{wl_display_get_fd(display_), POLLIN, 0};
    if (poll(&socket, 1, 0) > 0) {
        if (wl_display_read_events(display_) < 0)
            return false;
    } else {
        wl_display_cancel_read(display_);
    }
    if (wl_display_dispatch_pending(display_) < 0)
        return false;
    wl_display_flush(display_);
    return wl_display_get_error(display_) == 0;
}

void WaylandDataControl::stop() {
    stopped_ = true;
    const uint64_t one = 1;
    (void)!write(stopFd_, &one, sizeof one);
}

WaylandDataControl::Transfer WaylandDataControl::transfer(void* offer, const QString& mimeType) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {};
    // The request carries a copy of the write end; ours is closed so that the end of the
    // copy shows as the end of the pipe.
    binding_->receive(offer, mimeType.toUtf8().constData(), pipeEnds[1]);
    wl_display_flush(display_);
    close(pipeEnds[1]);

    Transfer transfer;
    const QDeadlineTimer whole(qint64(timeoutMs_) * 5);
    char chunk[65536];
    for (;;) {
        if (stopped_) {
            transfer.outcome = Transfer::Stopped;
            break;
        }
        const int wait = int(std::min<qint64>(timeoutMs_, whole.remainingTime()));
        pollfd fds[2] = {{pipeEnds[0], POLLIN, 0}, {stopFd_, POLLIN, 0}};
        const int ready = poll(fds, 2, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            transfer.outcome = Transfer::Broken;
            break;
        }
        if (fds[1].revents != 0) {
            transfer.outcome = Transfer::Stopped;
            break;
        }
        if (ready == 0) {
            transfer.outcome = Transfer::TimedOut;
            break;
        }
        const ssize_t got = ::read(pipeEnds[0], chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            transfer.outcome = Transfer::Broken;
            break;
        }
        if (got == 0) {
            transfer.outcome = Transfer::Data;
            break;
        }
        if (transfer.data.size() + got > maxBytes_) {
            transfer.outcome = Transfer::TooLong;
            break;
        }
        transfer.data.append(chunk, got);
    }
    close(pipeEnds[0]);
    if (transfer.outcome != Transfer::Data)
        transfer.data.clear();
    return transfer;
}

WaylandDataControl::Result WaylandDataControl::read(Selection selection) {
    void* const offer = selection == Selection::Clipboard ? clipboardOffer_ : primaryOffer_;
    if (!offer)
        return {}; // nothing is copied, or the program that copied has closed
    const auto failure = [this](Transfer::Outcome outcome) -> Result {
        switch (outcome) {
        case Transfer::TooLong:
            return {Result::TooLong,
                    {},
                    QStringLiteral("（%1 KiB を超えています）").arg(maxBytes_ / 1024)};
        case Transfer::TimedOut:
            return {Result::Unreadable,
                    {},
                    QStringLiteral("（コピー元のプログラムが %1 秒以内に応答しません）")
                        .arg(timeoutMs_ / 1000.0)};
        case Transfer::Stopped:
        case Transfer::Broken:
        case Transfer::Data:
            break;
        }
        return {Result::Unreadable, {}, QStringLiteral("（コピーされた内容を受け取れません）")};
    };
    const ClipboardReadPlan plan = ClipboardReadPlan::forFormats(offers_[offer]);
    if (!plan.fileListFormat.isEmpty()) {
        const Transfer list = transfer(offer, plan.fileListFormat);
        if (list.outcome != Transfer::Data)
            return failure(list.outcome);
        if (isLocalFileList(list.data))
            return {};
    }
    if (plan.textFormat.isEmpty())
        return {};
    const Transfer text = transfer(offer, plan.textFormat);
    if (text.outcome != Transfer::Data)
        return failure(text.outcome);
    QString decoded = decodeClipboardText(text.data, plan.textFormat);
    if (plan.textIsHtml) {
        // A picture in the HTML becomes an object replacement character: no word either.
        decoded = QTextDocumentFragment::fromHtml(decoded)
                      .toPlainText()
                      .remove(QChar::ObjectReplacementCharacter)
                      .trimmed();
        if (decoded.isEmpty())
            return {};
    }
    return {Result::Text, decoded, {}};
}

} // namespace desktop
