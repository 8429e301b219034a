#include "browser/TabManager.h"

#include "browser/BrowserTab.h"
#include "browser/LoadingIndicator.h"
#include "browser/TabControl.h"
#include "browser/TabStrip.h"
#include "settings/Options.h"
#include "support/FakeBrowser.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <memory>

using browser::BrowserTab;
using browser::TabControl;
using browser::TabManager;
using browser::TabStrip;

namespace {

const QString kLogo = QStringLiteral("lexorra2://home/Lexorra2pro_LOGO.html");
const QString kNewTabPage = QStringLiteral("https://www.google.co.jp/");

QString site(int n) {
    return QStringLiteral("http://site.test/page%1").arg(n);
}

// One tab manager with its option and a fake engine, as the main window would set it up.
struct Tabs {
    settings::Options options;
    FakeBrowserFactory factory;
    std::unique_ptr<TabManager> manager;

    Tabs() { manager = std::make_unique<TabManager>(options, &factory, kLogo, kNewTabPage); }

    TabControl* pc() const { return manager->tabControl(); }
    TabStrip* strip() const { return pc()->tabStrip(); }
    int count() const { return pc()->count(); }
    int active() const { return pc()->activeIndex(); }

    BrowserTab* tab(int i) const { return pc()->tab(i); }
    FakeBrowser* browser(int i) const {
        BrowserTab* s = tab(i);
        return s ? qobject_cast<FakeBrowser*>(s->browser()) : nullptr;
    }
    FakeBrowser* activeBrowser() const { return browser(active()); }

    QStringList captions() const {
        QStringList out;
        for (int i = 0; i < count(); ++i)
            out << pc()->tab(i)->caption();
        return out;
    }

    // n new tabs on site(1) .. site(n), the last one active.
    void open(int n) {
        for (int i = 1; i <= n; ++i)
            manager->openInNewTab(site(i));
    }

    void show(QSize size = {400, 300}) {
        pc()->resize(size);
        pc()->show();
        QVERIFY(QTest::qWaitForWindowExposed(pc()));
    }

    // The user picks a tab with the mouse.
    void click(int i) {
        QTest::mouseClick(strip(), Qt::LeftButton, {}, strip()->tabRect(i).center());
    }
};

QString repeat(const QString& unit, int n) {
    QString s;
    for (int i = 0; i < n; ++i)
        s += unit;
    return s;
}

} // namespace

class TabManagerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void createNewTabBrowser_data();
    void createNewTabBrowser();
    void backgroundTabsKeepLoadingCaption();
    void captionFromTitle_data();
    void captionFromTitle();
    void titleChangeOfBackgroundTabRenamesOnlyTheActiveTab();
    void statusTextFromAnyTab();
    void onlyTheActiveTabsLoadEndIsTold();
    void historyGoesToTheSendersTab_data();
    void historyGoesToTheSendersTab();
    void buttonsFollowTheActiveTabsReport();
    void backAndForwardFocusSearchBoxFirst_data();
    void backAndForwardFocusSearchBoxFirst();
    void closeMakesRightmostActive_data();
    void closeMakesRightmostActive();
    void closeOnlyTabOpensStartPage();
    void closeFromTabMenuActsOnActiveTab();
    void closeAll_data();
    void closeAll();
    void newTabLeavesOptionAsItWas_data();
    void newTabLeavesOptionAsItWas();
    void newWindowOpensTabAtRightEnd_data();
    void newWindowOpensTabAtRightEnd();
    void commandsWithoutBrowserTabDoNothing_data();
    void commandsWithoutBrowserTabDoNothing();
    void pageMenuCommandsGoToActiveBrowser_data();
    void pageMenuCommandsGoToActiveBrowser();
    void shownAddressLagsBehindAfterClose();
    void menusAndActionsCarryTheirNames();
    void rightPressShowsPageMenu_data();
    void rightPressShowsPageMenu();
    void dragAndDrop_data();
    void dragAndDrop();
    void tabsWrapIntoRows();
    void tabDrawing();
    void loadingIsShownOnlyWhenItLasts();
    void noNetworkIsSaidOncePerSpell();
    void noticeStandsWhenThePointerLeavesALink_data();
    void noticeStandsWhenThePointerLeavesALink();
    void failurePageButtonReachesTheWindow();
};

// ---------------------------------------------------------------------------------------
// Opening pages

void TabManagerTest::createNewTabBrowser_data() {
    QTest::addColumn<bool>("openNew");
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("activeGoCalls");

    QTest::newRow("first call opens a tab although the option is off")
        << false << QStringList{site(1)} << 1 << QStringList{"Loading..."} << QStringList{site(1)};
    QTest::newRow("option off: two lookups reuse the one tab")
        << false << QStringList{site(1), site(2)} << 1 << QStringList{"Loading..."}
        << QStringList{site(1), site(2)};
    QTest::newRow("option on: three lookups open three tabs, the last active")
        << true << QStringList{site(1), site(2), site(3)} << 3
        << QStringList{"Loading...", "Loading...", "Loading..."} << QStringList{site(3)};
    QTest::newRow("new tab on the start page is captioned Lexorar2")
        << false << QStringList{kLogo} << 1 << QStringList{"Lexorar2"} << QStringList{kLogo};
    QTest::newRow("start page in a reused tab is Loading...")
        << false << QStringList{site(1), kLogo} << 1 << QStringList{"Loading..."}
        << QStringList{site(1), kLogo};
    QTest::newRow("only the exact start page address counts")
        << true << QStringList{kLogo + "?x"} << 1 << QStringList{"Loading..."}
        << QStringList{kLogo + "?x"};
}

