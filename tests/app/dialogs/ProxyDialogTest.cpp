#include "app/dialogs/ProxyDialog.h"

#include "app/dialogs/ProxyDialogRunner.h"
#include "support/Modal.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using app::ProxyDialog;
using app::ProxyDialogRunner;

namespace {

QRadioButton* radio(QWidget* dialog, const QString& text) {
    const auto group = dialog->findChild<QGroupBox*>(QStringLiteral("Proxy_RadioGroup"));
    for (QRadioButton* button : group->findChildren<QRadioButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

QGroupBox* frame(QWidget* dialog) {
    return dialog->findChild<QGroupBox*>(QStringLiteral("GroupBox2"));
}

QLineEdit* edit(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("Proxy_Edit"));
}

QPushButton* okButton(QWidget* dialog) {
    return dialog->findChild<QPushButton*>(QStringLiteral("Button1"));
}

} // namespace

class ProxyDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void looksAsDescribed() {
        ProxyDialog dialog(ProxyDialog::kUseProxy, QStringLiteral("10.0.0.1:8080"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Proxy（プロキシ）設定"));
        QCOMPARE(dialog.size(), QSize(462, 175));
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(dialog.findChild<QGroupBox*>(QStringLiteral("Proxy_RadioGroup"))->title(),
                 QStringLiteral("プロキシ"));
        QVERIFY(radio(&dialog, QStringLiteral("ON")));
        QVERIFY(radio(&dialog, QStringLiteral("OFF")));
        QVERIFY(edit(&dialog)->parentWidget() == frame(&dialog));
        const auto example = frame(&dialog)->findChild<QLabel*>();
        QVERIFY(example);
        QCOMPARE(example->text(), QStringLiteral("入力例 *.*.*.*:8080\u3000のようにportも含む"));
        QCOMPARE(okButton(&dialog)->text(), QStringLiteral("OK"));
        QVERIFY(okButton(&dialog)->isDefault());
    }

    // The saved choice picks the radio item; the address frame shows exactly with ON; the
    // saved address is in the edit either way.
    void opensWithTheSavedChoice_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("checked");

        QTest::newRow("ON with an address") << 0 << "10.0.0.1:8080"
                                            << "ON";
        QTest::newRow("OFF keeps the address for the next time") << 1 << "10.0.0.1:8080"
                                                                 << "OFF";
        QTest::newRow("OFF, never an address") << 1 << ""
                                               << "OFF";
        QTest::newRow("ON, never an address") << 0 << ""
                                              << "ON";
        QTest::newRow("an unknown choice from a hand-edited file") << 7 << "h.test:1"
                                                                   << "OFF";
    }

    void opensWithTheSavedChoice() {
        QFETCH(int, choice);
        QFETCH(QString, address);
        QFETCH(QString, checked);
        ProxyDialog dialog(static_cast<quint8>(choice), address);
        dialog.show();
        QVERIFY(radio(&dialog, checked)->isChecked());
        QCOMPARE(frame(&dialog)->isVisible(), checked == QLatin1String("ON"));
        QCOMPARE(edit(&dialog)->text(), address);
        // Typing goes to the address with ON; with OFF the arrow keys change the choice.
        QCOMPARE(dialog.focusWidget(), checked == QLatin1String("ON")
                                           ? static_cast<QWidget*>(edit(&dialog))
                                           : radio(&dialog, checked));
    }

    // With the keyboard alone: an arrow key chooses ON, Tab reaches the address, Enter is OK.
    void keyboardReachesEveryControl() {
        ProxyDialog dialog(ProxyDialog::kNoProxy, QString());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(radio(&dialog, QStringLiteral("ON"))->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), edit(&dialog));
        QTest::keyClicks(edit(&dialog), QStringLiteral("10.0.0.1:8080"));
        QTest::keyClick(edit(&dialog), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), okButton(&dialog));
        QTest::keyClick(okButton(&dialog), Qt::Key_Backtab);
        QTest::keyClick(edit(&dialog), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(int(dialog.choice()), int(ProxyDialog::kUseProxy));
        QCOMPARE(dialog.address(), QStringLiteral("10.0.0.1:8080"));
    }

    void radioItemsShowAndHideTheFrame() {
        ProxyDialog dialog(ProxyDialog::kNoProxy, QStringLiteral("10.0.0.1:8080"));
        dialog.show();
        QVERIFY(!frame(&dialog)->isVisible());
        const QPoint framePlace = frame(&dialog)->pos();
        QTest::mouseClick(radio(&dialog, QStringLiteral("ON")), Qt::LeftButton);
        QVERIFY(frame(&dialog)->isVisible());
        QCOMPARE(edit(&dialog)->text(), QStringLiteral("10.0.0.1:8080"));
        QTest::mouseClick(radio(&dialog, QStringLiteral("OFF")), Qt::LeftButton);
        QVERIFY(!frame(&dialog)->isVisible());
        QCOMPARE(frame(&dialog)->pos(), framePlace);
    }

