#include "desktop/PortalKeySource.h"

#include "timing/QtOneShotTimer.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QPointer>

namespace desktop {

// One entry of BindShortcuts' a(sa{sv}): the shortcut's id and its properties.
struct PortalShortcutEntry {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcutEntry& entry) {
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcutEntry& entry) {
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

} // namespace desktop

Q_DECLARE_METATYPE(desktop::PortalShortcutEntry)

namespace desktop {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");
// Version 1 already has every call and signal used here.
constexpr uint kLowestVersion = 1;

QString describeError(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        return QStringLiteral("デスクトップのポータル（%1）がありません").arg(kService);
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return QStringLiteral("デスクトップのポータルが応答しません");
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownProperty:
    case QDBusError::InvalidArgs:
        return QStringLiteral("デスクトップのポータルにグローバルショートカット（%1）がありません")
            .arg(kInterface);
    default:
        return QStringLiteral("デスクトップのポータルの誤り: %1").arg(error.message());
    }
}

// An object path as the portal gives it in a vardict: documented as a string, sent by some
// as an object path.
QString pathValue(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

QString sessionPathOf(const QVariant& argument) {
    if (argument.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return argument.value<QDBusObjectPath>().path();
    return {};
}

} // namespace

PortalKeySource::PortalKeySource(const QDBusConnection& bus,
                                 const timing::OneShotTimerFactory& makeTimer, int callTimeoutMs,
                                 QObject* parent)
    : GlobalKeySource(parent), bus_(bus), callTimeoutMs_(callTimeoutMs) {
    qDBusRegisterMetaType<PortalShortcutEntry>();
    qDBusRegisterMetaType<QList<PortalShortcutEntry>>();
    // Waits for a person at most: no need to be exact.
    constexpr bool kPrecise = false;
    answerTimer_ = makeTimer ? makeTimer(kPrecise) : timing::QtOneShotTimer::make(kPrecise);
    answerTimer_->setHandler(
        [this] { fail(QStringLiteral("デスクトップのポータルが答えません")); });
}

PortalKeySource::~PortalKeySource() {
    closeSession();
}

void PortalKeySource::setListening(bool on) {
    if (on == listening_)
        return;
    listening_ = on;
    if (on) {
        if (state_ == PortalShortcuts::NotAsked)
            start();
        return;
    }
    if (state_ == PortalShortcuts::Asking || state_ == PortalShortcuts::Bound) {
        // The desktop holds the keys while the session lives: give them back.
        closeSession();
        state_ = PortalShortcuts::NotAsked;
    }
}

void PortalKeySource::start() {
    ++attempt_;
    state_ = PortalShortcuts::Asking;
    if (!bus_.isConnected()) {
        fail(QStringLiteral("セッションバスに接続できません"));
        return;
    }
    askVersion();
}

void PortalKeySource::askVersion() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kInterface << QStringLiteral("version");
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(get, callTimeoutMs_), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, attempt = attempt_](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (attempt != attempt_ || state_ != PortalShortcuts::Asking)
                    return;
                const QDBusMessage reply = call->reply();
                if (call->isError()) {
                    fail(describeError(call->error()));
                    return;
                }
                const QVariant value = reply.arguments().value(0).value<QDBusVariant>().variant();
                bool isNumber = false;
                const uint version = value.toUInt(&isNumber);
                if (!isNumber || version < kLowestVersion) {
                    fail(
                        QStringLiteral(
                            "デスクトップのポータルのグローバルショートカットが古すぎます（版 %1）")
                            .arg(value.toString()));
                    return;
                }
                // Signals count only from the connection that answered for the portal's name.
                portalOwner_ = reply.service();
                watchPortalOwner();
                createSession();
            });
}

// A portal that ends or is replaced takes the session and its shortcuts with it.
void PortalKeySource::watchPortalOwner() {
    if (ownerWatch_)
        return;
    ownerWatch_ =
        new QDBusServiceWatcher(kService, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(ownerWatch_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString&) {
                if (oldOwner == portalOwner_ && state_ != PortalShortcuts::NotAsked) {
                    sessionHandle_.clear(); // gone with the portal
                    fail(QStringLiteral("デスクトップのポータルが終了しました"));
                }
            });
}

QString PortalKeySource::nextToken() {
    return QStringLiteral("lexorra2_%1").arg(++tokens_);
}

// Where the portal puts the request object of a call with this handle_token; its Response is
// watched before the call goes out, so an answer sent at once is not missed.
QString PortalKeySource::requestPathFor(const QString& token) const {
    QString sender = bus_.baseService();
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("%1/request/%2/%3").arg(kPath, sender, token);
}

void PortalKeySource::createSession() {
    const QString token = nextToken();
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("session_handle_token"), nextToken());
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("CreateSession"));
    call << options;
    sendRequest(call, Step::CreateSession, requestPathFor(token), kSessionAnswerMs);
}

void PortalKeySource::bindShortcuts() {
    const auto shortcut = [](const QString& id, const QString& description,
                             const QString& trigger) {
        QVariantMap properties;
        properties.insert(QStringLiteral("description"), description);
        properties.insert(QStringLiteral("preferred_trigger"), trigger);
        return PortalShortcutEntry{id, properties};
    };
    const QList<PortalShortcutEntry> shortcuts{
        shortcut(raiseShortcutId(), QStringLiteral("Lexorra2を前面に出す"), QStringLiteral("F12")),
        shortcut(pauseShortcutId(), QStringLiteral("Lexorra2の休止・再開"), QStringLiteral("End")),
    };
    const QString token = nextToken();
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(sessionHandle_)) << QVariant::fromValue(shortcuts)
         << QString() << options;
    sendRequest(call, Step::BindShortcuts, requestPathFor(token), kBindAnswerMs);
}

