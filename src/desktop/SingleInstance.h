#pragma once

#include "desktop/InstanceRequest.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <optional>

class QLocalServer;

namespace desktop {

// Keeps the program to one running instance per user session. The first instance holds a
// lock file in a folder private to the user and listens on a local socket beside it; a later
// start finds the lock taken, asks the running instance through the socket to come forward
// and ends. A lock whose owner has died (a crash) is taken over, not obeyed.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        // This is the only instance; it now answers later starts.
        Claimed,
        // Another instance runs and was asked to come forward.
        OtherAsked,
        // Another instance holds the lock but did not answer in time.
        OtherNotAnswering,
        // The lock could not be made (no permission), or the folder is not private to the
        // user (another owner, open to others), so neither lock nor socket is trusted; the
        // program may run, unguarded.
        Unavailable,
    };

    // folder holds the lock file and the socket, both named after name.
    SingleInstance(const QString& folder, const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The user's runtime folder ($XDG_RUNTIME_DIR), else lexorra2-<uid> below the temporary
    // folder, made with mode 0700 if missing. claim() checks that it is private.
    static QString sessionFolder();

    // The activation token this start was given (its XDG_ACTIVATION_TOKEN): claim() hands it
    // to the running instance with the request to come forward.
    void setActivationToken(const QByteArray& token) { activationToken_ = token; }

    // How long a later start waits for the running instance to answer.
    void setAnswerTimeout(std::chrono::milliseconds timeout) { answerTimeout_ = timeout; }

    // Takes the lock, or asks its holder to come forward. Waits for the holder's answer in
    // a local event loop, so that objects of this thread go on serving meanwhile.
    Claim claim();

    // claim() for the program's start: nothing when this process is to run on, else the
    // exit status it ends with. Problems are told on the standard error.
    std::optional<int> claimForStart();

    // How a command sent to the running instance fared.
    enum class Delivery {
        Delivered,
        // No instance runs (no lock, or its holder has ended).
        NoInstance,
        // An instance holds the lock but did not answer in time.
        NotAnswering,
        // The running instance did not understand the request (another version).
        Refused,
        // The folder is not private to the user: nothing is sent through it.
        Unavailable,
    };
    // Sends request to the running instance without ever becoming the instance itself, and
    // waits (in a local event loop) for its answer. errorString() tells why it failed.
    Delivery send(const InstanceRequest& request);

    // Why the last claim() or send() was OtherNotAnswering or Unavailable, in one sentence.
    QString errorString() const { return error_; }
    QString lockFilePath() const { return lockPath_; }
    QString socketPath() const { return socketPath_; }

Q_SIGNALS:
    // A later start or a command asked this (first) instance to bring its window forward;
    // activationToken is the one the asking process was given, or empty.
    void comeForwardAsked(const QString& activationToken);
    // A command asked to pause or resume the clipboard watcher.
    void togglePauseAsked();
    // A command asked to look text up.
    void lookUpAsked(const QString& text);

private:
    bool listen();
    Delivery askRunningInstance(const InstanceRequest& request, bool lockKnownHeld);
    bool lockHolderRuns(qint64* holder) const;
    void carryOut(const InstanceRequest& request);
    void answerConnections();

    QString folder_;
    QString lockPath_;
    QString socketPath_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
    std::chrono::milliseconds answerTimeout_{5000};
    QByteArray activationToken_;
    QString error_;
};

} // namespace desktop
