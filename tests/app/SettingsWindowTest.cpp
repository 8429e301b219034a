#include "app/MainWindow.h"
#include "app/dialogs/CategoryVisibilityDialog.h"
#include "browser/TabControl.h"
#include "browser/TabManager.h"
#include "desktop/ProcessPriority.h"
#include "lookup/CodePage932.h"
#include "settings/DefaultSettingsFile.h"
#include "settings/OptionsStore.h"
#include "support/FakeBrowser.h"
#include "support/Named.h"
#include "support/WindowUnderTest.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using app::MainWindow;
using namespace testfiles;

namespace {

QByteArray fileBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += lookup::toCodePage932(line) + "\r\n";
    return bytes;
}

// The window reads the settings files of the test run's own documents folder (see main.cpp).
class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                 QStringLiteral("/Lexorra2");
        ASSERT_TRUE(folder.startsWith(QDir::homePath()));
        QDir(folder).removeRecursively();
    }
    void TearDown() override {
        window.reset();
        QDir(folder).removeRecursively();
        desktop::ProcessPriority().apply(settings::ProcessPriority::Normal);
    }

    void writeFile(const char* name, const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile file(folder + u'/' + QLatin1StringView(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const char* name) {
        QFile file(folder + u'/' + QLatin1StringView(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

    // A window past its start sequence (the first tab is open).
    void start() { ASSERT_NE(window.start(), nullptr); }
    QAction* action(const char* name) { return named<QAction>(*window, name); }

    QString folder;
    WindowUnderTest window;
    FakeBrowserFactory& browsers = window.browsers();
};

} // namespace

// A file from the Windows program, read by the start sequence: buttons, hints, menu marks,
// option check marks, the toolbar and the priority of every thread.
TEST_F(SettingsWindowTest, TheFileIsInForceAfterStart) {
    if (geteuid() != 0)
        GTEST_SKIP() << "the stored priority is only granted to root here";
    QStringList lines = defaultLines();
    lines[0] = u("goo国語辞典");
    lines[1] = u("使わない");
    lines[20] = "False"; // no toolbar
    lines[26] = "True";  // a new tab per search
    lines[32] = u("高い");
    lines[33] = "Max";
    lines[36] = u("goo英和、和英");
    writeFile("Lexorra2.ini", fileBytes(lines));
    start();

    EXPECT_TRUE(action("A_goo2_kokugo_check")->isChecked());
    EXPECT_FALSE(action("A_yahoo2_kokugo_check")->isChecked());
    EXPECT_EQ(action("A_Settei_kokugo_Button")->toolTip(), u("goo国語辞典"));
    EXPECT_FALSE(action("A_Settei_eiwa_Button")->isVisible());
    EXPECT_FALSE(action("Action10")->isChecked());
    EXPECT_TRUE(action("A_Settei_eiwa_Button2")->isVisible());
    EXPECT_EQ(action("A_Settei_eiwa_Button2")->toolTip(), u("goo英和、和英"));
    EXPECT_TRUE(action("Action9")->isChecked());
    EXPECT_TRUE(action("A_goo_2_eiwa_check")->isChecked());

    EXPECT_FALSE(action("tool_bar_on")->isChecked());
    EXPECT_FALSE(named<QWidget>(*window, "Panel1")->isVisible());
    EXPECT_TRUE(action("cbOpenNew")->isChecked());
    EXPECT_TRUE(action("moji_size_max")->isChecked());
    EXPECT_FALSE(action("moji_size_dai")->isChecked());
    EXPECT_TRUE(action("yuusendo_takai")->isChecked());
    for (int nice : desktop::ProcessPriority::threadNiceValues())
        EXPECT_EQ(nice, -10);
    // The stored size is only a check mark: the first tab keeps the standard size.
    EXPECT_TRUE(browsers.created.first()->textSizes.isEmpty());
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(SettingsWindowTest, MinimisedAtStartWhenStored) {
    QStringList lines = defaultLines();
    lines[22] = "True";
    writeFile("Lexorra2.ini", fileBytes(lines));
    start();
    EXPECT_TRUE(processEventsUntil([&] { return window->isMinimized(); }, 2000));
}

// The status bar names the stored site of the category a run starts in, and its button is the
// checked one, also when nothing is chosen for it.
TEST_F(SettingsWindowTest, StoredSiteOfTheCurrentCategoryIsNamedAtStart) {
    const struct {
        const char* name;
        const char* stored;
        const char* shown;
    } rows[] = {
        {"a site", "goo国語辞典", "国語: goo国語辞典"},
        {"no site", "使わない", "国語: 使わない"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QStringList lines = defaultLines();
        lines[0] = u(row.stored);
        writeFile("Lexorra2.ini", fileBytes(lines));
        browsers.created.clear();
        start();
        EXPECT_EQ(named<QLabel>(*window, "CurrentSiteIndicator")->text(),
                  QString::fromUtf8(row.shown));
        EXPECT_TRUE(action("A_Settei_kokugo_Button")->isChecked());
        window.reset();
    }
}

TEST_F(SettingsWindowTest, WithoutFilesTheStartingStateStays) {
    start();
    EXPECT_TRUE(action("tool_bar_on")->isChecked());
    EXPECT_TRUE(named<QWidget>(*window, "Panel1")->isVisible());
    EXPECT_TRUE(action("moji_size_dai")->isChecked());
    EXPECT_TRUE(action("yuusendo_hutuu")->isChecked());
    EXPECT_TRUE(action("Action20")->isVisible());  // ショッピング
    EXPECT_FALSE(action("Action40")->isVisible()); // ショッピング2
    EXPECT_FALSE(QFileInfo::exists(folder));
}

// The window writes the file when it goes, with what the menus changed meanwhile.
TEST_F(SettingsWindowTest, DestructionWritesTheFile) {
    start();
    action("A_Bing_kensaku_check")->trigger();
    action("A_no_uses_eiei_check")->trigger();
    action("cbOpenNew")->trigger();
    action("tool_bar_on")->trigger();
    action("moji_size_syou")->trigger();
    action("yuusendo_hikui")->trigger();
    EXPECT_FALSE(named<QWidget>(*window, "Panel1")->isVisible());
    window.reset();

    QStringList expected = defaultLines();
    expected[2] = u("使わない");
    expected[8] = u("Bing");
    expected[20] = "False";
    expected[26] = "True";
    expected[32] = u("低い");
    expected[33] = u("小");
    EXPECT_EQ(readFile("Lexorra2.ini"), fileBytes(expected));
}

// "選択しただけで調べる" is off at first, and kept in the program's own configuration file:
// the settings file stays the 42 lines it would be without it, and the next start has it on.
TEST_F(SettingsWindowTest, SelectToLookUpKeptInTheConfigurationFile) {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/lexorra2/lexorra2.conf");
    ASSERT_TRUE(config.startsWith(QDir::homePath()));
    start();
    QAction* option = action("lookUpSelectionAction");
    EXPECT_EQ(option->text(), u("選択しただけで調べる(&Q)"));
    EXPECT_FALSE(option->isChecked());
    option->trigger();
    window.reset();
    EXPECT_EQ(readFile("Lexorra2.ini"), fileBytes(defaultLines()));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("lookUpSelection=true\n"));

    window.createHeld();
    EXPECT_FALSE(action("lookUpSelectionAction")->isChecked()) << "read before the start sequence";
    window.fireStartTimer();
    EXPECT_TRUE(action("lookUpSelectionAction")->isChecked());
}

// Text size applies to the active tab alone, and choosing it again applies it again.
TEST_F(SettingsWindowTest, TextSizeOfTheActiveTabOnly) {
    start();
    window->tabs().openInNewTab(QStringLiteral("http://example.test/"));
    ASSERT_EQ(browsers.created.size(), 2);
    action("moji_size_max")->trigger();
    action("moji_size_max")->trigger();
    EXPECT_EQ(browsers.created[1]->textSizes, QList<int>({4, 4}));
    EXPECT_TRUE(browsers.created[0]->textSizes.isEmpty());
    EXPECT_TRUE(action("moji_size_max")->isChecked());
    EXPECT_EQ(window->options().options().textSize, settings::TextSize::Max);
}

// "辞書の追加・解除" from the top of "辞書の選択": the ticks start from the file, "閉じる"
// writes the file and the menu follows at once.
TEST_F(SettingsWindowTest, CategoryDialogFromTheMenu) {
    QStringList lines;
    for (int i = 0; i < 26; ++i)
        lines << "true";
    lines[2] = "fales"; // 英和・和英辞典2
    writeFile("jisyo2.ini", fileBytes(lines));
    start();
    EXPECT_FALSE(action("Action9")->isVisible());
    EXPECT_TRUE(action("Action40")->isVisible());

    QMenu* siteMenu = named<QMenu>(*window, "JISYO_NO_SENTAKU_Menu");
    ASSERT_NE(siteMenu, nullptr);
    EXPECT_EQ(siteMenu->actions().value(0)->text(), u("辞書の追加・解除(&F)"));

    bool sawTicks = false;
    QTimer::singleShot(0, [&] {
        auto* dialog =
            qobject_cast<dialogs::CategoryVisibilityDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* list = named<QListWidget>(*dialog, "CheckListBox1");
        sawTicks = list->item(2)->checkState() == Qt::Unchecked &&
                   list->item(15)->checkState() == Qt::Checked;
        list->item(14)->setCheckState(Qt::Unchecked); // ショッピング
        list->item(2)->setCheckState(Qt::Checked);
        named<QPushButton>(*dialog, "Button1")->click();
    });
    action("JISYO_NO_TUIKA_KAIJYO")->trigger();
    EXPECT_TRUE(sawTicks);
    EXPECT_FALSE(action("Action20")->isVisible());
    EXPECT_TRUE(action("Action9")->isVisible());
    EXPECT_TRUE(action("A_Settei_shopping_Button")->isVisible()); // the button stays
    lines[2] = "true";
    lines[14] = "fales";
    EXPECT_EQ(readFile("jisyo2.ini"), fileBytes(lines));
}

// "ALC.txt" in the current folder shows the hidden Site in the English-Japanese menu.
TEST_F(SettingsWindowTest, MarkerFileShowsTheHiddenSite) {
    QTemporaryDir current;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    QFile marker(current.filePath(QStringLiteral("ALC.txt")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    start();
    QDir::setCurrent(previous);
    EXPECT_TRUE(action("A_ALC_eiwa_check")->isVisible());
    EXPECT_FALSE(action("A_ALC_2_eiwa_check")->isVisible());
}

// A settings folder that is someone else's file: told, the window goes on with its defaults,
// and the file is left as it was, also when the window goes.
TEST_F(SettingsWindowTest, AFileWhereTheFolderShouldBe) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(folder).path()));
    QFile other(folder);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("not ours");
    other.close();
    start();
    EXPECT_TRUE(processEventsUntil([&] {
        const auto boxes = window->findChildren<QWidget*>();
        return std::any_of(boxes.begin(), boxes.end(),
                           [](QWidget* w) { return w->inherits("QMessageBox") && w->isVisible(); });
    }));
    EXPECT_TRUE(action("A_yahoo2_kokugo_check")->isChecked());
    window.reset();
    QFile after(folder);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray("not ours"));
}

// Closed before the start sequence read the file (within the first second): the user's file
// stays as it is, byte for byte.
TEST_F(SettingsWindowTest, ClosedBeforeTheFileWasReadLeavesItAlone) {
    QStringList lines = defaultLines();
    lines[0] = u("goo国語辞典");
    lines[26] = "True";
    writeFile("Lexorra2.ini", fileBytes(lines));
    window.create();
    ASSERT_TRUE(browsers.created.isEmpty()); // the start sequence has not run
    window.reset();
    EXPECT_EQ(readFile("Lexorra2.ini"), fileBytes(lines));
}

// A save that fails as the window goes (a folder took the file's place meanwhile) is told
// where no one has to answer it: nothing modal holds the end of the run.
TEST_F(SettingsWindowTest, ASaveThatFailsAtTheEndHoldsNothing) {
    start();
    action("cbOpenNew")->trigger();
    const QString settingsFile = folder + QStringLiteral("/Lexorra2.ini");
    ASSERT_TRUE(QDir().mkpath(settingsFile));
    QStringList modalBoxes;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            modalBoxes << box->property("text").toString();
            box->close();
        }
    });
    probe.start(0);
    window.reset();
    probe.stop();
    EXPECT_TRUE(modalBoxes.isEmpty()) << modalBoxes.join(u'|').toStdString();
    EXPECT_TRUE(QFileInfo(settingsFile).isDir());
}
