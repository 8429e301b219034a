#include "browser/NavigationWatch.h"

#include <QTest>

using browser::NavigationWatch;

class NavigationWatchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Ours: the address as the program asks for it; engine's: as the engine reports it back.
    void sameAddress_data() {
        QTest::addColumn<QString>("ours");
        QTest::addColumn<QByteArray>("engines");
        QTest::addColumn<bool>("same");

        const auto row = [](const char* name, const QString& ours, const char* engines, bool same) {
            QTest::newRow(name) << ours << QByteArray(engines) << same;
        };
        row("identical", "http://h.test/s?q=a&x=1", "http://h.test/s?q=a&x=1", true);
        row("quote and blank escaped by the engine", "http://h.test/s?q=a'b c\"d",
            "http://h.test/s?q=a%27b%20c%22d", true);
        row("Japanese text raw and escaped", QStringLiteral("http://h.test/s?q=辞書"),
            "http://h.test/s?q=%E8%BE%9E%E6%9B%B8", true);
        row("Shift_JIS escapes", "http://h.test/s?q=%82%A0", "http://h.test/s?q=%82%A0", true);
        row("hex digits in either case", "http://h.test/s?q=%e8%be%9e",
            "http://h.test/s?q=%E8%BE%9E", true);
        row("an escaped letter", "http://h.test/s?q=%41", "http://h.test/s?q=A", true);
        row("host without a path", "http://h.test", "http://h.test/", true);
        row("host in capitals", "http://H.Test/x", "http://h.test/x", true);
        row("fragment kept and equal", "http://h.test/#auto/ja/a%20b",
            "http://h.test/#auto/ja/a%20b", true);
        row("an escaped plus is not a plus", "http://h.test/s?q=a%2Bb", "http://h.test/s?q=a+b",
            false);
        row("an escaped ampersand is not a separator", "http://h.test/s?q=a%26b",
            "http://h.test/s?q=a&b", false);
        row("escaped twice is not escaped once", "http://h.test/s?q=%2582", "http://h.test/s?q=%82",
            false);
        row("another query", "http://h.test/s?q=a", "http://h.test/s?q=b", false);
        row("another fragment", "http://h.test/#auto/ja/a", "http://h.test/#auto/ja/b", false);
        row("another host", "http://h.test/s?q=a", "http://g.test/s?q=a", false);
    }

    void sameAddress() {
        QFETCH(QString, ours);
        QFETCH(QByteArray, engines);
        QFETCH(bool, same);
        QCOMPARE(NavigationWatch::sameAddress(QUrl(ours), QUrl::fromEncoded(engines)), same);
    }

    // Steps: "ask X" (the program asks for X), "start X" (the engine takes up X), "redirect
    // X" (the site sends the navigation on to X), "end X" (the page ends loading showing X),
    // "other" (back, forward, reload, a link). Each "end" gives what is asked for again, or
    // "-".
    void retries_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("again");

        const auto row = [](const char* name, const QStringList& steps, const QStringList& again) {
            QTest::newRow(name) << steps << again;
        };
        row("shown as asked", {"ask b", "start b", "end b", "end c"}, {"-", "-"});
        row("lost before it started: asked again", {"ask b", "end a", "start b", "end b"},
            {"b", "-"});
        row("lost after it started: asked again", {"ask b", "start b", "end a", "end b"},
            {"b", "-"});
        row("shown without a start reported", {"ask b", "end b"}, {"-"});
        row("asked again once only", {"ask b", "end a", "end a", "end a"}, {"b", "-", "-"});
        row("a new ask starts its own retry", {"ask b", "end a", "ask c", "end b"}, {"b", "c"});
        row("only the newest ask counts", {"ask b", "ask c", "start c", "end c"}, {"-"});
        row("sent on by the site", {"ask b", "start b", "redirect d", "end d"}, {"-"});
        row("sent on twice", {"ask b", "start b", "redirect d", "redirect e", "end e"}, {"-"});
        row("a redirect before the start is an older page's", {"ask b", "redirect d", "end d"},
            {"b"});
        row("asked again after a redirect: expects the address asked for",
            {"ask b", "start b", "redirect d", "end a", "end b"}, {"b", "-"});
        row("back, forward, reload or a link supersede the ask", {"ask b", "other", "end a"},
            {"-"});
        row("nothing asked", {"end a"}, {"-"});
    }

    void retries() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, again);
        const auto url = [](const QString& name) { return QUrl("http://h.test/" + name); };
        NavigationWatch watch;
        QStringList got;
        for (const QString& step : steps) {
            const QString verb = step.section(' ', 0, 0);
            const QString name = step.section(' ', 1);
            if (verb == "ask") {
                watch.asked(url(name));
            } else if (verb == "start") {
                watch.started(url(name));
            } else if (verb == "redirect") {
                watch.redirected(url(name));
            } else if (verb == "other") {
                watch.superseded();
            } else {
                const std::optional<QUrl> result = watch.ended(url(name));
                got << (result ? result->path().mid(1) : QStringLiteral("-"));
            }
        }
        QCOMPARE(got, again);
    }
};

QTEST_GUILESS_MAIN(NavigationWatchTest)
#include "NavigationWatchTest.moc"
