// lexorra2-url --check against a proxy on 127.0.0.1 that answers for the catalogue's hosts:
// the tool's lines and exit status as a maintainer's script sees them.
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>

namespace {

// How one host answers.
struct Answer {
    int status = 200;
    int headStatus = 0;  // when HEAD gets another status than GET
    QByteArray location; // for a redirect
    bool stall = false;  // never answers
    bool close = false;  // closes the connection without a word
    // Sends without end (up to what a test can wait for): header lines after the status line,
    // or a body after the headers, to HEAD as well.
    bool endlessHeaders = false;
    bool endlessBody = false;

    static Answer withStatus(int status, int headStatus = 0) {
        Answer a;
        a.status = status;
        a.headStatus = headStatus;
        return a;
    }
    static Answer silent() {
        Answer a;
        a.stall = true;
        return a;
    }
    static Answer closing() {
        Answer a;
        a.close = true;
        return a;
    }
    static Answer withEndlessHeaders() {
        Answer a;
        a.endlessHeaders = true;
        return a;
    }
    static Answer withEndlessBody(int status) {
        Answer a;
        a.status = status;
        a.endlessBody = true;
        return a;
    }
    static Answer redirect(int status, QByteArray location) {
        Answer a;
        a.status = status;
        a.location = std::move(location);
        return a;
    }
};

} // namespace

Q_DECLARE_METATYPE(Answer)

namespace {

class ProxySite : public QObject {
public:
    ProxySite() {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            }
        });
        QVERIFY(server_.listen(QHostAddress::LocalHost));
    }

    QString proxy() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
    }
    QHash<QByteArray, Answer> answers;
    QList<QByteArray> requestLines;

private:
    void serve(QTcpSocket* socket) {
        QByteArray& buffer = buffers_[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray line = buffer.left(buffer.indexOf("\r\n"));
        buffer.clear();
        requestLines << line;
        const QList<QByteArray> parts = line.split(' ');
        const QByteArray method = parts.value(0);
        const QUrl target(QString::fromLatin1(parts.value(1)));
        const Answer answer = answers.value(target.host().toLatin1());
        if (answer.stall)
            return;
        if (answer.close) {
            socket->close();
            return;
        }
        const int status =
            method == "HEAD" && answer.headStatus ? answer.headStatus : answer.status;
        if (answer.endlessHeaders) {
            socket->write("HTTP/1.1 " + QByteArray::number(status) + " Status\r\n");
            sendForEver(socket, "X-Padding: " + QByteArray(1000, 'x') + "\r\n");
            return;
        }
        if (answer.endlessBody) {
            socket->write("HTTP/1.1 " + QByteArray::number(status) +
                          " Status\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n");
            sendForEver(socket, QByteArray(1000, 'x'));
            return;
        }
        const QByteArray body =
            "<html><body>page of " + target.host().toLatin1() + "</body></html>";
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) +
                           " Status\r\n"
                           "Content-Type: text/html\r\nConnection: close\r\n"
                           "Content-Length: " +
                           QByteArray::number(body.size()) + "\r\n";
        if (!answer.location.isEmpty())
            reply += "Location: " + answer.location + "\r\n";
        reply += "\r\n";
        if (method != "HEAD")
            reply += body;
        socket->write(reply);
        socket->disconnectFromHost();
    }

    // Writes the piece again whenever the little that is queued has gone, until the peer
    // closes or 256 MiB went, far more than a bounded client takes.
    static void sendForEver(QTcpSocket* socket, const QByteArray& piece) {
        constexpr qint64 kQueued = 64 * 1024;
        constexpr qint64 kMost = 256LL * 1024 * 1024;
        auto sent = std::make_shared<qint64>(0);
        auto more = [socket, piece, sent] {
            while (socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesToWrite() < kQueued && *sent < kMost)
                *sent += socket->write(piece);
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

struct Run {
    int exitCode = -1;
    QStringList lines;
    QString err;
    qint64 elapsedMs = 0;
};

Run check(const QStringList& args,
          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(LEXORRA2_URL_PATH), QStringList{QStringLiteral("--check")} + args);
    // The proxy answers from this event loop, so wait by spinning it.
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 30000)) {
        p.kill();
        p.waitForFinished();
    }
    Run r;
    r.elapsedMs = clock.elapsed();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// One line: verdict, status, time, key, final address, and the error if any.
const QRegularExpression
    kLine(QStringLiteral(R"(^(OK  |FAIL) (\d{3}|---) +(\d+\.\d\d)s (\S+) (\S+)( \(.+\))?$)"));

QRegularExpressionMatch parse(const QString& line) {
    QRegularExpressionMatch m = kLine.match(line);
    if (!m.hasMatch())
        qWarning("line not understood: %s", qPrintable(line));
    return m;
}

} // namespace

class SiteCheckToolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void oneLinePerSiteAndTheExitStatus_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("finalAddress");
        QTest::addColumn<QByteArrayList>("methods");
        QTest::addColumn<QString>("reason"); // in brackets at the end; empty for none

        const QString weblio = QStringLiteral("http://www.weblio.jp/content/%E8%BE%9E%E6%9B%B8");
        QTest::newRow("working") << Answer{} << "OK  "
                                 << "200" << weblio << QByteArrayList{"HEAD"} << QString();
        QTest::newRow("HEAD refused, GET answered")
            << Answer::withStatus(200, 405) << "OK  "
            << "200" << weblio << QByteArrayList{"HEAD", "GET"} << QString();
        QTest::newRow("not found, by HEAD and by GET")
            << Answer::withStatus(404) << "FAIL"
            << "404" << weblio << QByteArrayList{"HEAD", "GET"} << QString();
        QTest::newRow("server error")
            << Answer::withStatus(503) << "FAIL"
            << "503" << weblio << QByteArrayList{"HEAD", "GET"} << QString();
        QTest::newRow("closed without an answer")
            << Answer::closing() << "FAIL"
            << "---" << weblio << QByteArrayList{"HEAD"} << "connection closed without an answer";
    }

    // What a hostile server sends is read only as far as the status needs, and a redirect the
    // check does not follow says why.
    void hostileAnswers_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("finalAddress");
        QTest::addColumn<QByteArrayList>("methods");
        QTest::addColumn<QString>("reason");

        const QString weblio = QStringLiteral("http://www.weblio.jp/content/%E8%BE%9E%E6%9B%B8");
        QTest::newRow("endless headers")
            << Answer::withEndlessHeaders() << "FAIL"
            << "---" << weblio << QByteArrayList{"HEAD"} << "headers longer than 64 KiB";
        QTest::newRow("endless body") << Answer::withEndlessBody(200) << "OK  "
                                      << "200" << weblio << QByteArrayList{"HEAD"} << QString();
        QTest::newRow("endless body of an error")
            << Answer::withEndlessBody(404) << "FAIL"
            << "404" << weblio << QByteArrayList{"HEAD", "GET"} << QString();
        QTest::newRow("redirect to file:")
            << Answer::redirect(302, "file:///etc/passwd") << "FAIL"
            << "302" << weblio << QByteArrayList{"HEAD"} << "redirect to file: refused";
        QTest::newRow("redirect to another scheme")
            << Answer::redirect(301, "someapp://run?cmd=x") << "FAIL"
            << "301" << weblio << QByteArrayList{"HEAD"} << "redirect to someapp: refused";
    }

    void hostileAnswers() { oneLinePerSiteAndTheExitStatus(); }

    void oneLinePerSiteAndTheExitStatus() {
        QFETCH(Answer, answer);
        QFETCH(QString, verdict);
        QFETCH(QString, status);
        QFETCH(QString, finalAddress);
        QFETCH(QByteArrayList, methods);
        QFETCH(QString, reason);
        ProxySite site;
        site.answers["www.weblio.jp"] = answer;
        const Run r =
            check({QStringLiteral("--proxy"), site.proxy(), QStringLiteral("weblio_kokugo")});
        QCOMPARE(r.lines.size(), 1);
        const auto m = parse(r.lines[0]);
        QVERIFY(m.hasMatch());
        QCOMPARE(m.captured(1), verdict);
        QCOMPARE(m.captured(2), status);
        QCOMPARE(m.captured(4), QStringLiteral("weblio_kokugo"));
        QCOMPARE(m.captured(5), finalAddress);
        QCOMPARE(m.captured(6), reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason));
        QCOMPARE(r.exitCode, verdict == u"OK  " ? 0 : 1);
        QByteArrayList asked;
        for (const QByteArray& line : site.requestLines) {
            QVERIFY2(line.endsWith(" http://www.weblio.jp/content/%E8%BE%9E%E6%9B%B8 HTTP/1.1"),
                     line.constData());
            // The network layer asks again by itself when a connection closes unanswered.
            if (asked.isEmpty() || asked.back() != line.left(line.indexOf(' ')))
                asked << line.left(line.indexOf(' '));
        }
        QCOMPARE(asked, methods);
    }

    void redirectIsFollowedToTheFinalAddress() {
        ProxySite site;
        site.answers["www.weblio.jp"] = Answer::redirect(301, "http://moved.test/new/place");
        site.answers["moved.test"] = {};
        const Run r =
            check({QStringLiteral("--proxy"), site.proxy(), QStringLiteral("weblio_kokugo")});
        QCOMPARE(r.lines.size(), 1);
        const auto m = parse(r.lines[0]);
        QCOMPARE(m.captured(1), QStringLiteral("OK  "));
        QCOMPARE(m.captured(2), QStringLiteral("200"));
        QCOMPARE(m.captured(5), QStringLiteral("http://moved.test/new/place"));
        QCOMPARE(r.exitCode, 0);
    }

    void redirectLoopFails() {
        ProxySite site;
        site.answers["www.weblio.jp"] = Answer::redirect(302, "http://www.weblio.jp/again");
        const Run r =
            check({QStringLiteral("--proxy"), site.proxy(), QStringLiteral("weblio_kokugo")});
        QCOMPARE(r.lines.size(), 1);
        QCOMPARE(parse(r.lines[0]).captured(1), QStringLiteral("FAIL"));
        QCOMPARE(r.exitCode, 1);
        QVERIFY(site.requestLines.size() <= 2 * 11);
    }

    // A site that never answers costs its time limit, not more, and the others go on meanwhile;
    // lines keep the order the sites were named in.
    void silentSiteIsBoundedAndOrderKept() {
        ProxySite site;
        site.answers["www.weblio.jp"] = Answer::silent();
        site.answers["dictionary.goo.ne.jp"] = {};
        site.answers["dic.yahoo.co.jp"].status = 404;
        const Run r = check({QStringLiteral("--proxy"), site.proxy(), QStringLiteral("--timeout"),
                             QStringLiteral("1.5"), QStringLiteral("weblio_kokugo"),
                             QStringLiteral("goo_kokugo"), QStringLiteral("yahoo2_kokugo")});
        QCOMPARE(r.lines.size(), 3);
        QStringList keys, verdicts;
        for (const QString& line : r.lines) {
            const auto m = parse(line);
            keys << m.captured(4);
            verdicts << m.captured(1);
        }
        QCOMPARE(keys, (QStringList{"weblio_kokugo", "goo_kokugo", "yahoo2_kokugo"}));
        QCOMPARE(verdicts, (QStringList{"FAIL", "OK  ", "FAIL"}));
        QVERIFY2(r.lines[0].contains(QStringLiteral("no answer within 1.5 s")),
                 qPrintable(r.lines[0]));
        const double seconds = parse(r.lines[0]).captured(3).toDouble();
        // At least its limit; ten times it is more than a busy machine adds, and less than the
        // half minute the test gives the tool before it ends it.
        QVERIFY2(seconds >= 1.4 && seconds < 15, qPrintable(r.lines[0]));
        QVERIFY2(r.elapsedMs < 15000, qPrintable(QString::number(r.elapsedMs)));
        QCOMPARE(r.exitCode, 1);
    }

    void proxyFromTheEnvironment() {
        ProxySite site;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("http_proxy"), site.proxy());
        const Run r = check({QStringLiteral("Wikipedia_hyakka")}, env);
        QCOMPARE(r.lines.size(), 1);
        QCOMPARE(parse(r.lines[0]).captured(1), QStringLiteral("OK  "));
        QCOMPARE(site.requestLines.size(), 1);
        QVERIFY(site.requestLines[0].startsWith("HEAD http://ja.wikipedia.org/wiki/"));
    }

    void sampleWordAndGivenText() {
        ProxySite site;
        check({QStringLiteral("--proxy"), site.proxy(), QStringLiteral("Onelook_eiei"),
               QStringLiteral("weblio_kokugo")});
        check({QStringLiteral("--proxy"), site.proxy(), QStringLiteral("--text"),
               QStringLiteral("猫"), QStringLiteral("weblio_kokugo")});
        QCOMPARE(site.requestLines.size(), 3);
        QVERIFY2(site.requestLines[0].contains("dictionary") ||
                     site.requestLines[1].contains("dictionary"),
                 site.requestLines.join('\n').constData());
        QVERIFY(site.requestLines.join('\n').contains("/content/%E8%BE%9E%E6%9B%B8"));
        QVERIFY(site.requestLines[2].contains("/content/%E7%8C%AB"));
    }

    void wrongArguments_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown key") << QStringList{"no_such_site"} << "unknown site key";
        QTest::newRow("unknown option") << QStringList{"--fast"} << "unknown option";
        QTest::newRow("time-out not a number") << QStringList{"--timeout", "soon"} << "--timeout";
        QTest::newRow("time-out NaN") << QStringList{"--timeout", "nan"} << "--timeout";
        QTest::newRow("time-out infinite") << QStringList{"--timeout", "inf"} << "--timeout";
        QTest::newRow("time-out minus infinite") << QStringList{"--timeout", "-inf"} << "--timeout";
        QTest::newRow("time-out zero") << QStringList{"--timeout", "0"} << "--timeout";
        QTest::newRow("time-out under a millisecond")
            << QStringList{"--timeout", "1e-9"} << "--timeout";
        QTest::newRow("time-out over an hour") << QStringList{"--timeout", "3601"} << "--timeout";
        QTest::newRow("time-out beyond an int") << QStringList{"--timeout", "1e300"} << "--timeout";
        QTest::newRow("socks proxy") << QStringList{"--proxy", "socks5://127.0.0.1:1"} << "proxy";
    }

    // Refused before any request: a site that never answers would otherwise keep a tool that
    // took a wrong argument running.
    void wrongArguments() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        ProxySite site;
        site.answers["www.weblio.jp"] = Answer::silent();
        const Run r = check(
            QStringList{QStringLiteral("--proxy"), site.proxy(), QStringLiteral("weblio_kokugo")} +
            args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.lines.isEmpty());
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(r.err.count(u'\n'), 1);
        QVERIFY(site.requestLines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SiteCheckToolTest)
#include "SiteCheckToolTest.moc"
