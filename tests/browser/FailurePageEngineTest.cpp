// The failure page on the real engine, against a small server on 127.0.0.1 that fails in
// each of the ways a site fails.
#include "browser/FailurePageController.h"

#include <QApplication>
#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <memory>

using browser::FailurePage;
using browser::FailurePageController;
using browser::LoadFailure;
using browser::LoadFailureKind;

Q_DECLARE_METATYPE(LoadFailureKind)

namespace {

constexpr int kWait = 20000; // ms; every wait for the engine is bounded by this
constexpr int kTestTimeoutMs = 1500;
constexpr char kUnresolvedHost[] = "gone.test";

// Answers by path: /ok..., /reset, /close, /stall, /404-empty, /500-empty, /404-page,
// /404-text, /slow-body. Counts the requests per path.
class FailingSite : public QObject {
public:
    FailingSite() {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            }
        });
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        // Bound, never listening: connecting is refused.
        QVERIFY(refusing_.bind(QHostAddress::LocalHost, 0));
    }

    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }
    QUrl refusedUrl() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/refused").arg(refusing_.localPort()));
    }
    int requests(const QString& path) const { return counts_.value(path.toLatin1()); }
    // The path answers with a page from now on.
    void heal(const QString& path) { healed_.insert(path.toLatin1()); }

private:
    void serve(QTcpSocket* socket) {
        QByteArray& buffer = buffers_[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n") && !buffer.startsWith('\x16'))
            return;
        if (buffer.startsWith('\x16')) { // a TLS handshake: this server speaks none
            reply(socket, 400, "plain HTTP here", "text/plain");
            return;
        }
        const QByteArray path = buffer.split(' ').value(1).split('?').value(0);
        buffer.clear();
        if (path == "/favicon.ico")
            return reply(socket, 404, "", "image/x-icon");
        ++counts_[path];
        if (healed_.contains(path))
            return reply(socket, 200, page("healed", "<p>healed page</p>"));
        if (path == "/reset") {
            socket->abort(); // RST: linger zero
            return;
        }
        if (path == "/close") {
            socket->disconnectFromHost();
            return;
        }
        if (path == "/stall")
            return;
        if (path == "/404-empty")
            return reply(socket, 404, "");
        if (path == "/500-empty")
            return reply(socket, 500, "");
        if (path == "/404-page")
            return reply(socket, 404, page("own 404", "<h1>該当する項目はありません</h1>"));
        if (path == "/404-text")
            return reply(socket, 404, "Not Found", "text/plain");
        if (path == "/slow-body") {
            const QByteArray body = page("slow", "<p>slow page</p>");
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                          "Connection: close\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\n\r\n");
            QTimer::singleShot(3 * kTestTimeoutMs, socket, [socket, body] {
                socket->write(body);
                socket->disconnectFromHost();
            });
            return;
        }
        reply(socket, 200, page(path, "<p>page " + path + "</p>"));
    }

    static QByteArray page(const QByteArray& title, const QByteArray& body) {
        return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
               "</title></head><body>" + body + "</body></html>";
    }

    static void reply(QTcpSocket* socket, int status, const QByteArray& body,
                      const QByteArray& type = "text/html; charset=utf-8") {
        socket->write("HTTP/1.1 " + QByteArray::number(status) +
                      " Status\r\nContent-Type: " + type +
                      "\r\nConnection: close\r\nCache-Control: no-store\r\n"
                      "Content-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QTcpSocket refusing_;
    QHash<QTcpSocket*, QByteArray> buffers_;
    QHash<QByteArray, int> counts_;
    QSet<QByteArray> healed_;
};

// A view with the controller, as a tab holds them.
struct Tab {
    QWebEngineView view;
    FailurePageController controller{view.page()};
    QSignalSpy failed{&controller, &FailurePageController::failed};
    QSignalSpy useSite{&controller, &FailurePageController::useSiteRequested};
    QSignalSpy lookUp{&controller, &FailurePageController::lookUpRequested};
    bool lookups = true;

    Tab() {
        controller.setResponseTimeoutMs(kTestTimeoutMs);
        controller.setLookupSource([this](const QUrl&) -> std::optional<FailurePage::Lookup> {
            if (!lookups)
                return std::nullopt;
            return FailurePage::Lookup{
                QStringLiteral("死んだ辞書"),
                QStringLiteral("辞書<b>"),
                {{QStringLiteral("weblio_kokugo"), QStringLiteral("Weblio辞書"),
                  QStringLiteral("http://www.weblio.jp/content/%E8%BE%9E%E6%9B%B8")}}};
        });
        view.resize(800, 600);
        view.show();
    }

    QWebEnginePage* page() { return view.page(); }

    bool load(const QUrl& url) {
        QSignalSpy finished(page(), &QWebEnginePage::loadFinished);
        page()->load(url);
        return finished.wait(kWait);
    }

    QVariant evaluate(const QString& script) {
        QVariant result;
        bool done = false;
        page()->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, kWait))
            return QStringLiteral("<no answer>");
        return result;
    }

    QString text() {
        return evaluate(QStringLiteral("document.body ? document.body.innerText : ''")).toString();
    }

    bool showsFailurePage() {
        return text().contains(QStringLiteral("再読み込みすると、このアドレスをもう一度開きます"));
    }

    // A click on a link of the page, as the user makes it.
    void click(const QString& selector) {
        const QVariantList box =
            evaluate(QStringLiteral(
                         "(function(){var r=document.querySelector('%1')"
                         ".getBoundingClientRect();return [r.x+r.width/2,r.y+r.height/2];})()")
                         .arg(selector))
                .toList();
        QVERIFY2(box.size() == 2, qPrintable(selector));
        QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
        QTest::mouseClick(target, Qt::LeftButton, {},
                          QPoint(qRound(box[0].toDouble()), qRound(box[1].toDouble())));
    }
};

} // namespace

class FailurePageEngineTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FailingSite> site_;

private Q_SLOTS:
    void init() { site_ = std::make_unique<FailingSite>(); }
    void cleanup() { site_.reset(); }

    void failureShowsTheProgramsPageAtTheFailedAddress_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<LoadFailureKind>("kind");
        QTest::newRow("refused") << "refused" << LoadFailureKind::ConnectionRefused;
        QTest::newRow("reset") << "/reset" << LoadFailureKind::ConnectionReset;
        QTest::newRow("closed without an answer") << "/close" << LoadFailureKind::ConnectionReset;
        QTest::newRow("host name unknown") << "unresolved" << LoadFailureKind::NameNotResolved;
        QTest::newRow("TLS with a server that speaks none")
            << "tls" << LoadFailureKind::SecureConnection;
        QTest::newRow("stalls past the time-out") << "/stall" << LoadFailureKind::TimedOut;
        QTest::newRow("404 without a page") << "/404-empty" << LoadFailureKind::HttpStatus;
        QTest::newRow("500 without a page") << "/500-empty" << LoadFailureKind::HttpStatus;
    }

    void failureShowsTheProgramsPageAtTheFailedAddress() {
        QFETCH(QString, path);
        QFETCH(LoadFailureKind, kind);
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        QUrl url = site_->url(path);
        if (path == u"refused")
            url = site_->refusedUrl();
        else if (path == u"unresolved")
            url = QUrl(QStringLiteral("http://%1/x").arg(QLatin1StringView(kUnresolvedHost)));
        else if (path == u"tls")
            url = QUrl(site_->url(QStringLiteral("/tls"))
                           .toString()
                           .replace(QStringLiteral("http:"), QStringLiteral("https:")));

        tab.page()->load(url);
        QVERIFY(tab.failed.wait(kWait));
        const auto failure = tab.failed.first().at(0).value<LoadFailure>();
        QCOMPARE(int(failure.kind), int(kind));
        QCOMPARE(tab.failed.first().at(1).toUrl(), url);
        QVERIFY(QTest::qWaitFor([&] { return tab.showsFailurePage(); }, kWait));

        const QString text = tab.text();
        QVERIFY2(text.contains(failure.heading()), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("死んだ辞書")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("辞書<b>")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Weblio辞書")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("can’t")) && !text.contains(QStringLiteral("ERR_")),
                 qPrintable(text));
        QCOMPARE(tab.page()->url(), url);
        QVERIFY(QTest::qWaitFor([&] { return tab.page()->title().contains(failure.heading()); },
                                kWait));
        QVERIFY(tab.controller.showsFailure());
        // One entry for the failed address after the page before it.
        QCOMPARE(tab.page()->history()->count(), 2);
        QVERIFY(tab.page()->history()->canGoBack());
        QCOMPARE(tab.failed.size(), 1);
    }

    void sitesOwnErrorPageStays_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        QTest::newRow("404 page") << "/404-page" << QStringLiteral("該当する項目はありません");
        QTest::newRow("404 as plain text") << "/404-text" << QStringLiteral("Not Found");
    }

    void sitesOwnErrorPageStays() {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        Tab tab;
        QVERIFY(tab.load(site_->url(path)));
        QTest::qWait(300); // the page's content is checked after the load ends
        QCOMPARE(tab.failed.size(), 0);
        QVERIFY(!tab.controller.showsFailure());
        QCOMPARE(tab.text().trimmed(), shown);
    }

    void slowPageThatHasBegunIsLeftToFinish() {
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/slow-body"))));
        QCOMPARE(tab.failed.size(), 0);
        QCOMPARE(tab.text().trimmed(), QStringLiteral("slow page"));
    }

    void loadStoppedByTheUserIsNoFailure() {
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        QSignalSpy finished(tab.page(), &QWebEnginePage::loadFinished);
        tab.page()->load(site_->url(QStringLiteral("/stall")));
        QTest::qWait(kTestTimeoutMs / 3);
        tab.page()->triggerAction(QWebEnginePage::Stop);
        QVERIFY(finished.wait(kWait));
        QTest::qWait(kTestTimeoutMs * 2);
        QCOMPARE(tab.failed.size(), 0);
        QCOMPARE(tab.page()->url(), site_->url(QStringLiteral("/ok")));
    }

    // Reload asks the failed address again and, failing again, leaves one history entry.
    void reloadAsksTheFailedAddressAgain_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("no answer") << "/reset";
        QTest::newRow("error status without a page") << "/404-empty";
    }

    void reloadAsksTheFailedAddressAgain() {
        QFETCH(QString, path);
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        tab.page()->load(site_->url(path));
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(QTest::qWaitFor([&] { return tab.showsFailurePage(); }, kWait));
        const int asked = site_->requests(path);
        QVERIFY(asked >= 1);

        tab.controller.reload();
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(site_->requests(path) > asked);
        QVERIFY(QTest::qWaitFor([&] { return tab.showsFailurePage(); }, kWait));
        QCOMPARE(tab.page()->url(), site_->url(path));
        QCOMPARE(tab.page()->history()->count(), 2);

        // Back leaves the failure for the page before.
        QSignalSpy finished(tab.page(), &QWebEnginePage::loadFinished);
        tab.page()->triggerAction(QWebEnginePage::Back);
        QVERIFY(finished.wait(kWait));
        QCOMPARE(tab.page()->url(), site_->url(QStringLiteral("/ok")));
        QVERIFY(!tab.controller.showsFailure());
    }

    void reloadThatSucceedsReplacesTheFailurePage() {
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        const QUrl flaky = site_->url(QStringLiteral("/reset"));
        tab.page()->load(flaky);
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(QTest::qWaitFor([&] { return tab.showsFailurePage(); }, kWait));

        site_->heal(QStringLiteral("/reset"));
        QSignalSpy finished(tab.page(), &QWebEnginePage::loadFinished);
        tab.controller.reload();
        QVERIFY(finished.wait(kWait));
        QVERIFY(QTest::qWaitFor([&] { return tab.text().trimmed() == u"healed page"; }, kWait));
        QVERIFY(!tab.controller.showsFailure());
        QCOMPARE(tab.page()->url(), flaky);
        // The page took the failure page's place in the history.
        QCOMPARE(tab.page()->history()->count(), 2);
        tab.page()->triggerAction(QWebEnginePage::Back);
        QVERIFY(finished.wait(kWait));
        QCOMPARE(tab.page()->url(), site_->url(QStringLiteral("/ok")));
    }

    void buttonsOfTheFailurePage() {
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        tab.page()->load(site_->url(QStringLiteral("/reset")));
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(QTest::qWaitFor([&] { return tab.showsFailurePage(); }, kWait));

        tab.click(QStringLiteral("a.use"));
        QVERIFY(tab.useSite.wait(kWait));
        QCOMPARE(tab.useSite.first().at(0).toString(), QStringLiteral("weblio_kokugo"));
        tab.click(QStringLiteral("a.lookup"));
        QVERIFY(tab.lookUp.wait(kWait));
        QCOMPARE(tab.lookUp.first().at(0).toString(), QStringLiteral("weblio_kokugo"));
        QCOMPARE(tab.lookUp.first().at(1).toString(),
                 QStringLiteral("http://www.weblio.jp/content/%E8%BE%9E%E6%9B%B8"));
        // Neither link is loaded: the page stays.
        QTest::qWait(300);
        QCOMPARE(tab.page()->url(), site_->url(QStringLiteral("/reset")));
        QVERIFY(tab.showsFailurePage());

        // Gone back to after another page, its buttons still work.
        QSignalSpy finished(tab.page(), &QWebEnginePage::loadFinished);
        tab.page()->triggerAction(QWebEnginePage::Back);
        QVERIFY(finished.wait(kWait));
        tab.page()->triggerAction(QWebEnginePage::Forward);
        QVERIFY(finished.wait(kWait));
        QVERIFY(QTest::qWaitFor([&] { return tab.showsFailurePage(); }, kWait));
        QVERIFY(tab.controller.showsFailure());
        tab.click(QStringLiteral("a.use"));
        QVERIFY(tab.useSite.wait(kWait));
        QCOMPARE(tab.useSite.size(), 2);
    }

    // A page of the web can't press the buttons with a link of its own.
    void madeUpLinkIsNotTakenUp() {
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        tab.evaluate(QStringLiteral(
            "var a = document.createElement('a'); a.id = 'fake'; a.textContent = 'fake link';"
            "a.href = 'lexorra2-failure://use-site/?site=weblio_kokugo&token=00';"
            "document.body.appendChild(a); true"));
        tab.click(QStringLiteral("#fake"));
        QTest::qWait(500);
        QCOMPARE(tab.useSite.size(), 0);
        QCOMPARE(tab.page()->url(), site_->url(QStringLiteral("/ok")));
    }

    void followedLinkFailsWithoutAlternatives() {
        Tab tab;
        tab.lookups = false;
        tab.page()->load(site_->url(QStringLiteral("/reset")));
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(QTest::qWaitFor([&] { return tab.showsFailurePage(); }, kWait));
        QVERIFY(!tab.text().contains(QStringLiteral("ほかのサイト")));
        // A failure in a tab that never showed a page.
        QCOMPARE(tab.page()->history()->count(), 1);
    }
};

int main(int argc, char** argv) {
    // An unknown host without asking any name server.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                                              " --host-resolver-rules=\"MAP " + kUnresolvedHost +
                                              " ~NOTFOUND\"");
    FailurePageController::registerScheme();
    QApplication app(argc, argv);
    FailurePageEngineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FailurePageEngineTest.moc"
