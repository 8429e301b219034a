// Switches the proxy again and again (proxy A, proxy B, none, in turn) and loads a page right
// after each switch, in a page that was open all along; counts how many of these loads went
// the new way and times the switch itself.
//
//   proxy_switch_bench [ROUNDS] [--bare]
//
// --bare switches with QNetworkProxy::setApplicationProxy alone, as Qt offers it, for
// comparison. Run it on a display (xvfb-run) with QTWEBENGINE_DISABLE_SANDBOX=1 as root.
#include "browser/WebEngineProxyControl.h"
#include "settings/ProxyAddress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Answers every request with a small page and remembers each request line.
class Recorder : public QObject {
public:
    Recorder() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request =
                        socket->property("r").toByteArray() + socket->readAll();
                    socket->setProperty("r", request);
                    if (!request.contains("\r\n\r\n"))
                        return;
                    lines << request.left(request.indexOf("\r\n"));
                    const QByteArray body = "<html><head><title>t</title></head></html>";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                  QByteArray::number(body.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    quint16 port() const { return server_.serverPort(); }
    QList<QByteArray> lines;

private:
    QTcpServer server_;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * values.size()))];
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                " --host-resolver-rules=\"MAP site.test 127.0.0.1, MAP * ~NOTFOUND, "
                "EXCLUDE 127.0.0.1\"");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool bare = args.contains(QStringLiteral("--bare"));
    const int rounds = args.size() > 1 && args.at(1).toInt() > 0 ? args.at(1).toInt() : 300;

    // No favicon request may follow a load: it would make the engine look at the setting.
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    profile->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    Recorder proxyA, site; // site: the site itself and proxy B
    browser::WebEngineProxyControl control(profile);
    QWebEnginePage page(profile);

    int newWay = 0;
    std::vector<double> switchMs;
    for (int i = 0; i < rounds; ++i) {
        const int route = i % 3; // 0: proxy A, 1: proxy B, 2: none
        const QString address =
            QStringLiteral("127.0.0.1:%1").arg(route == 0 ? proxyA.port() : site.port());
        QElapsedTimer timer;
        timer.start();
        if (bare) {
            QNetworkProxy::setApplicationProxy(
                route == 2 ? QNetworkProxy(QNetworkProxy::NoProxy)
                           : QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"),
                                           route == 0 ? proxyA.port() : site.port()));
        } else {
            control.apply(route != 2, address);
        }
        switchMs.push_back(timer.nsecsElapsed() / 1e6);

        const QByteArray path = "/r" + QByteArray::number(i);
        const QByteArray absolute = "http://site.test:" + QByteArray::number(site.port()) + path;
        const qsizetype seenA = proxyA.lines.size(), seenSite = site.lines.size();
        page.load(QUrl(QString::fromLatin1(absolute)));
        QElapsedTimer wait;
        wait.start();
        while (proxyA.lines.size() == seenA && site.lines.size() == seenSite &&
               wait.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const QByteArray expected = route == 0   ? "A GET " + absolute
                                    : route == 1 ? "B GET " + absolute
                                                 : "B GET " + path;
        const QByteArray got = proxyA.lines.size() > seenA    ? "A " + proxyA.lines.last()
                               : site.lines.size() > seenSite ? "B " + site.lines.last()
                                                              : QByteArray("nothing");
        if (got.startsWith(expected + ' '))
            ++newWay;
    }
    std::printf("%s, %d switches: next load went the new way %d times (%.1f %%)\n",
                bare ? "setApplicationProxy alone" : "proxy control", rounds, newWay,
                100.0 * newWay / rounds);
    std::printf("switch time: median %.1f ms, 90th percentile %.1f ms, max %.1f ms\n",
                percentile(switchMs, 0.5), percentile(switchMs, 0.9),
                *std::max_element(switchMs.begin(), switchMs.end()));
    return 0;
}
