#include "browser/LoadingIndicator.h"

#include <QSignalSpy>
#include <QTest>

using browser::LoadingIndicator;

class LoadingIndicatorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageThatArrivesAtOnceShowsNothing() {
        LoadingIndicator indicator;
        QSignalSpy shown(&indicator, &LoadingIndicator::visibleChanged);
        indicator.started();
        indicator.progressed(70);
        indicator.ended();
        QTest::qWait(LoadingIndicator::kShowAfterMs * 2);
        QCOMPARE(shown.size(), 0);
        QVERIFY(!indicator.isVisible());
    }

    void slowPageShowsUntilItEnds() {
        LoadingIndicator indicator;
        QSignalSpy shown(&indicator, &LoadingIndicator::visibleChanged);
        QSignalSpy progress(&indicator, &LoadingIndicator::progressChanged);
        indicator.started();
        QVERIFY(!indicator.isVisible());
        QVERIFY(shown.wait(LoadingIndicator::kShowAfterMs * 10));
        QVERIFY(indicator.isVisible());
        indicator.progressed(70);
        indicator.progressed(70);
        QCOMPARE(progress.size(), 1);
        QCOMPARE(indicator.progress(), 70);
        indicator.ended();
        QVERIFY(!indicator.isVisible());
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(1).at(0).toBool(), false);
    }

    // One load taking the place of another keeps the indicator up, back at the start.
    void nextLoadWhileShownStartsOver() {
        LoadingIndicator indicator;
        QSignalSpy shown(&indicator, &LoadingIndicator::visibleChanged);
        indicator.started();
        QVERIFY(shown.wait(LoadingIndicator::kShowAfterMs * 10));
        indicator.progressed(70);
        indicator.started();
        QVERIFY(indicator.isVisible());
        QCOMPARE(indicator.progress(), 0);
        QCOMPARE(shown.size(), 1);
    }

    void progressAfterTheEndIsIgnored() {
        LoadingIndicator indicator;
        indicator.started();
        indicator.ended();
        QSignalSpy progress(&indicator, &LoadingIndicator::progressChanged);
        indicator.progressed(100);
        QCOMPARE(progress.size(), 0);
        QTest::qWait(LoadingIndicator::kShowAfterMs * 2);
        QVERIFY(!indicator.isVisible());
    }
};

QTEST_GUILESS_MAIN(LoadingIndicatorTest)
#include "LoadingIndicatorTest.moc"
