// The main window with its menus, keys, tray and window options, under the offscreen platform
// with a fake browser, a fake key source and a fake tray.
#include "app/ActionBar.h"
#include "app/DesktopPresence.h"
#include "app/MainWindow.h"
#include "app/dialogs/AboutBox.h"
#include "app/menus/SupportCommands.h"
#include "desktop/HotkeyController.h"
#include "desktop/ProgramIcons.h"
#include "desktop/WindowBehaviourFilter.h"
#include "settings/OptionsStore.h"
#include "support/FakeBrowser.h"
#include "support/FakeKeySource.h"
#include "support/FakeNotificationArea.h"
#include "support/MenuOutline.h"
#include "support/Modal.h"
#include "support/Named.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using app::MainWindow;
using desktop::GlobalKey;

namespace {

// The structure of the menus as the program's users know it: label with accelerator and the
// action's name, in order.
const QStringList kOptionsMenu = {
    "SetteiMenu 設定(&V)",
    "  TextSizeMenu 文字の大きさ(&Z)",
    "    moji_size_syou 小(&Z)",
    "    moji_size_tyuu 中(&Y)",
    "    moji_size_dai 大（標準）(&X)",
    "    moji_size_max 最大(&W)",
    "  tool_bar_on ツールバーの表示(&Y)",
    "  -",
    "  copy_window_zenmen_on 文字列をコピーした時にウインドウを前面に出す(&X)",
    "  F12_de_saizennmen_on F12ボタンでLexorra2を最前面に出す(&F)",
    "  End_kyuushi_on ENDボタンで休止と監視を切り替える(&E)",
    "  Batu_OFF 右上の終了ボタンを最小化処理に変える（タスクトレイから終了してください）(&V)",
    "  cbOpenNew 検索するとタブを新規作成する(&U)",
    "  Lexorra2_off_active Lexorra2以外をクリックしたら最小化させる(&S)",
    "  -",
    "  PriorityMenu Lexorra2の優先度を変える（他のクリップボードを使うソフトと相性が悪い場合、"
    "変更してください)(&T)",
    "    yuusendo_takai 高い(&Z)",
    "    yuusendo_hutuu 普通(&Y)",
    "    yuusendo_hikui 低い(&X)",
    "    yuusendo_RealTime リアルタイム(&W)",
    "  -",
    "  jidou_zenkaku_eimoji_hankaku 自動的に全角の英文字を半角にする(&R)",
    "  lookUpSelectionAction 選択しただけで調べる(&Q)",
    "ProxyMenu Proxy(プロキシ）(&P)",
    "  proxy_Set_check 設定する(&Z)",
    "  Proxy_Settei_check チェック(&Y)",
    "Action24 現在のページのURLを表示する(&U)",
};

const QStringList kSupportMenu = {
    "Action30 公式ホームページ(&W)", "Action3 開発blogを開く(&B)",
    "Action4 サポートBBSに行く(&S)", "-",
    "Action6 作者にメールする(&Y)",  "-",
    "Action7 バージョン情報(&Z)",
};

const QStringList kTrayMenu = {
    "MOTO_NI_MODOSHU 元に戻す",
    "-",
    "N43 文字列をコピーした時にウインドウを全面に出す(&X)",
    "N40 クリップボードに反応しないようにする（休止モード）",
    "-",
    "N41 最小化",
    "Lexorra23 Lexorra2を閉じる",
};

// Stands for the tray's icon as the desktop shows it: a window of the program's own, outside
// the main window, that counts the clicks it is given.
class TrayIconWindow : public QWidget {
public:
    TrayIconWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) { resize(24, 24); }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

QMenu* barMenu(const MainWindow& window, const char* menuActionName) {
    auto* action = named<QAction>(window, menuActionName);
    return action ? action->menu() : nullptr;
}

} // namespace

class DesktopWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void barHasTheMenusButtonsAndPauseInOrder();
    void menusHaveEveryEntryInOrder_data();
    void menusHaveEveryEntryInOrder();
    void everyTickInTheMenusChangesAnOption();
    void closeCommand_data();
    void closeCommand();
    void trayCloseEndsTheWindowWithCloseToTrayOn();
    void trayAnswersWhileADialogIsOpen_data();
    void trayAnswersWhileADialogIsOpen();
    void deactivationMinimises();
    void f12RaisesTheMinimisedWindow();
    void endPausesAndThePicturesFollow();
    void pauseIsShownInStatusAndTitle_data();
    void pauseIsShownInStatusAndTitle();
    void withoutX11TheStatusBarSaysWhyOnce();
    void supportPagesOpenInTheActiveTab_data();
    void supportPagesOpenInTheActiveTab();
    void aboutBoxShowsTheVersion();
    void destroyedWindowIsReachedByNoKey();

private:
    FakeBrowser* waitForFirstTab();

    FakeBrowserFactory browsers_;
    FakeKeySource keys_;
    FakeNotificationArea tray_;
    std::unique_ptr<MainWindow> window_;
};

void DesktopWindowTest::init() {
    browsers_.created.clear();
    tray_.available = true;
    window_ = std::make_unique<MainWindow>(&browsers_, nullptr, &keys_, &tray_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void DesktopWindowTest::cleanup() {
    window_.reset();
}

FakeBrowser* DesktopWindowTest::waitForFirstTab() {
    if (!QTest::qWaitFor([&] { return !browsers_.created.isEmpty(); }, 5000))
        return nullptr;
    return browsers_.created.first();
}

void DesktopWindowTest::barHasTheMenusButtonsAndPauseInOrder() {
    const QList<QAction*> bar = named<app::ActionBar>(*window_, "ActionMainMenuBar1")->actions();
    QCOMPARE(bar.size(), 2 + 26 + 1 + 1);
    QCOMPARE(bar.at(0)->objectName(), QStringLiteral("OptionMenu"));
    QCOMPARE(bar.at(0)->text(), QStringLiteral("オプション"));
    QCOMPARE(bar.at(1)->objectName(), QStringLiteral("JISYO_NO_SENTAKU_Action"));
    QCOMPARE(bar.at(2)->objectName(), QStringLiteral("A_Settei_kokugo_Button"));
    QCOMPARE(bar.at(27)->objectName(), QStringLiteral("A_Settei_BBS_Button"));
    QCOMPARE(bar.at(28)->objectName(), QStringLiteral("kyuushi"));
    QCOMPARE(bar.at(29)->objectName(), QStringLiteral("SupportMenu"));
    QCOMPARE(bar.at(29)->text(), QStringLiteral("サポート"));
    // "辞書の選択" begins with its head, then the 26 category submenus.
    const QList<QAction*> dictionary = bar.at(1)->menu()->actions();
    int submenus = 0;
    for (QAction* action : dictionary)
        submenus += action->menu() ? 1 : 0;
    QCOMPARE(submenus, 26);
    QCOMPARE(dictionary.at(dictionary.size() - 26)->objectName(), QStringLiteral("Action2"));
    const QStringList head = menuOutline(bar.at(1)->menu()).mid(0, dictionary.size() - 26);
    QCOMPARE(head, (QStringList{"JISYO_NO_TUIKA_KAIJYO 辞書の追加・解除(&F)", "-"}));
}

void DesktopWindowTest::menusHaveEveryEntryInOrder_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("オプション") << "OptionMenu" << kOptionsMenu;
    QTest::newRow("サポート") << "SupportMenu" << kSupportMenu;
}

void DesktopWindowTest::menusHaveEveryEntryInOrder() {
    QFETCH(QString, menu);
    QFETCH(QStringList, lines);
    QMenu* shown = barMenu(*window_, menu.toLatin1().constData());
    QVERIFY(shown);
    QCOMPARE(menuOutline(shown), lines);
}

// The tray menu is checked here as well: it is built from the same table.
void DesktopWindowTest::everyTickInTheMenusChangesAnOption() {
    QCOMPARE(menuOutline(tray_.menu), kTrayMenu);
    QList<QAction*> ticks;
    std::function<void(QMenu*)> collect = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu())
                collect(action->menu());
            else if (action->isCheckable())
                ticks << action;
        }
    };
    collect(barMenu(*window_, "OptionMenu"));
    collect(tray_.menu);
    QVERIFY(ticks.size() >= 8);
    for (QAction* tick : ticks) {
        // A level that is already chosen can't be chosen again; the others are tried.
        QActionGroup* levels = tick->actionGroup();
        const bool oneOfLevels = levels && levels->isExclusive();
        if (oneOfLevels && tick->isChecked())
            continue;
        QAction* chosenLevel = oneOfLevels ? levels->checkedAction() : nullptr;
        const settings::Options before = window_->options().options();
        tick->trigger();
        QVERIFY2(!(window_->options().options() == before), qPrintable(tick->objectName()));
        (chosenLevel ? chosenLevel : tick)->trigger();
        QVERIFY2(window_->options().options() == before, qPrintable(tick->objectName()));
    }
}

