#pragma once

#include <QString>

class QWidget;

namespace desktop {

// Restores the main window and brings it in front of other programs' windows, also when
// the window manager would rather keep the focus where it is.
class WindowRaiser {
public:
    explicit WindowRaiser(QWidget* window) : window_(window) {}

    // The next request to come forward hands the compositor this activation token (from the
    // command that asked; see ActivationRoute). Used once.
    void useActivationToken(const QString& token) { activationToken_ = token; }

    // Raises the window to the top and asks for it to be made active. Returns whether the
    // request could be made.
    bool forceToFront();
    // Restores the window (also from maximised), lets the restore take effect, then raises it.
    void restoreAndRaise();
    // Restores the window if it is minimised and lets the restore take effect.
    void restoreIfMinimised();
    // After a lookup: a maximised window stays maximised; any other is restored and raised.
    void bringForwardAfterLookup();

private:
    void postRestore();

    QWidget* window_;
    QString activationToken_;
};

} // namespace desktop
