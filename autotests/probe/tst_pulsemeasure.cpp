// Pulse timing, the level driver, the preparation for point checks and the
// probe texts, on the simulated bench and its virtual clock.

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "probe/boardpreparation.h"
#include "probe/probe.h"
#include "probe/probetexts.h"
#include "probe/pulsemeasure.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/probe.h"
#include "sim/testprocessor.h"
#include "sim/virtualclock.h"

#include <QTest>

using namespace kia;

Q_DECLARE_METATYPE(kia::PulseReading)

namespace {

struct Rig {
    explicit Rig(int boardType) : bench(boardType, clock), ctx(clock, prompts) {
        ctx.boardType = boardType;
        ctx.link.attachLine(std::make_unique<sim::BenchLine>(bench, clock), 1, 0);
        if (boardType == 4)
            bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    }
    ~Rig() { ctx.link.CloseLinkPort(); }

    void wirePulse(quint8 idle, quint8 active, qint64 minUs = 0,
                   qint64 maxUs = 1'000'000'000, bool split = false) {
        bench.probe().setTipLevel(idle);
        sim::Probe::PulseWiring w;
        w.connected = true;
        w.activeLevel = active;
        w.minUs = minUs;
        w.maxUs = maxUs;
        w.split = split;
        bench.probe().setPulseWiring(w);
    }

    sim::VirtualClock clock;
    sim::Bench bench;
    ScriptedPrompts prompts;
    BenchContext ctx;
};

CircuitValues pulseRow(quint8 inLevel, int inLength, quint8 outLevel, quint8 minD, quint8 maxD) {
    CircuitValues v{};
    v[0] = inLevel;
    v[1] = static_cast<quint8>(inLength % 100);
    v[2] = static_cast<quint8>(inLength / 100);
    v[8] = outLevel;
    v[9] = minD;
    v[10] = maxD;
    return v;
}

} // namespace

class TestPulseMeasure : public QObject {
    Q_OBJECT
private slots:
    void measure_data();
    void measure();
    void stimulusPulseFrame_data();
    void stimulusPulseFrame();
    void openTipSendsNoPulse();
    void windowMustBePositive();
    void measurementEndsOnItsWindow();
    void levelDriverFollowsInputValue_data();
    void levelDriverFollowsInputValue();
    void prepareBoardForChecks_data();
    void prepareBoardForChecks();
    void levelTexts_data();
    void levelTexts();
    void pulseTexts_data();
    void pulseTexts();
    void openTipSwapsPulseFields();
};

void TestPulseMeasure::measure_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<bool>("wired");
    QTest::addColumn<quint8>("idle");
    QTest::addColumn<quint8>("active");
    QTest::addColumn<qint64>("minUs");
    QTest::addColumn<bool>("split");
    QTest::addColumn<int>("inLength");
    QTest::addColumn<int>("window");
    QTest::addColumn<quint8>("level");
    QTest::addColumn<int>("duration");
    QTest::addColumn<int>("edges");

    // 8 ms asked: p = 40, 40 × 0.2 ms on the test processor.
    QTest::newRow("type 0, low pulse of 8 ms")
        << 0 << true << quint8(1) << quint8(0) << qint64(0) << false << 80 << 100 << quint8(0)
        << 80 << 2;
    // 2 ms asked: 2p = 20 × 0.1 ms on DD5; the measurement adds 3.
    // DD5 starts the pulse while its answer is still on the wire: 1.7 ms seen, plus 3.
    QTest::newRow("type 4, low pulse of 2 ms, offset makes up the missed part")
        << 4 << true << quint8(1) << quint8(0) << qint64(0) << false << 20 << 100 << quint8(0)
        << 20 << 2;
    QTest::newRow("type 0, +12 V pulse")
        << 0 << true << quint8(0) << quint8(2) << qint64(0) << false << 10 << 50 << quint8(2)
        << 10 << 2;
    QTest::newRow("type 0, high pulse")
        << 0 << true << quint8(0) << quint8(1) << qint64(0) << false << 20 << 50 << quint8(1)
        << 20 << 2;
    QTest::newRow("odd length halves down") << 0 << true << quint8(1) << quint8(0) << qint64(0) << false << 5
                            << 50 << quint8(0) << 4 << 2; // p = 2: 0.4 ms on the wire
    QTest::newRow("no edge: level 0, duration 0")
        << 0 << false << quint8(1) << quint8(0) << qint64(0) << false << 80 << 100 << quint8(0)
        << 0 << 0;
    QTest::newRow("one edge: level after it, duration 0")
        << 0 << true << quint8(1) << quint8(0) << qint64(500'000) << false << 80 << 100
        << quint8(0) << 0 << 1;
    QTest::newRow("three edges: first two timed")
        << 0 << true << quint8(1) << quint8(0) << qint64(0) << true << 100 << 100 << quint8(0)
        << 40 << 4;
}

