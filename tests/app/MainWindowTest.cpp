#include "app/MainWindow.h"

#include "app/ActionBar.h"
#include "app/menus/CommandRegistry.h"
#include "app/menus/MenuTable.h"
#include "browser/StartPage.h"
#include "browser/TabControl.h"
#include "browser/TabManager.h"
#include "lookup/Catalogue.h"
#include "lookup/LookupController.h"
#include "settings/OptionsStore.h"
#include "support/EventLoop.h"
#include "support/FakeBrowser.h"
#include "support/Named.h"
#include "support/WindowUnderTest.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <set>

using app::MainWindow;

namespace {

using enum lookup::CategoryId;
const std::set<lookup::CategoryId> kExtraCategories = {
    EnglishJapanese2, EnglishJapanese3, EnglishEnglish2, EnglishEnglish3, Shopping2, Shopping3};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { form.create(); }
    WindowUnderTest form;
    FakeBrowserFactory& browsers = form.browsers();
};

TEST_F(MainWindowTest, CaptionAndStateAfterCreation) {
    EXPECT_EQ(form->objectName(), "Main_Form");
    EXPECT_EQ(form->windowTitle(), "Lexorra2 professional 64bit ver1.11");
    EXPECT_EQ(form->lookups().dispatch().currentCategory(), lookup::CategoryId::JapaneseDictionary);
    EXPECT_EQ(form->lookups().dispatch().categoryAfterLongText(),
              lookup::CategoryId::JapaneseDictionary);
    EXPECT_EQ(form->options().options().proxyChoice, 1);
    EXPECT_TRUE(browser::startPageUrl().endsWith("/Lexorra2pro_LOGO.html"))
        << browser::startPageUrl().toStdString();
    EXPECT_EQ(form->statusText(), "abcd");
    EXPECT_EQ(form->size(), QSize(1008, 599));
}

TEST_F(MainWindowTest, CategoryButtonsFollowTheCatalogue) {
    const auto& categories = lookup::Catalogue::instance().categories();
    ASSERT_EQ(form->categoryButtons().size(), categories.size());
    const QList<QAction*> onBar = named<app::ActionBar>(*form, "ActionMainMenuBar1")->actions();
    int visible = 0;
    for (const lookup::LookupCategory& category : categories) {
        SCOPED_TRACE(category.categoryKey.toStdString());
        QAction* action = form->findChild<QAction*>(category.buttonAction);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action, form->categoryButton(category));
        EXPECT_EQ(onBar.indexOf(action) - onBar.indexOf(form->categoryButtons().front()),
                  category.index)
            << "button order on the bar";
        EXPECT_EQ(action->text(), category.buttonCaption);
        if (!category.initialHint.isEmpty()) {
            EXPECT_EQ(action->toolTip(), category.initialHint);
        }
        const bool extra = kExtraCategories.count(category.id) != 0;
        EXPECT_EQ(action->isVisible(), !extra);
        QToolButton* button = named<app::ActionBar>(*form, "ActionMainMenuBar1")->buttonFor(action);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), category.buttonLabel);
        EXPECT_EQ(button->isVisible(), !extra);
        visible += button->isVisible();
    }
    EXPECT_EQ(visible, 20);
}

// Every entry of the window's menu tables has its action: an entry whose maker was forgotten
// would silently be left out of its menu.
TEST_F(MainWindowTest, EveryMenuCommandHasItsAction) {
    std::vector<app::Command> listed;
    auto collect = [&](auto& self, std::span<const app::MenuEntry> entries) -> void {
        for (const app::MenuEntry& entry : entries) {
            if (entry.kind == app::MenuEntry::Kind::Action)
                listed.push_back(entry.command);
            else if (entry.kind == app::MenuEntry::Kind::Submenu)
                self(self, entry.entries);
        }
    };
    collect(collect, app::MenuTable::optionsMenu().entries);
    collect(collect, app::MenuTable::dictionaryMenuHead());
    collect(collect, app::MenuTable::supportMenu().entries);
    collect(collect, app::MenuTable::trayMenu().entries);
    ASSERT_FALSE(listed.empty());
    for (app::Command command : listed) {
        const app::CommandName& name = app::MenuTable::command(command);
        SCOPED_TRACE(name.objectName);
        QAction* action = form->commands().action(command);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action, form->findChild<QAction*>(QString::fromLatin1(name.objectName)));
        EXPECT_EQ(action->text(), QString::fromUtf8(name.label));
    }
}

TEST_F(MainWindowTest, AuctionButtonShowsItsLabelButKeepsItsCaption) {
    QAction* auction = form->findChild<QAction*>("A_Settei_auction_Button");
    ASSERT_NE(auction, nullptr);
    EXPECT_EQ(auction->text(), "オークション");
    EXPECT_EQ(named<app::ActionBar>(*form, "ActionMainMenuBar1")->buttonFor(auction)->text(),
              "競売");
}

