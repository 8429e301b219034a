// The proxy entries of the options menu in the real window, with a recording browser and proxy
// setting in place of the engine and the platform's in-process clipboard.
#include "app/MainWindow.h"
#include "app/dialogs/ProxyDialog.h"
#include "app/dialogs/ProxyDialogRunner.h"
#include "browser/ProxyCheckPage.h"
#include "input/ClipboardWatcher.h"
#include "settings/OptionsStore.h"
#include "support/EventLoop.h"
#include "support/FakeBrowser.h"
#include "support/Modal.h"
#include "support/Named.h"
#include "support/WindowUnderTest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using app::MainWindow;

namespace {

// Chooses ON, types the address and presses OK in the dialog.
void chooseProxy(QWidget* dialog, const QString& address) {
    for (QRadioButton* radio : dialog->findChildren<QRadioButton*>())
        if (radio->text() == QLatin1String("ON"))
            radio->click();
    named<QLineEdit>(*dialog, "Proxy_Edit")->setText(address);
    named<QPushButton>(*dialog, "Button1")->click();
}

class ProxyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QGuiApplication::clipboard()->clear();
        // The start sequence opens the first tab; the copies below go there.
        ASSERT_NE(form.start(), nullptr);
        settle();
    }
    QStringList loads() const { return browsers.loads(); }
    QAction* action(const char* name) const {
        return form->findChild<QAction*>(QString::fromLatin1(name));
    }

    WindowUnderTest form;
    FakeBrowserFactory& browsers = form.browsers();
};

} // namespace

// Where the proxy entries sit is checked with the whole menu; here, what the check entry does.
TEST_F(ProxyWindowTest, CheckEntryOpensTheCheckPageInTheActiveTab) {
    QAction* check = action("Proxy_Settei_check");
    ASSERT_NE(check, nullptr);
    check->trigger();
    EXPECT_EQ(loads().last(), browser::proxyCheckPageUrl());
}

// OK puts the proxy in force and stores it while the dialog is still shown: no copy can start a
// lookup in between, and once the dialog has gone, the proxy is in force.
TEST_F(ProxyWindowTest, OkPutsTheProxyInForceAtOnceAndKeepsIt) {
    bool dialogShownWhenApplied = false;
    bool copiesIgnoredWhenApplied = false;
    browsers.proxy.onChange = [&] {
        const auto dialogs = form->findChildren<app::ProxyDialog*>();
        dialogShownWhenApplied = dialogs.size() == 1 && dialogs.first()->isVisible();
        copiesIgnoredWhenApplied =
            named<input::ClipboardWatcher>(*form, "ClipboardWatcher")->suppressed();
    };
    whenModal("app::ProxyDialog",
              [](QWidget* dialog) { chooseProxy(dialog, QStringLiteral(" 10.0.0.1:8080 ")); });
    action("proxy_Set_check")->trigger();

    EXPECT_EQ(browsers.proxy.routes, QStringList{"10.0.0.1:8080"});
    EXPECT_TRUE(dialogShownWhenApplied);
    EXPECT_TRUE(copiesIgnoredWhenApplied);
    EXPECT_EQ(form->options().options().proxyChoice, 0);
    EXPECT_EQ(form->options().options().proxyAddress, QStringLiteral("10.0.0.1:8080"));
    EXPECT_TRUE(form->findChildren<app::ProxyDialog*>().isEmpty());

    // OFF next time: direct connections, and the address is kept for the time after.
    whenModal("app::ProxyDialog", [](QWidget* dialog) {
        for (QRadioButton* radio : dialog->findChildren<QRadioButton*>())
            if (radio->text() == QLatin1String("OFF"))
                radio->click();
        named<QPushButton>(*dialog, "Button1")->click();
    });
    action("proxy_Set_check")->trigger();
    EXPECT_EQ(browsers.proxy.routes, (QStringList{"10.0.0.1:8080", "none"}));
    EXPECT_EQ(form->options().options().proxyChoice, 1);
    EXPECT_EQ(form->options().options().proxyAddress, QStringLiteral("10.0.0.1:8080"));
}

// A copy while the dialog is open starts nothing and is not kept for later; after the dialog
// has closed, copies are looked up again.
TEST_F(ProxyWindowTest, CopiesStartNothingWhileTheDialogExists) {
    const qsizetype before = loads().size();
    qsizetype whileOpen = -1;
    whenModal("app::ProxyDialog", [&](QWidget* dialog) {
        QGuiApplication::clipboard()->setText(QStringLiteral("開いている間"));
        settle();
        whileOpen = loads().size();
        dialog->close();
    });
    action("proxy_Set_check")->trigger();
    EXPECT_EQ(whileOpen, before);
    settle();
    EXPECT_EQ(loads().size(), before);
    EXPECT_TRUE(browsers.proxy.routes.isEmpty());
    EXPECT_EQ(form->options().options().proxyChoice, 1);

    QGuiApplication::clipboard()->setText(QStringLiteral("閉じた後"));
    ASSERT_TRUE(processEventsUntil([&] { return loads().size() == before + 1; }));
}

// A settings file that names a proxy nobody can reach by that name: the user is told, and the
// route stays as it was.
TEST_F(ProxyWindowTest, StoredProxyThatIsNoAddressIsReported) {
    settings::Options options = form->options().options();
    options.proxyChoice = 0;
    options.proxyAddress = QStringLiteral("*.*.*.*:8080");
    form->options().setOptions(options);
    EXPECT_TRUE(browsers.proxy.routes.isEmpty());
    QMessageBox* box = nullptr;
    ASSERT_TRUE(processEventsUntil([&] {
        for (QMessageBox* b : form->findChildren<QMessageBox*>())
            if (b->isVisible())
                box = b;
        return box != nullptr;
    }));
    EXPECT_TRUE(box->text().contains(QStringLiteral("*.*.*.*:8080"))) << box->text().toStdString();
    box->close();
}
