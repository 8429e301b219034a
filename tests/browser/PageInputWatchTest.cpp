#include "browser/PageInputWatch.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

using browser::PageInputWatch;

// The engine puts its drawing widget into the view after the watch exists, and makes a new one
// when the page's renderer changes: presses there count as much as on the view.
class PageInputWatchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onePressStandsForOneLink_data() {
        QTest::addColumn<int>("where"); // 0 the view, 1 a child there before, 2 one added later
        QTest::addColumn<bool>("byKey");
        QTest::newRow("click on the view") << 0 << false;
        QTest::newRow("click on the engine's widget") << 1 << false;
        QTest::newRow("click on a widget the engine made later") << 2 << false;
        QTest::newRow("key on the engine's widget") << 1 << true;
        QTest::newRow("key on a widget the engine made later") << 2 << true;
    }

    void onePressStandsForOneLink() {
        QFETCH(int, where);
        QFETCH(bool, byKey);
        QWidget view;
        auto* before = new QWidget(&view);
        PageInputWatch watch(&view);
        QWidget* target = &view;
        if (where == 1)
            target = before;
        if (where == 2)
            target = new QWidget(&view);

        QVERIFY(!watch.takePress());
        if (byKey)
            QTest::keyClick(target, Qt::Key_Return);
        else
            QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY(watch.takePress());
        QVERIFY2(!watch.takePress(), "one press was taken for two links");
    }

    void movingTheMouseIsNoPress() {
        QWidget view;
        PageInputWatch watch(&view);
        QTest::mouseMove(&view, QPoint(5, 5));
        QVERIFY(!watch.takePress());
    }
};

QTEST_MAIN(PageInputWatchTest)
#include "PageInputWatchTest.moc"
