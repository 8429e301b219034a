#pragma once

#include "desktop/WindowBehaviour.h"

#include <QObject>

class QWidget;

namespace desktop {

class NotificationArea;

// Applies the window behaviour to the main window: turns its close command into a minimise
// when Batu_OFF says so (and a tray is there to end the program from), minimises it when
// another application becomes active, and once after the settings are read at start-up.
class WindowBehaviourFilter : public QObject {
    Q_OBJECT
public:
    // The window and the tray must outlive the filter.
    WindowBehaviourFilter(QWidget& window, NotificationArea& tray, QObject* parent = nullptr);

    void setCloseButtonMinimises(bool on) { behaviour_.setCloseButtonMinimises(on); }
    void setMinimiseWhenInactive(bool on) { behaviour_.setMinimiseWhenInactive(on); }

    // Ends the program: open dialogs close, the window closes whatever the options say, and
    // the application's event loop ends once it has.
    void quit();
    bool isQuitting() const { return behaviour_.isQuitting(); }
    // Minimises the window if the stored kidouji_saisyouka_on says so.
    void applyMinimiseAtStart(bool minimiseAtStart);
    // The minimise command: queued, then pending events are processed so that it has taken
    // effect when this returns.
    void minimise();

    WindowBehaviour::WindowState windowState() const;
    // The application became active or inactive; connected to the application's own signal.
    void applicationStateChanged(Qt::ApplicationState state);

Q_SIGNALS:
    // A close command was turned into a minimise.
    void closeTurnedIntoMinimise();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void postMinimise();
    void closeModalDialogs();

    QWidget& window_;
    NotificationArea& tray_;
    WindowBehaviour behaviour_;
};

} // namespace desktop