TEST_F(MainWindowTest, ToolbarPanelControls) {
    struct Case {
        const char* name;
        QString caption;
        QRect geometry;
    };
    const Case cases[] = {
        {"Button1", "Back", QRect(8, 6, 62, 41)},
        {"Button2", "Forward", QRect(66, 6, 62, 41)},
        {"Button3", "Search", QRect(735, 6, 62, 41)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* button = named<QWidget>(*form, "Panel1")->findChild<QPushButton*>(c.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), c.caption);
        EXPECT_EQ(button->geometry(), c.geometry);
        EXPECT_TRUE(button->isVisible());
    }
    auto* search = named<QWidget>(*form, "Panel1")->findChild<QComboBox*>("Search_Combobox");
    ASSERT_NE(search, nullptr);
    EXPECT_TRUE(search->isEditable());
    EXPECT_EQ(search->geometry(), QRect(164, 16, 553, 21));
    EXPECT_EQ(search->currentText(), "");

    auto* notice = named<QWidget>(*form, "Panel1")->findChild<QLabel*>("Label1");
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(notice->text(), "256文字以上を超えると、翻訳以外では検索できません。"
                              "2044文字以上になるとWEBに反映できません。手動で入れてね");

    auto* logo = named<QWidget>(*form, "Panel1")->findChild<QLabel*>("ROGO_pro_Image");
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(logo->isVisible());
    ASSERT_FALSE(logo->pixmap().isNull()) << "the logo is carried in the program's resources";
    EXPECT_EQ(logo->size(), QSize(155, 40));
    EXPECT_EQ(named<QWidget>(*form, "Panel1")->height(), 53);
    EXPECT_EQ(named<QWidget>(*form, "Panel1")->palette().color(QPalette::Window),
              QColor(100, 100, 100));
}

TEST_F(MainWindowTest, LogoStaysAtTheRightEndWhenTheWindowIsResized) {
    for (const int width : {1008, 1400, 900}) {
        SCOPED_TRACE(width);
        form->resize(width, 599);
        QApplication::processEvents();
        EXPECT_EQ(named<QLabel>(*form, "ROGO_pro_Image")->geometry().right(),
                  named<QWidget>(*form, "Panel1")->width() - 8 - 1);
    }
}

// A window narrower than designed (1280 by 1024 at 200 % leaves 632 logical pixels): every
// control of the toolbar stays whole, and the long-text notice wraps with the panel grown.
TEST_F(MainWindowTest, NarrowWindowKeepsTheToolbarWhole) {
    form->resize(632, 486);
    QApplication::processEvents();
    auto* panel = named<QWidget>(*form, "Panel1");
    ASSERT_EQ(panel->width(), 632);
    const QRect inside = panel->rect();
    for (const char* name : {"Button1", "Button2", "Button3"})
        EXPECT_TRUE(inside.contains(named<QPushButton>(*form, name)->geometry())) << name;
    const QRect box = named<QComboBox>(*form, "Search_Combobox")->geometry();
    EXPECT_TRUE(inside.contains(box));
    EXPECT_LT(box.right(), named<QPushButton>(*form, "Button3")->geometry().left());
    EXPECT_FALSE(named<QLabel>(*form, "ROGO_pro_Image")->isVisibleTo(panel))
        << "the logo would cover the Search button";

    // A long text looked up shows the notice.
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QString(256, u'x'));
    form->lookups().lookUpSearchText();
    auto* notice = named<QLabel>(*form, "Label1");
    EXPECT_GT(panel->height(), 53) << "the wrapped notice needs more room";
    EXPECT_TRUE(panel->rect().contains(notice->geometry())) << "the notice is cut off";
    EXPECT_LE(notice->geometry().right(), box.right()) << "the notice runs under the button";

    named<QComboBox>(*form, "Search_Combobox")->setEditText(QStringLiteral("short"));
    form->lookups().lookUpSearchText();
    form->resize(1008, 599);
    QApplication::processEvents();
    EXPECT_EQ(panel->height(), 53);
    EXPECT_TRUE(named<QLabel>(*form, "ROGO_pro_Image")->isVisibleTo(panel));
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->geometry(), QRect(164, 16, 553, 21));
}