void DesktopWindowTest::closeCommand_data() {
    QTest::addColumn<bool>("option");
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("close button closes") << false << true << false;
    QTest::newRow("close button minimises to the tray") << true << true << true;
    QTest::newRow("no tray: the close button closes all the same") << true << false << false;
}

void DesktopWindowTest::closeCommand() {
    QFETCH(bool, option);
    QFETCH(bool, trayAvailable);
    QFETCH(bool, staysOpen);
    tray_.available = trayAvailable;
    named<QAction>(*window_, "Batu_OFF")->setChecked(option);
    QCOMPARE(window_->options().options().closeButtonMinimises, option);
    QCOMPARE(window_->close(), !staysOpen);
    QCOMPARE(window_->isVisible(), staysOpen);
    if (staysOpen)
        QTRY_VERIFY_WITH_TIMEOUT(window_->isMinimized(), 2000);
}

void DesktopWindowTest::trayCloseEndsTheWindowWithCloseToTrayOn() {
    named<QAction>(*window_, "Batu_OFF")->setChecked(true);
    named<QAction>(*window_, "F12_de_saizennmen_on")->setChecked(true);
    QVERIFY(keys_.listening);
    named<QAction>(*window_, "Lexorra23")->trigger();
    QVERIFY(!window_->isVisible());
    QVERIFY(!keys_.listening);
}

void DesktopWindowTest::trayAnswersWhileADialogIsOpen_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("about box") << "Action7"
                               << "AboutBox";
    QTest::newRow("categories") << "JISYO_NO_TUIKA_KAIJYO"
                                << "JISYO_TUIKA_KAIJYO_Form";
    QTest::newRow("proxy") << "proxy_Set_check"
                           << "Proxy_Form";
}

