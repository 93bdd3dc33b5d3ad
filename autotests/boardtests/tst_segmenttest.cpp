// The segment and cursor test against the simulated indicators: what the
// board shows after each phase, the timers, the backlight per board type and
// link failures.

#include "benchrig.h"

#include "indicatoraccess.h"
#include "segmenttest.h"
#include "testresults.h"
#include "testsession.h"

#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
// Runs steps until the counter reaches `until` (or the test ends).
void runUntil(SegmentTest& t, int until) {
    for (int guard = 0; guard < 200 && !t.hasEnded() && t.step() != until; ++guard)
        t.runTick();
}
} // namespace

class TestSegmentTest : public QObject {
    Q_OBJECT
private slots:
    void opening_data();
    void opening();
    void backlightPerBoardType_data();
    void backlightPerBoardType();
    void segmentsFillRowByRow();
    void cursorPhaseAndEnd();
    void stepButtonStopsTheRun();
    void linkFailureStopsEverything_data();
    void linkFailureStopsEverything();
    void exitClearsPort1Bit7();
    void type4BacklightKeepsTheIndicatorUnderTest();
};

void TestSegmentTest::opening_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("indicator");
    QTest::addColumn<QString>("resistor");
    QTest::newRow("type 0 cashier") << 0 << 0 << "30";
    QTest::newRow("type 0 customer") << 0 << 1 << "31";
    QTest::newRow("type 1 cashier") << 1 << 0 << "56";
    QTest::newRow("type 2 customer") << 2 << 1 << "35";
    QTest::newRow("type 3 cashier") << 3 << 0 << "69";
    QTest::newRow("type 3 customer") << 3 << 1 << "68";
    QTest::newRow("type 4 cashier") << 4 << 0 << "20";
    QTest::newRow("type 4 customer") << 4 << 1 << "34";
}

void TestSegmentTest::opening() {
    QFETCH(int, boardType);
    QFETCH(int, indicator);
    QFETCH(QString, resistor);
    BenchRig rig(boardType);
    QVERIFY(IndicatorInit(rig.ctx, indicator));
    SegmentTest t(rig.ctx, indicator);
    QVERIFY(t.open());
    QVERIFY(t.hint().contains(QStringLiteral("резистором R") + resistor + QStringLiteral(" блока")));
    QCOMPARE(t.hint().contains(QStringLiteral("подсветкой")), indicator == 0);
    QCOMPARE(t.backlightRunning(), indicator == 0);
    QCOMPARE(t.background(), SegmentTest::Background);
    const sim::IndicatorController& c = rig.board().indicator(indicator);
    for (int p = 0; p < 16; ++p)
        QCOMPARE(c.screenCode(p), t.screen().codes[size_t(p)]);
    QCOMPARE(t.screen().userCount, 4);
}

void TestSegmentTest::backlightPerBoardType_data() {
    QTest::addColumn<int>("boardType");
    for (int type = 0; type <= 4; ++type)
        QTest::addRow("type %d", type) << type;
}

void TestSegmentTest::backlightPerBoardType() {
    QFETCH(int, boardType);
    BenchRig rig(boardType);
    QVERIFY(InitTestProcessorPorts(rig.ctx)); // the preparation: PPI ports outputs
    QVERIFY(IndicatorInit(rig.ctx, 0));
    SegmentTest t(rig.ctx, 0);
    QVERIFY(t.open());
    auto lit = [&] {
        sim::BoardModel& b = rig.board();
        if (boardType == 3)
            return (b.ppi().read(0) & 0x10) != 0;
        if (boardType == 4)
            return (b.outputLatch() & 0x10) != 0;
        return (b.port(1).latch & 0x80) != 0;
    };
    t.backlightTick();
    QVERIFY(t.backlightOn());
    QVERIFY(lit());
    QCOMPARE(t.background(), SegmentTest::BacklightBackground);
    t.backlightTick();
    QVERIFY(!lit());
    QCOMPARE(t.background(), SegmentTest::Background);
    t.backlightTick();
    QVERIFY(lit());
    t.pressAuto();
    QVERIFY(!lit());
    QVERIFY(!t.backlightRunning());
    QVERIFY(t.runRunning());
    QCOMPARE(t.hint(), SegmentTest::runHint());
    if (boardType == 4) // the indicator is selected again after the latch
        QCOMPARE(rig.board().boardLevel(1) & 7, 3);
}

