// A stand-in for the desktop's portal (org.freedesktop.portal.Desktop) with only its
// GlobalShortcuts interface, for tests on a private session bus.
//
// fake_portal [--refuse] [--no-response] [--no-reply] [--no-interface] [--version N]
//   --refuse        BindShortcuts is answered with response 2 (refused)
//   --no-response   CreateSession returns its request but the request never answers
//   --no-reply      CreateSession is never replied to at all
//   --no-interface  the object has no GlobalShortcuts interface
//   --version N     the interface's version (1 by default)
// It prints "ready" once it owns the name; "create SESSION", "bind SESSION id=trigger,..."
// and "closed SESSION" as clients call it. Lines on stdin make it emit signals for the last
// session bound: "activate ID", "deactivate ID", "press ID" (the two at once),
// "activate-other ID" (for another session),
// "close-session" (the session's Closed); "quit" ends it.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

void say(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

struct Behaviour {
    bool refuse = false;
    bool noResponse = false;
    bool noReply = false;
    bool noInterface = false;
    uint version = 1;
};

class FakePortal : public QDBusVirtualObject {
public:
    explicit FakePortal(const Behaviour& behaviour) : behaviour_(behaviour) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString interface = message.interface();
        const QString member = message.member();
        if (interface == QLatin1String("org.freedesktop.DBus.Properties") &&
            member == QLatin1String("Get"))
            return getProperty(message, connection);
        if (interface == kSessionInterface && member == QLatin1String("Close")) {
            say(QStringLiteral("closed %1").arg(message.path()));
            connection.send(message.createReply());
            return true;
        }
        if (interface != kInterface || behaviour_.noInterface || message.path() != kPath) {
            connection.send(message.createErrorReply(QDBusError::UnknownMethod,
                                                     QStringLiteral("no such method")));
            return true;
        }
        if (member == QLatin1String("CreateSession"))
            return createSession(message, connection);
        if (member == QLatin1String("BindShortcuts"))
            return bindShortcuts(message, connection);
        connection.send(
            message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("not faked")));
        return true;
    }

    void command(const QString& line, const QDBusConnection& connection) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            return;
        const QString verb = words.first();
        const QString id = words.value(1);
        const auto keySignal = [&](const QString& member, const QString& session) {
            QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, member);
            signal << QVariant::fromValue(QDBusObjectPath(session)) << id
                   << QVariant::fromValue(qulonglong(++timestamp_)) << QVariantMap();
            connection.send(signal);
        };
        if (verb == QLatin1String("activate")) {
            keySignal(QStringLiteral("Activated"), session_);
        } else if (verb == QLatin1String("deactivate")) {
            keySignal(QStringLiteral("Deactivated"), session_);
        } else if (verb == QLatin1String("activate-other")) {
            keySignal(QStringLiteral("Activated"),
                      kPath + QStringLiteral("/session/other/elsewhere"));
        } else if (verb == QLatin1String("press")) {
            // Both at once: sent one by one, a slow test would hold the key for a repeat.
            keySignal(QStringLiteral("Activated"), session_);
            keySignal(QStringLiteral("Deactivated"), session_);
        } else if (verb == QLatin1String("close-session")) {
            QDBusMessage signal =
                QDBusMessage::createSignal(session_, kSessionInterface, QStringLiteral("Closed"));
            signal << QVariantMap();
            connection.send(signal);
        } else if (verb == QLatin1String("quit")) {
            QCoreApplication::quit();
        }
        say(QStringLiteral("sent %1").arg(line));
    }

private:
    bool getProperty(const QDBusMessage& message, const QDBusConnection& connection) {
        const QList<QVariant> arguments = message.arguments();
        if (behaviour_.noInterface || arguments.value(0).toString() != kInterface ||
            arguments.value(1).toString() != QLatin1String("version")) {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs,
                                                     QStringLiteral("no such property")));
            return true;
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(behaviour_.version))));
        return true;
    }

    static QString senderPart(const QDBusMessage& message) {
        QString sender = message.service();
        sender.remove(0, 1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        return sender;
    }

    QString requestPath(const QDBusMessage& message, const QVariantMap& options) {
        return QStringLiteral("%1/request/%2/%3")
            .arg(kPath, senderPart(message),
                 options.value(QStringLiteral("handle_token")).toString());
    }

    void respond(const QDBusMessage& call, const QString& request, uint code,
                 const QVariantMap& results, const QDBusConnection& connection) {
        QDBusMessage signal = QDBusMessage::createTargetedSignal(
            call.service(), request, QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Response"));
        signal << code << results;
        connection.send(signal);
    }

    bool createSession(const QDBusMessage& message, const QDBusConnection& connection) {
        const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().value(0));
        const QString request = requestPath(message, options);
        const QString session =
            QStringLiteral("%1/session/%2/%3")
                .arg(kPath, senderPart(message),
                     options.value(QStringLiteral("session_handle_token")).toString());
        say(QStringLiteral("create %1").arg(session));
        if (behaviour_.noReply) {
            message.setDelayedReply(true);
            return true;
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (!behaviour_.noResponse) {
            QVariantMap results;
            results.insert(QStringLiteral("session_handle"), session);
            respond(message, request, 0, results, connection);
        }
        return true;
    }

    bool bindShortcuts(const QDBusMessage& message, const QDBusConnection& connection) {
        const QList<QVariant> arguments = message.arguments();
        const QString session = arguments.value(0).value<QDBusObjectPath>().path();
        QStringList bound;
        const QDBusArgument shortcuts = arguments.value(1).value<QDBusArgument>();
        shortcuts.beginArray();
        while (!shortcuts.atEnd()) {
            QString id;
            QVariantMap properties;
            shortcuts.beginStructure();
            shortcuts >> id >> properties;
            shortcuts.endStructure();
            bound << QStringLiteral("%1=%2").arg(
                id, properties.value(QStringLiteral("preferred_trigger")).toString());
        }
        shortcuts.endArray();
        const QVariantMap options = qdbus_cast<QVariantMap>(arguments.value(3));
        const QString request = requestPath(message, options);
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (behaviour_.refuse) {
            respond(message, request, 2, {}, connection);
            say(QStringLiteral("refused %1").arg(session));
            return true;
        }
        session_ = session;
        respond(message, request, 0, {}, connection);
        say(QStringLiteral("bind %1 %2").arg(session, bound.join(QLatin1Char(','))));
        return true;
    }

    Behaviour behaviour_;
    QString session_;
    qulonglong timestamp_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Behaviour behaviour;
    const QStringList arguments = app.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--refuse"))
            behaviour.refuse = true;
        else if (argument == QLatin1String("--no-response"))
            behaviour.noResponse = true;
        else if (argument == QLatin1String("--no-reply"))
            behaviour.noReply = true;
        else if (argument == QLatin1String("--no-interface"))
            behaviour.noInterface = true;
        else if (argument == QLatin1String("--version") && i + 1 < arguments.size())
            behaviour.version = arguments.at(++i).toUInt();
        else {
            std::fprintf(stderr, "fake_portal: unknown argument %s\n", qPrintable(argument));
            return 2;
        }
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakePortal portal(behaviour);
    if (!bus.registerVirtualObject(kPath, &portal, QDBusConnection::SubPath) ||
        !bus.registerService(kService)) {
        std::fprintf(stderr, "fake_portal: cannot own %s: %s\n", qPrintable(kService),
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            QCoreApplication::quit(); // the test has gone
            return;
        }
        pending.append(buffer, got);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            portal.command(line, bus);
        }
    });
    say(QStringLiteral("ready"));
    return app.exec();
}
