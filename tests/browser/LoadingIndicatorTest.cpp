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
    void progressIsShownOnlyOnceThePageArrives_data();
    void progressIsShownOnlyOnceThePageArrives();
    void waitingLongForTheSiteStaysWaiting();
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
    QCOMPARE(indicator.progress(), LoadingIndicator::kNothingArrived);
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

// The engine's reports after a load started, blank-separated; "s" starts another load.
void LoadingIndicatorTest::progressIsShownOnlyOnceThePageArrives_data() {
    QTest::addColumn<QString>("reports");
    QTest::addColumn<int>("progress");
    QTest::addColumn<QList<int>>("told");
    const int nothing = LoadingIndicator::kNothingArrived;
    QTest::newRow("no report yet") << "" << nothing << QList<int>{};
    QTest::newRow("the engine's start mark is no answer") << "0 10 10" << nothing << QList<int>{};
    QTest::newRow("past the mark: the page is coming") << "0 10 35 80" << 80 << QList<int>{35, 80};
    QTest::newRow("a first report past the mark") << "70" << 70 << QList<int>{70};
    QTest::newRow("another load waits again") << "0 60 s 10" << nothing << QList<int>{60, nothing};
    QTest::newRow("then comes in its turn") << "60 s 10 20" << 20 << QList<int>{60, nothing, 20};
}

void LoadingIndicatorTest::progressIsShownOnlyOnceThePageArrives() {
    QFETCH(QString, reports);
    QFETCH(int, progress);
    QFETCH(QList<int>, told);
    ManualTimers timers;
    LoadingIndicator indicator(timers.factory());
    indicator.started();
    timers.at(0).fire();
    QSignalSpy changes(&indicator, &LoadingIndicator::progressChanged);
    for (const QString& report : reports.split(u' ', Qt::SkipEmptyParts)) {
        if (report == u"s")
            indicator.started();
        else
            indicator.progressed(report.toInt());
    }
    QCOMPARE(indicator.progress(), progress);
    QList<int> toldValues;
    for (const QList<QVariant>& args : changes)
        toldValues << args.at(0).toInt();
    QCOMPARE(toldValues, told);
}

// A site that takes seconds to answer: shown, and still nothing arrived, however long it
// takes; only the page's first bytes give a percentage.
void LoadingIndicatorTest::waitingLongForTheSiteStaysWaiting() {
    ManualTimers timers;
    LoadingIndicator indicator(timers.factory());
    indicator.started();
    indicator.progressed(0);
    indicator.progressed(10);
    timers.at(0).fire();
    QVERIFY(indicator.isVisible());
    QCOMPARE(indicator.progress(), LoadingIndicator::kNothingArrived);
    indicator.progressed(42);
    QCOMPARE(indicator.progress(), 42);
}

QTEST_GUILESS_MAIN(LoadingIndicatorTest)
#include "LoadingIndicatorTest.moc"