void TestPulseMeasure::measure() {
    QFETCH(int, boardType);
    QFETCH(bool, wired);
    QFETCH(quint8, idle);
    QFETCH(quint8, active);
    QFETCH(qint64, minUs);
    QFETCH(bool, split);
    QFETCH(int, inLength);
    QFETCH(int, window);
    Rig rig(boardType);
    if (wired)
        rig.wirePulse(idle, active, minUs, 1'000'000'000, split);
    else
        rig.bench.probe().setTipLevel(idle);

    QVERIFY(MeasurePulse(rig.ctx, window, pulseRow(1, inLength, 0, 0, 0)));
    QTEST(rig.ctx.lastPulse.level, "level");
    QTEST(int(rig.ctx.lastPulse.duration), "duration");
    QTEST(int(rig.ctx.lastPulse.edges), "edges");
}

void TestPulseMeasure::stimulusPulseFrame_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<quint8>("shadow");
    QTest::addColumn<quint8>("active");
    QTest::addColumn<quint8>("idle");
    QTest::addColumn<quint16>("address");
    QTest::addColumn<quint16>("w1");
    QTest::addColumn<quint16>("w3");

    // Length 400 → p = 200.
    QTest::newRow("type 0: bit 4 low") << 0 << quint8(0xF0) << quint8(0xE0) << quint8(0xF0)
                                       << quint16(0x7FFF) << quint16(200) << quint16(50);
    QTest::newRow("type 3: bit 4 low from a cleared shadow")
        << 3 << quint8(0x03) << quint8(0x03) << quint8(0x13) << quint16(0x7FFF) << quint16(200)
        << quint16(50);
    QTest::newRow("type 4: bit 2 high, twice the length")
        << 4 << quint8(0x08) << quint8(0x0C) << quint8(0x08) << quint16(0x8000) << quint16(400)
        << quint16(1);
}

void TestPulseMeasure::stimulusPulseFrame() {
    QFETCH(int, boardType);
    QFETCH(quint8, shadow);
    Rig rig(boardType);
    rig.bench.probe().setTipLevel(0);
    rig.ctx.mainLatchShadow = shadow;
    QVERIFY(MeasurePulse(rig.ctx, 50, pulseRow(1, 400, 0, 0, 0)));
    const sim::TestProcessor::PulseRequest& p = rig.bench.testProcessor().lastPulses();
    QCOMPARE(p.count, 1);
    QTEST(p.valueA, "active");
    QTEST(p.valueB, "idle");
    QTEST(p.words[0], "address");
    QTEST(p.words[1], "w1");
    QCOMPARE(p.words[2], quint16(1));
    QTEST(p.words[3], "w3");
    QCOMPARE(rig.ctx.mainLatchShadow, shadow); // the pulse leaves the shadow alone
}

