#include "browser/LoadingIndicator.h"

#include "support/ManualTimers.h"

#include <QSignalSpy>
#include <QTest>

using browser::LoadingIndicator;

class LoadingIndicatorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsOnlyWhenTheLoadOutlastsTheDelay_data();
    void showsOnlyWhenTheLoadOutlastsTheDelay();
    void slowPageShowsUntilItEnds();
    void nextLoadWhileShownStartsOver();
    void progressAfterTheEndIsIgnored();
};

// Steps: 's' started, 'p' progressed to 70, 'e' ended, 't' the delay's time is up.
void LoadingIndicatorTest::showsOnlyWhenTheLoadOutlastsTheDelay_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("changes");
    QTest::newRow("a page that arrives at once") << "spet" << false << 0;
    QTest::newRow("still loading when the time is up") << "spt" << true << 1;
    QTest::newRow("ended after it showed") << "spte" << false << 2;
    QTest::newRow("not yet time") << "sp" << false << 0;
    QTest::newRow("a second load before the time") << "sest" << true << 1;
}

void LoadingIndicatorTest::showsOnlyWhenTheLoadOutlastsTheDelay() {
    QFETCH(QString, steps);
    QFETCH(bool, visible);
    QFETCH(int, changes);
    ManualTimers timers;
    LoadingIndicator indicator(timers.factory());
    QCOMPARE(timers.size(), 1);
    QSignalSpy shown(&indicator, &LoadingIndicator::visibleChanged);
    for (QChar step : steps) {
        if (step == u's')
            indicator.started();
        else if (step == u'p')
            indicator.progressed(70);
        else if (step == u'e')
            indicator.ended();
        else
            timers.at(0).fire();
    }
    QCOMPARE(indicator.isVisible(), visible);
    QCOMPARE(shown.size(), changes);
}

void LoadingIndicatorTest::slowPageShowsUntilItEnds() {
    ManualTimers timers;
    LoadingIndicator indicator(timers.factory());
    QSignalSpy shown(&indicator, &LoadingIndicator::visibleChanged);
    QSignalSpy progress(&indicator, &LoadingIndicator::progressChanged);
    indicator.started();
    QVERIFY(timers.at(0).isActive());
    QCOMPARE(timers.at(0).milliseconds(), LoadingIndicator::kShowAfterMs);
    QVERIFY(!indicator.isVisible());
    timers.at(0).fire();
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
void LoadingIndicatorTest::nextLoadWhileShownStartsOver() {
    ManualTimers timers;
    LoadingIndicator indicator(timers.factory());
    QSignalSpy shown(&indicator, &LoadingIndicator::visibleChanged);
    indicator.started();
    timers.at(0).fire();
    indicator.progressed(70);
    indicator.started();
    QVERIFY(indicator.isVisible());
    QCOMPARE(indicator.progress(), 0);
    QCOMPARE(shown.size(), 1);
}

void LoadingIndicatorTest::progressAfterTheEndIsIgnored() {
    ManualTimers timers;
    LoadingIndicator indicator(timers.factory());
    indicator.started();
    indicator.ended();
    QVERIFY(!timers.at(0).isActive());
    QSignalSpy progress(&indicator, &LoadingIndicator::progressChanged);
    indicator.progressed(100);
    QCOMPARE(progress.size(), 0);
}

QTEST_GUILESS_MAIN(LoadingIndicatorTest)
#include "LoadingIndicatorTest.moc"
