// The interactive dialogs' timers on a virtual clock: firing order, periods
// kept when a callback overruns, timers started and stopped from callbacks,
// and the event-loop pacing that moves the clock by itself.

#include "boardtests/widgets/dialogtimers.h"
#include "sim/virtualclock.h"

#include <QTest>

using namespace kia;

class TestDialogTimers : public QObject {
    Q_OBJECT
private slots:
    void firesInTimeOrder_data();
    void firesInTimeOrder();
    void overrunKeepsThePeriod();
    void callbacksStartAndStop();
    void contextClockRunsFromTheEventLoop();
    void realTimeIgnoresAdvance();
};

void TestDialogTimers::firesInTimeOrder_data() {
    QTest::addColumn<int>("advanceMs");
    QTest::addColumn<QString>("fired");
    // Timer a every 300 ms, b every 200 ms.
    QTest::newRow("nothing due") << 199 << "";
    QTest::newRow("b first") << 200 << "b200";
    QTest::newRow("both, in order") << 600 << "b200 a300 b400 a600 b600";
}

void TestDialogTimers::firesInTimeOrder() {
    QFETCH(int, advanceMs);
    QFETCH(QString, fired);
    sim::VirtualClock clock;
    DialogTimers timers(clock, DialogTimers::Pacing::Manual);
    QStringList log;
    const qint64 origin = clock.nowUs() / 1000;
    auto at = [&] { return QString::number(clock.nowUs() / 1000 - origin); };
    const int a = timers.add([&] { log << QStringLiteral("a") + at(); });
    const int b = timers.add([&] { log << QStringLiteral("b") + at(); });
    timers.start(a, 300);
    timers.start(b, 200);
    const int count = timers.advance(advanceMs);
    QCOMPARE(count, int(log.size()));
    QCOMPARE(log.join(u' '), fired);
    QCOMPARE(clock.nowUs() / 1000 - origin, qint64(advanceMs));
}

// A tick that takes longer than its period (a slow link) does not move the
// grid: the next one is due at once, the one after on the period again.
void TestDialogTimers::overrunKeepsThePeriod() {
    sim::VirtualClock clock;
    DialogTimers timers(clock, DialogTimers::Pacing::Manual);
    QList<qint64> at;
    const qint64 origin = clock.nowUs() / 1000;
    const int t = timers.add([&] {
        at << clock.nowUs() / 1000 - origin;
        if (at.size() == 1)
            clock.sleepMs(150); // the first tick overruns its 100 ms
    });
    timers.start(t, 100);
    timers.advance(400);
    QCOMPARE(at, (QList<qint64>{100, 250, 300, 400}));
}

void TestDialogTimers::callbacksStartAndStop() {
    sim::VirtualClock clock;
    DialogTimers timers(clock, DialogTimers::Pacing::Manual);
    int fast = 0, slow = 0;
    int slowId = -1;
    const int fastId = timers.add([&] {
        if (++fast == 3) {
            timers.stop(0);            // itself
            timers.start(slowId, 1000); // and hands over
        }
    });
    slowId = timers.add([&] { ++slow; });
    timers.start(fastId, 50);
    timers.advance(2150);
    QCOMPARE(fast, 3);
    QCOMPARE(slow, 2);
    QVERIFY(!timers.isActive(fastId) && timers.isActive(slowId));
    QCOMPARE(timers.interval(slowId), 1000);
    timers.stopAll();
    QCOMPARE(timers.advance(5000), 0);
    QVERIFY(!timers.isActive(-1) && !timers.isActive(7) && timers.interval(7) == 0);
}

void TestDialogTimers::contextClockRunsFromTheEventLoop() {
    sim::VirtualClock clock;
    DialogTimers timers(clock, DialogTimers::Pacing::ContextClock);
    int ticks = 0;
    const qint64 origin = clock.nowUs() / 1000;
    const int t = timers.add([&] {
        if (++ticks == 10)
            timers.stop(0);
    });
    timers.start(t, 350);
    QTRY_COMPARE(ticks, 10);
    QCOMPARE(clock.nowUs() / 1000 - origin, qint64(3500));
    QTest::qWait(20);
    QCOMPARE(ticks, 10);
}

void TestDialogTimers::realTimeIgnoresAdvance() {
    sim::VirtualClock clock;
    DialogTimers timers(clock, DialogTimers::Pacing::RealTime);
    int ticks = 0;
    const int t = timers.add([&] { ++ticks; });
    timers.start(t, 60000);
    QCOMPARE(timers.advance(120000), 0);
    QCOMPARE(ticks, 0);
    QVERIFY(timers.isActive(t));
}

QTEST_MAIN(TestDialogTimers)
#include "tst_dialogtimers.moc"