void TestPulseMeasure::openTipSendsNoPulse() {
    Rig rig(0);
    rig.bench.probe().setTipLevel(sim::Probe::Open);
    const qint64 before = rig.clock.nowUs();
    rig.ctx.lastPulse = {1, 77, 5};
    QVERIFY(MeasurePulse(rig.ctx, 200, pulseRow(0, 400, 0, 80, 200)));
    QCOMPARE(rig.ctx.lastPulse.level, quint8(ProbeOpen));
    QCOMPARE(rig.bench.testProcessor().lastPulses().count, 0);
    QVERIFY(rig.clock.nowUs() - before < 10'000); // no calibration, no window
}

void TestPulseMeasure::windowMustBePositive() {
    Rig rig(0);
    rig.bench.probe().setTipLevel(0);
    QVERIFY(!MeasurePulse(rig.ctx, 0, pulseRow(0, 10, 0, 0, 0)));
    QCOMPARE(rig.bench.testProcessor().lastPulses().count, 0);
}

void TestPulseMeasure::measurementEndsOnItsWindow() {
    Rig rig(0);
    rig.bench.probe().setTipLevel(1);
    const qint64 before = rig.clock.nowUs();
    QVERIFY(MeasurePulse(rig.ctx, 200, pulseRow(0, 10, 0, 0, 0)));
    const qint64 spent = rig.clock.nowUs() - before;
    QVERIFY2(spent >= 400'000 && spent < 420'000, qPrintable(QString::number(spent)));
}

void TestPulseMeasure::levelDriverFollowsInputValue_data() {
    QTest::addColumn<quint8>("value");
    QTest::addColumn<bool>("dtr");
    QTest::newRow("0 → DTR set (driver at 0)") << quint8(0) << true;
    QTest::newRow("1 → DTR clear") << quint8(1) << false;
    QTest::newRow("any non-zero → DTR clear") << quint8(0x80) << false;
}

void TestPulseMeasure::levelDriverFollowsInputValue() {
    QFETCH(quint8, value);
    Rig rig(0);
    rig.bench.probe().setDtr(!QTest::currentDataTag()[0]);
    rig.ctx.inputValue = value;
    const qint64 before = rig.clock.nowUs();
    QVERIFY(SetLevelDriver(rig.ctx));
    QTEST(rig.bench.probe().dtr(), "dtr");
    QVERIFY(rig.clock.nowUs() - before >= 1000);
}

void TestPulseMeasure::prepareBoardForChecks_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<bool>("older");
    QTest::addColumn<quint8>("revision");
    QTest::addColumn<quint8>("shadow");
    for (int t = 0; t <= 4; ++t) {
        for (bool older : {false, true}) {
            if (t == 4 && older)
                continue;
            QTest::addRow("type %d%s", t, older ? ", older revision" : "")
                << t << older << quint8(older && t < 2 ? 1 : 0) << quint8(t == 4 ? 0 : 0xF0);
        }
    }
}

void TestPulseMeasure::prepareBoardForChecks() {
    QFETCH(int, boardType);
    QFETCH(bool, older);
    Rig rig(boardType);
    rig.bench.setOlderRevision(older);
    rig.ctx.boardRevision = 7;
    rig.ctx.mainLatchShadow = 0x5A;
    rig.ctx.ppiShadows = {0, 0, 0};
    QVERIFY(PrepareBoardForChecks(rig.ctx));
    QTEST(rig.ctx.boardRevision, "revision");
    QTEST(rig.ctx.mainLatchShadow, "shadow");
    if (boardType != 4)
        QCOMPARE(rig.ctx.ppiShadows, (std::array<quint8, 3>{0xFF, 0xFF, 0xFF}));
    const auto& map = rig.bench.testProcessor().memoryMap();
    QCOMPARE(map.kind, quint8(185));
    QCOMPARE(map.words[4], quint16(0xFFFF));
}