void TabManagerTest::createNewTabBrowser() {
    QFETCH(bool, openNew);
    QFETCH(QStringList, addresses);
    QFETCH(int, tabs);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, activeGoCalls);

    Tabs t;
    t.options.newTabPerSearch = openNew;
    for (const QString& a : addresses)
        t.manager->openAddress(a);

    QCOMPARE(t.count(), tabs);
    QCOMPARE(t.active(), tabs - 1);
    QCOMPARE(t.captions(), captions);
    QCOMPARE(t.activeBrowser()->goCalls, activeGoCalls);
    QCOMPARE(t.factory.created.size(), tabs);
    // Each browser sits inside its own page, so that a press in it is known as a press in
    // the page.
    for (int i = 0; i < tabs; ++i)
        QVERIFY(t.tab(i)->isAncestorOf(t.browser(i)));
    QCOMPARE(t.options.newTabPerSearch, openNew);
}

void TabManagerTest::backgroundTabsKeepLoadingCaption() {
    Tabs t;
    t.open(3);
    for (int i = 0; i < 3; ++i)
        t.browser(i)->finishLoad(QStringLiteral("Title %1").arg(i));
    QCOMPARE(t.captions(), (QStringList{"Loading...", "Loading...", "Title 2"}));

    t.show();
    t.click(0);
    QCOMPARE(t.active(), 0);
    QCOMPARE(t.captions(), (QStringList{"Title 0", "Loading...", "Title 2"}));
}

void TabManagerTest::captionFromTitle_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("byTitleEvent"); // else by a finished download

    const QString t25 = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY");
    const QString t20 = t25.left(20);
    const QString jp25 = repeat(QStringLiteral("辞書"), 12) + QStringLiteral("引");
    // A character outside the BMP takes units 20 and 21: cutting it in two would leave half.
    const QString pairAtCut = repeat(QStringLiteral("a"), 19) + QStringLiteral("😀b");

    for (bool byTitle : {true, false}) {
        const char* how = byTitle ? "title event" : "download complete";
        QTest::addRow("%s: 25 characters show their first 20", how) << t25 << t20 << byTitle;
        QTest::addRow("%s: 5 characters show whole", how) << "Hello"
                                                          << "Hello" << byTitle;
        QTest::addRow("%s: exactly 20 show whole", how) << t20 << t20 << byTitle;
        QTest::addRow("%s: Japanese title cut at 20 units", how)
            << jp25 << jp25.left(20) << byTitle;
        QTest::addRow("%s: surrogate pair at the cut is left out whole", how)
            << pairAtCut << pairAtCut.left(19) << byTitle;
        QTest::addRow("%s: empty title", how) << ""
                                              << "" << byTitle;
    }
}

void TabManagerTest::captionFromTitle() {
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QFETCH(bool, byTitleEvent);

    Tabs t;
    t.manager->openAddress(site(1));
    FakeBrowser* b = t.activeBrowser();
    b->currentTitle = title;
    if (byTitleEvent)
        Q_EMIT b->titleChanged(QStringLiteral("the event's own text is not used"));
    else
        Q_EMIT b->loadFinished();
    QCOMPARE(t.pc()->tab(0)->caption(), caption);
    QCOMPARE(t.strip()->captions(), QStringList{caption});
}

// ---------------------------------------------------------------------------------------
// Events of the browsers

void TabManagerTest::titleChangeOfBackgroundTabRenamesOnlyTheActiveTab() {
    Tabs t;
    t.open(2);
    t.browser(1)->currentTitle = QStringLiteral("Active");
    t.browser(0)->currentTitle = QStringLiteral("Background");
    Q_EMIT t.browser(0)->titleChanged(QStringLiteral("Background"));
    QCOMPARE(t.captions(), (QStringList{"Loading...", "Active"}));
}

void TabManagerTest::statusTextFromAnyTab() {
    Tabs t;
    t.open(3);
    QSignalSpy status(t.manager.get(), &TabManager::statusTextChanged);
    Q_EMIT t.browser(0)->statusTextChanged(QStringLiteral("background loading"));
    Q_EMIT t.browser(2)->statusTextChanged(QStringLiteral("active"));
    QCOMPARE(status.size(), 2);
    QCOMPARE(status.at(0).at(0).toString(), QStringLiteral("background loading"));
    QCOMPARE(status.at(1).at(0).toString(), QStringLiteral("active"));
}

// The window holds its repaint after a lookup until the page in view has loaded; a
// background tab's page is not in view.
void TabManagerTest::onlyTheActiveTabsLoadEndIsTold() {
    Tabs t;
    t.open(2);
    QSignalSpy ended(t.manager.get(), &TabManager::activeLoadEnded);
    t.browser(0)->setBusy(true);
    t.browser(0)->setBusy(false);
    QCOMPARE(ended.size(), 0);
    t.activeBrowser()->setBusy(true);
    QCOMPARE(ended.size(), 0);
    t.activeBrowser()->setBusy(false);
    QCOMPARE(ended.size(), 1);
}

