#include "browser/FailurePage.h"

#include <QRegularExpression>
#include <QTest>

using browser::FailurePage;
using browser::LoadFailure;
using browser::LoadFailureKind;
using Kind = FailurePage::Request::Kind;

Q_DECLARE_METATYPE(QList<Kind>)

namespace {

const LoadFailure kRefused{LoadFailureKind::ConnectionRefused, -102};

FailurePage lookupPage(const QString& text = QStringLiteral("辞書"),
                       const LoadFailure& failure = kRefused) {
    FailurePage page(QUrl(QStringLiteral("http://dead.test/search?q=%E8%BE%9E%E6%9B%B8")), failure);
    page.setLookup({QStringLiteral("死んだ辞書"),
                    text,
                    {{QStringLiteral("weblio_kokugo"), QStringLiteral("Weblio辞書"),
                      QStringLiteral("http://www.weblio.jp/content/%E8%BE%9E%E6%9B%B8")},
                     {QStringLiteral("goo_kokugo"), QStringLiteral("goo辞書"),
                      QStringLiteral("http://dictionary.goo.ne.jp/srch/all/辞書/m0u/")}}});
    return page;
}

// The addresses of the page's links, as the engine reads them from the markup.
QList<QUrl> links(const QString& html) {
    QList<QUrl> out;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    for (auto it = href.globalMatch(html); it.hasNext();) {
        QString value = it.next().captured(1);
        value.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        out << QUrl(value, QUrl::StrictMode);
    }
    return out;
}

} // namespace

class FailurePageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whatever comes from outside (the copied text, a site's address, a followed link) is
    // shown as text and can't add markup to the page.
    void outsideTextCannotAddMarkup_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        const QString attack = QStringLiteral("\"><script>alert(1)</script><img src=x "
                                              "onerror=alert(2)>&amp;'");
        for (const char* field :
             {"text", "address", "site", "alternative caption", "alternative address"})
            QTest::newRow(field) << QString::fromLatin1(field) << attack;
        QTest::newRow("text closing the title")
            << QStringLiteral("text") << QStringLiteral("</title></head><body onload=x()>");
    }

    void outsideTextCannotAddMarkup() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QUrl address(QStringLiteral("http://dead.test/x"));
        if (field == u"address")
            address = QUrl(QStringLiteral("http://dead.test/") + value);
        FailurePage page(address, kRefused);
        page.setLookup({field == u"site" ? value : QStringLiteral("site"),
                        field == u"text" ? value : QStringLiteral("text"),
                        {{QStringLiteral("k"),
                          field == u"alternative caption" ? value : QStringLiteral("caption"),
                          field == u"alternative address" ? QStringLiteral("http://a.test/") + value
                                                          : QStringLiteral("http://a.test/")}}});
        const QString html = page.html();
        QVERIFY2(!html.contains(QStringLiteral("<script")), qPrintable(html));
        QVERIFY2(!html.contains(QStringLiteral("<img")), qPrintable(html));
        QVERIFY2(!html.contains(QStringLiteral("<body onload")), qPrintable(html));
        QVERIFY2(!html.contains(QStringLiteral("\"><")), qPrintable(html));
        QCOMPARE(html.count(QStringLiteral("<title>")), 1);
        QCOMPARE(html.count(QStringLiteral("</title>")), 1);
        // Still there, as text.
        if (field != u"address" && field != u"alternative address")
            QVERIFY2(html.contains(value.toHtmlEscaped()), qPrintable(html));
    }

    void textIsShownCutAndWithoutControls_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("short") << QStringLiteral("辞書") << QStringLiteral("辞書");
        QTest::newRow("controls dropped, line breaks kept")
            << QStringLiteral(u"a\u0001b\u007f\nc\u001b\td") << QStringLiteral("ab\nc\td");
        QTest::newRow("cut after 200 characters")
            << QString(500, u'字') << QString(200, u'字') + QStringLiteral("…");
        QTest::newRow("exactly 200 characters kept whole")
            << QString(200, u'字') << QString(200, u'字');
        // 199 characters, then a character outside the BMP across the cut.
        QTest::newRow("cut never splits a surrogate pair")
            << QString(199, u'a') + QStringLiteral("𠮷𠮷")
            << QString(199, u'a') + QStringLiteral("…");
    }

    void textIsShownCutAndWithoutControls() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        const QString html = lookupPage(text).html();
        QVERIFY2(html.contains(QStringLiteral("<strong>%1</strong>").arg(shown)),
                 qPrintable(html.section(QStringLiteral("<strong>"), 1).left(300)));
    }

    void pageSaysWhatFailedAndWhy() {
        const FailurePage page = lookupPage();
        const QString html = page.html();
        QVERIFY(html.contains(QStringLiteral("死んだ辞書")));
        QVERIFY(html.contains(kRefused.heading()));
        QVERIFY(html.contains(kRefused.description()));
        QVERIFY(html.contains(QStringLiteral("http://dead.test/search?q=辞書")));
        QVERIFY(html.contains(QStringLiteral("エラー -102")));
        QVERIFY(html.contains(QStringLiteral("lang=\"ja\"")));
        QCOMPARE(page.title(), QStringLiteral("死んだ辞書：サイトに接続できません"));
    }

    void everyAlternativeHasItsTwoLinks() {
        const FailurePage page = lookupPage();
        const QString html = page.html();
        const QList<QUrl> found = links(html);
        QCOMPARE(found.size(), 4);
        QList<std::pair<QString, Kind>> asked;
        for (const QUrl& url : found) {
            const auto request = page.request(url);
            QVERIFY2(request, qPrintable(url.toString()));
            asked << std::pair(request->alternative->siteKey, request->kind);
        }
        QCOMPARE(asked,
                 (QList<std::pair<QString, Kind>>{{QStringLiteral("weblio_kokugo"), Kind::LookUp},
                                                  {QStringLiteral("weblio_kokugo"), Kind::UseSite},
                                                  {QStringLiteral("goo_kokugo"), Kind::LookUp},
                                                  {QStringLiteral("goo_kokugo"), Kind::UseSite}}));
        QVERIFY(html.contains(QStringLiteral("Weblio辞書")));
        QVERIFY(html.contains(QStringLiteral("www.weblio.jp")));
        QVERIFY(html.contains(QStringLiteral("このサイトに切り替える")));
    }

    // When every site would fail alike, the page blames the network or the proxy (by name)
    // and offers trying again, and for the proxy its settings, in place of other sites.
    void networkOrProxyOffersRetryNotOtherSites_data() {
        QTest::addColumn<LoadFailure>("failure");
        QTest::addColumn<QList<Kind>>("offered");
        QTest::addColumn<QString>("cause");
        QTest::newRow("one site refused: other sites")
            << kRefused << QList<Kind>{Kind::LookUp, Kind::UseSite, Kind::LookUp, Kind::UseSite}
            << QStringLiteral("サイトのサーバー");
        QTest::newRow("no network: retry only")
            << LoadFailure{LoadFailureKind::NoNetwork, -105} << QList<Kind>{Kind::Retry}
            << QStringLiteral("ネットワークにつながっていない");
        QTest::newRow("proxy down: retry and the proxy settings")
            << LoadFailure{LoadFailureKind::Proxy, -130, QStringLiteral("127.0.0.1:3128")}
            << QList<Kind>{Kind::Retry, Kind::ProxySettings}
            << QStringLiteral("プロキシサーバー（127.0.0.1:3128）");
    }

    void networkOrProxyOffersRetryNotOtherSites() {
        QFETCH(LoadFailure, failure);
        QFETCH(QList<Kind>, offered);
        QFETCH(QString, cause);
        const FailurePage page = lookupPage(QStringLiteral("辞書"), failure);
        const QString html = page.html();
        QVERIFY2(html.contains(cause), qPrintable(html));
        QList<Kind> kinds;
        for (const QUrl& url : links(html)) {
            const auto request = page.request(url);
            QVERIFY2(request, qPrintable(url.toString()));
            kinds << request->kind;
        }
        QCOMPARE(kinds, offered);
        QCOMPARE(html.contains(QStringLiteral("ほかのサイトで調べる")),
                 !failure.concernsEverySite());
        // An alternative's own link, made up for a page that offers none, is refused.
        if (failure.concernsEverySite())
            QVERIFY(!page.request(page.requestUrl(page.alternatives().front(), Kind::LookUp)));
        // And the actions of another kind are refused on a page that does not offer them.
        if (!offered.contains(Kind::ProxySettings))
            QVERIFY(!page.request(page.actionUrl(Kind::ProxySettings)));
        if (!offered.contains(Kind::Retry))
            QVERIFY(!page.request(page.actionUrl(Kind::Retry)));
    }

    void actionLinksLastOneUse() {
        FailurePage page =
            lookupPage(QStringLiteral("辞書"), LoadFailure{LoadFailureKind::Proxy, -130});
        const QUrl retry = page.actionUrl(Kind::Retry);
        QVERIFY(page.request(retry));
        page.dropToken();
        QVERIFY(!page.request(retry));
        page.renewToken();
        QVERIFY(!page.request(retry));
        QVERIFY(page.request(page.actionUrl(Kind::ProxySettings)));
    }

    // Only the links of this very page are taken up: not another page's, not one made up.
    void linksOfOtherPagesAreRefused_data() {
        QTest::addColumn<QUrl>("url");
        const FailurePage other = lookupPage();
        const FailurePage::Alternative& weblio = other.alternatives().front();
        QTest::newRow("another page's token") << other.requestUrl(weblio, Kind::UseSite);
        QTest::newRow("no token") << QUrl(
            QStringLiteral("lexorra2-failure://use-site/?site=weblio_kokugo"));
        QTest::newRow("ordinary web address")
            << QUrl(QStringLiteral("http://www.weblio.jp/content/x"));
    }

    void linksOfOtherPagesAreRefused() {
        QFETCH(QUrl, url);
        const FailurePage page = lookupPage();
        QVERIFY(!page.request(url));
    }

    void linkWithThisPagesTokenButAnotherSiteIsRefused() {
        const FailurePage page = lookupPage();
        QUrl url = page.requestUrl(page.alternatives().front(), Kind::UseSite);
        url.setQuery(
            url.query().replace(QStringLiteral("weblio_kokugo"), QStringLiteral("yahoo2_kokugo")));
        QVERIFY(!page.request(url));
        QVERIFY(FailurePage::isPageLink(url));
        url.setHost(QStringLiteral("format-disk"));
        QVERIFY(!page.request(url));
    }

    // A copy of the page served renews the tokens: the links of an older copy stop working,
    // and a taken link (or a navigation) leaves the copy with none.
    void tokensLastOneCopyAndOneUse_data() {
        QTest::addColumn<bool>("renewed");
        QTest::addColumn<bool>("dropped");
        QTest::newRow("served again") << true << false;
        QTest::newRow("link taken") << false << true;
        QTest::newRow("served again after a link was taken") << true << true;
    }

    void tokensLastOneCopyAndOneUse() {
        QFETCH(bool, renewed);
        QFETCH(bool, dropped);
        FailurePage page = lookupPage();
        const QUrl before = page.requestUrl(page.alternatives().front(), Kind::LookUp);
        QVERIFY(page.request(before));
        if (dropped)
            page.dropToken();
        if (renewed)
            page.renewToken();
        QVERIFY(!page.request(before));
        const QUrl now = page.requestUrl(page.alternatives().front(), Kind::LookUp);
        QCOMPARE(bool(page.request(now)), renewed);
    }

    // The page's own address names it and the failed address, escapes kept byte for byte;
    // the page itself keeps out every script.
    void pageAddressCarriesTheFailedAddress_data() {
        QTest::addColumn<QByteArray>("failed");
        QTest::newRow("UTF-8 query") << QByteArray("http://dead.test/search?q=%E8%BE%9E%E6%9B%B8");
        QTest::newRow("Shift_JIS escaped twice, plus")
            << QByteArray("http://dead.test/?q=%2582%25A0+%2B&x=%26");
        QTest::newRow("https with port and fragment")
            << QByteArray("https://dead.test:8443/a/b?c=d#e");
    }

    void pageAddressCarriesTheFailedAddress() {
        QFETCH(QByteArray, failed);
        const FailurePage page(QUrl::fromEncoded(failed, QUrl::StrictMode), kRefused);
        const QUrl url = page.pageUrl();
        QVERIFY(FailurePage::isPageUrl(url));
        QCOMPARE(url.scheme(), QString::fromLatin1(FailurePage::kScheme));
        QCOMPARE(FailurePage::idOf(url), page.id());
        QCOMPARE(FailurePage::failedAddressOf(url)->toEncoded(), failed);
        const FailurePage other(QUrl::fromEncoded(failed, QUrl::StrictMode), kRefused);
        QVERIFY(other.id() != page.id());
        QVERIFY(!FailurePage::isPageUrl(QUrl::fromEncoded(failed)));
        QVERIFY(page.html().contains(
            QStringLiteral("Content-Security-Policy\" content=\"default-src 'none'")));
    }

    void pageOfAFollowedLinkOffersNothing() {
        const FailurePage page(QUrl(QStringLiteral("http://dead.test/")), kRefused);
        const QString html = page.html();
        QVERIFY(!page.isLookup());
        QVERIFY(!html.contains(QStringLiteral("ほかのサイト")));
        QVERIFY(!html.contains(QStringLiteral("調べた言葉")));
        QVERIFY(links(html).isEmpty());
        QCOMPARE(page.title(), kRefused.heading());
    }

    void lookupWithoutAlternativesSaysSo() {
        FailurePage page(QUrl(QStringLiteral("http://dead.test/")), kRefused);
        page.setLookup({QStringLiteral("NAVER"), QStringLiteral("사전"), {}});
        QVERIFY(page.html().contains(QStringLiteral("この分類にはほかのサイトがありません")));
    }

    void longTextKeepsThePageSmall() {
        // The engine takes pages of up to 2 MB this way; a megabyte copy must not reach that.
        const QString text(1 << 20, u'字');
        FailurePage page(QUrl(QStringLiteral("http://dead.test/")), kRefused);
        std::vector<FailurePage::Alternative> alternatives;
        for (int i = 0; i < 16; ++i)
            alternatives.push_back({QStringLiteral("site%1").arg(i), QStringLiteral("Site"),
                                    QStringLiteral("http://a.test/?q=") + text});
        page.setLookup({QStringLiteral("site"), text, alternatives});
        QVERIFY(page.html().toUtf8().size() < 64 * 1024);
    }
};

QTEST_APPLESS_MAIN(FailurePageTest)
#include "FailurePageTest.moc"
