#pragma once

#include <QByteArray>
#include <QNetworkProxy>
#include <QObject>
#include <QString>
#include <QUrl>

class QAbstractSocket;

namespace tools {

// One HTTP request whose answer is read only up to the end of its headers: the status and the
// redirect target are all a check needs, so the body is never read, and headers longer than
// kMaxHeaderBytes end the request as a failure. Whatever a server sends, the probe holds no
// more than that.
class StatusProbe : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxHeaderBytes = 64 * 1024;

    // An http proxy is asked with the full address for http, and through a tunnel for https.
    StatusProbe(QByteArray method, QUrl url, const QNetworkProxy& proxy, QObject* parent = nullptr);

    void start();

Q_SIGNALS:
    // location is the raw Location header, empty when there is none.
    void answered(int status, const QByteArray& location);
    void failed(const QString& reason);

private:
    QByteArray requestHead() const;
    void readHeaders();
    void fail(const QString& reason);

    QByteArray method_;
    QUrl url_;
    QNetworkProxy proxy_;
    QAbstractSocket* socket_ = nullptr;
    QByteArray received_;
    bool over_ = false;
};

} // namespace tools
