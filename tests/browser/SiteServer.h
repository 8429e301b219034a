#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>

// A small web site on 127.0.0.1 for the engine tests: fixed pages by path, a 404 page for
// everything else, and a record of every request line as it arrived, byte for byte. Used as a
// proxy, it answers every host with the same pages.
class SiteServer : public QObject {
    Q_OBJECT
public:
    explicit SiteServer(QObject* parent = nullptr);

    bool start();
    QByteArray base() const; // "http://127.0.0.1:PORT"
    quint16 port() const { return server_.serverPort(); }

    // The page served for a path (the request target up to '?').
    void addPage(const QByteArray& path, const QByteArray& html);
    // The path answers "302 Found" sending the browser on to location.
    void addRedirect(const QByteArray& path, const QByteArray& location);

    // The request targets seen so far ("/path?query"), favicon requests left out.
    QList<QByteArray> targets() const;

private:
    void onConnection();
    void serve(class QTcpSocket* socket);

    QTcpServer server_;
    QHash<QByteArray, QByteArray> pages_;
    QHash<QByteArray, QByteArray> redirects_;
    QList<QByteArray> requestLines_;
};