void TabManagerTest::historyGoesToTheSendersTab_data() {
    QTest::addColumn<bool>("canBack");
    QTest::addColumn<bool>("canForward");
    QTest::addColumn<bool>("loading");

    QTest::newRow("back only") << true << false << false;
    QTest::newRow("forward only") << false << true << false;
    QTest::newRow("loading, no history") << false << false << true;
    QTest::newRow("idle, both ways") << true << true << false;
}

void TabManagerTest::historyGoesToTheSendersTab() {
    QFETCH(bool, canBack);
    QFETCH(bool, canForward);
    QFETCH(bool, loading);

    Tabs t;
    t.open(2);
    QSignalSpy history(t.manager.get(), &TabManager::historyChanged);
    FakeBrowser* sender = t.browser(0); // a background tab
    Q_EMIT sender->historyChanged(canBack, canForward);
    sender->setBusy(loading);

    QCOMPARE(t.tab(0)->canGoBack(), canBack);
    QCOMPARE(t.tab(0)->canGoForward(), canForward);
    QCOMPARE(t.tab(0)->isLoading(), loading);
    QVERIFY(!t.tab(1)->canGoBack() && !t.tab(1)->canGoForward() && !t.tab(1)->isLoading());
    // The buttons wait for the active tab's next report.
    QCOMPARE(history.size(), 0);
}

void TabManagerTest::buttonsFollowTheActiveTabsReport() {
    Tabs t;
    t.show();
    t.open(2);
    QSignalSpy history(t.manager.get(), &TabManager::historyChanged);

    t.browser(0)->finishLoad(QStringLiteral("zero"), true, false);
    // A download of a background tab refreshes from the active tab.
    QCOMPARE(history.last().at(0).toBool(), false);
    QCOMPARE(history.last().at(1).toBool(), false);

    t.browser(1)->finishLoad(QStringLiteral("one"), false, true);
    QCOMPARE(history.last().at(0).toBool(), false);
    QCOMPARE(history.last().at(1).toBool(), true);

    t.click(0);
    QCOMPARE(history.last().at(0).toBool(), true);
    QCOMPARE(history.last().at(1).toBool(), false);
}

void TabManagerTest::backAndForwardFocusSearchBoxFirst_data() {
    QTest::addColumn<bool>("forward");
    QTest::newRow("back") << false;
    QTest::newRow("forward") << true;
}

void TabManagerTest::backAndForwardFocusSearchBoxFirst() {
    QFETCH(bool, forward);
    Tabs t;
    t.open(2);
    FakeBrowser* active = t.browser(1);
    int stepsWhenFocused = -1;
    connect(t.manager.get(), &TabManager::focusSearchBoxRequested, t.manager.get(),
            [&] { stepsWhenFocused = active->backCalls + active->forwardCalls; });

    if (forward)
        t.manager->goForward();
    else
        t.manager->goBack();

    QCOMPARE(stepsWhenFocused, 0);
    QCOMPARE(active->forwardCalls, forward ? 1 : 0);
    QCOMPARE(active->backCalls, forward ? 0 : 1);
    QCOMPARE(t.browser(0)->backCalls + t.browser(0)->forwardCalls, 0);
}

// ---------------------------------------------------------------------------------------
// Closing

void TabManagerTest::closeMakesRightmostActive_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("closed");
    QTest::addColumn<int>("activeAfter");

    QTest::newRow("middle of five: the fifth, now fourth") << 5 << 2 << 3;
    QTest::newRow("first of five") << 5 << 0 << 3;
    QTest::newRow("last of five: its left neighbour is now rightmost") << 5 << 4 << 3;
    QTest::newRow("first of two") << 2 << 0 << 0;
}

void TabManagerTest::closeMakesRightmostActive() {
    QFETCH(int, tabs);
    QFETCH(int, closed);
    QFETCH(int, activeAfter);

    Tabs t;
    t.show();
    t.open(tabs);
    t.click(closed);
    QCOMPARE(t.active(), closed);
    QPointer<FakeBrowser> gone = t.browser(closed);
    QPointer<BrowserTab> goneSheet = t.tab(closed);
    FakeBrowser* expectedActive = t.browser(tabs - 1 == closed ? tabs - 2 : tabs - 1);

    t.manager->closeTabAction()->trigger();

    QVERIFY(gone.isNull());
    QVERIFY(goneSheet.isNull());
    QCOMPARE(t.count(), tabs - 1);
    QCOMPARE(t.active(), activeAfter);
    QCOMPARE(t.activeBrowser(), expectedActive);
    QCOMPARE(t.factory.created.size(), tabs); // no start page opened
}

void TabManagerTest::closeOnlyTabOpensStartPage() {
    Tabs t;
    t.manager->openAddress(site(1));
    t.activeBrowser()->finishLoad(QStringLiteral("Site"));
    QPointer<FakeBrowser> old = t.activeBrowser();

    t.manager->closeActiveTab();

    QVERIFY(old.isNull());
    QCOMPARE(t.count(), 1);
    QCOMPARE(t.active(), 0);
    QCOMPARE(t.activeBrowser()->goCalls, QStringList{kLogo});
    QCOMPARE(t.captions(), QStringList{"Lexorar2"});
}

