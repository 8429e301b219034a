#include "SiteServer.h"
#include "browser/BrowserTab.h"
#include "browser/ExternalProgramPrompt.h"
#include "browser/FailurePageController.h"
#include "browser/StartPage.h"
#include "browser/TabControl.h"
#include "browser/TabManager.h"
#include "browser/WebEngineBrowser.h"
#include "browser/WebEngineBrowserFactory.h"
#include "settings/Options.h"
#include "support/EventLoop.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineView>
#include <algorithm>
#include <functional>
#include <memory>

using browser::BrowserTab;
using browser::TabManager;
using browser::WebEngineBrowser;

namespace {

constexpr int kWait = 20000; // ms; every wait for the engine is bounded by this

QByteArray page(const QByteArray& title, const QByteArray& body = {}) {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title +
           "</title></head><body style=\"margin:0\">" + body + "</body></html>";
}

// The tab manager on the real engine, shown, as the main window holds it.
struct EngineTabs {
    settings::Options options;
    browser::WebEngineBrowserFactory factory;
    std::unique_ptr<TabManager> manager;
    bool back = false;
    bool forward = false;

    EngineTabs() {
        manager = std::make_unique<TabManager>(options, &factory, browser::startPageUrl(),
                                               browser::newTabPageUrl());
        QObject::connect(manager.get(), &TabManager::historyChanged, manager.get(),
                         [this](bool canGoBack, bool canGoForward) {
                             back = canGoBack;
                             forward = canGoForward;
                         });
        manager->tabControl()->resize(800, 600);
        manager->tabControl()->show();
    }

    int count() const { return manager->tabControl()->count(); }
    int active() const { return manager->tabControl()->activeIndex(); }
    QString caption(int i) const { return manager->tabControl()->tab(i)->caption(); }
    QString activeCaption() const { return caption(active()); }
    WebEngineBrowser* browser(int i) const {
        auto* sheet = manager->tabControl()->tab(i);
        return sheet ? qobject_cast<WebEngineBrowser*>(sheet->browser()) : nullptr;
    }
    WebEngineBrowser* activeBrowser() const { return browser(active()); }
};

QString bodyText(QWebEnginePage* page) {
    QString text;
    bool done = false;
    page->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                        [&](const QVariant& v) {
                            text = v.toString();
                            done = true;
                        });
    if (!waitUntil([&] { return done; }, kWait))
        return QStringLiteral("<no answer>");
    return text;
}

// Stands for the user's answer to the question before another program opens an address.
struct FakePrompt : browser::ExternalProgramPrompt {
    bool agree = false;
    QList<QUrl> asked;
    bool confirmOpening(QWidget*, const QUrl& address) override {
        asked << address;
        return address.scheme() == u"sentinel" || agree;
    }
    bool wasAsked(const QString& scheme) const {
        return std::any_of(asked.begin(), asked.end(),
                           [&](const QUrl& u) { return u.scheme() == scheme; });
    }
};

// A fake xdg-open first on PATH writes each address it is given to a file, one a line.
QString xdgOpenLog() {
    return qEnvironmentVariable("LEXORRA2_TEST_XDG_LOG");
}

QStringList openedExternally() {
    QFile file(xdgOpenLog());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    lines.removeDuplicates();
    return lines;
}

QList<QMenu*> visibleMenus() {
    QList<QMenu*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible())
            out << m;
    return out;
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void loadShowsTitleCutTo20();
    void startPageIsServedFromTheProgram();
    void statusNamesTheAddressBeingOpened();
    void backAndForwardFollowHistory();
    void linkWithTargetOpensNewTab();
    void percentEscapesReachTheSite_data();
    void percentEscapesReachTheSite();
    void pageMenuReplacesEnginesMenu();
    void quickLoadsEndOnTheLastAskedFor();
    void popupsWithoutAClickOpenNoTab();
    void externalProgramsOpenOnlyWhenConfirmed_data();
    void externalProgramsOpenOnlyWhenConfirmed();

private:
    SiteServer server_;
    QString url(const char* path) const { return QString::fromLatin1(server_.base() + path); }
};

