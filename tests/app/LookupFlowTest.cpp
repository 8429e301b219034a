// The whole lookup flow in the real window, with a recording browser in place of the engine
// and the platform's in-process clipboard.
#include "app/ActionBar.h"
#include "app/MainWindow.h"
#include "app/menus/SiteMenus.h"
#include "browser/StartPage.h"
#include "browser/TabControl.h"
#include "lookup/Catalogue.h"
#include "lookup/LookupController.h"
#include "lookup/SiteQuery.h"
#include "lookup/SiteSelection.h"
#include "support/EventLoop.h"
#include "support/FakeBrowser.h"
#include "support/Named.h"
#include "support/WindowUnderTest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using app::MainWindow;

namespace {

QString url(const char* siteKey, const QString& text) {
    return lookup::siteQueryUrl(
        *lookup::Catalogue::instance().siteByKey(QString::fromLatin1(siteKey)), text);
}

void copy(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

class LookupFlowTest : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::clipboard()->clear(); }

    // Creates the window; the start timer is held so that each test fires it when it wants.
    void create() { form.createHeld(); }
    void fireStartTimer() { form.fireStartTimer(); }
    void started() {
        create();
        fireStartTimer();
        ASSERT_EQ(browsers.created.size(), 1);
    }
    // Every address the tabs were sent to, in order, over all tabs.
    QStringList loads() const { return browsers.loads(); }
    QString lastLoad() const { return loads().value(loads().size() - 1); }
    QString box() const { return named<QComboBox>(*form, "Search_Combobox")->currentText(); }
    QAction* action(const char* name) const {
        return form->findChild<QAction*>(QString::fromLatin1(name));
    }
    // A key pressed and released in the search box.
    void keyUp(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(named<QComboBox>(*form, "Search_Combobox"), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(named<QComboBox>(*form, "Search_Combobox"), &release);
    }
    // What an input method sends: the composed text committed, then the release of the Enter
    // whose press it kept.
    void commitWithEnter(const QString& text) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(named<QComboBox>(*form, "Search_Combobox"), &commit);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(named<QComboBox>(*form, "Search_Combobox"), &release);
    }
    void searchButton(Qt::MouseButton button) {
        const QPointF at(10, 10);
        QMouseEvent press(QEvent::MouseButtonPress, at,
                          named<QPushButton>(*form, "Button3")->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at,
                            named<QPushButton>(*form, "Button3")->mapToGlobal(at), button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(named<QPushButton>(*form, "Button3"), &press);
        QApplication::sendEvent(named<QPushButton>(*form, "Button3"), &release);
    }

    WindowUnderTest form;
    FakeBrowserFactory& browsers = form.browsers();
};

} // namespace

TEST_F(LookupFlowTest, NothingCopiedStartsOnTheStartPage) {
    create();
    EXPECT_TRUE(browsers.created.isEmpty());
    fireStartTimer();
    EXPECT_EQ(loads(), QStringList{browser::startPageUrl()});
    // A later tick does not run the start sequence again.
    fireStartTimer();
    EXPECT_EQ(loads(), QStringList{browser::startPageUrl()});
}

TEST_F(LookupFlowTest, TextOnTheClipboardAtStartIsTheFirstLookup) {
    copy(QStringLiteral("ＡＢＣ"));
    create();
    // Taken at once into the box (normalised), looked up only by the start sequence.
    EXPECT_EQ(box(), "ABC");
    EXPECT_TRUE(browsers.created.isEmpty());
    fireStartTimer();
    EXPECT_EQ(loads(), QStringList{url("yahoo2_kokugo", "ABC")});
}

TEST_F(LookupFlowTest, CopiesDuringTheFirstSecond) {
    create();
    copy(QStringLiteral("一"));
    EXPECT_TRUE(loads().isEmpty()) << "the first copy waits for the start sequence";
    EXPECT_TRUE(named<QTimer>(*form, "Timer1")->isActive());
    copy(QStringLiteral("二"));
    EXPECT_EQ(loads(), QStringList{url("yahoo2_kokugo", "二")}) << "the second looks up at once";
    fireStartTimer();
    EXPECT_EQ(loads(), (QStringList{url("yahoo2_kokugo", "二"), url("yahoo2_kokugo", "二")}));
}

