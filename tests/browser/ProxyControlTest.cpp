#include "SiteServer.h"
#include "browser/WebEngineBrowser.h"
#include "browser/WebEngineProxyControl.h"
#include "settings/ProxyAddress.h"
#include "support/EventLoop.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <memory>
#include <vector>

using browser::WebEngineBrowser;

namespace {

constexpr int kWait = 20000; // ms; every wait for the engine is bounded by this

// The site's host name; the engine's resolver sends it to 127.0.0.1 (see main), so a request
// that goes straight to it reaches the site server on its port, and one that goes through a
// proxy reaches the proxy with the host name in its request line.
constexpr char kSiteHost[] = "direct.test";

QByteArray page(const QByteArray& title) {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
           "</title></head><body>" + title + "</body></html>";
}

bool waitForLoad(WebEngineBrowser& tab) {
    QSignalSpy done(&tab, &WebEngineBrowser::loadFinished);
    return done.wait(kWait);
}

QString runScript(WebEngineBrowser& tab, const QString& script) {
    QString result;
    bool answered = false;
    tab.page()->runJavaScript(script, [&](const QVariant& value) {
        result = value.toString();
        answered = true;
    });
    if (!waitUntil([&] { return answered; }, kWait))
        return QStringLiteral("<no answer>");
    return result;
}

} // namespace

class ProxyControlTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void theVeryNextLoadTakesTheNewRoute_data();
    void theVeryNextLoadTakesTheNewRoute();
    void openTabsKeepTheirHistoryAndCookies();
    void strangersAtTheListenerAreDropped_data();
    void strangersAtTheListenerAreDropped();

private:
    // The route of a choice: "A" or "B" (through that server as proxy), "direct", a blank
    // address or one that is no host:port.
    QString apply(const QString& route);
    // Where the request for path went: "A", "B" (as proxies) or "direct"; "" if nowhere yet.
    QString wentTo(const QByteArray& path) const;
    QString url(const QByteArray& path) const {
        return QStringLiteral("http://%1:%2%3")
            .arg(QLatin1String(kSiteHost))
            .arg(site_.port())
            .arg(QString::fromLatin1(path));
    }

    SiteServer proxyA_;
    SiteServer site_; // the site itself, and the second proxy "B"
    browser::WebEngineProxyControl control_;
    int serial_ = 0;
};

void ProxyControlTest::initTestCase() {
    QVERIFY(proxyA_.start());
    QVERIFY(site_.start());
    // A favicon request after a load would make the engine read a changed setting on its own
    // and hide a fault of the control: there is none.
    QWebEngineProfile::defaultProfile()->settings()->setAttribute(
        QWebEngineSettings::AutoLoadIconsForPage, false);
    for (const char* path : {"/before", "/next", "/one", "/two", "/three"})
        site_.addPage(path, page(QByteArray(path).mid(1)));
    for (const char* path : {"/before", "/next", "/one", "/two", "/three"})
        proxyA_.addPage(path, page(QByteArray(path).mid(1)));
}

QString ProxyControlTest::apply(const QString& route) {
    if (route == QLatin1String("A"))
        return control_.apply(true, QStringLiteral("127.0.0.1:%1").arg(proxyA_.port()));
    if (route == QLatin1String("B"))
        return control_.apply(true, QStringLiteral("http://127.0.0.1:%1/").arg(site_.port()));
    if (route == QLatin1String("blank"))
        return control_.apply(true, QStringLiteral(" "));
    if (route == QLatin1String("bad"))
        return control_.apply(true, QStringLiteral("*.*.*.*:8080"));
    return control_.apply(false, QStringLiteral("127.0.0.1:%1").arg(proxyA_.port()));
}

QString ProxyControlTest::wentTo(const QByteArray& path) const {
    const QByteArray absolute = url(path).toLatin1();
    if (proxyA_.targets().contains(absolute))
        return QStringLiteral("A");
    if (site_.targets().contains(absolute))
        return QStringLiteral("B");
    if (site_.targets().contains(path))
        return QStringLiteral("direct");
    return {};
}

// The route in force, then another chosen, then at once a load in a tab that was open all
// along: that load already goes the new way.
void ProxyControlTest::theVeryNextLoadTakesTheNewRoute_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("refused");

    QTest::newRow("direct to proxy") << "direct"
                                     << "A"
                                     << "A" << false;
    QTest::newRow("proxy to another proxy") << "A"
                                            << "B"
                                            << "B" << false;
    QTest::newRow("proxy to direct") << "A"
                                     << "direct"
                                     << "direct" << false;
    QTest::newRow("proxy to a blank address, direct") << "B"
                                                      << "blank"
                                                      << "direct" << false;
    QTest::newRow("same proxy again") << "A"
                                      << "A"
                                      << "A" << false;
    QTest::newRow("back to the first proxy") << "B"
                                             << "A"
                                             << "A" << false;
    QTest::newRow("a bad address keeps the proxy") << "A"
                                                   << "bad"
                                                   << "A" << true;
    QTest::newRow("a bad address keeps direct") << "direct"
                                                << "bad"
                                                << "direct" << true;
}

