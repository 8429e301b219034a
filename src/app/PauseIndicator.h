#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;
class QWidget;

namespace app {

// Says where the eye is that the program is not watching the clipboard: "休止中" in the status
// bar's permanent part and after the window's title, for as long as the watcher is paused.
class PauseIndicator : public QObject {
    Q_OBJECT
public:
    // The window's title at this moment is the one shown while watching.
    PauseIndicator(QWidget& window, QStatusBar& statusBar, QObject* parent = nullptr);

    void setPaused(bool paused);

    static QString titleFor(const QString& title, bool paused);

    static inline const QString kPausedText = QStringLiteral("休止中");

private:
    QWidget& window_;
    QString title_;
    QLabel* label_;
};

} // namespace app