TEST_F(LookupFlowTest, CopyLooksUpOnceAndNormalises) {
    started();
    copy(QStringLiteral("辞書"));
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "辞書"));
    const auto count = loads().size();
    copy(QStringLiteral("辞書"));
    EXPECT_EQ(loads().size(), count) << "the same text again";
    copy(QStringLiteral("ＡＢＣ　１"));
    EXPECT_EQ(box(), "ABC　1");
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "ABC　1"));

    action("jidou_zenkaku_eimoji_hankaku")->trigger();
    copy(QStringLiteral("ＸＹ"));
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "ＸＹ"));
}

TEST_F(LookupFlowTest, PauseAndResume) {
    started();
    QAction* pauseAction = action("kyuushi");
    ASSERT_TRUE(pauseAction);
    EXPECT_EQ(pauseAction->text(), "休止");
    pauseAction->trigger();
    EXPECT_EQ(pauseAction->text(), "監視");
    const auto count = loads().size();
    copy(QStringLiteral("paused"));
    EXPECT_EQ(loads().size(), count);
    EXPECT_EQ(box(), "");
    pauseAction->trigger();
    EXPECT_EQ(pauseAction->text(), "休止");
    EXPECT_EQ(loads().size(), count) << "copies made while paused are not replayed";
    copy(QStringLiteral("again"));
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "again"));
}

TEST_F(LookupFlowTest, LongTextGoesToTranslationAndBack) {
    started();
    const QString longText(256, u'x');
    copy(longText);
    EXPECT_EQ(lastLoad(), url("google_Honyaku", longText));
    EXPECT_TRUE(named<QLabel>(*form, "Label1")->isVisibleTo(named<QWidget>(*form, "Panel1")));
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->y(), MainWindow::kSearchBoxRaisedTop);
    copy(QStringLiteral("short"));
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "short"));
    EXPECT_FALSE(named<QLabel>(*form, "Label1")->isVisibleTo(named<QWidget>(*form, "Panel1")));
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->y(), MainWindow::kSearchBoxTop);
}

TEST_F(LookupFlowTest, ChoosingASiteInItsMenu) {
    started();
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QStringLiteral("猫"));
    action("A_goo2_kokugo_check")->trigger();
    EXPECT_EQ(lastLoad(), url("goo2_kokugo", "猫"));
    EXPECT_TRUE(action("A_goo2_kokugo_check")->isChecked());
    EXPECT_FALSE(action("A_yahoo2_kokugo_check")->isChecked());
    EXPECT_TRUE(action("A_Settei_kokugo_Button")->isVisible());
    EXPECT_EQ(action("A_Settei_kokugo_Button")->toolTip(), "goo国語辞典");

    // A hidden extra category's button appears, and its category becomes current.
    action("A_weblio_2_eiwa_check")->trigger();
    EXPECT_TRUE(action("A_Settei_eiwa_Button2")->isVisible());
    EXPECT_TRUE(action("Action9")->isChecked());
    EXPECT_EQ(form->lookups().dispatch().currentCategory(), lookup::CategoryId::EnglishJapanese2);
    EXPECT_EQ(lastLoad(), url("weblio_2_eiwa", "猫"));

    // "使わない": the button goes, the category stays current and loads nothing.
    const auto count = loads().size();
    action("A_no_uses_2_eiwa_check")->trigger();
    EXPECT_FALSE(action("A_Settei_eiwa_Button2")->isVisible());
    EXPECT_FALSE(action("Action9")->isChecked());
    copy(QStringLiteral("犬"));
    EXPECT_EQ(loads().size(), count);
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->itemText(0), "犬")
        << "the word still enters the history";
}

