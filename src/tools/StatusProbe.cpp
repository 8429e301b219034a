#include "tools/StatusProbe.h"

#include <QSslSocket>
#include <QTcpSocket>
#include <utility>

namespace tools {

namespace {

bool isHttpProxy(const QNetworkProxy& proxy) {
    return proxy.type() == QNetworkProxy::HttpProxy;
}

// The status of a status line ("HTTP/1.1 200 OK"), 0 when it is none.
int statusOf(const QByteArray& line) {
    if (!line.startsWith("HTTP/"))
        return 0;
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() < 2 || parts[1].size() != 3)
        return 0;
    bool ok = false;
    const int status = parts[1].toInt(&ok);
    return ok && status >= 100 ? status : 0;
}

} // namespace

StatusProbe::StatusProbe(QByteArray method, QUrl url, const QNetworkProxy& proxy, QObject* parent)
    : QObject(parent), method_(std::move(method)), url_(std::move(url)), proxy_(proxy) {}

void StatusProbe::start() {
    const bool secure = url_.scheme() == u"https";
    if (!secure && url_.scheme() != u"http") {
        fail(QStringLiteral("%1: is no web address").arg(url_.scheme()));
        return;
    }
    const quint16 port = url_.port(secure ? 443 : 80);
    if (secure) {
        auto* socket = new QSslSocket(this);
        socket_ = socket;
        // An http proxy carries the encrypted connection as a tunnel (CONNECT).
        socket->setProxy(isHttpProxy(proxy_) ? proxy_ : QNetworkProxy(QNetworkProxy::NoProxy));
        connect(socket, &QSslSocket::encrypted, this, [this] { socket_->write(requestHead()); });
        socket->connectToHostEncrypted(url_.host(), port);
    } else {
        socket_ = new QTcpSocket(this);
        socket_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
        connect(socket_, &QAbstractSocket::connected, this,
                [this] { socket_->write(requestHead()); });
        if (isHttpProxy(proxy_))
            socket_->connectToHost(proxy_.hostName(), proxy_.port());
        else
            socket_->connectToHost(url_.host(), port);
    }
    // The socket itself buffers no more than a reply's headers may take.
    socket_->setReadBufferSize(kMaxHeaderBytes);
    connect(socket_, &QAbstractSocket::readyRead, this, &StatusProbe::readHeaders);
    connect(socket_, &QAbstractSocket::errorOccurred, this, [this] {
        readHeaders();
        if (socket_->error() == QAbstractSocket::RemoteHostClosedError)
            fail(QStringLiteral("connection closed without an answer"));
        else
            fail(socket_->errorString());
    });
}

QByteArray StatusProbe::requestHead() const {
    const bool throughProxy = isHttpProxy(proxy_) && url_.scheme() == u"http";
    QByteArray target =
        throughProxy
            ? url_.toEncoded(QUrl::RemoveUserInfo | QUrl::RemoveFragment)
            : url_.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (target.isEmpty())
        target = "/";
    QByteArray head = method_ + ' ' + target + " HTTP/1.1\r\nHost: " +
                      url_.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1() +
                      "\r\nUser-Agent: Mozilla/5.0 (X11; Linux x86_64) lexorra2-url --check"
                      "\r\nAccept: */*\r\nConnection: close\r\n";
    if (throughProxy && !proxy_.user().isEmpty())
        head += "Proxy-Authorization: Basic " +
                (proxy_.user() + u':' + proxy_.password()).toUtf8().toBase64() + "\r\n";
    return head + "\r\n";
}

void StatusProbe::readHeaders() {
    if (over_)
        return;
    received_ += socket_->read(kMaxHeaderBytes + 4 - received_.size());
    for (;;) {
        const qsizetype end = received_.indexOf("\r\n\r\n");
        if (end < 0) {
            if (received_.size() > kMaxHeaderBytes)
                fail(QStringLiteral("headers longer than %1 KiB").arg(kMaxHeaderBytes / 1024));
            return;
        }
        const QList<QByteArray> lines = received_.left(end).split('\n');
        const int status = statusOf(lines.first().trimmed());
        if (status == 0) {
            fail(QStringLiteral("no HTTP answer"));
            return;
        }
        // An interim answer ("100 Continue") comes before the real one.
        if (status < 200) {
            received_.remove(0, end + 4);
            continue;
        }
        QByteArray location;
        for (const QByteArray& line : lines.mid(1)) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().toLower() == "location")
                location = line.mid(colon + 1).trimmed();
        }
        over_ = true;
        socket_->disconnect(this);
        socket_->abort();
        Q_EMIT answered(status, location);
        return;
    }
}

void StatusProbe::fail(const QString& reason) {
    if (over_)
        return;
    over_ = true;
    socket_->disconnect(this);
    socket_->abort();
    Q_EMIT failed(reason);
}

} // namespace tools