void TabManagerTest::closeFromTabMenuActsOnActiveTab() {
    Tabs t;
    t.show();
    t.open(3);
    QPointer<FakeBrowser> first = t.browser(0);
    QPointer<FakeBrowser> active = t.browser(2);

    // A right click on a background tab neither selects it nor changes what closes.
    QTest::mouseClick(t.strip(), Qt::RightButton, {}, t.strip()->tabRect(0).center());
    QCOMPARE(t.active(), 2);
    t.manager->tabStripMenu()->hide();
    t.manager->closeTabAction()->trigger();

    QVERIFY(active.isNull());
    QVERIFY(!first.isNull());
    QCOMPARE(t.count(), 2);
}

void TabManagerTest::closeAll_data() {
    QTest::addColumn<int>("tabs");
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
    QTest::newRow("seven") << 7;
}

void TabManagerTest::closeAll() {
    QFETCH(int, tabs);
    Tabs t;
    t.open(tabs);
    QList<int> closingOrder;
    for (int i = 0; i < tabs; ++i)
        connect(t.browser(i), &QObject::destroyed, t.manager.get(),
                [&closingOrder, i] { closingOrder << i; });

    t.manager->closeAllTabsAction()->trigger();

    QList<int> rightToLeft;
    for (int i = tabs - 1; i >= 0; --i)
        rightToLeft << i;
    QCOMPARE(closingOrder, rightToLeft);
    QCOMPARE(t.count(), 1);
    QCOMPARE(t.activeBrowser()->goCalls, QStringList{kLogo});
    QCOMPARE(t.captions(), QStringList{"Lexorar2"});
}

// ---------------------------------------------------------------------------------------
// New tabs

void TabManagerTest::newTabLeavesOptionAsItWas_data() {
    QTest::addColumn<bool>("openNew");
    QTest::newRow("option off") << false;
    QTest::newRow("option on") << true;
}

void TabManagerTest::newTabLeavesOptionAsItWas() {
    QFETCH(bool, openNew);
    Tabs t;
    t.open(2);
    t.options.newTabPerSearch = openNew;

    t.manager->newTabAction()->trigger();

    QCOMPARE(t.count(), 3);
    QCOMPARE(t.active(), 2);
    QCOMPARE(t.activeBrowser()->goCalls, QStringList{kNewTabPage});
    QCOMPARE(t.options.newTabPerSearch, openNew);
    QCOMPARE(t.browser(1)->goCalls, QStringList{site(2)});
}

void TabManagerTest::newWindowOpensTabAtRightEnd_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("opener");
    QTest::addColumn<bool>("openNew");

    QTest::newRow("one tab, option off") << 1 << 0 << false;
    QTest::newRow("middle of three, option off") << 3 << 1 << false;
    QTest::newRow("first of three, option on") << 3 << 0 << true;
}

void TabManagerTest::newWindowOpensTabAtRightEnd() {
    QFETCH(int, tabs);
    QFETCH(int, opener);
    QFETCH(bool, openNew);

    Tabs t;
    t.show();
    t.open(tabs);
    t.click(opener);
    t.options.newTabPerSearch = openNew;
    QList<bool> pageCreateWhileCreating;
    t.factory.onCreate = [&] { pageCreateWhileCreating << t.manager->isOpeningWindowTab(); };

    const QString target = QStringLiteral("http://site.test/target");
    browser::WebBrowser* answer = t.browser(opener)->requestNewWindow(target);

    QCOMPARE(t.count(), tabs + 1);
    QCOMPARE(t.active(), tabs);
    QCOMPARE(answer, t.browser(tabs));
    QCOMPARE(pageCreateWhileCreating, QList<bool>{true});
    QVERIFY(!t.manager->isOpeningWindowTab());
    // The new tab starts on the opener's page; the engine then loads the target into it.
    QCOMPARE(t.browser(tabs)->goCalls, (QStringList{site(opener + 1), target}));
    QCOMPARE(t.browser(opener)->goCalls, QStringList{site(opener + 1)});
    QCOMPARE(t.options.newTabPerSearch, openNew);

    // Lookups afterwards reuse the active tab again when the option is off.
    t.manager->openAddress(site(9));
    QCOMPARE(t.count(), openNew ? tabs + 2 : tabs + 1);
}

// ---------------------------------------------------------------------------------------
// Commands when there is no browser tab to act on

void TabManagerTest::commandsWithoutBrowserTabDoNothing_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("plainPage"); // a page without a browser is active, else no page

    for (const char* c : {"TOJIRU", "N46", "N7", "N37", "N48", "Back", "Forward", "Action24",
                          "updateFromActiveTab"})
        QTest::addRow("%s, no page yet", c) << QString::fromLatin1(c) << false;
    // A tab whose browser is gone (closed under it) takes no command to its browser; closing
    // it is an ordinary close.
    for (const char* c :
         {"N7", "N37", "N48", "Back", "Forward", "NewWindow", "updateFromActiveTab"})
        QTest::addRow("%s, page without a browser active", c) << QString::fromLatin1(c) << true;
}

