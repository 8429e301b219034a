#pragma once

#include "desktop/GlobalKey.h"

#include <QObject>
#include <QString>

namespace desktop {

// Reports when F12 and END go down and up in any application, without taking them from the
// application that has the focus.
class GlobalKeySource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts or stops reporting. While stopped the source costs nothing: no events are asked
    // for and no timer runs.
    virtual void setListening(bool on) = 0;
    // Empty while the source can see the keys; otherwise a sentence for the user saying why
    // it cannot.
    virtual QString unavailableReason() const = 0;
    // Reports at once what has already happened but is not yet read (a release waiting behind
    // a busy moment), so that a decision taken now sees it.
    virtual void catchUp() {}

Q_SIGNALS:
    void keyDown(desktop::GlobalKey key);
    void keyUp(desktop::GlobalKey key);
    // The source stopped working while running (the display went away); reason as above.
    void failed(const QString& reason);
};

} // namespace desktop