// With a dialog up, the tray's icon still takes clicks and its "Lexorra2を閉じる" ends the run:
// the dialog goes, the window closes, the keys stop.
void DesktopWindowTest::trayAnswersWhileADialogIsOpen() {
    QFETCH(QString, command);
    QFETCH(QString, dialog);
    TrayIconWindow trayIcon;
    trayIcon.show();
    QVERIFY(QTest::qWaitForWindowExposed(&trayIcon));
    named<QAction>(*window_, "F12_de_saizennmen_on")->setChecked(true);
    QVERIFY(keys_.listening);
    QVERIFY(tray_.menu);
    auto* close = named<QAction>(*window_, "Lexorra23");
    QVERIFY(tray_.menu->actions().contains(close));

    bool dialogShown = false;
    bool dialogStayed = false;
    whenModal("QDialog", [&](QWidget* modal) {
        dialogShown = modal->objectName() == dialog;
        // Through the window system, as the desktop delivers it: a dialog modal to the whole
        // program holds it back.
        QTest::mouseClick(trayIcon.windowHandle(), Qt::LeftButton, {}, QPoint(12, 12));
        tray_.menu->popup(QPoint(0, 0));
        QTest::mouseClick(tray_.menu, Qt::LeftButton, {},
                          tray_.menu->actionGeometry(close).center());
        QPointer<QWidget> left = modal;
        dialogStayed = left && left->isVisible();
        // So that a dialog the close did not reach does not hold the test.
        if (dialogStayed)
            left->close();
    });
    named<QAction>(*window_, command.toLatin1().constData())->trigger();

    QVERIFY(dialogShown);
    QCOMPARE(trayIcon.presses, 1);
    QVERIFY2(!dialogStayed, "the dialog stayed open after the tray's close");
    QVERIFY(!window_->isVisible());
    QVERIFY(!keys_.listening);
}

void DesktopWindowTest::deactivationMinimises() {
    window_->desktopPresence().behaviour()->applicationStateChanged(Qt::ApplicationInactive);
    QApplication::processEvents();
    QVERIFY(!window_->isMinimized());
    named<QAction>(*window_, "Lexorra2_off_active")->setChecked(true);
    window_->desktopPresence().behaviour()->applicationStateChanged(Qt::ApplicationInactive);
    QTRY_VERIFY_WITH_TIMEOUT(window_->isMinimized(), 2000);
}

void DesktopWindowTest::f12RaisesTheMinimisedWindow() {
    window_->showMinimized();
    QTRY_VERIFY(window_->isMinimized());
    keys_.press(GlobalKey::F12);
    keys_.release(GlobalKey::F12);
    QApplication::processEvents();
    QVERIFY(window_->isMinimized()); // option off
    named<QAction>(*window_, "F12_de_saizennmen_on")->setChecked(true);
    keys_.press(GlobalKey::F12);
    keys_.release(GlobalKey::F12);
    QTRY_VERIFY_WITH_TIMEOUT(!window_->isMinimized(), 2000);
    QVERIFY(window_->isVisible());
}

void DesktopWindowTest::endPausesAndThePicturesFollow() {
    auto* pause = named<QAction>(*window_, "kyuushi");
    QCOMPARE(window_->windowIcon().cacheKey(), desktop::ProgramIcons::icon(false).cacheKey());
    named<QAction>(*window_, "End_kyuushi_on")->setChecked(true);
    keys_.press(GlobalKey::End);
    keys_.release(GlobalKey::End);
    QCOMPARE(pause->text(), QStringLiteral("監視"));
    QVERIFY(tray_.paused);
    QCOMPARE(window_->windowIcon().cacheKey(), desktop::ProgramIcons::icon(true).cacheKey());
    // The tray menu's pause entry resumes.
    named<QAction>(*window_, "N40")->trigger();
    QCOMPARE(pause->text(), QStringLiteral("休止"));
    QVERIFY(!tray_.paused);
    QCOMPARE(window_->windowIcon().cacheKey(), desktop::ProgramIcons::icon(false).cacheKey());
}

// Paused from any path, the window says so where the eye is, and stops saying it on resume.
void DesktopWindowTest::pauseIsShownInStatusAndTitle_data() {
    QTest::addColumn<QString>("pauseBy");
    QTest::addColumn<QString>("resumeBy");
    // END steps at most once an interval, so each row uses it once.
    QTest::newRow("pause button, then again") << "button"
                                              << "button";
    QTest::newRow("END key, then the tray menu") << "end"
                                                 << "tray";
    QTest::newRow("tray menu, then END key") << "tray"
                                             << "end";
}

