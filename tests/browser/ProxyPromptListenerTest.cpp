// The loopback listener a proxy change prompts the engine through, reached by raw clients: only
// the request it gave out gets an answer, anything else is dropped within its bounds.
#include "browser/ProxyPromptListener.h"

#include "support/ManualTimers.h"

#include <QTcpSocket>
#include <QTest>
#include <memory>

using browser::ProxyPromptListener;

namespace {

constexpr int kWait = 20000; // ms; only a fault takes this long

// A client that records what comes back until the listener closes the connection.
class Client {
public:
    explicit Client(quint16 port) {
        QObject::connect(&socket_, &QTcpSocket::readyRead,
                         [this] { received_ += socket_.readAll(); });
        socket_.connectToHost(QHostAddress::LocalHost, port);
    }
    bool connected() { return socket_.waitForConnected(kWait); }
    void send(const QByteArray& bytes) { socket_.write(bytes); }
    bool dropped() {
        return QTest::qWaitFor(
            [this] { return socket_.state() == QAbstractSocket::UnconnectedState; }, kWait);
    }
    bool isOpen() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    const QByteArray& received() const { return received_; }

private:
    QTcpSocket socket_;
    QByteArray received_;
};

QByteArray request(const QByteArray& line, quint16 port) {
    return line + "\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
           "\r\nUser-Agent: Mozilla/5.0\r\nAccept: */*\r\n\r\n";
}

} // namespace

class ProxyPromptListenerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyTheRequestGivenOutIsAnswered_data() {
        QTest::addColumn<QByteArray>("sent"); // PATH: the address given out, OLD: the one before
        QTest::addColumn<bool>("answered");

        QTest::newRow("the prompt") << QByteArray("GET PATH HTTP/1.1") << true;
        QTest::newRow("another path") << QByteArray("GET /proxy-changed/0 HTTP/1.1") << false;
        QTest::newRow("the prompt with more after it") << QByteArray("GET PATHx HTTP/1.1") << false;
        QTest::newRow("the address of an earlier change")
            << QByteArray("GET OLD HTTP/1.1") << false;
        QTest::newRow("another method") << QByteArray("POST PATH HTTP/1.1") << false;
        QTest::newRow("the root") << QByteArray("GET / HTTP/1.1") << false;
        QTest::newRow("no HTTP at all") << QByteArray("\x16\x03\x01\x02junk") << false;
    }

    void onlyTheRequestGivenOutIsAnswered() {
        QFETCH(QByteArray, sent);
        QFETCH(bool, answered);
        ProxyPromptListener listener;
        const QByteArray old = listener.open().path().toLatin1();
        const QUrl prompt = listener.open();
        QVERIFY(!prompt.isEmpty());
        QVERIFY(prompt.path() != QString::fromLatin1(old));
        sent.replace("PATH", prompt.path().toLatin1()).replace("OLD", old);

        Client client(listener.port());
        QVERIFY(client.connected());
        client.send(request(sent, listener.port()));
        QVERIFY(client.dropped());
        QCOMPARE(client.received().startsWith("HTTP/1.1 204 No Content\r\n"), answered);
        if (!answered)
            QCOMPARE(client.received(), QByteArray());
    }

    // Bytes that never end a request's headers are read only up to the limit.
    void endlessBytesAreDropped_data() {
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("no request line") << QByteArray();
        QTest::newRow("the prompt's line, then endless headers")
            << QByteArray("GET PATH HTTP/1.1\r\n");
    }

    void endlessBytesAreDropped() {
        QFETCH(QByteArray, start);
        ProxyPromptListener listener;
        const QUrl prompt = listener.open();
        start.replace("PATH", prompt.path().toLatin1());
        Client client(listener.port());
        QVERIFY(client.connected());
        client.send(start);
        // Four times the limit; the listener drops the connection long before this is sent.
        for (int i = 0; i < 4 * ProxyPromptListener::kMaxRequestBytes / 1000; ++i)
            client.send("X-Padding: " + QByteArray(987, 'x') + "\r\n");
        QVERIFY(client.dropped());
        QCOMPARE(client.received(), QByteArray());
    }

    void silentConnectionIsDroppedWhenItsTimeIsUp() {
        ManualTimers timers;
        ProxyPromptListener listener(timers.factory());
        const QUrl prompt = listener.open();
        Client client(listener.port());
        QVERIFY(client.connected());
        client.send("GET " + prompt.path().toLatin1() + " HTTP/1.1\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(timers.size(), 1, kWait);
        QVERIFY(timers.at(0).isActive());
        QCOMPARE(timers.at(0).milliseconds(), ProxyPromptListener::kConnectionTimeoutMs);
        QVERIFY(client.isOpen());
        timers.at(0).fire();
        QVERIFY(client.dropped());
        QCOMPARE(client.received(), QByteArray());
    }

    // Connections beyond the limit are dropped at once; those before it keep their time.
    void connectionsBeyondTheLimitAreDropped() {
        ManualTimers timers;
        ProxyPromptListener listener(timers.factory());
        listener.open();
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < ProxyPromptListener::kMaxConnections; ++i) {
            clients.push_back(std::make_unique<Client>(listener.port()));
            QVERIFY(clients.back()->connected());
        }
        QTRY_COMPARE_WITH_TIMEOUT(timers.size(), ProxyPromptListener::kMaxConnections, kWait);
        Client extra(listener.port());
        QVERIFY(extra.connected());
        QVERIFY(extra.dropped());
        for (const auto& client : clients)
            QVERIFY(client->isOpen());
        QCOMPARE(timers.size(), ProxyPromptListener::kMaxConnections);
    }

    void closedListenerTakesNoConnection() {
        ProxyPromptListener listener;
        listener.open();
        const quint16 port = listener.port();
        listener.close();
        QVERIFY(!listener.isListening());
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(!socket.waitForConnected(kWait));
    }
};

QTEST_GUILESS_MAIN(ProxyPromptListenerTest)
#include "ProxyPromptListenerTest.moc"