void TestPulseMeasure::levelTexts_data() {
    QTest::addColumn<quint8>("level");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("withWord");
    QTest::newRow("0") << quint8(0) << QStringLiteral("лог.\"0\".") << QStringLiteral("Уровень лог.\"0\".");
    QTest::newRow("1") << quint8(1) << QStringLiteral("лог.\"1\".") << QStringLiteral("Уровень лог.\"1\".");
    QTest::newRow("2: Latin B") << quint8(2) << QStringLiteral("+12B.")
                                << QStringLiteral("Уровень +12B.");
    QTest::newRow("3: no word") << quint8(3) << QStringLiteral("Высокоимпедансное состояние.")
                                << QStringLiteral("Высокоимпедансное состояние.");
    QTest::newRow("4: none") << quint8(4) << QString() << QString();
}

void TestPulseMeasure::levelTexts() {
    QFETCH(quint8, level);
    QTEST(ProbeLevelText(level), "reading");
    QTEST(LevelReadingText(level), "withWord");
}

void TestPulseMeasure::pulseTexts_data() {
    QTest::addColumn<int>("inLength");
    QTest::addColumn<PulseReading>("reading");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("measured");

    QTest::newRow("print pulse, two edges")
        << 400 << PulseReading{0, 123, 2} << QStringLiteral("Импульс уровня лог.\"1\", длител. 40.0ms")
        << QStringLiteral("Импульс уровня лог.\"0\", длител. 8.0ms - 20.0ms")
        << QStringLiteral("Импульс уровня лог.\"0\", длител. 12.3ms ");
    QTest::newRow("duration 5 is 0.5ms")
        << 5 << PulseReading{2, 5, 2} << QStringLiteral("Импульс уровня лог.\"1\", длител. 0.5ms")
        << QStringLiteral("Импульс уровня лог.\"0\", длител. 8.0ms - 20.0ms")
        << QStringLiteral("Импульс уровня +12B, длител. 0.5ms ");
    QTest::newRow("split pulse")
        << 80 << PulseReading{1, 40, 3} << QStringLiteral("Импульс уровня лог.\"1\", длител. 8.0ms")
        << QStringLiteral("Импульс уровня лог.\"0\", длител. 8.0ms - 20.0ms")
        << QStringLiteral("Импульс уровня лог.\"1\", длител. 4.0ms (дробленый)");
    QTest::newRow("open tip measured")
        << 80 << PulseReading{3, 0, 0} << QStringLiteral("Уровень лог.\"0\".") << QStringLiteral("Уровень лог.\"1\".")
        << QStringLiteral("Высокоимпедансное состояние.");
}

void TestPulseMeasure::pulseTexts() {
    QFETCH(int, inLength);
    QFETCH(PulseReading, reading);
    const CircuitValues v = pulseRow(1, inLength, 0, 80, 200);
    const PulseFieldTexts fields = pulseFieldTexts(v, reading);
    QTEST(fields.input, "input");
    QTEST(fields.expected, "expected");
    QTEST(MeasuredPulseText(reading), "measured");
}

void TestPulseMeasure::openTipSwapsPulseFields() {
    // The input and expected pulse texts come back once the tip touches the point.
    const CircuitValues v = pulseRow(0, 10, 1, 5, 15);
    QCOMPARE(pulseFieldTexts(v, PulseReading{3, 0, 0}).input, QStringLiteral("Уровень лог.\"1\"."));
    QCOMPARE(pulseFieldTexts(v, PulseReading{3, 0, 0}).expected,
             QStringLiteral("Уровень лог.\"0\"."));
    QCOMPARE(pulseFieldTexts(v, PulseReading{1, 10, 2}).input,
             QStringLiteral("Импульс уровня лог.\"0\", длител. 1.0ms"));
    QCOMPARE(pulseFieldTexts(v, PulseReading{1, 10, 2}).expected,
             QStringLiteral("Импульс уровня лог.\"1\", длител. 0.5ms - 1.5ms"));
}

QTEST_GUILESS_MAIN(TestPulseMeasure)
#include "tst_pulsemeasure.moc"
