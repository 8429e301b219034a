#pragma once

#include "desktop/GlobalKeySource.h"
#include "desktop/KeySourceChoice.h"
#include "timing/OneShotTimer.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <memory>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace desktop {

// F12 and END as two named shortcuts of the desktop's GlobalShortcuts portal
// (org.freedesktop.portal.GlobalShortcuts): "raise-window" and "toggle-pause", suggested as
// F12 and End; the user can change them in the desktop's settings. Pressing a shortcut is
// keyDown, releasing it keyUp.
//
// Listening creates a session and binds the shortcuts; the desktop holds the keys while the
// session lives, so stopping closes it and gives them back. Every call is bounded: a portal
// that is missing, lacks the interface or a recent enough version, refuses, or does not answer
// in time fails with a sentence for the user. Only signals of the portal's own connection
// about the program's own session count.
class PortalKeySource : public GlobalKeySource {
    Q_OBJECT
public:
    // Any D-Bus call without a reply by then counts as unanswered.
    static constexpr int kCallTimeoutMs = 5000;
    // Creating the session takes no user; binding may wait on a dialog the desktop shows.
    static constexpr int kSessionAnswerMs = 10000;
    static constexpr int kBindAnswerMs = 120000;

    static QString raiseShortcutId() { return QStringLiteral("raise-window"); }
    static QString pauseShortcutId() { return QStringLiteral("toggle-pause"); }

    // Empty makeTimer means the event loop's timers (they bound the waits for answers).
    explicit PortalKeySource(const QDBusConnection& bus,
                             const timing::OneShotTimerFactory& makeTimer = {},
                             int callTimeoutMs = kCallTimeoutMs, QObject* parent = nullptr);
    ~PortalKeySource() override;

    void setListening(bool on) override;
    QString unavailableReason() const override { return reason_; }

    PortalShortcuts state() const { return state_; }
    // The session's object path while one exists.
    QString sessionHandle() const { return sessionHandle_; }

Q_SIGNALS:
    // The shortcuts are bound: from now on the portal reports them.
    void bound();

private Q_SLOTS:
    void onResponse(const QDBusMessage& message);
    void onActivated(const QDBusMessage& message);
    void onDeactivated(const QDBusMessage& message);
    void onSessionClosed(const QDBusMessage& message);

private:
    enum class Step { None, CreateSession, BindShortcuts };

    void start();
    void askVersion();
    void watchPortalOwner();
    void createSession();
    void bindShortcuts();
    void watchRequest(const QString& requestPath);
    void unwatchRequest();
    void sendRequest(const QDBusMessage& call, Step step, const QString& expectedPath,
                     int answerMs);
    void sessionCreated(const QVariantMap& results);
    void watchSession();
    void closeSession();
    bool isOurs(const QDBusMessage& message) const;
    void keySignal(const QDBusMessage& message, bool down);
    void fail(const QString& why);
    QString requestPathFor(const QString& token) const;
    QString nextToken();

    QDBusConnection bus_;
    int callTimeoutMs_;
    std::unique_ptr<timing::OneShotTimer> answerTimer_;
    PortalShortcuts state_ = PortalShortcuts::NotAsked;
    bool listening_ = false;
    QString reason_;
    // The unique name of the connection that owns the portal's name when it answered.
    QString portalOwner_;
    QDBusServiceWatcher* ownerWatch_ = nullptr;
    Step awaiting_ = Step::None;
    QString requestPath_;
    QString sessionHandle_;
    // Tells answers to calls of an earlier attempt apart from those of the current one.
    quint64 attempt_ = 0;
    quint64 tokens_ = 0;
};

} // namespace desktop