void EngineTest::initTestCase() {
    QVERIFY(server_.start());
    server_.addPage("/title25", page("ABCDEFGHIJKLMNOPQRSTUVWXY"));
    server_.addPage("/a", page("Page A", "<p>a</p>"));
    server_.addPage("/b", page("Page B", "<p>b</p>"));
    server_.addPage("/opener",
                    page("Opener", "<a id=\"l\" href=\"/target\" target=\"_blank\" "
                                   "style=\"display:block;width:100%;height:400px\">open</a>"));
    server_.addPage("/target", page("Target page", "<p>target</p>"));
    server_.addPage("/quick", page("quick"));
    server_.addPage("/popups", page("popups", "<script>for (var i = 0; i < 15; ++i)"
                                              "  window.open('/target?' + i);</script>"));
    server_.addPage("/mouse",
                    page("ready", "<div style=\"width:100%;height:400px\"></div><script>"
                                  "var log = [];"
                                  "document.addEventListener('mousedown', function (e) {"
                                  "  log.push('down' + e.button); document.title = log.join(',');"
                                  "});"
                                  "document.addEventListener('contextmenu', function (e) {"
                                  "  log.push('menu'); document.title = log.join(',');"
                                  "});</script>"));
}

void EngineTest::loadShowsTitleCutTo20() {
    EngineTabs t;
    QSignalSpy status(t.manager.get(), &TabManager::statusTextChanged);
    t.manager->openAddress(url("/title25"));
    QCOMPARE(t.activeCaption(), QStringLiteral("Loading..."));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"), kWait);
    WAIT_COMPARE(t.manager->rememberedAddress(), url("/title25"), kWait);
    QVERIFY(!status.isEmpty());
    QVERIFY(!t.activeBrowser()->isLoading());
}

