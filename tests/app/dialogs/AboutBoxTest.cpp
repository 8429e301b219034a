#include "app/dialogs/AboutBox.h"

#include "app/dialogs/VersionText.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using app::AboutBox;
using app::VersionText;

class AboutBoxTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void versionText_data();
    void versionText();
    void versionInThousandths_data();
    void versionInThousandths();
    void showsTheVersionInTheUsersLocale_data();
    void showsTheVersionInTheUsersLocale();
    void twoShowingsAreTwoFreshBoxes();
    void layout();
};

void AboutBoxTest::versionText_data() {
    QTest::addColumn<int>("thousandths");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    const QLocale c = QLocale::c();
    QTest::newRow("the program's version") << 1110 << c << "バージョン1.11";
    QTest::newRow("comma as separator") << 1110 << QLocale(QLocale::German) << "バージョン1,11";
    QTest::newRow("other digits keep ASCII digits")
        << 1110 << QLocale(QLocale::Arabic, QLocale::Egypt) << "バージョン1٫11";
    QTest::newRow("rounds half up") << 1115 << c << "バージョン1.12";
    QTest::newRow("rounds down") << 1114 << c << "バージョン1.11";
    QTest::newRow("carries into the whole number") << 1999 << c << "バージョン2.00";
    QTest::newRow("two zero decimals") << 2000 << c << "バージョン2.00";
    QTest::newRow("leading zero decimal") << 1050 << c << "バージョン1.05";
    QTest::newRow("below one") << 5 << c << "バージョン0.01";
    QTest::newRow("zero") << 0 << c << "バージョン0.00";
    QTest::newRow("two-digit version") << 12345 << c << "バージョン12.35";
}

void AboutBoxTest::versionText() {
    QFETCH(int, thousandths);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(VersionText::format(thousandths, locale), text);
}

void AboutBoxTest::versionInThousandths_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("thousandths");
    QTest::newRow("two decimals") << "1.11" << 1110;
    QTest::newRow("one decimal is tenths, not hundredths") << "1.5" << 1500;
    QTest::newRow("three decimals") << "1.115" << 1115;
    QTest::newRow("leading zero decimal") << "1.05" << 1050;
    QTest::newRow("a patch part is left out") << "2.3.4" << 2300;
    QTest::newRow("whole number") << "3" << 3000;
    QTest::newRow("two-digit version") << "12.35" << 12350;
}

void AboutBoxTest::versionInThousandths() {
    QFETCH(QString, version);
    QFETCH(int, thousandths);
    QCOMPARE(VersionText::thousandths(version), thousandths);
}

void AboutBoxTest::showsTheVersionInTheUsersLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("Japanese") << QLocale(QLocale::Japanese, QLocale::Japan) << "バージョン1.11";
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << "バージョン1,11";
}

void AboutBoxTest::showsTheVersionInTheUsersLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QLocale::setDefault(locale);
    AboutBox box;
    box.show();
    QCOMPARE(box.versionText(), text);
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Version"))->text(), text);
}

// Each showing is a new box that reads the version anew and is released once closed.
void AboutBoxTest::twoShowingsAreTwoFreshBoxes() {
    QList<QPointer<AboutBox>> shown;
    QStringList texts;
    const QList<QLocale> locales{QLocale::c(), QLocale(QLocale::German)};
    for (const QLocale& locale : locales) {
        QLocale::setDefault(locale);
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown.append(box);
            texts.append(box->versionText());
            box->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        AboutBox::showModal(nullptr);
    }
    QCOMPARE(texts, (QStringList{"バージョン1.11", "バージョン1,11"}));
    QCOMPARE(shown.size(), 2);
    QTRY_VERIFY(shown.at(0).isNull() && shown.at(1).isNull());
}

void AboutBoxTest::layout() {
    AboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(box.size(), QSize(772, 468));
    QCOMPARE(box.findChild<QWidget*>(QStringLiteral("Pro_ROGO_Image"))->geometry(),
             QRect(43, 16, 678, 234));
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    QCOMPARE(ok->geometry(), QRect(350, 428, 75, 25));
    QVERIFY(ok->isDefault());
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Version"))->pos(), QPoint(540, 247));
    // Credit lines: a role, then the name.
    QVERIFY(box.findChild<QLabel*>(QStringLiteral("ProgrammerCredit"))
                ->text()
                .startsWith(QStringLiteral("プログラム")));
    QVERIFY(box.findChild<QLabel*>(QStringLiteral("DesignerCredit"))
                ->text()
                .startsWith(QStringLiteral("ロゴ")));
}

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