void ProxyControlTest::theVeryNextLoadTakesTheNewRoute() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, expected);
    QFETCH(bool, refused);

    WebEngineBrowser shown(QWebEngineProfile::defaultProfile(), nullptr);
    WebEngineBrowser other(QWebEngineProfile::defaultProfile(), nullptr);
    QVERIFY(apply(before).isEmpty());
    const QByteArray first = "/before?" + QByteArray::number(++serial_);
    other.load(url(first));
    QVERIFY(waitForLoad(other));
    QCOMPARE(wentTo(first), before == QLatin1String("direct") ? QStringLiteral("direct") : before);
    shown.load(url("/before?" + QByteArray::number(++serial_)));
    QVERIFY(waitForLoad(shown));

    const QString error = apply(after);
    QCOMPARE(!error.isEmpty(), refused);
    const QByteArray next = "/next?" + QByteArray::number(++serial_);
    other.load(url(next));
    WAIT_VERIFY(!wentTo(next).isEmpty(), kWait);
    QCOMPARE(wentTo(next), expected);
    WAIT_COMPARE(other.title(), QStringLiteral("next"), kWait);
    // The engine was prompted without a word to either server.
    for (const SiteServer* server : {&proxyA_, &site_})
        for (const QByteArray& target : server->targets())
            QVERIFY2(!target.contains("proxy-changed"), target.constData());
}

// Unlike a fresh engine profile per change, the switch leaves open tabs as they were: their
// history goes back across it and their cookies still go with their requests.
void ProxyControlTest::openTabsKeepTheirHistoryAndCookies() {
    QVERIFY(apply(QStringLiteral("direct")).isEmpty());
    WebEngineBrowser tab(QWebEngineProfile::defaultProfile(), nullptr);
    tab.load(url("/one"));
    QVERIFY(waitForLoad(tab));
    QCOMPARE(runScript(tab, QStringLiteral("document.cookie = 'kept=yes; path=/'; "
                                           "document.cookie")),
             QStringLiteral("kept=yes"));
    tab.load(url("/two"));
    QVERIFY(waitForLoad(tab));

    QVERIFY(apply(QStringLiteral("A")).isEmpty());
    tab.load(url("/three"));
    QVERIFY(waitForLoad(tab));
    QCOMPARE(wentTo("/three"), QStringLiteral("A"));
    QCOMPARE(tab.title(), QStringLiteral("three"));
    QCOMPARE(runScript(tab, QStringLiteral("document.cookie")), QStringLiteral("kept=yes"));
    QCOMPARE(tab.page()->history()->count(), 3);

    tab.goBack();
    WAIT_COMPARE(tab.title(), QStringLiteral("two"), kWait);
    tab.goBack();
    WAIT_COMPARE(tab.title(), QStringLiteral("one"), kWait);
}

// While the control waits for the engine after a change, other clients reach its listener on
// the loopback interface: each is dropped unanswered, and the change goes through as always.
void ProxyControlTest::strangersAtTheListenerAreDropped_data() {
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("endless bytes") << QByteArrayList{QByteArray(64 * 1024, 'x')};
    QTest::newRow("endless headers")
        << QByteArrayList{"GET / HTTP/1.1\r\n", QByteArray(64 * 1024, 'h')};
    QTest::newRow("a guessed address") << QByteArrayList{"GET /proxy-changed-1 HTTP/1.1\r\n\r\n",
                                                         "GET /proxy-changed-2 HTTP/1.1\r\n\r\n",
                                                         "GET /proxy-changed-100 HTTP/1.1\r\n\r\n"};
    QTest::newRow("junk") << QByteArrayList{"\x16\x03\x01\x02\r\n\r\n"};
}

void ProxyControlTest::strangersAtTheListenerAreDropped() {
    QFETCH(QByteArrayList, sent);
    QVERIFY(apply(QStringLiteral("direct")).isEmpty());
    std::vector<std::unique_ptr<QTcpSocket>> strangers;
    QList<QByteArray> received(sent.size());
    // Runs in the control's wait, when its listener listens.
    QTimer::singleShot(0, this, [&] {
        const auto* listener = control_.findChild<QTcpServer*>();
        QVERIFY(listener && listener->isListening());
        for (qsizetype i = 0; i < sent.size(); ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            QTcpSocket* raw = socket.get();
            connect(raw, &QTcpSocket::readyRead, raw,
                    [&received, raw, i] { received[i] += raw->readAll(); });
            raw->connectToHost(QHostAddress::LocalHost, listener->serverPort());
            QVERIFY(raw->waitForConnected(kWait));
            raw->write(sent[i]);
            strangers.push_back(std::move(socket));
        }
    });
    QVERIFY(apply(QStringLiteral("A")).isEmpty());
    QCOMPARE(strangers.size(), std::size_t(sent.size()));
    for (const auto& stranger : strangers)
        WAIT_COMPARE(stranger->state(), QAbstractSocket::UnconnectedState, kWait);
    QCOMPARE(received, QList<QByteArray>(sent.size()));

    WebEngineBrowser tab(QWebEngineProfile::defaultProfile(), nullptr);
    const QByteArray next = "/next?" + QByteArray::number(++serial_);
    tab.load(url(next));
    WAIT_VERIFY(!wentTo(next).isEmpty(), kWait);
    QCOMPARE(wentTo(next), QStringLiteral("A"));
}

int main(int argc, char** argv) {
    // The site's name leads to this machine; nothing else is looked up.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                                              " --host-resolver-rules=\"MAP " + kSiteHost +
                                              " 127.0.0.1, MAP * ~NOTFOUND, EXCLUDE 127.0.0.1\"");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ProxyControlTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ProxyControlTest.moc"
