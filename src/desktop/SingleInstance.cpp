#include "desktop/SingleInstance.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desktop {

namespace {

// One line each way: the later start or command asks (an InstanceRequest), the running
// instance confirms once it has passed the request on, or refuses a line it does not know.
constexpr char kDone[] = "done\n";
constexpr char kRefused[] = "refused\n";

// A running instance may still be starting and not listen yet; a later start tries again
// at this pace until its timeout.
constexpr int kRetryMs = 50;

// A request is one short line; anything longer than this without an end of line is not a
// later start of this program, and is not buffered.
constexpr qint64 kMaxRequestBytes = InstanceRequest::kMaxLineBytes;

// Why folder may not hold the lock and the socket, or nothing when it is a folder of this
// user's that no one else can enter: anyone who can create files there could listen on the
// socket first, or hold the lock, and silence every later start.
QString whyNotPrivate(const QString& folder) {
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return QStringLiteral("No private runtime folder (got \"%1\").").arg(folder);
    struct stat status {};
    if (lstat(QFile::encodeName(folder).constData(), &status) != 0) {
        return QStringLiteral("Cannot use the folder %1: %2.")
            .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("%1 is not a folder.").arg(folder);
    if (status.st_uid != geteuid()) {
        return QStringLiteral("The folder %1 belongs to user %2, not to this user.")
            .arg(folder)
            .arg(status.st_uid);
    }
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        return QStringLiteral("The folder %1 is open to other users (mode %2).")
            .arg(folder)
            .arg(status.st_mode & 07777, 4, 8, QLatin1Char('0'));
    }
    return {};
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, const QString& name, QObject* parent)
    : QObject(parent), folder_(QDir::cleanPath(folder)),
      lockPath_(QDir(folder).filePath(name + QStringLiteral(".lock"))),
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
    const QString runtime = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return QDir::cleanPath(runtime);
    // No session folder: one of this user's own below the temporary folder, made private. One
    // that already exists is checked by claim(), never repaired: someone else may have made it.
    const QString folder =
        QDir(QDir::tempPath()).filePath(QStringLiteral("lexorra2-%1").arg(geteuid()));
    mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

SingleInstance::Claim SingleInstance::claim() {
    error_.clear();
    if (lock_.isLocked())
        return Claim::Claimed;
    error_ = whyNotPrivate(folder_);
    if (!error_.isEmpty())
        return Claim::Unavailable;
    if (lock_.tryLock(0)) {
        if (!listen())
            return Claim::Unavailable;
        return Claim::Claimed;
    }
    if (lock_.error() != QLockFile::LockFailedError) {
        error_ = QStringLiteral("Cannot create the lock file %1.").arg(lockPath_);
        return Claim::Unavailable;
    }
    return askRunningInstance(InstanceRequest::comeForward(activationToken_), true) ==
                   Delivery::Delivered
               ? Claim::OtherAsked
               : Claim::OtherNotAnswering;
}

SingleInstance::Delivery SingleInstance::send(const InstanceRequest& request) {
    error_ = whyNotPrivate(folder_);
    if (!error_.isEmpty())
        return Delivery::Unavailable;
    // Never tryLock() here: holding the lock even for a moment would make a program starting
    // meanwhile ask this command to come forward, and fail.
    if (!lockHolderRuns(nullptr)) {
        error_ = QStringLiteral("Lexorra2 is not running.");
        return Delivery::NoInstance;
    }
    return askRunningInstance(request, false);
}

bool SingleInstance::lockHolderRuns(qint64* holder) const {
    qint64 pid = 0;
    QString host, application;
    if (!lock_.getLockInfo(&pid, &host, &application) || pid <= 0)
        return false;
    if (holder)
        *holder = pid;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
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
        socket->setReadBufferSize(kMaxRequestBytes);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() >= kMaxRequestBytes)
                    socket->abort();
                return;
            }
            const std::optional<InstanceRequest> request =
                InstanceRequest::decode(socket->readLine(kMaxRequestBytes + 1));
            // Answered before the request is carried out: raising runs the event loop, during
            // which the socket may go away.
            socket->write(request ? kDone : kRefused);
            socket->disconnectFromServer();
            if (request)
                carryOut(*request);
        });
        // A client that connects and says nothing is not waited for past the timeout.
        QTimer::singleShot(answerTimeout_, socket, [socket] { socket->abort(); });
    }
}

void SingleInstance::carryOut(const InstanceRequest& request) {
    switch (request.kind) {
    case InstanceRequest::Kind::ComeForward:
        Q_EMIT comeForwardAsked(request.activationToken());
        break;
    case InstanceRequest::Kind::TogglePause:
        Q_EMIT togglePauseAsked();
        break;
    case InstanceRequest::Kind::LookUp:
        Q_EMIT lookUpAsked(request.text);
        break;
    }
}

SingleInstance::Delivery SingleInstance::askRunningInstance(const InstanceRequest& request,
                                                            bool lockKnownHeld) {
    qint64 holder = 0;
    QString host, application;
    lock_.getLockInfo(&holder, &host, &application);
    const QByteArray line = request.encoded();

    QLocalSocket socket;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QTimer retry;
    retry.setSingleShot(true);
    bool answered = false;
    bool refused = false;
    bool holderGone = false;

    connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(line); });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (!socket.canReadLine())
            return;
        const QByteArray answer = socket.readLine(64);
        answered = answer == kDone;
        refused = answer == kRefused;
        loop.quit();
    });
    connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] {
        if (socket.state() != QLocalSocket::UnconnectedState || answered)
            return;
        // An instance that ended meanwhile will not start listening.
        if (!lockKnownHeld && !lockHolderRuns(nullptr)) {
            holderGone = true;
            loop.quit();
            return;
        }
        // Not listening yet (still starting), or gone: try again until the deadline.
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
    if (answered)
        return Delivery::Delivered;
    if (holderGone) {
        error_ = QStringLiteral("Lexorra2 is not running.");
        return Delivery::NoInstance;
    }
    if (refused) {
        error_ = QStringLiteral("The running instance (process %1) does not know this request.")
                     .arg(holder);
        return Delivery::Refused;
    }
    error_ = QStringLiteral("Another instance (process %1) holds %2 but does not answer.")
                 .arg(holder)
                 .arg(lockPath_);
    return Delivery::NotAnswering;
}

} // namespace desktop