void TabManagerTest::commandsWithoutBrowserTabDoNothing() {
    QFETCH(QString, command);
    QFETCH(bool, plainPage);

    Tabs t;
    FakeBrowser* background = nullptr;
    BrowserTab* plain = nullptr;
    if (plainPage) {
        t.open(1);
        background = t.browser(0);
        plain = new BrowserTab;
        plain->setCaption(QStringLiteral("plain"));
        t.pc()->addTab(plain);
        t.pc()->setActiveTab(plain);
    }
    const int pagesBefore = t.count();
    QSignalSpy url(t.manager.get(), &TabManager::addressToShow);
    QSignalSpy history(t.manager.get(), &TabManager::historyChanged);
    QSignalSpy focus(t.manager.get(), &TabManager::focusSearchBoxRequested);

    browser::WebBrowser* answer = nullptr;
    if (command == "TOJIRU")
        t.manager->closeActiveTab();
    else if (command == "N46")
        t.manager->closeAllTabs();
    else if (command == "N7")
        t.manager->copySelection();
    else if (command == "N37")
        t.manager->paste();
    else if (command == "N48")
        t.manager->reloadActivePage();
    else if (command == "Back")
        t.manager->goBack();
    else if (command == "Forward")
        t.manager->goForward();
    else if (command == "Action24")
        t.manager->showActiveAddress();
    else if (command == "updateFromActiveTab")
        t.manager->updateFromActiveTab();
    else if (command == "NewWindow" && background)
        answer = background->requestNewWindow(QStringLiteral("http://site.test/popup"));

    QCOMPARE(t.count(), pagesBefore);
    QCOMPARE(t.pc()->activeTab(), plainPage ? plain : nullptr);
    QCOMPARE(t.factory.created.size(), plainPage ? 1 : 0);
    QCOMPARE(answer, nullptr);
    QCOMPARE(url.size(), 0);
    QCOMPARE(history.size(), 0);
    QCOMPARE(focus.size(), 0);
    if (background) {
        QCOMPARE(background->copyCalls + background->pasteCalls + background->refreshCalls +
                     background->backCalls + background->forwardCalls,
                 0);
        QCOMPARE(plain->caption(), QStringLiteral("plain"));
    }
}

void TabManagerTest::pageMenuCommandsGoToActiveBrowser_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("copy");
    QTest::addColumn<int>("paste");
    QTest::addColumn<int>("refresh");
    QTest::newRow("N7 copies") << "N7" << 1 << 0 << 0;
    QTest::newRow("N37 pastes") << "N37" << 0 << 1 << 0;
    QTest::newRow("N48 reloads") << "N48" << 0 << 0 << 1;
}

void TabManagerTest::pageMenuCommandsGoToActiveBrowser() {
    QFETCH(QString, action);
    QFETCH(int, copy);
    QFETCH(int, paste);
    QFETCH(int, refresh);

    Tabs t;
    t.open(2);
    auto* a = t.manager->findChild<QAction*>(action);
    QVERIFY(a);
    QVERIFY(t.manager->pageMenu()->actions().contains(a));
    a->trigger();
    QCOMPARE(t.browser(1)->copyCalls, copy);
    QCOMPARE(t.browser(1)->pasteCalls, paste);
    QCOMPARE(t.browser(1)->refreshCalls, refresh);
    QCOMPARE(t.browser(0)->copyCalls + t.browser(0)->pasteCalls + t.browser(0)->refreshCalls, 0);
}

void TabManagerTest::shownAddressLagsBehindAfterClose() {
    Tabs t;
    t.open(2);
    QSignalSpy shown(t.manager.get(), &TabManager::addressToShow);
    QSignalSpy history(t.manager.get(), &TabManager::historyChanged);

    t.manager->showActiveAddress(); // no updateFromActiveTab yet
    t.browser(0)->url = site(1);
    t.browser(0)->currentTitle = QStringLiteral("first");
    Q_EMIT t.browser(0)->historyChanged(false, false);
    t.browser(1)->finishLoad(QStringLiteral("second"), true, false);
    t.manager->showActiveAddress();
    const int backSignals = history.size();

    t.manager->closeActiveTab(); // the first tab is active now
    t.manager->showActiveAddress();
    QCOMPARE(history.size(), backSignals); // the buttons still show the closed tab

    Q_EMIT t.browser(0)->loadFinished();
    t.manager->showActiveAddress();

    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown.at(0).at(0).toString(), QString());
    QCOMPARE(shown.at(1).at(0).toString(), site(2));
    QCOMPARE(shown.at(2).at(0).toString(), site(2));
    QCOMPARE(shown.at(3).at(0).toString(), site(1));
    QCOMPARE(history.last().at(0).toBool(), false);
    QCOMPARE(t.manager->rememberedAddress(), site(1));
}

void TabManagerTest::menusAndActionsCarryTheirNames() {
    Tabs t;
    auto names = [](QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + "=" + a->text());
        return out;
    };
    QCOMPARE(t.pc()->objectName(), QStringLiteral("PageControl1"));
    QCOMPARE(t.manager->tabStripMenu()->objectName(), QStringLiteral("PopupActionBar1"));
    QCOMPARE(t.manager->pageMenu()->objectName(), QStringLiteral("PopupActionBar2"));
    QCOMPARE(names(t.manager->tabStripMenu()),
             (QStringList{"TOJIRU=閉じる", "N44=タブの新規作成", "-", "N46=すべてのタブを閉じる"}));
    QCOMPARE(names(t.manager->pageMenu()),
             (QStringList{"N7=コピー", "N37=貼り付け", "-", "N48=再読み込み"}));
    QCOMPARE(t.count(), 0); // no page before the first openAddress
}