TEST_F(MainWindowTest, AreasFromTopToBottom) {
    ASSERT_NE(form->findChild<QWidget*>("PageControl1"), nullptr);
    ASSERT_NE(form->findChild<QStatusBar*>("stBar"), nullptr);
    const auto top = [&](QWidget* w) { return w->mapTo(form.get(), QPoint()).y(); };
    EXPECT_LT(top(named<app::ActionBar>(*form, "ActionMainMenuBar1")),
              top(named<QWidget>(*form, "Panel1")));
    EXPECT_LT(top(named<QWidget>(*form, "Panel1")),
              top(named<browser::TabControl>(*form, "PageControl1")));
    EXPECT_LT(top(named<browser::TabControl>(*form, "PageControl1")),
              top(named<QStatusBar>(*form, "stBar")));
    EXPECT_GE(named<app::ActionBar>(*form, "ActionMainMenuBar1")->height(), 56);
    EXPECT_EQ(named<QStatusBar>(*form, "stBar")->height(), 19);
    EXPECT_TRUE(named<app::ActionBar>(*form, "ActionMainMenuBar1")->showHints());
    EXPECT_EQ(named<app::ActionBar>(*form, "ActionMainMenuBar1")->colorMap().color,
              QColor(243, 243, 243));
}

TEST_F(MainWindowTest, StartTimerOpensTheStartPageInTheFirstTabOnce) {
    EXPECT_TRUE(named<QTimer>(*form, "Timer1")->isSingleShot());
    EXPECT_EQ(named<QTimer>(*form, "Timer1")->interval(), 1000);
    EXPECT_TRUE(named<QTimer>(*form, "Timer1")->isActive()) << "armed by window creation";
    auto* pages =
        qobject_cast<browser::TabControl*>(named<browser::TabControl>(*form, "PageControl1"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->count(), 0) << "no tab before the first tick";

    FakeBrowser* first = form.firstTab();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->goCalls, QStringList{browser::startPageUrl()});
    EXPECT_FALSE(named<QTimer>(*form, "Timer1")->isActive());

    // A later tick (the timer armed again by something else) must not start over.
    named<QTimer>(*form, "Timer1")->setInterval(10);
    named<QTimer>(*form, "Timer1")->start();
    processEventsUntil([&] { return !named<QTimer>(*form, "Timer1")->isActive(); });
    QApplication::processEvents();
    EXPECT_EQ(browsers.created.size(), 1);
    EXPECT_EQ(first->goCalls.size(), 1);
    EXPECT_EQ(pages->count(), 1);
}

TEST_F(MainWindowTest, TabsDriveTheToolbarAndTheStatusBar) {
    FakeBrowser* page = form.firstTab();
    ASSERT_NE(page, nullptr);
    // One action serves the bar and the menu: it shows the menu's label with its accelerator.
    EXPECT_EQ(named<QAction>(*form, "cbOpenNew")->text(), "検索するとタブを新規作成する(&U)");
    EXPECT_TRUE(named<QAction>(*form, "cbOpenNew")->isCheckable());
    EXPECT_FALSE(named<QAction>(*form, "cbOpenNew")->isChecked());

    Q_EMIT page->statusTextChanged("http://example.jp/");
    EXPECT_EQ(form->statusText(), "http://example.jp/");

    struct Case {
        bool canBack;
        bool canForward;
    };
    for (const Case c :
         {Case{true, false}, Case{false, true}, Case{true, true}, Case{false, false}}) {
        Q_EMIT page->historyChanged(c.canBack, c.canForward);
        Q_EMIT page->loadFinished();
        EXPECT_EQ(named<QPushButton>(*form, "Button1")->isEnabled(), c.canBack);
        EXPECT_EQ(named<QPushButton>(*form, "Button2")->isEnabled(), c.canForward);
    }

    Q_EMIT page->historyChanged(true, true);
    Q_EMIT page->loadFinished();
    form->activateWindow();
    named<QPushButton>(*form, "Button1")->click();
    named<QPushButton>(*form, "Button2")->click();
    EXPECT_EQ(page->backCalls, 1);
    EXPECT_EQ(page->forwardCalls, 1);

    page->url = "http://example.jp/page?q=%E8%BE%9E";
    Q_EMIT page->loadFinished();
    named<QAction>(*form, "Action24")->trigger();
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->currentText(), page->url);
}

// The browser reports a status with every load and every hovered link, while its navigation
// shares the thread with the window: a message repaints the panel and lays nothing out.
TEST_F(MainWindowTest, StatusMessagesDoNotLayTheWindowOut) {
    FakeBrowser* page = form.firstTab();
    ASSERT_NE(page, nullptr);
    struct LayoutRequests : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::LayoutRequest;
            return false;
        }
    } requests;
    QApplication::processEvents();
    form->installEventFilter(&requests);
    named<QStatusBar>(*form, "stBar")->installEventFilter(&requests);
    for (const char* text : {"http://example.jp/ を開いています...", "ページが表示されました",
                             "a much longer message than any before it, to the end of the bar"}) {
        Q_EMIT page->statusTextChanged(QString::fromUtf8(text));
        QApplication::processEvents();
        EXPECT_EQ(form->statusText(), QString::fromUtf8(text));
    }
    EXPECT_EQ(requests.count, 0);
}

} // namespace
