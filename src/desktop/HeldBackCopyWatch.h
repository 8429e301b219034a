#pragma once

#include "desktop/PlatformChoice.h"
#include "desktop/WaylandCopyNotice.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

namespace desktop {

// Watches, where a compositor may hold copies back (an X client under a Wayland session),
// for the first copy that turns up only when the program's window became active, and gives
// the sentence that tells the user why (WaylandCopyNotice decides when).
class HeldBackCopyWatch : public QObject {
    Q_OBJECT
public:
    // The program is an X client of XWayland in a Wayland session: the copies of Wayland
    // programs reach it when the compositor chooses.
    static bool copiesMayBeHeldBack(const EnvironmentReader& env, const QString& platformName);
    // The same for this process.
    static bool copiesMayBeHeldBack();

    // Follows the application's activation from now on.
    explicit HeldBackCopyWatch(QObject* parent = nullptr);

    // The clipboard changed.
    void clipboardChanged();

Q_SIGNALS:
    // The first held-back copy: a sentence for the status bar.
    void heldBackCopySeen(const QString& notice);

private:
    WaylandCopyNotice notice_{true};
    QElapsedTimer clock_;
};

} // namespace desktop