// ---------------------------------------------------------------------------------------
// Mouse: page menu, dragging, drawing

void TabManagerTest::rightPressShowsPageMenu_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("pageMenu");
    QTest::addColumn<bool>("tabMenu");
    QTest::addColumn<bool>("reachesPage");

    QTest::newRow("right press in the page") << "page"
                                             << "right press" << true << false << false;
    QTest::newRow("right double click in the page") << "page"
                                                    << "right double" << true << false << false;
    QTest::newRow("left press in the page") << "page"
                                            << "left press" << false << false << true;
    QTest::newRow("context menu key in the page") << "page"
                                                  << "menu key" << true << false << false;
    QTest::newRow("mouse context menu event in the page is swallowed")
        << "page"
        << "mouse menu" << false << false << false;
    QTest::newRow("right press on the tab strip") << "strip"
                                                  << "right press" << false << false << false;
    QTest::newRow("context menu on the tab strip") << "strip"
                                                   << "mouse menu" << false << true << false;
}

void TabManagerTest::rightPressShowsPageMenu() {
    QFETCH(QString, where);
    QFETCH(QString, event);
    QFETCH(bool, pageMenu);
    QFETCH(bool, tabMenu);
    QFETCH(bool, reachesPage);

    Tabs t;
    t.show();
    t.open(2);
    FakeBrowser* page = t.activeBrowser();
    QWidget* target = where == "page" ? static_cast<QWidget*>(page) : t.strip();
    const QPoint pos = where == "page" ? QPoint(10, 10) : t.strip()->tabRect(0).center();
    const QPoint global = target->mapToGlobal(pos);

    if (event == "right press" || event == "left press" || event == "right double") {
        const auto button = event == "left press" ? Qt::LeftButton : Qt::RightButton;
        const auto type =
            event == "right double" ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress;
        QMouseEvent e(type, pos, global, button, button, {});
        QApplication::sendEvent(target, &e);
    } else {
        const auto reason =
            event == "menu key" ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse;
        QContextMenuEvent e(reason, pos, global);
        QApplication::sendEvent(target, &e);
    }

    QCOMPARE(t.manager->pageMenu()->isVisible(), pageMenu);
    QCOMPARE(t.manager->tabStripMenu()->isVisible(), tabMenu);
    QCOMPARE(page->mousePresses, reachesPage ? 1 : 0);
    QCOMPARE(t.active(), 1);
    t.manager->tabStripMenu()->hide();
    t.manager->pageMenu()->hide();
}

void TabManagerTest::dragAndDrop_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("onto");
    QTest::addColumn<int>("dx"); // from the press point; used when onto is -1
    QTest::addColumn<QString>("markerSide");
    QTest::addColumn<QList<int>>("order");

    QTest::newRow("third onto first") << 2 << 0 << 0 << "left of 0" << QList<int>{2, 0, 1};
    QTest::newRow("first onto third") << 0 << 2 << 0 << "right of 2" << QList<int>{1, 2, 0};
    QTest::newRow("second onto third") << 1 << 2 << 0 << "right of 2" << QList<int>{0, 2, 1};
    QTest::newRow("onto itself") << 1 << 1 << 0 << "none" << QList<int>{0, 1, 2};
    QTest::newRow("5 px into the left neighbour starts the drag")
        << 1 << -1 << -5 << "left of 0" << QList<int>{1, 0, 2};
    QTest::newRow("4 px is not yet a drag") << 1 << -1 << -4 << "none" << QList<int>{0, 1, 2};
    QTest::newRow("drop outside all tabs") << 2 << -2 << 0 << "none" << QList<int>{0, 1, 2};
}