    // OK with what the user chose and typed; the values the dialog gives back.
    void okGivesTheChoiceToKeep_data() {
        QTest::addColumn<int>("savedChoice");
        QTest::addColumn<QString>("savedAddress");
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("address");

        QTest::newRow("ON with a new address") << 1 << "10.0.0.1:8080"
                                               << "ON"
                                               << "proxy.test:3128" << 0 << "proxy.test:3128";
        QTest::newRow("blanks around the address are dropped")
            << 1 << ""
            << "ON"
            << "  proxy.test:3128 " << 0 << "proxy.test:3128";
        QTest::newRow("ON as saved") << 0 << "10.0.0.1:8080"
                                     << "ON"
                                     << "10.0.0.1:8080" << 0 << "10.0.0.1:8080";
        QTest::newRow("OFF keeps the saved address, not the typed one")
            << 0 << "10.0.0.1:8080"
            << "OFF"
            << "other.test:1" << 1 << "10.0.0.1:8080";
        QTest::newRow("OFF ignores a bad address") << 0 << "10.0.0.1:8080"
                                                   << "OFF"
                                                   << "*.*.*.*:8080" << 1 << "10.0.0.1:8080";
        QTest::newRow("ON with a blank address is kept as OFF") << 0 << "10.0.0.1:8080"
                                                                << "ON"
                                                                << "" << 1 << "10.0.0.1:8080";
    }

    void okGivesTheChoiceToKeep() {
        QFETCH(int, savedChoice);
        QFETCH(QString, savedAddress);
        QFETCH(QString, click);
        QFETCH(QString, typed);
        QFETCH(int, choice);
        QFETCH(QString, address);
        ProxyDialog dialog(static_cast<quint8>(savedChoice), savedAddress);
        dialog.show();
        QTest::mouseClick(radio(&dialog, QStringLiteral("ON")), Qt::LeftButton);
        edit(&dialog)->setText(typed);
        QTest::mouseClick(radio(&dialog, click), Qt::LeftButton);
        QTest::mouseClick(okButton(&dialog), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(int(dialog.choice()), choice);
        QCOMPARE(dialog.address(), address);
    }

    // A bad address with ON: the user is told what is wrong, the dialog stays open with the
    // text selected for correction, and OK with a good one closes it.
    void badAddressIsRefusedWithAMessage() {
        ProxyDialogRunner runner;
        QString message;
        whenModal("app::ProxyDialog", [&](QWidget* dialog) {
            QTest::mouseClick(radio(dialog, QStringLiteral("ON")), Qt::LeftButton);
            edit(dialog)->setText(QStringLiteral("*.*.*.*:8080"));
            whenModal("QMessageBox", [&, dialog](QWidget* box) {
                message = static_cast<QMessageBox*>(box)->text();
                whenModal("app::ProxyDialog", [&](QWidget* again) {
                    QVERIFY(again->isVisible());
                    QCOMPARE(edit(again)->selectedText(), QStringLiteral("*.*.*.*:8080"));
                    edit(again)->setText(QStringLiteral("10.1.2.3:8080"));
                    QTest::keyClick(again, Qt::Key_Return);
                });
                static_cast<QMessageBox*>(box)->accept();
            });
            QTest::mouseClick(okButton(dialog), Qt::LeftButton);
        });
        const auto result = runner.run(nullptr, ProxyDialog::kNoProxy, QString());
        QVERIFY2(message.contains(QStringLiteral("*.*.*.*:8080")), qPrintable(message));
        QVERIFY(result);
        QCOMPARE(*result, (ProxyDialogRunner::Choice{0, QStringLiteral("10.1.2.3:8080")}));
    }

    // The close box and Esc apply nothing: no choice comes back.
    void closingOtherwiseGivesNothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close box") << false;
        QTest::newRow("Esc") << true;
    }

    void closingOtherwiseGivesNothing() {
        QFETCH(bool, escape);
        ProxyDialogRunner runner;
        bool reached = false;
        whenModal("app::ProxyDialog", [&](QWidget* dialog) {
            reached = true;
            QTest::mouseClick(radio(dialog, QStringLiteral("ON")), Qt::LeftButton);
            edit(dialog)->setText(QStringLiteral("new.test:8080"));
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->close();
        });
        QVERIFY(!runner.run(nullptr, ProxyDialog::kNoProxy, QStringLiteral("old.test:1")));
        QVERIFY(reached);
    }

    // While the dialog exists the runner says so, by signal and when asked; the dialog is gone
    // once it has closed.
    void tellsWhileTheDialogExists() {
        QWidget window;
        ProxyDialogRunner runner;
        QSignalSpy open(&runner, &ProxyDialogRunner::openChanged);
        bool openWhileShown = false;
        bool openWhenChosen = false;
        connect(&runner, &ProxyDialogRunner::chosen, this, [&] {
            const auto dialogs = window.findChildren<ProxyDialog*>();
            openWhenChosen = runner.isOpen() && open.size() == 1 && dialogs.size() == 1 &&
                             dialogs.first()->isVisible();
        });
        whenModal("app::ProxyDialog", [&](QWidget* dialog) {
            openWhileShown = runner.isOpen() && open.size() == 1 && open.at(0).at(0).toBool();
            // A second request while open starts no second dialog.
            QVERIFY(!runner.run(&window, ProxyDialog::kNoProxy, QString()));
            QCOMPARE(window.findChildren<ProxyDialog*>().size(), 1);
            QTest::mouseClick(okButton(dialog), Qt::LeftButton);
        });
        QVERIFY(runner.run(&window, ProxyDialog::kNoProxy, QString()));
        QVERIFY(openWhileShown);
        QVERIFY(openWhenChosen);
        QVERIFY(!runner.isOpen());
        QCOMPARE(open.size(), 2);
        QCOMPARE(open.at(1).at(0).toBool(), false);
        QVERIFY(window.findChildren<ProxyDialog*>().isEmpty());
    }
};

QTEST_MAIN(ProxyDialogTest)
#include "ProxyDialogTest.moc"
