#pragma once

#include "desktop/GlobalKeySource.h"

#include <QString>
#include <memory>

namespace desktop {

class PortalKeySource;

// F12 and END as the session offers them. In a Wayland session it asks the desktop's
// GlobalShortcuts portal and reads the keys through it once the shortcuts are bound; until
// then, and for good when the portal can't serve (told once through failed), the keys are
// read through XInput as in an X11 session, where the portal is never asked.
class SessionKeySource : public GlobalKeySource {
    Q_OBJECT
public:
    // portal may be empty (never asked).
    SessionKeySource(bool waylandSession, std::unique_ptr<GlobalKeySource> xinput,
                     std::unique_ptr<PortalKeySource> portal, QObject* parent = nullptr);
    ~SessionKeySource() override;

    // The program's: the session type from the environment, the X display of the
    // application, the session bus.
    static std::unique_ptr<SessionKeySource> forThisSession(const QString& platformName);

    void setListening(bool on) override;
    QString unavailableReason() const override;
    void catchUp() override;

private:
    void update();
    void portalFailed(const QString& reason);
    bool portalServes() const;

    bool waylandSession_;
    std::unique_ptr<GlobalKeySource> xinput_;
    std::unique_ptr<PortalKeySource> portal_;
    bool listening_ = false;
    bool xinputListening_ = false;
};

} // namespace desktop
