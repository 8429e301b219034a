#include "SiteServer.h"

#include <QTcpSocket>

SiteServer::SiteServer(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &SiteServer::onConnection);
}

bool SiteServer::start() {
    return server_.listen(QHostAddress::LocalHost, 0);
}

QByteArray SiteServer::base() const {
    return "http://127.0.0.1:" + QByteArray::number(server_.serverPort());
}

void SiteServer::addPage(const QByteArray& path, const QByteArray& html) {
    pages_.insert(path, html);
}

QList<QByteArray> SiteServer::targets() const {
    QList<QByteArray> out;
    for (const QByteArray& line : requestLines_) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 2 && !parts.at(1).startsWith("/favicon"))
            out << parts.at(1);
    }
    return out;
}

void SiteServer::addRedirect(const QByteArray& path, const QByteArray& location) {
    redirects_.insert(path, location);
}

void SiteServer::onConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
    }
}

void SiteServer::serve(QTcpSocket* socket) {
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    socket->setProperty("request", QByteArray());
    const QByteArray line = request.left(request.indexOf("\r\n"));
    requestLines_ << line;

    const QList<QByteArray> parts = line.split(' ');
    QByteArray target = parts.size() >= 2 ? parts.at(1) : QByteArray();
    // Asked as a proxy ("GET http://host/path"): the same pages answer.
    if (target.startsWith("http://")) {
        const qsizetype slash = target.indexOf('/', 7);
        target = slash < 0 ? QByteArray("/") : target.mid(slash);
    }
    QByteArray path = target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
    QByteArray status = "200 OK";
    QByteArray body;
    if (redirects_.contains(path)) {
        socket->write("HTTP/1.1 302 Found\r\nLocation: " + redirects_.value(path) +
                      "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    if (pages_.contains(path)) {
        body = pages_.value(path);
    } else if (path.startsWith("/echo")) {
        body = "<html><head><title>echo</title></head><body>echo</body></html>";
    } else {
        status = "404 Not Found";
        body = "<html><head><title>Not found</title></head><body>Not found</body></html>";
    }
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\n" +
                  "Content-Length: " + QByteArray::number(body.size()) +
                  "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}
