#pragma once

#include <QObject>
#include <QString>

namespace input {

class ClipboardSource;

// What the clipboard watcher needs from the main window.
class ClipboardWatcherHost {
public:
    virtual ~ClipboardWatcherHost() = default;

    virtual QString searchText() const = 0;
    virtual void setSearchText(const QString& text) = 0;
    virtual bool bringWindowForwardOnCopy() const = 0; // copy_window_zenmen_on
    virtual bool turnFullWidthToAscii() const = 0;     // jidou_zenkaku_eimoji_hankaku
    virtual bool isMinimised() const = 0;
    virtual void MOTO_NI_MODOSHUClick() = 0;
    // Whether the first lookup of the run has been asked for; until then a capture is left
    // to the start sequence (deferFirstLookup), so that it runs with the settings in force.
    virtual bool firstLookupRequested() const = 0;
    virtual void deferFirstLookup() = 0;
    virtual void _okuru() = 0;
    virtual void showError(const QString& message) = 0;
};

// Looks up every text copied anywhere: puts it into the search box (normalised when the
// option says so) and starts a lookup, unless paused, unchanged or the proxy dialog is open.
class ClipboardWatcher : public QObject {
    Q_OBJECT
public:
    ClipboardWatcher(ClipboardSource& source, ClipboardWatcherHost& host,
                     QObject* parent = nullptr);

    bool paused() const { return _kyuushi; }
    // Suppresses captures while the proxy dialog exists.
    void setCopyDame(bool on) { _copy_Dame = on; }
    bool copyDame() const { return _copy_Dame; }

    // Pause or resume.
    void kyuushiExecute();
    // One clipboard change.
    void WMDrawClipboard();

Q_SIGNALS:
    void pausedChanged(bool paused);

private:
    ClipboardSource& source_;
    ClipboardWatcherHost& host_;
    bool _kyuushi = false;
    bool _copy_Dame = false;
};

} // namespace input