void TestSegmentTest::segmentsFillRowByRow() {
    BenchRig rig(0);
    QVERIFY(IndicatorInit(rig.ctx, 1));
    SegmentTest t(rig.ctx, 1);
    QVERIFY(t.open());
    t.pressAuto();
    QCOMPARE(t.runInterval(), 100);
    const sim::IndicatorController& c = rig.board().indicator(1);
    runUntil(t, 1);
    // Step 0: user character 0 with its top row lit at position 0, the rest blank.
    QCOMPARE(int(c.screenCode(0)), 0);
    QCOMPARE(int(c.screenCode(1)), 0x20);
    QCOMPARE(c.userCharacter(0), (IndicatorGlyph{0xFF, 0, 0, 0, 0, 0, 0, 0}));
    runUntil(t, 20);
    QCOMPARE(c.userCharacter(0), (IndicatorGlyph{0xFF, 0xFF, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(int(c.screenCode(3)), 0);
    QCOMPARE(int(c.screenCode(4)), 0x20);
    runUntil(t, 128);
    QCOMPARE(t.runInterval(), 1100);
    IndicatorGlyph full;
    full.fill(0xFF);
    QCOMPARE(c.userCharacter(0), full);
    for (int p = 0; p < 16; ++p) {
        QCOMPARE(int(c.screenCode(p)), 0);
        QCOMPARE(t.screen().glyphAt(p), full);
    }
}

void TestSegmentTest::cursorPhaseAndEnd() {
    BenchRig rig(4);
    QVERIFY(IndicatorInit(rig.ctx, 0));
    SegmentTest t(rig.ctx, 0);
    QVERIFY(t.open());
    t.pressAuto();
    runUntil(t, 129);
    const sim::IndicatorController& c = rig.board().indicator(0);
    QCOMPARE(prepareIndicatorText(QStringLiteral(" ПРОВЕРЬ КУРСОР ")).codes, t.screen().codes);
    for (int p = 0; p < 16; ++p)
        QCOMPARE(c.screenCode(p), t.screen().codes[size_t(p)]);
    t.runTick(); // 129: cursor at 0
    QVERIFY(c.cursorOn() && c.cursorBlinks());
    QCOMPARE(c.cursorPosition(), 0);
    QVERIFY(t.cursorRunning());
    QVERIFY(t.cursorShown());
    t.cursorTick();
    QVERIFY(!t.cursorShown());
    t.cursorTick();
    QVERIFY(t.cursorShown());
    runUntil(t, 145);
    QCOMPARE(c.cursorPosition(), 15);
    QCOMPARE(t.cursorPosition(), 15);
    t.runTick(); // 145
    QCOMPARE(t.step(), 0);
    QVERIFY(!t.runRunning());
    QVERIFY(!t.cursorRunning());
    QVERIFY(c.displayOn() && !c.cursorOn());
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(t.screen().codes.data()), 16),
             QByteArray("END OF LCD TEST!"));
    for (int p = 0; p < 16; ++p)
        QCOMPARE(int(c.screenCode(p)), int("END OF LCD TEST!"[p]));
    QVERIFY(!t.hasEnded());
}

void TestSegmentTest::stepButtonStopsTheRun() {
    BenchRig rig(2);
    QVERIFY(IndicatorInit(rig.ctx, 0));
    SegmentTest t(rig.ctx, 0);
    QVERIFY(t.open());
    t.pressAuto();
    t.runTick();
    t.runTick();
    t.pressStep();
    QVERIFY(!t.runRunning());
    QCOMPARE(t.step(), 3);
    t.runTick(); // a tick that was already queued does nothing
    QCOMPARE(t.step(), 3);
    t.pressStep();
    QCOMPARE(t.step(), 4);
    QCOMPARE(int(rig.board().indicator(0).screenCode(3)), 0);
}

void TestSegmentTest::linkFailureStopsEverything_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("ticks");
    QTest::newRow("type 0 at opening") << 0 << "silence cmd=8 once" << 0;
    QTest::newRow("type 4 in the run") << 4 << "silence cmd=8 after=120 once" << 200;
    QTest::newRow("type 3 garbage in the run") << 3 << "garbage instead cmd=8 after=60 once" << 200;
}

void TestSegmentTest::linkFailureStopsEverything() {
    QFETCH(int, boardType);
    QFETCH(QString, script);
    QFETCH(int, ticks);
    BenchRig rig(boardType);
    QVERIFY(IndicatorInit(rig.ctx, 0));
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(script, &error), qPrintable(error));
    SegmentTest t(rig.ctx, 0);
    if (t.open()) {
        t.pressAuto();
        for (int i = 0; i < ticks && !t.hasEnded(); ++i)
            t.runTick();
    }
    QVERIFY(t.hasEnded());
    QCOMPARE(t.result(), int(ResultLinkFailure));
    QVERIFY(!t.runRunning() && !t.backlightRunning() && !t.cursorRunning());
    // The next command works (once the engineer has read the link message).
    rig.ctx.clock.sleepMs(100);
    SegmentTest again(rig.ctx, 0);
    QVERIFY(again.open());
}

void TestSegmentTest::exitClearsPort1Bit7() {
    for (int type : {0, 3, 4}) {
        BenchRig rig(type);
        QVERIFY(IndicatorInit(rig.ctx, 1));
        QVERIFY(rig.ctx.link.WritePort(1, 0x80, 0x80));
        SegmentTest t(rig.ctx, 1);
        QVERIFY(t.open());
        t.pressExit();
        QCOMPARE(t.result(), int(ResultExit));
        QCOMPARE(rig.board().port(1).latch & 0x80, 0);
        SegmentTest d(rig.ctx, 1);
        QVERIFY(d.open());
        d.pressDiagnostics();
        QCOMPARE(d.result(), int(ResultDiagnostics));
    }
}

// On type 4 the backlight sits behind the latch's window: after clearing it
// the run must go on in the window of the indicator under test, also when
// that is the customer's.
void TestSegmentTest::type4BacklightKeepsTheIndicatorUnderTest() {
    for (int ind : {0, 1}) {
        BenchRig rig(4);
        QVERIFY(IndicatorInit(rig.ctx, 0) && IndicatorInit(rig.ctx, ind));
        SegmentTest t(rig.ctx, ind);
        QVERIFY(t.open());
        t.pressAuto();
        runUntil(t, 129);
        t.runTick(); // the cursor to position 0
        QVERIFY(!t.hasEnded());
        QCOMPARE(rig.board().indicator(ind).cursorPosition(), 0);
        QVERIFY(rig.board().indicator(ind).cursorOn());
        QVERIFY(!rig.board().indicator(1 - ind).cursorOn());
        QCOMPARE(rig.board().outputLatch() & 0x10, 0);
    }
}

QTEST_GUILESS_MAIN(TestSegmentTest)
#include "tst_segmenttest.moc"