void DesktopWindowTest::pauseIsShownInStatusAndTitle() {
    QFETCH(QString, pauseBy);
    QFETCH(QString, resumeBy);
    named<QAction>(*window_, "End_kyuushi_on")->setChecked(true);
    const auto toggle = [&](const QString& path) {
        if (path == u"button") {
            named<QAction>(*window_, "kyuushi")->trigger();
        } else if (path == u"end") {
            keys_.press(GlobalKey::End);
            keys_.release(GlobalKey::End);
        } else {
            named<QAction>(*window_, "N40")->trigger();
        }
    };
    auto* indicator = named<QLabel>(*window_, "PausedIndicator");
    const QString title = window_->windowTitle();
    QVERIFY(!indicator->isVisible());

    toggle(pauseBy);
    QCOMPARE(named<QAction>(*window_, "kyuushi")->text(), QStringLiteral("監視"));
    QVERIFY(indicator->isVisible());
    QCOMPARE(indicator->text(), QStringLiteral("休止中"));
    QCOMPARE(window_->windowTitle(), title + QStringLiteral(" - 休止中"));

    toggle(resumeBy);
    QCOMPARE(named<QAction>(*window_, "kyuushi")->text(), QStringLiteral("休止"));
    QVERIFY(!indicator->isVisible());
    QCOMPARE(window_->windowTitle(), title);
}

// The real key watcher: under the offscreen platform there is no X11 display.
void DesktopWindowTest::withoutX11TheStatusBarSaysWhyOnce() {
    window_.reset();
    window_ = std::make_unique<MainWindow>(&browsers_, nullptr, nullptr, &tray_);
    window_->setStatusText(QStringLiteral("before"));
    named<QAction>(*window_, "F12_de_saizennmen_on")->setChecked(true);
    QVERIFY2(window_->statusText().contains(QStringLiteral("F12")),
             qPrintable(window_->statusText()));
    QVERIFY(window_->statusText().contains(QStringLiteral("X11")));
    window_->setStatusText(QStringLiteral("later"));
    named<QAction>(*window_, "End_kyuushi_on")->setChecked(true);
    QCOMPARE(window_->statusText(), QStringLiteral("later"));
}

void DesktopWindowTest::supportPagesOpenInTheActiveTab_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("url");
    QTest::newRow("home page") << "Action30" << app::SupportCommands::kHomePage;
    QTest::newRow("blog") << "Action3" << app::SupportCommands::kBlog;
    QTest::newRow("board") << "Action4" << app::SupportCommands::kBoard;
}

void DesktopWindowTest::supportPagesOpenInTheActiveTab() {
    QFETCH(QString, action);
    QFETCH(QString, url);
    FakeBrowser* first = waitForFirstTab();
    QVERIFY(first);
    window_->findChild<QAction*>(action)->trigger();
    QCOMPARE(browsers_.created.size(), 1);
    QCOMPARE(first->goCalls.last(), url);
}

void DesktopWindowTest::aboutBoxShowsTheVersion() {
    QString shown;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<app::AboutBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = box->versionText();
        box->accept();
    });
    named<QAction>(*window_, "Action7")->trigger();
    QCOMPARE(shown, QStringLiteral("バージョン1.11"));
}

// The window goes while END is held and its repeat is due: no step reaches it afterwards.
void DesktopWindowTest::destroyedWindowIsReachedByNoKey() {
    named<QAction>(*window_, "End_kyuushi_on")->setChecked(true);
    keys_.press(GlobalKey::End);
    QPointer<desktop::HotkeyController> hotkeys = window_->desktopPresence().hotkeys();
    QVERIFY(hotkeys->isRepeating());
    window_.reset();
    QVERIFY(!keys_.listening);
    // The repeat's timer went with the controller: no tick comes after the window.
    QVERIFY(hotkeys.isNull());
    keys_.release(GlobalKey::End);
    keys_.press(GlobalKey::End);
    keys_.press(GlobalKey::F12);
}

QTEST_MAIN(DesktopWindowTest)
#include "DesktopWindowTest.moc"
