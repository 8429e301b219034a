#pragma once

#include "timing/OneShotTimer.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

namespace browser {

// The listener on 127.0.0.1 that the engine's request after a proxy change reaches. Each
// opening gives a fresh address that is hard to guess; only a request for exactly that address
// gets an answer ("No content"). Every other connection is dropped, unanswered: one that asks
// for anything else, sends more than kMaxRequestBytes without ending its headers, or has not
// ended them within kConnectionTimeoutMs. At most kMaxConnections are open at once.
class ProxyPromptListener : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxRequestBytes = 16 * 1024;
    static constexpr int kConnectionTimeoutMs = 10000;
    static constexpr int kMaxConnections = 8;

    explicit ProxyPromptListener(const timing::OneShotTimerFactory& makeTimer = {},
                                 QObject* parent = nullptr);

    // Listens for one more request; the address the engine is to load, empty when no port
    // could be had.
    QUrl open();
    // No new connections; those under way still end by their limits.
    void close();
    bool isListening() const;
    quint16 port() const;

private:
    void accept();
    void take(QTcpSocket* socket);

    QTcpServer* server_;
    timing::OneShotTimerFactory makeTimer_;
    QByteArray expectedRequestLine_;
    int openConnections_ = 0;
};

} // namespace browser