// Where a copy goes is in sight: the current category's button is the one checked on the bar, and
// the status bar names the category and its site, whatever made the category current.
TEST_F(LookupFlowTest, CurrentCategoryIsMarkedOnEveryPath) {
    started();
    auto* bar = named<app::ActionBar>(*form, "ActionMainMenuBar1");
    auto* shown = named<QLabel>(*form, "CurrentSiteIndicator");
    auto* box = named<QComboBox>(*form, "Search_Combobox");
    box->setEditText(QStringLiteral("word"));
    auto pressOnBar = [&](const char* button) {
        QTest::mouseClick(bar->buttonFor(action(button)), Qt::LeftButton);
    };
    struct Step {
        const char* name;
        std::function<void()> act;
        const char* button; // the one checked after it
        const char* status;
    };
    const Step steps[] = {
        {"at start", [] {}, "A_Settei_kokugo_Button", "国語: yahoo!国語辞典"},
        {"a category button", [&] { pressOnBar("A_Settei_eiei_Button"); }, "A_Settei_eiei_Button",
         "英英: LongmanWebDictionary"},
        {"the current button again", [&] { pressOnBar("A_Settei_eiei_Button"); },
         "A_Settei_eiei_Button", "英英: LongmanWebDictionary"},
        {"a site in another category's menu", [&] { action("A_goo_eiwa_check")->trigger(); },
         "A_Settei_eiwa_Button", "英和、和英: goo英和、和英"},
        {"a long text goes to translation",
         [&] {
             box->setEditText(QString(300, u'x'));
             pressOnBar("A_Settei_eiwa_Button");
         },
         "A_Settei_Honyaku_Button", "翻訳: google翻訳　自動検出→日本語"},
        {"a short text returns", [&] { copy(QStringLiteral("short")); }, "A_Settei_eiwa_Button",
         "英和、和英: goo英和、和英"},
        {"the failure page's choice",
         [&] {
             Q_EMIT browsers.created.first()->siteChoiceRequested(QStringLiteral("goo2_kokugo"));
         },
         "A_Settei_kokugo_Button", "国語: goo国語辞典"},
        {"no site for the current category", [&] { action("A_no_uses_kokugo_check")->trigger(); },
         "A_Settei_kokugo_Button", "国語: 使わない"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        QStringList checked;
        for (QAction* button : form->categoryButtons())
            if (button->isChecked())
                checked << button->objectName();
        EXPECT_EQ(checked, QStringList{QString::fromLatin1(step.button)});
        if (QToolButton* onBar = bar->buttonFor(action(step.button)); onBar->isVisible()) {
            EXPECT_TRUE(onBar->isChecked());
        }
        EXPECT_EQ(shown->text(), QString::fromUtf8(step.status));
        EXPECT_TRUE(shown->isVisible());
    }
}

TEST_F(LookupFlowTest, CategoryButtonMakesItsCategoryCurrent) {
    started();
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QStringLiteral("word"));
    action("A_Settei_eiei_Button")->trigger();
    EXPECT_EQ(lastLoad(), url("LongmanWebDictionary_eiei", "word"));
    EXPECT_EQ(form->lookups().dispatch().currentCategory(), lookup::CategoryId::EnglishEnglish);
    EXPECT_EQ(form->lookups().dispatch().categoryAfterLongText(),
              lookup::CategoryId::EnglishEnglish);
    copy(QStringLiteral("next"));
    EXPECT_EQ(lastLoad(), url("LongmanWebDictionary_eiei", "next"));
}

TEST_F(LookupFlowTest, EnterInTheSearchBox) {
    started();
    const auto before = loads().size();
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QStringLiteral("apple"));
    keyUp(Qt::Key_Return);
    EXPECT_EQ(loads().size(), before + 1);
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QStringLiteral("りんご"));
    keyUp(Qt::Key_Return);
    EXPECT_EQ(loads().size(), before + 1) << "held back";
    keyUp(Qt::Key_Enter);
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "りんご"));
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QStringLiteral("http://example.com/"));
    keyUp(Qt::Key_Return);
    EXPECT_EQ(loads().size(), before + 2);
}

