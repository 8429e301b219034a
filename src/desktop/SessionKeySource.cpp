#include "desktop/SessionKeySource.h"

#include "desktop/KeySourceChoice.h"
#include "desktop/PlatformChoice.h"
#include "desktop/PortalKeySource.h"
#include "desktop/X11KeyWatcher.h"

#include <QDBusConnection>

namespace desktop {

SessionKeySource::SessionKeySource(bool waylandSession, std::unique_ptr<GlobalKeySource> xinput,
                                   std::unique_ptr<PortalKeySource> portal, QObject* parent)
    : GlobalKeySource(parent), waylandSession_(waylandSession), xinput_(std::move(xinput)),
      portal_(asksPortalForKeys(waylandSession) ? std::move(portal) : nullptr) {
    for (GlobalKeySource* source : {static_cast<GlobalKeySource*>(xinput_.get()),
                                    static_cast<GlobalKeySource*>(portal_.get())}) {
        if (!source)
            continue;
        connect(source, &GlobalKeySource::keyDown, this, &GlobalKeySource::keyDown);
        connect(source, &GlobalKeySource::keyUp, this, &GlobalKeySource::keyUp);
    }
    connect(xinput_.get(), &GlobalKeySource::failed, this, &GlobalKeySource::failed);
    if (portal_) {
        connect(portal_.get(), &PortalKeySource::bound, this, &SessionKeySource::update);
        connect(portal_.get(), &GlobalKeySource::failed, this, &SessionKeySource::portalFailed);
    }
}

SessionKeySource::~SessionKeySource() = default;

std::unique_ptr<SessionKeySource> SessionKeySource::forThisSession(const QString& platformName) {
    const bool wayland = isWaylandSession([](const char* name) { return qgetenv(name); });
    auto xinput =
        std::make_unique<X11KeyWatcher>(X11KeyWatcher::applicationDisplay(), platformName);
    std::unique_ptr<PortalKeySource> portal;
    if (asksPortalForKeys(wayland))
        portal = std::make_unique<PortalKeySource>(QDBusConnection::sessionBus());
    return std::make_unique<SessionKeySource>(wayland, std::move(xinput), std::move(portal));
}

bool SessionKeySource::portalServes() const {
    const PortalShortcuts state = portal_ ? portal_->state() : PortalShortcuts::NotAsked;
    return keySourceFor(waylandSession_, state) == KeySourceKind::Portal;
}

void SessionKeySource::setListening(bool on) {
    listening_ = on;
    update();
}

void SessionKeySource::update() {
    if (portal_)
        portal_->setListening(listening_);
    const bool xinputWanted = listening_ && !portalServes();
    if (xinputWanted == xinputListening_)
        return;
    xinputListening_ = xinputWanted;
    xinput_->setListening(xinputWanted);
}

void SessionKeySource::portalFailed(const QString& reason) {
    update();
    const QString xinputReason = xinput_->unavailableReason();
    Q_EMIT failed(
        xinputReason.isEmpty()
            ? QStringLiteral("%1。F12キーとENDキーはXのウィンドウが前面にある間だけ効きます"
                             "（lexorra2 --raise と lexorra2 --toggle-pause を"
                             "デスクトップのショートカットに割り当てられます）")
                  .arg(reason)
            : QStringLiteral("%1。%2").arg(reason, xinputReason));
}

QString SessionKeySource::unavailableReason() const {
    // While the portal is asked, or serves, its answer is still to come or the keys are seen.
    if (portal_ && portal_->state() != PortalShortcuts::Unavailable)
        return {};
    return xinput_->unavailableReason();
}

void SessionKeySource::catchUp() {
    if (xinputListening_)
        xinput_->catchUp();
}

} // namespace desktop
