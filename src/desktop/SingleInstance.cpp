#include "desktop/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

namespace desktop {

namespace {

// One line each way: the later start asks, the running instance confirms once it has
// passed the request on.
constexpr char kComeForward[] = "come-forward\n";
constexpr char kDone[] = "done\n";

// A running instance may still be starting and not listen yet; a later start tries again
// at this pace until its timeout.
constexpr int kRetryMs = 50;

} // namespace

SingleInstance::SingleInstance(const QString& folder, const QString& name, QObject* parent)
    : QObject(parent), lockPath_(QDir(folder).filePath(name + QStringLiteral(".lock"))),
      socketPath_(QDir(folder).filePath(name + QStringLiteral(".socket"))), lock_(lockPath_) {
    // The first instance holds the lock for as long as it runs, days on end: age alone never
    // makes the lock stale, only an owner that no longer runs.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

QString SingleInstance::sessionFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

SingleInstance::Claim SingleInstance::claim() {
    error_.clear();
    if (lock_.isLocked())
        return Claim::Claimed;
    if (lock_.tryLock(0)) {
        if (!listen())
            return Claim::Unavailable;
        return Claim::Claimed;
    }
    if (lock_.error() != QLockFile::LockFailedError) {
        error_ = QStringLiteral("Cannot create the lock file %1.").arg(lockPath_);
        return Claim::Unavailable;
    }
    return askRunningInstance() ? Claim::OtherAsked : Claim::OtherNotAnswering;
}

std::optional<int> SingleInstance::claimForStart() {
    switch (claim()) {
    case Claim::Claimed:
        return std::nullopt;
    case Claim::OtherAsked:
        return 0;
    case Claim::OtherNotAnswering:
        std::fprintf(stderr, "lexorra2: %s\n", qUtf8Printable(error_));
        return 1;
    case Claim::Unavailable:
        std::fprintf(stderr, "lexorra2: %s Starting without a guard against a second start.\n",
                     qUtf8Printable(error_));
        return std::nullopt;
    }
    return std::nullopt;
}

bool SingleInstance::listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock means that no other instance listens: a socket file left here is a
    // crashed instance's, and would keep the server from listening.
    QLocalServer::removeServer(socketPath_);
    if (!server_->listen(socketPath_)) {
        error_ = QStringLiteral("Cannot listen on %1: %2").arg(socketPath_, server_->errorString());
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::answerConnections);
    return true;
}

void SingleInstance::answerConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const bool comeForward = socket->readLine(64) == kComeForward;
            // Answered before the window is raised: raising runs the event loop, during
            // which the socket may go away.
            socket->write(kDone);
            socket->disconnectFromServer();
            if (comeForward)
                Q_EMIT comeForwardAsked();
        });
        // A client that connects and says nothing is not waited for past the timeout.
        QTimer::singleShot(answerTimeout_, socket, [socket] { socket->abort(); });
    }
}

bool SingleInstance::askRunningInstance() {
    qint64 holder = 0;
    QString host, application;
    lock_.getLockInfo(&holder, &host, &application);

    QLocalSocket socket;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QTimer retry;
    retry.setSingleShot(true);
    bool answered = false;

    connect(&socket, &QLocalSocket::connected, &loop, [&socket] { socket.write(kComeForward); });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (!socket.canReadLine())
            return;
        answered = socket.readLine(64) == kDone;
        loop.quit();
    });
    connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] {
        // Not listening yet (still starting), or gone: try again until the deadline.
        if (socket.state() == QLocalSocket::UnconnectedState && !answered)
            retry.start(kRetryMs);
    });
    connect(&retry, &QTimer::timeout, &loop, [&] {
        socket.abort();
        socket.connectToServer(socketPath_);
    });
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);

    deadline.start(answerTimeout_);
    socket.connectToServer(socketPath_);
    if (!answered)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    socket.abort();
    if (!answered) {
        error_ = QStringLiteral("Another instance (process %1) holds %2 but does not answer.")
                     .arg(holder)
                     .arg(lockPath_);
    }
    return answered;
}

} // namespace desktop
