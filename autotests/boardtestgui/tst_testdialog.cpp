// The test dialog over the test engine: it drives the engine from its timer
// (10 ms to the first tick, then the test's period), shows progress, text and
// "Повтор", and ends with the engine's result.

#include "dialogscript.h"

#include "boardtests/benchrig.h"

#include "app/appfont.h"
#include "core/clock.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "boardtests/testcolours.h"
#include "boardtests/testengine.h"
#include "boardtests/testresults.h"
#include "boardtests/widgets/testdialog.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
// Presses `button` once the engine has done every step.
void pressWhenCompleted(CTestDialog& dlg, const QString& button) {
    QObject::connect(&dlg.engine(), &TestEngine::completed, &dlg, [&dlg, button] {
        QTimer::singleShot(0, &dlg,
                           [&dlg, button] { testgui::DialogScript::clickButton(&dlg, button); });
    });
}
} // namespace

class TestTestDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }
    void runsToTheVerdict_data();
    void runsToTheVerdict();
    void exitWhileRunning();
    void realTimeTimer();
    void testThatCannotRunIsNeverShown();
};

void TestTestDialog::runsToTheVerdict_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("test");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("period");
    QTest::newRow("RAM, type 0, Выход")
        << 0 << int(RamTestNumber) << QStringLiteral("exitButton") << 2 << 7 << 1300;
    QTest::newRow("RAM, type 0, Повтор")
        << 0 << int(RamTestNumber) << QStringLiteral("repeatButton") << 1 << 7 << 1300;
    QTest::newRow("RAM, type 4") << 4 << int(RamTestNumber) << QStringLiteral("exitButton") << 2
                                 << 7 << 2600;
    QTest::newRow("bus, type 3") << 3 << int(BusTestNumber) << QStringLiteral("repeatButton") << 1
                                 << 32 << 10;
    QTest::newRow("PPI, type 1") << 1 << int(PpiTestNumber) << QStringLiteral("exitButton") << 2
                                 << 26 << 100;
}

void TestTestDialog::runsToTheVerdict() {
    QFETCH(int, boardType);
    QFETCH(int, test);
    QFETCH(QString, button);
    QFETCH(int, result);
    QFETCH(int, steps);
    QFETCH(int, period);
    BenchRig rig(boardType);
    if (test == PpiTestNumber) // all PPI ports outputs, as the command sets them up
        QVERIFY(rig.ctx.link.WriteMemoryByte(0x5FFF, 0x80));
    TestEngine engine(rig.ctx, rig.host, test);
    CTestDialog dlg(engine, CTestDialog::Pacing::ContextClock);
    QSignalSpy intervals(&engine, &TestEngine::timerRestarted);
    qint64 startUs = 0;
    qint64 completedUs = -1;
    connect(&engine, &TestEngine::completed, &dlg, [&] { completedUs = rig.clock.nowUs(); });
    bool repeatWasEnabled = true;
    connect(&engine, &TestEngine::progressChanged, &dlg, [&](int position) {
        if (position > 0 && position < steps)
            repeatWasEnabled = repeatWasEnabled && dlg.repeatButton()->isEnabled();
    });
    pressWhenCompleted(dlg, button);

    startUs = rig.clock.nowUs();
    QCOMPARE(dlg.run(), result);

    QVERIFY(!repeatWasEnabled);
    QCOMPARE(dlg.textLine()->text(), QStringLiteral("Тест прошел !"));
    QCOMPARE(dlg.progressBar()->maximum(), steps);
    QCOMPARE(dlg.progressBar()->value(), steps);
    QVERIFY(dlg.repeatButton()->isEnabled());
    QVERIFY(!dlg.timer()->isActive());
    // The first tick 10 ms after the start, then one step each period; the
    // verdict comes with the tick after the last step. A step that takes
    // longer than its period (the bus walk at 9600 baud) delays the next.
    QCOMPARE(intervals.at(0).at(0).toInt(), 10);
    QCOMPARE(intervals.at(1).at(0).toInt(), period);
    const qint64 tookMs = (completedUs - startUs) / 1000;
    if (period >= 1000)
        QCOMPARE(tookMs, qint64(10 + steps * period));
    else
        QVERIFY(tookMs >= 10 + steps * period);
    QCOMPARE(dlg.progressBar()->palette().color(QPalette::Base),
             QColor::fromRgb(testcolour::ProgressBackground));
}

void TestTestDialog::exitWhileRunning() {
    BenchRig rig(2);
    TestEngine engine(rig.ctx, rig.host, RamTestNumber);
    CTestDialog dlg(engine, CTestDialog::Pacing::ContextClock);
    connect(&engine, &TestEngine::progressChanged, &dlg, [&](int position) {
        if (position == 3) // Esc is "Выход" as well
            QTimer::singleShot(0, &dlg, [&dlg] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    });
    QCOMPARE(dlg.run(), int(ResultExit));
    QCOMPARE(dlg.progressBar()->value(), 3);
    QVERIFY(!engine.reachedEnd());
    QVERIFY(!dlg.repeatButton()->isEnabled());
    QVERIFY(!dlg.timer()->isActive());
}

void TestTestDialog::realTimeTimer() {
    // The workstation's own pacing: a real clock and Qt timers of the period.
    RealClock clock;
    ScriptedPrompts prompts;
    sim::Bench bench(1, clock);
    BenchContext ctx(clock, prompts);
    ctx.boardType = 1;
    ctx.link.attachLine(std::make_unique<sim::BenchLine>(bench, clock), 1, 0);
    testhost::ScriptedTestHost host(ctx);
    TestEngine engine(ctx, host, BusTestNumber);
    CTestDialog dlg(engine, CTestDialog::Pacing::RealTime);
    pressWhenCompleted(dlg, QStringLiteral("exitButton"));
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(dlg.run(), int(ResultExit));
    QCOMPARE(dlg.textLine()->text(), QStringLiteral("Тест прошел !"));
    // 10 ms, then 32 steps of 10 ms: the timer does not run ahead of the period.
    // Qt's coarse timers may fire up to 5 % early, so the bound allows for that;
    // a dialog that ticked without waiting would take a few milliseconds.
    QVERIFY2(elapsed.elapsed() >= (10 + 32 * 10) * 9 / 10, qPrintable(QString::number(elapsed.elapsed())));
    ctx.link.CloseLinkPort();
}

void TestTestDialog::testThatCannotRunIsNeverShown() {
    BenchRig rig(0);
    TestEngine engine(rig.ctx, rig.host, 11); // no test of this engine
    CTestDialog dlg(engine, CTestDialog::Pacing::ContextClock);
    bool shown = false;
    QTimer::singleShot(0, &dlg, [&] {
        shown = dlg.isVisible();
        dlg.reject();
    });
    QCOMPARE(dlg.run(), int(ResultExit));
    QVERIFY(!shown && !dlg.isVisible());
}

QTEST_MAIN(TestTestDialog)
#include "tst_testdialog.moc"