void TabManagerTest::dragAndDrop() {
    QFETCH(int, from);
    QFETCH(int, onto);
    QFETCH(int, dx);
    QFETCH(QString, markerSide);
    QFETCH(QList<int>, order);

    Tabs t;
    t.show({600, 300});
    t.open(3);
    QList<BrowserTab*> sheets;
    for (int i = 0; i < 3; ++i)
        sheets << t.tab(i);
    TabStrip* strip = t.strip();
    QVERIFY(strip->tabRect(2).top() == strip->tabRect(0).top()); // one row

    // Pressed just inside the left edge, so that a few pixels reach the neighbour.
    const QPoint press(strip->tabRect(from).left() + 1, strip->tabRect(from).center().y());
    QTest::mousePress(strip, Qt::LeftButton, {}, press);
    QCOMPARE(t.active(), from);
    // Selecting the tab may have changed its caption, and with it the tabs' places.
    QPoint over;
    if (onto >= 0)
        over = strip->tabRect(onto).center();
    else if (onto == -1)
        over = press + QPoint(dx, 0);
    else
        over = QPoint(strip->width() - 2, press.y());
    if (onto == -1)
        QCOMPARE(strip->tabAt(over), from - 1);
    QTest::mouseMove(strip, press + QPoint(0, 1));
    QTest::mouseMove(strip, over);

    // The marker: two black columns at one edge of the tab, nothing anywhere else.
    const QImage image = strip->grab().toImage();
    QStringList black;
    for (int i = 0; i < 3; ++i) {
        const QRect r = strip->tabRect(i);
        const int y = r.center().y();
        if (image.pixelColor(r.left(), y) == Qt::black &&
            image.pixelColor(r.left() + 1, y) == Qt::black &&
            image.pixelColor(r.left(), r.top()) == Qt::black &&
            image.pixelColor(r.left(), r.bottom()) == Qt::black)
            black << QStringLiteral("left of %1").arg(i);
        if (image.pixelColor(r.right(), y) == Qt::black &&
            image.pixelColor(r.right() - 1, y) == Qt::black &&
            image.pixelColor(r.right(), r.top()) == Qt::black &&
            image.pixelColor(r.right(), r.bottom()) == Qt::black)
            black << QStringLiteral("right of %1").arg(i);
    }
    QCOMPARE(black, markerSide == "none" ? QStringList{} : QStringList{markerSide});

    QTest::mouseRelease(strip, Qt::LeftButton, {}, over);
    QList<int> after;
    for (int i = 0; i < 3; ++i)
        after << static_cast<int>(sheets.indexOf(t.pc()->tab(i)));
    QCOMPARE(after, order);
    QCOMPARE(t.pc()->activeTab(), sheets.at(from)); // the dragged tab stays active
    QVERIFY(strip->marker().isNull());
}

void TabManagerTest::tabsWrapIntoRows() {
    Tabs t;
    t.show({300, 300});
    t.open(12);
    QApplication::processEvents();
    TabStrip* strip = t.strip();
    QCOMPARE(strip->count(), 12);

    QSet<int> rows;
    for (int i = 0; i < 12; ++i) {
        const QRect r = strip->tabRect(i);
        QVERIFY2(r.left() >= 0 && r.right() < strip->width(), qPrintable(QString::number(i)));
        rows << r.top();
        for (int j = 0; j < i; ++j)
            QVERIFY(!r.intersects(strip->tabRect(j)));
    }
    QVERIFY(rows.size() > 1);
    // Every tab is visible above the pages.
    QCOMPARE(strip->height(), strip->tabRect(11).bottom() + 1);
    auto* stack = t.pc()->findChild<QStackedWidget*>();
    QVERIFY(stack->geometry().top() >= strip->geometry().bottom());

    // Room for all of them in one row again.
    t.pc()->resize(3000, 300);
    QApplication::processEvents();
    QCOMPARE(strip->tabRect(11).top(), strip->tabRect(0).top());
    QCOMPARE(strip->height(), TabStrip::kTabHeight);
}

// Gradient from the button face at the top to RGB(198, 196, 202) at the bottom; the text of
// the active tab sits 3 px further right and 5 px lower in its tab than that of the others.
void TabManagerTest::tabDrawing() {
    Tabs t;
    t.show({600, 300});
    t.open(2);
    TabStrip* strip = t.strip();
    QCOMPARE(strip->tabRect(0).size(), strip->tabRect(1).size()); // same caption, same size
    const QImage image = strip->grab().toImage();

    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 4 && std::abs(a.green() - b.green()) <= 4 &&
               std::abs(a.blue() - b.blue()) <= 4;
    };
    const QColor face = strip->palette().color(QPalette::Active, QPalette::Button);
    QPoint textOrigin[2];
    for (int i = 0; i < 2; ++i) {
        const QRect r = strip->tabRect(i);
        const int x = r.right() - 1; // right of the text
        QVERIFY2(near(image.pixelColor(x, r.top()), face), qPrintable(QString::number(i)));
        QVERIFY2(near(image.pixelColor(x, r.bottom()), QColor(198, 196, 202)),
                 qPrintable(image.pixelColor(x, r.bottom()).name()));

        int minX = INT_MAX, minY = INT_MAX;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int xx = r.left(); xx <= r.right(); ++xx)
                if (image.pixelColor(xx, y).value() < 90) {
                    minX = std::min(minX, xx - r.left());
                    minY = std::min(minY, y - r.top());
                }
        QVERIFY2(minX != INT_MAX, "no text drawn");
        textOrigin[i] = QPoint(minX, minY);
    }
    QCOMPARE(textOrigin[1] - textOrigin[0], QPoint(3, 5));
    QVERIFY(textOrigin[0].x() >= 4);
}

// ---------------------------------------------------------------------------------------
// Loading and failures

