#pragma once

namespace desktop {

// What the main window does when it is asked to close, when another application becomes
// active and when the settings are read at start-up. Pure decisions; the options come in as
// they change.
class WindowBehaviour {
public:
    enum class CloseOutcome { Close, Minimise };
    enum class WindowState { Normal, Maximised, Minimised, Hidden };

    // Batu_OFF: the window's close command (its close button, Alt+F4, the window menu's
    // close) minimises instead of closing.
    void setCloseButtonMinimises(bool on) { closeButtonMinimises_ = on; }
    // Lexorra2_off_active: the window is minimised whenever another application is activated.
    void setMinimiseWhenInactive(bool on) { minimiseWhenInactive_ = on; }
    // The user asked the program to end (the tray menu's close): from now on a close command
    // closes, whatever the options say.
    void setQuitting() { quitting_ = true; }
    bool isQuitting() const { return quitting_; }

    // A close command reached the window. Without a tray to end the program from, a close
    // that would only minimise closes: the user would have no way out otherwise.
    CloseOutcome closeRequested(bool trayAvailable) const;
    // Another application became active.
    bool minimiseOnDeactivation(WindowState state) const;
    // The settings were read at start-up; minimiseAtStart is the stored kidouji_saisyouka_on.
    static bool minimiseAfterSettingsRead(bool minimiseAtStart, WindowState state);

private:
    bool closeButtonMinimises_ = false;
    bool minimiseWhenInactive_ = false;
    bool quitting_ = false;
};

} // namespace desktop
