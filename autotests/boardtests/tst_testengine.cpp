// The test engine as the dialog drives it: start, ticks on the timer it asks
// for, the buttons, the end, and its behaviour while guided diagnostics run.

#include "benchrig.h"

#include "app/commandtable.h"
#include "sim/testprocessor.h"
#include "testcommands.h"
#include "testdriver.h"
#include "testengine.h"
#include "testresults.h"

#include <QSignalSpy>
#include <QTest>

using namespace kia;
using testhost::BenchRig;

class TestEngineLife : public QObject {
    Q_OBJECT
private slots:
    void startAsksForTheFirstTick();
    void buttons();
    void notATestOfThisEngine();
    void passedTestRepeatsItselfUnderDiagnostics();
    void timerIntervals_data();
    void timerIntervals();
};

void TestEngineLife::startAsksForTheFirstTick() {
    BenchRig rig(0);
    TestEngine engine(rig.ctx, rig.host, RamTestNumber);
    QSignalSpy range(&engine, &TestEngine::progressRangeChanged);
    QSignalSpy timer(&engine, &TestEngine::timerRestarted);
    engine.start();
    QCOMPARE(engine.state(), TestEngine::State::Running);
    QCOMPARE(range.takeFirst().at(0).toInt(), 7);
    QCOMPARE(timer.takeFirst().at(0).toInt(), 10);
    QCOMPARE(engine.msUntilNextTick(), 10);
    QCOMPARE(engine.text(), QStringLiteral("Тест ОЗУ..."));
    QVERIFY(!engine.repeatEnabled());

    rig.clock.advanceMs(10);
    engine.tick(); // step 0: the period from now on
    QCOMPARE(timer.takeFirst().at(0).toInt(), 1300);
    QCOMPARE(engine.progressPosition(), 1);
    QCOMPARE(engine.text(), QStringLiteral("Тест 1..."));
    QVERIFY(engine.msUntilNextTick() > 1200 && engine.msUntilNextTick() <= 1300);

    // A tick that comes early is still one step: the dialog's timer decides.
    engine.tick();
    QCOMPARE(engine.progressPosition(), 2);
}

void TestEngineLife::buttons() {
    BenchRig rig(1);
    TestEngine engine(rig.ctx, rig.host, BusTestNumber);
    QSignalSpy finished(&engine, &TestEngine::finished);
    QSignalSpy stopped(&engine, &TestEngine::timerStopped);
    engine.start();
    rig.clock.advanceMs(10);
    engine.tick();
    engine.pressRepeat(); // disabled while the test runs
    QVERIFY(!engine.hasEnded());
    engine.pressExit();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), int(ResultExit));
    QCOMPARE(stopped.size(), 1);
    QVERIFY(!engine.timerRunning());
    const int position = engine.progressPosition();
    engine.tick(); // nothing happens after the end
    QCOMPARE(engine.progressPosition(), position);
    QCOMPARE(finished.size(), 1);

    // Completed: "Повтор" is enabled and ends with 1.
    TestEngine again(rig.ctx, rig.host, BusTestNumber);
    QSignalSpy completed(&again, &TestEngine::completed);
    QCOMPARE(
        runTestToEnd(again, rig.clock,
                     [](TestEngine& e) { return e.repeatEnabled() && !e.timerRunning() ? 1 : 2; }),
        int(ResultRepeat));
    QCOMPARE(completed.size(), 1);
    QCOMPARE(again.text(), QStringLiteral("Тест прошел !"));
    QVERIFY(again.reachedEnd());
}

void TestEngineLife::notATestOfThisEngine() {
    BenchRig rig(0);
    TestEngine engine(rig.ctx, rig.host, 11);
    QVERIFY(!engine.isValid());
    engine.start();
    QVERIFY(engine.hasEnded());
    QCOMPARE(engine.result(), int(ResultExit));
    QCOMPARE(rig.bench.testProcessor().frameCount(), 0u);
}

void TestEngineLife::passedTestRepeatsItselfUnderDiagnostics() {
    BenchRig rig(2);
    rig.ctx.diagnosticsActive = true;
    TestEngine engine(rig.ctx, rig.host, BusTestNumber);
    qint64 completedAtUs = -1;
    connect(&engine, &TestEngine::completed, [&] { completedAtUs = rig.clock.nowUs(); });
    bool asked = false;
    const int r = runTestToEnd(engine, rig.clock, [&](TestEngine&) {
        asked = true;
        return 2;
    });
    QCOMPARE(r, int(ResultRepeat));
    QVERIFY(!asked);
    QCOMPARE(rig.clock.nowUs() - completedAtUs, 500'000);
}

void TestEngineLife::timerIntervals_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<QList<int>>("intervals");
    QList<int> eeprom{10, 4000};
    for (int group = 0; group < 7; ++group)
        eeprom << 4000 << 100;
    QList<int> serial{10, 17000, 100};
    for (int pattern = 0; pattern < 3; ++pattern)
        serial << 17000 << 100;
    QTest::newRow("bus") << 0 << cmd::BusTest << QList<int>{10, 10};
    QTest::newRow("RAM") << 1 << cmd::RamTest << QList<int>{10, 1300};
    QTest::newRow("RAM type 4") << 4 << cmd::RamTest << QList<int>{10, 2600};
    QTest::newRow("ROM") << 2 << cmd::RomTest << QList<int>{10, 1100};
    QTest::newRow("timer: 3.1 s for the roll-over")
        << 3 << cmd::TimerTest << QList<int>{10, 100, 3100, 100};
    QTest::newRow("28C256: fill a period, check at 100 ms") << 0 << cmd::EepromTest << eeprom;
    QTest::newRow("24C256: fill 17 s, check at 100 ms") << 1 << cmd::SerialEepromTest << serial;
    QTest::newRow("ФП blank") << 2 << cmd::FiscalBlankCheck << QList<int>{10, 100};
    QTest::newRow("PPI") << 3 << cmd::PpiTest << QList<int>{10, 100};
}

void TestEngineLife::timerIntervals() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(QList<int>, intervals);
    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    rig.host.versions << QStringLiteral("нет");
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, command);
    QVERIFY(out.completed && !out.failed);
    QCOMPARE(rig.host.intervals, intervals);
}

QTEST_GUILESS_MAIN(TestEngineLife)
#include "tst_testengine.moc"