void EngineTest::startPageIsServedFromTheProgram() {
    EngineTabs t;
    t.manager->openAddress(browser::startPageUrl());
    QCOMPARE(t.activeCaption(), QStringLiteral("Lexorar2"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Lexorra2"), kWait);
    const QString text = bodyText(t.activeBrowser()->page());
    QVERIFY2(text.contains(QStringLiteral("Copy a word in any program to look it up")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("ようこそ")), qPrintable(text));
}

// While B loads after A, the status bar names B, as a person reads it.
void EngineTest::statusNamesTheAddressBeingOpened() {
    EngineTabs t;
    t.manager->openAddress(url("/a?q=%E8%BE%9E%E6%9B%B8"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Page A"), kWait);
    WAIT_VERIFY(!t.activeBrowser()->isLoading(), kWait);
    QSignalSpy status(t.manager.get(), &TabManager::statusTextChanged);
    t.manager->openAddress(url("/b?q=%E8%BE%9E%E6%9B%B8%2B"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Page B"), kWait);
    WAIT_VERIFY(!t.activeBrowser()->isLoading(), kWait);
    QStringList said;
    for (const QList<QVariant>& args : status)
        said << args.at(0).toString();
    const QString opening = url("/b?q=") + QStringLiteral("辞書%2B を開いています...");
    QVERIFY2(said.contains(opening), qPrintable(said.join(u'\n')));
    QVERIFY2(!said.join(u'\n').contains(QStringLiteral("/a?")), qPrintable(said.join(u'\n')));
}

void EngineTest::backAndForwardFollowHistory() {
    EngineTabs t;
    QSignalSpy focus(t.manager.get(), &TabManager::focusSearchBoxRequested);
    t.manager->openAddress(url("/a"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Page A"), kWait);
    QVERIFY(!t.back && !t.forward);

    t.manager->openAddress(url("/b"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Page B"), kWait);
    WAIT_VERIFY(t.back && !t.forward, kWait);
    QCOMPARE(t.count(), 1);

    t.manager->goBack();
    QCOMPARE(focus.size(), 1);
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Page A"), kWait);
    WAIT_VERIFY(!t.back && t.forward, kWait);
    WAIT_COMPARE(t.manager->rememberedAddress(), url("/a"), kWait);

    t.manager->goForward();
    QCOMPARE(focus.size(), 2);
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Page B"), kWait);
    WAIT_VERIFY(t.back && !t.forward, kWait);
}

void EngineTest::linkWithTargetOpensNewTab() {
    EngineTabs t;
    t.manager->openAddress(url("/opener"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Opener"), kWait);
    QWebEngineView* view = t.activeBrowser()->view();
    WAIT_VERIFY(view->focusProxy(), kWait);

    // The first clicks after a load can be lost while the engine sets up its input.
    QDeadlineTimer deadline(kWait);
    while (t.count() == 1 && !deadline.hasExpired()) {
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(100, 100));
        if (waitUntil([&] { return t.count() > 1; }, 1500))
            break;
    }

    QCOMPARE(t.count(), 2);
    QCOMPARE(t.active(), 1);
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Target page"), kWait);
    WAIT_COMPARE(t.activeBrowser()->address(), url("/target"), kWait);
    // The tab asked for the opener's address before the engine put the target in its place;
    // that address is not loaded afterwards.
    WAIT_VERIFY(!t.activeBrowser()->isLoading(), kWait);
    QVERIFY(!t.activeBrowser()->followsAskedLoad());
    QCOMPARE(t.activeBrowser()->address(), url("/target"));
    QVERIFY(server_.targets().contains("/target"));
    QCOMPARE(t.browser(0)->address(), url("/opener"));
    QVERIFY(!t.manager->isOpeningWindowTab());
    QVERIFY(!t.options.newTabPerSearch);
}

void EngineTest::percentEscapesReachTheSite_data() {
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("received");

    auto same = [](const char* name, const QByteArray& target) {
        QTest::newRow(name) << target << target;
    };
    same("UTF-8 query", "/echo?p=%E8%BE%9E%E6%9B%B8&stype=0&dtype=0");
    same("Shift_JIS query with a blank as plus",
         "/echo?match=beginswith&_ie=Shift_JIS&search=%93%8C%8B%9E+%89w&dic=ja");
    same("EUC-JP half-width katakana", "/echo/result/?MT=%8E%B1");
    same("escaped twice", "/echo?q=%2582%25A0%2B");
    same("reserved characters escaped", "/echo?q=%2B%26%3D%25%2F%23%3F%5C");
    same("escapes in the path", "/echo/%E3%81%82/%82%A0/x?y=%C6%FC");
    QTest::newRow("a lone percent is a percent")
        << QByteArray("/echo?q=100%&w=%E8%BE%9E") << QByteArray("/echo?q=100%25&w=%E8%BE%9E");
}

void EngineTest::percentEscapesReachTheSite() {
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, received);
    EngineTabs t;
    const qsizetype before = server_.targets().size();
    t.manager->openAddress(QString::fromLatin1(server_.base() + target));
    WAIT_VERIFY(server_.targets().size() > before, kWait);
    QCOMPARE(server_.targets().at(before), received);
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("echo"), kWait);
}

void EngineTest::pageMenuReplacesEnginesMenu() {
    EngineTabs t;
    t.manager->openAddress(url("/mouse"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("ready"), kWait);
    QWebEngineView* view = t.activeBrowser()->view();
    WAIT_VERIFY(view->focusProxy(), kWait);
    QWidget* proxy = view->focusProxy();
    const QPoint at(60, 60);

    // The first clicks after a load can be lost while the engine sets up its input; click
    // until the page logs one, then start the log afresh.
    QDeadlineTimer deadline(kWait);
    while (!t.browser(0)->title().startsWith(QStringLiteral("down0")) && !deadline.hasExpired()) {
        QTest::mouseClick(proxy, Qt::LeftButton, {}, at);
        (void)waitUntil([&] { return t.browser(0)->title().startsWith(QStringLiteral("down0")); },
                        1500);
    }
    // Clicks reach the page in order: once a middle click is logged, every left click made
    // before it has arrived.
    QTest::mouseClick(proxy, Qt::MiddleButton, {}, at);
    WAIT_VERIFY(t.browser(0)->title().endsWith(QStringLiteral("down1")), kWait);
    t.activeBrowser()->page()->runJavaScript(QStringLiteral("log = []; document.title = 'ready';"));
    WAIT_COMPARE(t.browser(0)->title(), QStringLiteral("ready"), kWait);

    QTest::mousePress(proxy, Qt::RightButton, {}, at);
    QMenu* pageMenu = t.manager->pageMenu();
    WAIT_VERIFY(pageMenu->isVisible(), kWait);
    pageMenu->hide();
    QTest::mouseRelease(proxy, Qt::RightButton, {}, at);

    // A left click afterwards reaches the page; had the right press reached it too, the page
    // would have logged it first.
    QTest::mouseClick(proxy, Qt::LeftButton, {}, at);
    WAIT_COMPARE(t.browser(0)->title(), QStringLiteral("down0"), kWait);
    QCOMPARE(view->lastContextMenuRequest(), nullptr);
    QCOMPARE(visibleMenus(), QList<QMenu*>{});

    // A right double click is caught the same way.
    QTest::mouseDClick(proxy, Qt::RightButton, {}, at);
    WAIT_VERIFY(pageMenu->isVisible(), kWait);
    pageMenu->hide();
    QTest::mouseClick(proxy, Qt::LeftButton, {}, at);
    WAIT_COMPARE(t.browser(0)->title(), QStringLiteral("down0,down0"), kWait);
    QCOMPARE(view->lastContextMenuRequest(), nullptr);
}

int main(int argc, char** argv) {
    QTemporaryDir fakeBin;
    {
        QFile xdgOpen(fakeBin.filePath(QStringLiteral("xdg-open")));
        if (!xdgOpen.open(QIODevice::WriteOnly))
            return 2;
        xdgOpen.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"$LEXORRA2_TEST_XDG_LOG\"\n");
        xdgOpen.close();
        xdgOpen.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("LEXORRA2_TEST_XDG_LOG", fakeBin.filePath(QStringLiteral("opened.log")).toUtf8());
    qputenv("PATH", fakeBin.path().toUtf8() + ':' + qgetenv("PATH"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    browser::registerStartPageScheme();
    browser::FailurePageController::registerScheme();
    QApplication app(argc, argv);
    browser::installStartPage();
    EngineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EngineTest.moc"

// Lookups made in quick turns, as copies come: the page ends on the last one, and each one the
// site got, it got once. The engine now and then forgets a load asked for while another is
// being committed; the browser must ask again.
void EngineTest::quickLoadsEndOnTheLastAskedFor() {
    EngineTabs t;
    t.manager->openAddress(url("/a"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Page A"), kWait);
    constexpr int kRounds = 20;
    constexpr int kLoadsPerRound = 3;
    for (int round = 0; round < kRounds; ++round) {
        QByteArray last;
        for (int k = 0; k < kLoadsPerRound; ++k) {
            last = "/quick?r=" + QByteArray::number(round) + "&k=" + QByteArray::number(k);
            t.manager->openAddress(QString::fromLatin1(server_.base() + last));
            QTest::qWait(5 + (round * 7 + k * 11) % 40);
        }
        WAIT_COMPARE(t.activeBrowser()->address(), QString::fromLatin1(server_.base() + last),
                     kWait);
        WAIT_VERIFY(!t.activeBrowser()->isLoading(), kWait);
        QCOMPARE(server_.targets().count(last), 1);
    }
}

// A page that opens windows by itself, without a click, gets no tab; the status bar says so once.
void EngineTest::popupsWithoutAClickOpenNoTab() {
    EngineTabs t;
    t.manager->openAddress(url("/a"));
    WAIT_COMPARE(t.activeCaption(), QStringLiteral("Page A"), kWait);
    int asked = 0;
    QObject::connect(t.activeBrowser()->page(), &QWebEnginePage::newWindowRequested,
                     t.activeBrowser(), [&](QWebEngineNewWindowRequest&) { ++asked; });
    QSignalSpy status(t.manager.get(), &TabManager::statusTextChanged);

    t.manager->openAddress(url("/popups"));
    WAIT_COMPARE(asked, 15, kWait);
    WAIT_VERIFY(!t.activeBrowser()->isLoading(), kWait);
    QCOMPARE(t.count(), 1);
    QCOMPARE(t.active(), 0);
    QCOMPARE(t.activeBrowser()->address(), url("/popups"));
    int told = 0;
    for (const QList<QVariant>& args : status)
        told += args.at(0).toString().contains(QStringLiteral("ポップアップ"));
    QCOMPARE(told, 1);
    QVERIFY(!server_.targets().contains("/target?0"));
}

// A page's link to another program's scheme opens only after the user said yes to the
// question naming it; a script, a site's redirect, a local file and the program's own pages
// never get that far. Each row ends with a link the user agrees to, whose opening tells that
// anything opened before it has been written down.
void EngineTest::externalProgramsOpenOnlyWhenConfirmed_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("click");
    QTest::addColumn<bool>("agree");
    QTest::addColumn<QString>("askedScheme");
    QTest::addColumn<QStringList>("opened");

    auto link = [](const QByteArray& href) {
        return "<a href=\"" + href +
               "\" onclick=\"document.title='clicked'\" style=\"display:block;height:200px\">"
               "link</a>";
    };
    QTest::newRow("ssh link, the user says no")
        << link("ssh:user@host.test") << true << false << "ssh" << QStringList{};
    QTest::newRow("mail with an attachment, the user says no")
        << link("mailto:a@host.test?attach=/etc/passwd") << true << false << "mailto"
        << QStringList{};
    QTest::newRow("application link, the user says yes")
        << link("someapp://run?cmd=calc") << true << true << "someapp"
        << QStringList{QStringLiteral("someapp://run?cmd=calc")};
    QTest::newRow("script without a click")
        << QByteArray("<script>onload = function () { setTimeout(function () {"
                      "  location.href = 'someapp://run?cmd=script'; document.title = 'navigated';"
                      "}, 0); };</script>")
        << false << true << QString() << QStringList{};
    QTest::newRow("redirect after a click")
        << link("/to-someapp") << true << true << QString() << QStringList{};
    QTest::newRow("local file") << link("file:///etc/passwd") << true << true << QString()
                                << QStringList{};
    QTest::newRow("the program's own page")
        << link(browser::startPageUrl().toLatin1()) << true << true << QString() << QStringList{};
}

void EngineTest::externalProgramsOpenOnlyWhenConfirmed() {
    QFETCH(QByteArray, body);
    QFETCH(bool, click);
    QFETCH(bool, agree);
    QFETCH(QString, askedScheme);
    QFETCH(QStringList, opened);
    QFile::remove(xdgOpenLog());
    server_.addRedirect("/to-someapp", "someapp://run?cmd=redirected");
    static int row = 0;
    const QByteArray path = "/external-" + QByteArray::number(++row);
    server_.addPage(path,
                    page("external", body + "<a href=\"sentinel:done\" style=\"position:absolute;"
                                            "top:300px;height:150px;width:100%\">sentinel</a>"));
    FakePrompt prompt;
    prompt.agree = agree;
    EngineTabs t;
    t.factory.setExternalProgramPrompt(&prompt);
    t.manager->openAddress(url(path.constData()));
    WAIT_VERIFY(t.activeBrowser()->title() == u"external" ||
                    t.activeBrowser()->title() == u"navigated",
                kWait);
    WAIT_VERIFY(!t.activeBrowser()->isLoading(), kWait);
    QWebEngineView* view = t.activeBrowser()->view();
    WAIT_VERIFY(view->focusProxy(), kWait);

    // The first clicks after a load can be lost while the engine sets up its input.
    auto clickUntil = [&](QPoint at, const std::function<bool()>& arrived) {
        QDeadlineTimer deadline(kWait);
        while (!arrived() && !deadline.hasExpired()) {
            QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, at);
            (void)waitUntil(arrived, 5000);
        }
        return arrived();
    };
    if (click)
        QVERIFY(clickUntil(QPoint(100, 100), [&] {
            return t.activeBrowser()->title() == u"clicked" || !prompt.asked.isEmpty();
        }));
    else
        WAIT_COMPARE(t.activeBrowser()->title(), QStringLiteral("navigated"), kWait);
    if (!askedScheme.isEmpty())
        WAIT_VERIFY(prompt.wasAsked(askedScheme), kWait);
    QVERIFY(
        clickUntil(QPoint(100, 350), [&] { return prompt.wasAsked(QStringLiteral("sentinel")); }));
    WAIT_VERIFY(openedExternally().contains(QStringLiteral("sentinel:done")), kWait);

    QStringList expected = opened;
    expected << QStringLiteral("sentinel:done");
    QVERIFY2(openedExternally() == expected, qPrintable(openedExternally().join(u", ")));
    for (const QUrl& asked : prompt.asked)
        QVERIFY2(asked.scheme() == askedScheme || asked.scheme() == u"sentinel",
                 qPrintable(asked.toString()));
}