void PortalKeySource::sendRequest(const QDBusMessage& call, Step step, const QString& expectedPath,
                                  int answerMs) {
    watchRequest(expectedPath);
    awaiting_ = step;
    answerTimer_->start(answerMs);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, callTimeoutMs_), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, attempt = attempt_, step](QDBusPendingCallWatcher* pending) {
                pending->deleteLater();
                if (attempt != attempt_ || awaiting_ != step)
                    return;
                if (pending->isError()) {
                    fail(describeError(pending->error()));
                    return;
                }
                const QString handle =
                    pending->reply().arguments().value(0).value<QDBusObjectPath>().path();
                // A portal older than handle tokens puts the request elsewhere.
                if (!handle.isEmpty() && handle != requestPath_)
                    watchRequest(handle);
            });
}

void PortalKeySource::watchRequest(const QString& requestPath) {
    unwatchRequest();
    requestPath_ = requestPath;
    bus_.connect(QString(), requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                 SLOT(onResponse(QDBusMessage)));
}

void PortalKeySource::unwatchRequest() {
    if (requestPath_.isEmpty())
        return;
    bus_.disconnect(QString(), requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                    SLOT(onResponse(QDBusMessage)));
    requestPath_.clear();
}

bool PortalKeySource::isOurs(const QDBusMessage& message) const {
    return !portalOwner_.isEmpty() && message.service() == portalOwner_;
}

void PortalKeySource::onResponse(const QDBusMessage& message) {
    if (!isOurs(message) || message.path() != requestPath_ || awaiting_ == Step::None)
        return;
    const QList<QVariant> arguments = message.arguments();
    const uint code = arguments.value(0).toUInt();
    const QVariantMap results = qdbus_cast<QVariantMap>(arguments.value(1));
    const Step step = std::exchange(awaiting_, Step::None);
    answerTimer_->stop();
    unwatchRequest();
    if (code != 0) {
        fail(code == 1 ? QStringLiteral("ショートカットの登録が取り消されました")
                       : QStringLiteral("デスクトップがショートカットの登録を断りました"));
        return;
    }
    if (step == Step::CreateSession) {
        sessionCreated(results);
        return;
    }
    state_ = PortalShortcuts::Bound;
    Q_EMIT bound();
}

void PortalKeySource::sessionCreated(const QVariantMap& results) {
    sessionHandle_ = pathValue(results.value(QStringLiteral("session_handle")));
    if (sessionHandle_.isEmpty() || !sessionHandle_.startsWith(kPath + QLatin1Char('/'))) {
        sessionHandle_.clear();
        fail(QStringLiteral("デスクトップのポータルがセッションを作りませんでした"));
        return;
    }
    watchSession();
    bindShortcuts();
}

void PortalKeySource::watchSession() {
    bus_.connect(QString(), kPath, kInterface, QStringLiteral("Activated"), this,
                 SLOT(onActivated(QDBusMessage)));
    bus_.connect(QString(), kPath, kInterface, QStringLiteral("Deactivated"), this,
                 SLOT(onDeactivated(QDBusMessage)));
    bus_.connect(QString(), sessionHandle_, kSessionInterface, QStringLiteral("Closed"), this,
                 SLOT(onSessionClosed(QDBusMessage)));
}

void PortalKeySource::closeSession() {
    ++attempt_;
    awaiting_ = Step::None;
    answerTimer_->stop();
    unwatchRequest();
    if (sessionHandle_.isEmpty())
        return;
    bus_.disconnect(QString(), kPath, kInterface, QStringLiteral("Activated"), this,
                    SLOT(onActivated(QDBusMessage)));
    bus_.disconnect(QString(), kPath, kInterface, QStringLiteral("Deactivated"), this,
                    SLOT(onDeactivated(QDBusMessage)));
    bus_.disconnect(QString(), sessionHandle_, kSessionInterface, QStringLiteral("Closed"), this,
                    SLOT(onSessionClosed(QDBusMessage)));
    if (bus_.isConnected()) {
        // No answer is awaited: the session goes either way, at the latest with the connection.
        bus_.send(QDBusMessage::createMethodCall(kService, sessionHandle_, kSessionInterface,
                                                 QStringLiteral("Close")));
    }
    sessionHandle_.clear();
}

void PortalKeySource::onActivated(const QDBusMessage& message) {
    keySignal(message, true);
}

void PortalKeySource::onDeactivated(const QDBusMessage& message) {
    keySignal(message, false);
}

void PortalKeySource::keySignal(const QDBusMessage& message, bool down) {
    if (!isOurs(message) || message.path() != kPath || state_ != PortalShortcuts::Bound ||
        !listening_)
        return;
    const QList<QVariant> arguments = message.arguments();
    if (sessionPathOf(arguments.value(0)) != sessionHandle_)
        return;
    const QString id = arguments.value(1).toString();
    GlobalKey key;
    if (id == raiseShortcutId())
        key = GlobalKey::F12;
    else if (id == pauseShortcutId())
        key = GlobalKey::End;
    else
        return;
    if (down)
        Q_EMIT keyDown(key);
    else
        Q_EMIT keyUp(key);
}

void PortalKeySource::onSessionClosed(const QDBusMessage& message) {
    if (!isOurs(message) || message.path() != sessionHandle_)
        return;
    sessionHandle_.clear(); // closed already: nothing to close
    fail(QStringLiteral("デスクトップがショートカットのセッションを閉じました"));
}

void PortalKeySource::fail(const QString& why) {
    if (state_ == PortalShortcuts::Unavailable)
        return;
    closeSession();
    state_ = PortalShortcuts::Unavailable;
    reason_ = QStringLiteral("デスクトップのショートカット（ポータル）が使えません: %1").arg(why);
    Q_EMIT failed(reason_);
}

} // namespace desktop
