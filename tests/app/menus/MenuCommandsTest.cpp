#include "app/menus/CommandRegistry.h"
#include "app/menus/MenuBuilder.h"
#include "app/menus/MenuTable.h"
#include "app/menus/SupportCommands.h"
#include "app/menus/TrayCommands.h"
#include "support/MenuOutline.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>
#include <QWidget>
#include <stdexcept>

using app::Command;
using app::CommandRegistry;
using app::MenuBuilder;
using app::MenuEntry;
using app::MenuTable;

namespace {

// Receives the URLs the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace

class MenuCommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entriesWithoutActionsAreLeftOut();
    void oneActionServesTwoMenus();
    void aCommandHasOneAction();
    void supportPagesAreAskedForInATab_data();
    void supportPagesAreAskedForInATab();
    void mailGoesToTheDesktopsMailProgram();
    void mailWithoutAMailProgramIsTold();
    void trayEntryIsTheBringForwardOption();
};

// Before the settings make their actions, their entries (and the submenus that would hold
// nothing else) stay out of the menu; the separators around them fold away.
void MenuCommandsTest::entriesWithoutActionsAreLeftOut() {
    QWidget root;
    CommandRegistry commands;
    for (Command command :
         {Command::BringForwardOnCopy, Command::CloseButtonMinimises, Command::ShowPageAddress})
        commands.make(command, &root);
    QMenu* options = MenuBuilder(commands).build(MenuTable::optionsMenu(), &root);
    QCOMPARE(options->menuAction()->objectName(), QStringLiteral("OptionMenu"));
    QCOMPARE(menuOutline(options),
             (QStringList{
                 "SetteiMenu 設定(&V)",
                 "  -",
                 "  copy_window_zenmen_on 文字列をコピーした時にウインドウを前面に出す(&X)",
                 "  Batu_OFF "
                 "右上の終了ボタンを最小化処理に変える（タスクトレイから終了してください）(&V)",
                 "  -",
                 "  -",
                 "Action24 現在のページのURLを表示する(&U)",
             }));
}

void MenuCommandsTest::oneActionServesTwoMenus() {
    QWidget root;
    CommandRegistry commands;
    QAction* option = commands.make(Command::BringForwardOnCopy, &root);
    option->setCheckable(true);
    app::TrayCommands tray(commands, &root);
    MenuBuilder builder(commands);
    QMenu* options = builder.build(MenuTable::optionsMenu(), &root);
    QMenu* trayMenu = builder.build(MenuTable::trayMenu(), &root);
    const QList<QAction*> settings = options->actions().at(0)->menu()->actions();
    QVERIFY(settings.contains(option));
    QCOMPARE(trayMenu->actions().at(0), tray.restoreAction());
    QCOMPARE(trayMenu->actions().last(), tray.quitAction());
}

// Two makers of one command would leave one of their actions out of every menu.
void MenuCommandsTest::aCommandHasOneAction() {
    QWidget root;
    CommandRegistry commands;
    QAction* first = commands.make(Command::ShowAbout, &root);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, commands.make(Command::ShowAbout, &root));
    QCOMPARE(commands.action(Command::ShowAbout), first);
    // An action that went is no longer handed out.
    delete first;
    QCOMPARE(commands.action(Command::ShowAbout), nullptr);
}

void MenuCommandsTest::supportPagesAreAskedForInATab_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("url");
    QTest::newRow("home page") << "Action30" << app::SupportCommands::kHomePage;
    QTest::newRow("development blog") << "Action3" << app::SupportCommands::kBlog;
    QTest::newRow("support board") << "Action4" << app::SupportCommands::kBoard;
}

void MenuCommandsTest::supportPagesAreAskedForInATab() {
    QFETCH(QString, action);
    QFETCH(QString, url);
    QWidget window;
    CommandRegistry commands;
    app::SupportCommands support(commands, &window);
    QSignalSpy pages(&support, &app::SupportCommands::openPageRequested);
    window.findChild<QAction*>(action)->trigger();
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.at(0).at(0).toString(), url);
    QCOMPARE(QUrl(url).scheme(), QStringLiteral("https"));
}

void MenuCommandsTest::mailGoesToTheDesktopsMailProgram() {
    QWidget window;
    CommandRegistry commands;
    app::SupportCommands support(commands, &window);
    QSignalSpy failed(&support, &app::SupportCommands::mailFailed);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    support.mailAction()->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    QCOMPARE(catcher.urls.size(), 1);
    const QUrl url = catcher.urls.at(0);
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(), QString::fromLatin1(app::SupportCommands::kMailAddress));
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Lexorraサポート係へ"));
    QCOMPARE(failed.size(), 0);
}

// The test runs without a desktop: nothing can open the mail, and the user is told where to
// write instead of nothing happening.
void MenuCommandsTest::mailWithoutAMailProgramIsTold() {
    QWidget window;
    CommandRegistry commands;
    app::SupportCommands support(commands, &window);
    QSignalSpy failed(&support, &app::SupportCommands::mailFailed);
    support.mailAction()->trigger();
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed.at(0).at(0).toString().contains(
        QString::fromLatin1(app::SupportCommands::kMailAddress)));
}

void MenuCommandsTest::trayEntryIsTheBringForwardOption() {
    QWidget window;
    CommandRegistry commands;
    QAction* option = commands.make(Command::BringForwardOnCopy, &window);
    option->setCheckable(true);
    option->setChecked(true);
    app::TrayCommands tray(commands, &window);
    QAction* entry = tray.bringForwardAction();
    QVERIFY(entry->isCheckable());
    QVERIFY(entry->isChecked());
    entry->trigger();
    QVERIFY(!option->isChecked());
    option->setChecked(true);
    QVERIFY(entry->isChecked());
}

QTEST_MAIN(MenuCommandsTest)
#include "MenuCommandsTest.moc"
