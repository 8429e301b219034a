// The failure page on the real engine, against a small server on 127.0.0.1 that fails in
// each of the ways a site fails.
#include "browser/FailurePageController.h"
#include "support/EventLoop.h"

#include <QApplication>
#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineNavigationRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <memory>
#include <optional>

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
// /404-text, /404-script, /slow-body. Counts the requests per path.
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
        // A site that would press the failure page's buttons were it written into its
        // document: it keeps looking for them for a while, then says it gave up.
        if (path == "/404-script")
            return reply(
                socket, 404,
                "<script>var tries = 0; var timer = setInterval(function () {"
                "  var a = document.querySelector('a.use') || document.querySelector('a.lookup');"
                "  if (a) { a.click(); location.href = a.href; }"
                "  if (++tries == 40) { clearInterval(timer); document.title = 'gave up'; }"
                "}, 25);</script>");
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
    QList<QUrl> navigations; // every navigation the engine asked about, in order
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
        // Connected after the controller: it has judged each request when it is recorded.
        QObject::connect(view.page(), &QWebEnginePage::navigationRequested, &view,
                         [this](QWebEngineNavigationRequest& r) { navigations << r.url(); });
    }

    // Waits until the engine asked about a navigation to url, then lets whatever the
    // controller queued for it happen.
    bool navigationAsked(const QUrl& url) {
        const bool asked = waitUntil([&] { return navigations.contains(url); }, kWait);
        QCoreApplication::sendPostedEvents();
        return asked;
    }

    QString attribute(const QString& selector, const QString& name) {
        return evaluate(QStringLiteral("document.querySelector('%1').getAttribute('%2')")
                            .arg(selector, name))
            .toString();
    }

    // The user clicks the link until the page takes it (the first clicks after a load can be
    // lost while the engine sets up its input).
    bool clickUntilAsked(const QString& selector, const QUrl& url) {
        for (int tries = 0; tries < 10 && !navigations.contains(url); ++tries) {
            click(selector);
            if (waitUntil([&] { return navigations.contains(url); }, kWait / 10))
                break;
        }
        return navigationAsked(url);
    }

    QWebEnginePage* page() { return view.page(); }

    // Steps back or forward and waits until the page has left the address it stood at and
    // loaded another. A spy on loadFinished could be answered by the end of a load from before
    // the step (the failure page's text shows before its load is told to have ended), and a
    // step taken then would be dropped; the history's index moves as soon as the step starts.
    bool step(QWebEnginePage::WebAction action) {
        const QUrl from = page()->url();
        page()->triggerAction(action);
        return waitUntil([&] { return page()->url() != from && !page()->isLoading(); }, kWait);
    }

    bool load(const QUrl& url) {
        QSignalSpy finished(page(), &QWebEnginePage::loadFinished);
        page()->load(url);
        return finished.wait(kWait);
    }

    // A script sent while the page changes documents may never answer; callers that poll
    // take a shorter bound per try.
    QVariant evaluate(const QString& script, int timeout = kWait) {
        // Shared with the callback, which may come after a failed wait, as the page goes.
        auto answer = std::make_shared<std::optional<QVariant>>();
        page()->runJavaScript(script, [answer](const QVariant& v) { *answer = v; });
        if (!waitUntil([&] { return answer->has_value(); }, timeout))
            return QStringLiteral("<no answer>");
        return **answer;
    }

    QString text(int timeout = kWait) {
        return evaluate(QStringLiteral("document.body ? document.body.innerText : ''"), timeout)
            .toString();
    }

    // Polled: each try is bounded on its own.
    bool showsFailurePage() {
        return text(kWait / 10)
            .contains(QStringLiteral("再読み込みすると、このアドレスをもう一度開きます"));
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
        QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));

        const QString text = tab.text();
        QVERIFY2(text.contains(failure.heading()), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("死んだ辞書")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("辞書<b>")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Weblio辞書")), qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("can’t")) && !text.contains(QStringLiteral("ERR_")),
                 qPrintable(text));
        // The program's own page, standing for the failed address.
        QCOMPARE(tab.page()->url().scheme(), QString::fromLatin1(FailurePage::kScheme));
        QCOMPARE(tab.controller.displayedAddress(), url);
        QVERIFY(waitUntil([&] { return tab.page()->title().contains(failure.heading()); }, kWait));
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
        QTest::newRow("404 with only a script") << "/404-script" << QString();
    }

    void sitesOwnErrorPageStays() {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        Tab tab;
        QVERIFY(tab.load(site_->url(path)));
        // The page's content is checked after the load ends; the answer comes before this.
        QCOMPARE(tab.text().trimmed(), shown);
        if (path == u"/404-script")
            QVERIFY(waitUntil([&] { return tab.page()->title() == u"gave up"; }, kWait));
        QCOMPARE(tab.failed.size(), 0);
        QVERIFY(!tab.controller.showsFailure());
        QCOMPARE(tab.page()->url(), site_->url(path));
        QCOMPARE(tab.useSite.size(), 0);
        QCOMPARE(tab.lookUp.size(), 0);
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
        QVERIFY(waitUntil([&] { return site_->requests(QStringLiteral("/stall")) == 1; }, kWait));
        QVERIFY(tab.controller.isTimingResponse());
        tab.page()->triggerAction(QWebEnginePage::Stop);
        QVERIFY(finished.wait(kWait));
        // The time limit no longer runs: nothing fails later.
        QVERIFY(!tab.controller.isTimingResponse());
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
        QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));
        const int asked = site_->requests(path);
        QVERIFY(asked >= 1);

        tab.controller.reload();
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(site_->requests(path) > asked);
        QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));
        QCOMPARE(tab.controller.displayedAddress(), site_->url(path));
        QCOMPARE(tab.page()->history()->count(), 2);

        // Back leaves the failure for the page before.
        QVERIFY(tab.step(QWebEnginePage::Back));
        QCOMPARE(tab.page()->url(), site_->url(QStringLiteral("/ok")));
        QVERIFY(!tab.controller.showsFailure());
    }

    void reloadThatSucceedsReplacesTheFailurePage() {
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        const QUrl flaky = site_->url(QStringLiteral("/reset"));
        tab.page()->load(flaky);
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));

        site_->heal(QStringLiteral("/reset"));
        QSignalSpy finished(tab.page(), &QWebEnginePage::loadFinished);
        tab.controller.reload();
        QVERIFY(finished.wait(kWait));
        QVERIFY(waitUntil([&] { return tab.text().trimmed() == u"healed page"; }, kWait));
        QVERIFY(!tab.controller.showsFailure());
        QCOMPARE(tab.page()->url(), flaky);
        // The page took the failure page's place in the history.
        QCOMPARE(tab.page()->history()->count(), 2);
        QVERIFY(tab.step(QWebEnginePage::Back));
        QCOMPARE(tab.page()->url(), site_->url(QStringLiteral("/ok")));
    }

    void buttonsOfTheFailurePage() {
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        tab.page()->load(site_->url(QStringLiteral("/reset")));
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));

        const QUrl use(tab.attribute(QStringLiteral("a.use"), QStringLiteral("href")));
        const QUrl lookUp(tab.attribute(QStringLiteral("a.lookup"), QStringLiteral("href")));
        QVERIFY(tab.clickUntilAsked(QStringLiteral("a.use"), use));
        QCOMPARE(tab.useSite.size(), 1);
        QCOMPARE(tab.useSite.first().at(0).toString(), QStringLiteral("weblio_kokugo"));
        // Neither link is loaded: the page stays. Its links served their one use.
        QCOMPARE(tab.controller.displayedAddress(), site_->url(QStringLiteral("/reset")));
        QVERIFY(tab.showsFailurePage());
        tab.click(QStringLiteral("a.lookup"));
        QVERIFY(tab.navigationAsked(lookUp));
        QCOMPARE(tab.lookUp.size(), 0);

        // Gone back to after another page, the page is served anew and its buttons work.
        QVERIFY(tab.step(QWebEnginePage::Back));
        QVERIFY(tab.step(QWebEnginePage::Forward));
        QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));
        QVERIFY(tab.controller.showsFailure());
        const QUrl lookUpAgain(tab.attribute(QStringLiteral("a.lookup"), QStringLiteral("href")));
        QVERIFY(lookUpAgain != lookUp);
        QVERIFY(tab.clickUntilAsked(QStringLiteral("a.lookup"), lookUpAgain));
        QCOMPARE(tab.lookUp.size(), 1);
        QCOMPARE(tab.lookUp.first().at(0).toString(), QStringLiteral("weblio_kokugo"));
        QCOMPARE(tab.lookUp.first().at(1).toString(),
                 QStringLiteral("http://www.weblio.jp/content/%E8%BE%9E%E6%9B%B8"));
        QCOMPARE(tab.useSite.size(), 1);
    }

    // A page of the web can't press the buttons with a link of its own, made up or kept from
    // a failure page shown before, nor can a copy of the failure page use an older copy's.
    void linksNotOfTheShownPageAreNotTakenUp_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("kept");
        QTest::newRow("made up, on a site's page") << "site" << false;
        QTest::newRow("kept, on a site's page") << "site" << true;
        QTest::newRow("kept, on the page served again") << "failure page" << true;
    }

    void linksNotOfTheShownPageAreNotTakenUp() {
        QFETCH(QString, where);
        QFETCH(bool, kept);
        Tab tab;
        QVERIFY(tab.load(site_->url(QStringLiteral("/ok"))));
        QUrl link(QStringLiteral("lexorra2-failure://use-site/?site=weblio_kokugo&token=00"));
        if (kept) {
            tab.page()->load(site_->url(QStringLiteral("/reset")));
            QVERIFY(tab.failed.wait(kWait));
            QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));
            link = QUrl(tab.attribute(QStringLiteral("a.use"), QStringLiteral("href")));
            QVERIFY(tab.step(QWebEnginePage::Back));
            if (where == u"failure page") {
                QVERIFY(tab.step(QWebEnginePage::Forward));
                QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));
                QVERIFY(tab.controller.showsFailure());
            }
        }
        const QUrl before = tab.page()->url();
        tab.evaluate(QStringLiteral("var a = document.createElement('a'); a.id = 'kept';"
                                    "a.textContent = 'kept link'; a.href = '%1';"
                                    "a.style = 'display:block;height:100px';"
                                    "document.body.prepend(a); true")
                         .arg(link.toString()));
        QVERIFY(tab.clickUntilAsked(QStringLiteral("#kept"), link));
        QCOMPARE(tab.useSite.size(), 0);
        QCOMPARE(tab.page()->url(), before);
    }

    void followedLinkFailsWithoutAlternatives() {
        Tab tab;
        tab.lookups = false;
        tab.page()->load(site_->url(QStringLiteral("/reset")));
        QVERIFY(tab.failed.wait(kWait));
        QVERIFY(waitUntil([&] { return tab.showsFailurePage(); }, kWait));
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
