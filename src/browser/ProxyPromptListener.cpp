#include "browser/ProxyPromptListener.h"

#include "timing/QtOneShotTimer.h"

#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

namespace browser {

namespace {

QByteArray freshToken() {
    quint64 words[2];
    QRandomGenerator::system()->fillRange(words);
    return (QByteArray::number(words[0], 16) + QByteArray::number(words[1], 16));
}

} // namespace

ProxyPromptListener::ProxyPromptListener(const timing::OneShotTimerFactory& makeTimer,
                                         QObject* parent)
    : QObject(parent), server_(new QTcpServer(this)),
      makeTimer_(makeTimer ? makeTimer
                           : timing::OneShotTimerFactory(&timing::QtOneShotTimer::make)) {
    connect(server_, &QTcpServer::newConnection, this, &ProxyPromptListener::accept);
}

QUrl ProxyPromptListener::open() {
    if (!server_->isListening() && !server_->listen(QHostAddress::LocalHost, 0))
        return {};
    const QByteArray path = "/proxy-changed/" + freshToken();
    expectedRequestLine_ = "GET " + path + " HTTP/1.1";
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2")
                    .arg(server_->serverPort())
                    .arg(QString::fromLatin1(path)));
}

void ProxyPromptListener::close() {
    server_->close();
}

bool ProxyPromptListener::isListening() const {
    return server_->isListening();
}

quint16 ProxyPromptListener::port() const {
    return server_->serverPort();
}

void ProxyPromptListener::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        if (openConnections_ >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        take(socket);
    }
}

void ProxyPromptListener::take(QTcpSocket* socket) {
    ++openConnections_;
    connect(socket, &QObject::destroyed, this, [this] { --openConnections_; });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->setReadBufferSize(kMaxRequestBytes);

    struct Connection {
        QByteArray received;
        std::unique_ptr<timing::OneShotTimer> limit;
        bool answered = false;
    };
    auto connection = std::make_shared<Connection>();
    connection->limit = makeTimer_(false);
    connection->limit->setHandler([socket] {
        socket->abort();
        socket->deleteLater();
    });
    connection->limit->start(kConnectionTimeoutMs);
    // The connection state lives as long as this handler, that is as long as the socket.
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, connection] {
        if (connection->answered)
            return;
        connection->received += socket->read(kMaxRequestBytes + 1 - connection->received.size());
        const qsizetype end = connection->received.indexOf("\r\n\r\n");
        if (end < 0) {
            if (connection->received.size() > kMaxRequestBytes) {
                socket->abort();
                socket->deleteLater();
            }
            return;
        }
        const QByteArray requestLine =
            connection->received.left(connection->received.indexOf("\r\n"));
        if (expectedRequestLine_.isEmpty() || requestLine != expectedRequestLine_) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        // "No content": the page stays blank and keeps no history.
        connection->answered = true;
        socket->write("HTTP/1.1 204 No Content\r\nContent-Length: 0\r\n"
                      "Cache-Control: no-store\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
    });
}

} // namespace browser
