#include "browser/ProxyAddress.h"

#include "browser/ProxyControl.h"

#include <QTest>

using browser::ProxyAddress;

namespace {

// Records what the control was asked to do.
class RecordingProxyControl : public browser::ProxyControl {
public:
    QStringList calls;
    void useProxy(const ProxyAddress& address) override { calls << address.toString(); }
    void useNoProxy() override { calls << QStringLiteral("none"); }
};

} // namespace

class ProxyAddressTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsHostAndPort_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");

        const auto row = [](const char* name, const QString& typed, const char* host, int port) {
            QTest::newRow(name) << typed << QString::fromLatin1(host) << port;
        };
        row("IPv4 and port", "192.168.0.1:8080", "192.168.0.1", 8080);
        row("host name", "proxy.example.jp:3128", "proxy.example.jp", 3128);
        row("single-label host", "squid:8080", "squid", 8080);
        row("host name in capitals", "Proxy.Example.JP:80", "proxy.example.jp", 80);
        row("blanks around", "  10.0.0.1:8080\t", "10.0.0.1", 8080);
        row("http scheme and slash", "http://10.0.0.1:8080/", "10.0.0.1", 8080);
        row("scheme in capitals", "HTTP://10.0.0.1:8080", "10.0.0.1", 8080);
        row("lowest port", "h.test:1", "h.test", 1);
        row("highest port", "h.test:65535", "h.test", 65535);
        row("port with leading zeros", "h.test:08080", "h.test", 8080);
        row("IPv6 in brackets", "[::1]:8080", "::1", 8080);
        row("IPv6 written long", "[2001:DB8:0:0:0:0:0:1]:3128", "2001:db8::1", 3128);
        row("Japanese host name", QStringLiteral("プロキシ.jp:8080"), "xn--nckua8gwd.jp", 8080);
        row("hyphen inside a label", "my-proxy.test:8080", "my-proxy.test", 8080);
    }

    void readsHostAndPort() {
        QFETCH(QString, typed);
        QFETCH(QString, host);
        QFETCH(int, port);
        QString error = QStringLiteral("untouched");
        const std::optional<ProxyAddress> address = ProxyAddress::parse(typed, &error);
        QVERIFY2(address, qPrintable(error));
        QCOMPARE(address->host(), host);
        QCOMPARE(int(address->port()), port);
    }

    // Each text is refused with a message that quotes it and names what is wrong.
    void refusesWhatNamesNoServer_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");

        const auto row = [](const char* name, const QString& typed, const QString& reason) {
            QTest::newRow(name) << typed << reason;
        };
        const QString noPort = QStringLiteral("ポート番号がありません");
        const QString badPort = QStringLiteral("1 から 65535");
        const QString badHost = QStringLiteral("ホスト名としても IP アドレスとしても読めません");
        row("the dialog's own example", "*.*.*.*:8080", badHost);
        row("no port", "192.168.0.1", noPort);
        row("colon without port", "192.168.0.1:", noPort);
        row("port zero", "h.test:0", badPort);
        row("port too large", "h.test:65536", badPort);
        row("port with letters", "h.test:80a", badPort);
        row("negative port", "h.test:-1", badPort);
        row("no host", ":8080", QStringLiteral("ホスト名か IP アドレスがありません"));
        row("IPv4 part over 255", "192.168.0.256:8080", badHost);
        row("three-part address", "192.168.1:8080", badHost);
        row("blank inside", "my proxy:8080", QStringLiteral("余分な文字"));
        row("path behind", "h.test:8080/path", QStringLiteral("余分な文字"));
        row("user in front", "user@h.test:8080", QStringLiteral("余分な文字"));
        row("another scheme", "socks5://h.test:1080", QStringLiteral("HTTP のプロキシだけ"));
        row("IPv6 without brackets", "::1:8080", QStringLiteral("「[」と「]」で囲んで"));
        row("open bracket only", "[::1:8080", QStringLiteral("「]」がありません"));
        row("not IPv6 in brackets", "[h.test]:8080", QStringLiteral("IPv6 アドレスではありません"));
        row("label starting with hyphen", "-proxy.test:8080", badHost);
        row("empty label", "proxy..test:8080", badHost);
        row("label of 64 characters", QString(64, QLatin1Char('a')) + ".test:8080", badHost);
        row("underscore", "my_proxy:8080", badHost);
    }

    void refusesWhatNamesNoServer() {
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!ProxyAddress::parse(typed, &error));
        QVERIFY2(error.contains(typed.trimmed()), qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        // Every message shows how an address is written.
        QVERIFY2(error.contains(QStringLiteral("192.168.0.1:8080")), qPrintable(error));
    }

    void emptyTextAsksForAnAddress() {
        QString error;
        QVERIFY(!ProxyAddress::parse(QStringLiteral("   "), &error));
        QVERIFY2(error.contains(QStringLiteral("入力されていません")), qPrintable(error));
    }

    void writesHostAndPort_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("IPv4") << "http://10.0.0.1:8080/"
                              << "10.0.0.1:8080";
        QTest::newRow("IPv6 in brackets") << "[::1]:3128"
                                          << "[::1]:3128";
    }

    void writesHostAndPort() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QCOMPARE(ProxyAddress::parse(typed)->toString(), written);
    }

    // The choice as the dialog and the settings file hold it, put in force.
    void applyPutsTheChoiceInForce_data() {
        QTest::addColumn<bool>("useProxy");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("refused");

        QTest::newRow("proxy") << true << "10.0.0.1:8080" << QStringList{"10.0.0.1:8080"} << false;
        QTest::newRow("no proxy keeps the address aside")
            << false << "10.0.0.1:8080" << QStringList{"none"} << false;
        QTest::newRow("proxy with a blank address is no proxy")
            << true << "  " << QStringList{"none"} << false;
        QTest::newRow("no proxy with a bad address")
            << false << "*.*.*.*:8080" << QStringList{"none"} << false;
        QTest::newRow("a bad address changes nothing")
            << true << "*.*.*.*:8080" << QStringList{} << true;
    }

    void applyPutsTheChoiceInForce() {
        QFETCH(bool, useProxy);
        QFETCH(QString, address);
        QFETCH(QStringList, calls);
        QFETCH(bool, refused);
        RecordingProxyControl control;
        const QString error = control.apply(useProxy, address);
        QCOMPARE(control.calls, calls);
        QCOMPARE(!error.isEmpty(), refused);
    }
};

QTEST_GUILESS_MAIN(ProxyAddressTest)
#include "ProxyAddressTest.moc"