void TabManagerTest::loadingIsShownOnlyWhenItLasts() {
    Tabs t;
    t.open(2);
    t.show();
    t.browser(0)->finishLoad(QStringLiteral("A"));
    t.browser(1)->finishLoad(QStringLiteral("B"));
    // A background tab takes its title when chosen.
    t.click(0);
    t.click(1);
    QCOMPARE(t.captions(), (QStringList{"A", "B"}));
    const QString mark = QString::fromUtf8(BrowserTab::kLoadingMark);
    QSignalSpy shown(t.manager.get(), &TabManager::activeLoadingShown);

    // A page that comes at once: nothing, and nothing left waiting to show it (the delay
    // itself is the indicator's own test).
    t.activeBrowser()->setBusy(true);
    t.activeBrowser()->setBusy(false);
    QVERIFY(!t.tab(1)->loadingIndicator()->isLoading());
    QCOMPARE(shown.size(), 0);
    QCOMPARE(t.tab(1)->shownCaption(), QStringLiteral("B"));

    // A slow one: the tab is marked and the window told, with the engine's progress.
    t.activeBrowser()->setBusy(true);
    QCOMPARE(t.tab(1)->shownCaption(), QStringLiteral("B"));
    QTRY_COMPARE_WITH_TIMEOUT(t.tab(1)->shownCaption(), mark + QStringLiteral("B"), 5000);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.last(), (QVariantList{true, browser::LoadingIndicator::kNothingArrived}));
    Q_EMIT t.activeBrowser()->loadProgress(70);
    QCOMPARE(shown.last(), (QVariantList{true, 70}));
    QVERIFY(t.strip()->captions().contains(mark + QStringLiteral("B")));

    // A background tab's loading marks its tab and says nothing of the active one.
    const int told = shown.size();
    t.browser(0)->setBusy(true);
    QTRY_COMPARE_WITH_TIMEOUT(t.tab(0)->shownCaption(), mark + QStringLiteral("A"), 5000);
    QCOMPARE(shown.size(), told);

    t.activeBrowser()->setBusy(false);
    QCOMPARE(t.tab(1)->shownCaption(), QStringLiteral("B"));
    QCOMPARE(shown.last(), (QVariantList{false, 70}));
    // Choosing the loading tab shows its loading.
    t.click(0);
    QCOMPARE(shown.last().at(0).toBool(), true);
}

void TabManagerTest::noNetworkIsSaidOncePerSpell() {
    Tabs t;
    t.open(1);
    QSignalSpy status(t.manager.get(), &TabManager::statusTextChanged);
    const auto said = [&] {
        int n = 0;
        for (const QVariantList& args : status)
            n += args.at(0).toString().contains(QStringLiteral("ネットワークに接続されていません"));
        return n;
    };
    const browser::LoadFailure offline{browser::LoadFailureKind::NoNetwork, -106};
    for (int i = 0; i < 3; ++i)
        Q_EMIT t.activeBrowser()->loadFailed(offline, site(1));
    QCOMPARE(said(), 1);
    Q_EMIT t.activeBrowser()->loadSucceeded();
    Q_EMIT t.activeBrowser()->loadFailed(offline, site(1));
    QCOMPARE(said(), 2);
}

// The failure page comes with the pointer over the page, and the engine clears the status
// when no link is under it: the notice must not vanish with that.
void TabManagerTest::noticeStandsWhenThePointerLeavesALink_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("notice");
    QTest::newRow("no network") << int(browser::LoadFailureKind::NoNetwork)
                                << QStringLiteral("ネットワークに接続されていません");
    QTest::newRow("proxy down") << int(browser::LoadFailureKind::Proxy)
                                << QStringLiteral("プロキシサーバーに接続できません");
}

void TabManagerTest::noticeStandsWhenThePointerLeavesALink() {
    QFETCH(int, kind);
    QFETCH(QString, notice);
    Tabs t;
    t.open(1);
    QSignalSpy status(t.manager.get(), &TabManager::statusTextChanged);
    Q_EMIT t.activeBrowser()->loadFailed({browser::LoadFailureKind(kind), -130}, site(1));
    Q_EMIT t.activeBrowser()->statusTextChanged(QString());
    QVERIFY(status.last().at(0).toString().startsWith(notice));
    // A hovered link is shown as ever.
    Q_EMIT t.activeBrowser()->statusTextChanged(site(2));
    QCOMPARE(status.last().at(0).toString(), site(2));
    // Once a page has loaded, the spell is over and an empty status is empty.
    Q_EMIT t.activeBrowser()->loadSucceeded();
    Q_EMIT t.activeBrowser()->statusTextChanged(QString());
    QCOMPARE(status.last().at(0).toString(), QString());
}

void TabManagerTest::failurePageButtonReachesTheWindow() {
    Tabs t;
    t.open(2);
    QSignalSpy chosen(t.manager.get(), &TabManager::siteChoiceRequested);
    Q_EMIT t.browser(0)->siteChoiceRequested(QStringLiteral("weblio_kokugo"));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("weblio_kokugo"));
    QSignalSpy proxySettings(t.manager.get(), &TabManager::proxySettingsRequested);
    Q_EMIT t.browser(1)->proxySettingsRequested();
    QCOMPARE(proxySettings.size(), 1);

    // Every tab's failure page asks the window what it knows of a failed address.
    int asked = 0;
    t.manager->setFailedLookupSource(
        [&](const QUrl&) -> std::optional<browser::FailurePage::Lookup> {
            ++asked;
            return std::nullopt;
        });
    t.manager->openInNewTab(site(3));
    QCOMPARE(t.factory.created.size(), 3);
    for (const auto& browser : t.factory.created)
        QVERIFY(!browser->hasFailedLookup(QUrl(site(1))));
    QCOMPARE(asked, 3);
}

QTEST_MAIN(TabManagerTest)
#include "TabManagerTest.moc"