TEST_F(LookupFlowTest, OneEnterAfterAnInputMethodCommit) {
    started();
    const auto before = loads().size();
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QString());
    commitWithEnter(QStringLiteral("日本語"));
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->currentText(), QStringLiteral("日本語"));
    EXPECT_EQ(loads().size(), before) << "the Enter that committed is no lookup";
    keyUp(Qt::Key_Return);
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "日本語"));
    // Another key after the commit: Japanese text needs its two Enters again.
    commitWithEnter(QStringLiteral("かな"));
    keyUp(Qt::Key_Left);
    keyUp(Qt::Key_Return);
    EXPECT_EQ(loads().size(), before + 1) << "held back";
    keyUp(Qt::Key_Return);
    EXPECT_EQ(loads().size(), before + 2);
}

TEST_F(LookupFlowTest, SearchButton) {
    started();
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QStringLiteral("http://example.com/"));
    searchButton(Qt::LeftButton);
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "http://example.com/"));
    named<QComboBox>(*form, "Search_Combobox")->setEditText(QStringLiteral("ねこ"));
    searchButton(Qt::RightButton);
    EXPECT_EQ(lastLoad(), url("google_kensaku", "ねこ"));
    EXPECT_EQ(form->lookups().dispatch().currentCategory(), lookup::CategoryId::JapaneseDictionary);
    const auto count = loads().size();
    searchButton(Qt::MiddleButton);
    EXPECT_EQ(loads().size(), count);
}

TEST_F(LookupFlowTest, HistoryKeepsTwentyOneAndTheBoxItsText) {
    started();
    for (int i = 0; i < 23; ++i) {
        const QString word = QStringLiteral("w%1").arg(i);
        copy(word);
        ASSERT_EQ(box(), word);
    }
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->count(), 21);
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->itemText(0), "w22");
    EXPECT_EQ(named<QComboBox>(*form, "Search_Combobox")->itemText(20), "w2");

    // Choosing an entry only fills the box.
    const auto count = loads().size();
    named<QComboBox>(*form, "Search_Combobox")->setCurrentIndex(5);
    settle();
    EXPECT_EQ(box(), "w17");
    EXPECT_EQ(loads().size(), count);
}

TEST_F(LookupFlowTest, WindowComesForward) {
    started();
    form->showMinimized();
    settle();
    copy(QStringLiteral("restore me"));
    EXPECT_FALSE(form->isMinimized());
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "restore me"));

    form->showMaximized();
    settle();
    copy(QStringLiteral("stay maximised"));
    settle();
    EXPECT_TRUE(form->isMaximized());

    action("copy_window_zenmen_on")->trigger();
    form->showMinimized();
    settle();
    copy(QStringLiteral("stay down"));
    settle();
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "stay down"));
}

TEST_F(LookupFlowTest, OddCopies) {
    started();
    // Close to a mebibyte of text is kept whole (a line edit would cut it at 32767
    // characters) and goes to the translation site.
    const QString huge = QString(340000, u'字');
    copy(huge);
    EXPECT_EQ(box().size(), huge.size());
    EXPECT_TRUE(lastLoad().startsWith(url("google_Honyaku", QString())));
    // Past a mebibyte (in UTF-8) no site takes it: the status bar says so, the search box keeps
    // its text and nothing is loaded.
    const auto before = loads().size();
    copy(QString(360000, u'字'));
    EXPECT_EQ(box().size(), huge.size());
    EXPECT_EQ(loads().size(), before);
    EXPECT_TRUE(form->statusText().contains(QStringLiteral("長すぎる")))
        << form->statusText().toStdString();

    const QString odd = QString::fromUtf16(u"a\tb\r\nc\0d\x01", 9);
    copy(odd);
    EXPECT_EQ(box(), odd);

    const auto count = loads().size();
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(loads().size(), count);
    EXPECT_EQ(box(), odd);

    for (int i = 0; i < 200; ++i)
        copy(QStringLiteral("burst %1").arg(i));
    settle();
    EXPECT_EQ(box(), "burst 199");
    EXPECT_EQ(lastLoad(), url("yahoo2_kokugo", "burst 199"));
    EXPECT_EQ(loads().size(), count + 200);
}
