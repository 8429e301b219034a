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

    // Steps: "ask X" (the program asks for X), "start X" (the engine takes it up), "redirect
    // X" (the site sends the navigation on to X), "show X" (the page's address becomes X),
    // "end X" (the page ends loading showing X), "check" (the while after "later" is over),
    // "other" (back, forward, reload, a link). Each "end" gives "-", "later" or the address
    // asked for again; each "check" gives "-" or the address asked for again.
    void retries_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("results");

        const auto row = [](const char* name, const QStringList& steps,
                            const QStringList& results) {
            QTest::newRow(name) << steps << results;
        };
        row("shown as asked", {"ask b", "start b", "show b", "end b", "end c"}, {"-", "-"});
        row("never taken up: asked again at once", {"ask b", "end a", "start b", "end b"},
            {"b", "-"});
        row("taken up, an older page ends: shown a moment later",
            {"ask b", "start b", "end a", "show b", "check", "end b"}, {"later", "-", "-"});
        row("taken up and lost: asked again after the while",
            {"ask b", "start b", "end a", "check", "start b", "end b"}, {"later", "b", "-"});
        row("shown without a start reported", {"ask b", "end b"}, {"-"});
        row("asked again once only", {"ask b", "end a", "end a", "start b", "end a", "check"},
            {"b", "-", "-", "-"});
        row("a new ask starts afresh", {"ask b", "start b", "end a", "ask c", "check", "end b"},
            {"later", "-", "c"});
        row("only the newest ask counts", {"ask b", "ask c", "start c", "end c"}, {"-"});
        row("sent on by the site", {"ask b", "start b", "redirect d", "end d"}, {"-"});
        row("sent on twice", {"ask b", "start b", "redirect d", "redirect e", "end e"}, {"-"});
        row("a redirect before the start is an older page's", {"ask b", "redirect d", "end d"},
            {"b"});
        row("back, forward, reload or a link supersede the ask",
            {"ask b", "start b", "end a", "other", "check"}, {"later", "-"});
        row("nothing asked", {"end a", "check"}, {"-", "-"});
    }

    void retries() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, results);
        const auto url = [](const QString& name) { return QUrl("http://h.test/" + name); };
        const auto name = [](const std::optional<QUrl>& again) {
            return again ? again->path().mid(1) : QStringLiteral("-");
        };
        NavigationWatch watch;
        QStringList got;
        for (const QString& step : steps) {
            const QString verb = step.section(' ', 0, 0);
            const QUrl address = url(step.section(' ', 1));
            if (verb == "ask") {
                watch.asked(address);
            } else if (verb == "start") {
                watch.started(address);
            } else if (verb == "redirect") {
                watch.redirected(address);
            } else if (verb == "show") {
                watch.shown(address);
            } else if (verb == "other") {
                watch.superseded();
            } else if (verb == "check") {
                got << name(watch.checkNow());
            } else {
                const NavigationWatch::Decision decision = watch.ended(address);
                if (const auto* again = std::get_if<NavigationWatch::AskAgain>(&decision))
                    got << name(again->url);
                else if (std::holds_alternative<NavigationWatch::CheckLater>(decision))
                    got << QStringLiteral("later");
                else
                    got << QStringLiteral("-");
            }
        }
        QCOMPARE(got, results);
    }
};

QTEST_GUILESS_MAIN(NavigationWatchTest)
#include "NavigationWatchTest.moc"
