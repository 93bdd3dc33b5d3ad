// The stimulus routines: for each row on both board families the exact bytes
// that the start routine, the input setter and the finish routine send, and
// the shadows they leave. Expected frames are written out here from the
// protocol (code, a, b, c, fillers, inverted sum), not taken from the link code.

// The expectation tables are plain ASCII operation strings.
#undef QT_NO_CAST_FROM_ASCII

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "probe/boardpreparation.h"
#include "probe/stimulus.h"
#include "recordingline.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/probe.h"
#include "sim/virtualclock.h"

#include <QTest>

using namespace kia;

namespace {

struct Rig {
    explicit Rig(int boardType) : bench(boardType, clock), ctx(clock, prompts) {
        ctx.boardType = boardType;
        auto rec = std::make_unique<RecordingLine>(std::make_unique<sim::BenchLine>(bench, clock));
        line = rec.get();
        ctx.link.attachLine(std::move(rec), 1, 0);
        if (boardType == 4)
            bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    }
    ~Rig() { ctx.link.CloseLinkPort(); }

    sim::VirtualClock clock;
    sim::Bench bench;
    ScriptedPrompts prompts;
    BenchContext ctx;
    RecordingLine* line = nullptr;
};

QString hex(unsigned v) { return QStringLiteral("%1").arg(v & 0xFF, 2, 16, QLatin1Char('0')).toUpper(); }

/// Tokens of one command frame of a board family.
QStringList frame(bool type4, unsigned code, unsigned a, unsigned b, unsigned c) {
    const unsigned f1 = type4 ? 0x0F : 0xFF;
    const unsigned f2 = type4 ? 0x0F : 0x00;
    const unsigned sum = code + a + b + c + f1 + f2;
    return {hex(code), hex(a), hex(b), hex(c), hex(f1), hex(f2), hex(~sum)};
}

QStringList word(unsigned w) { return {hex(w), hex(w >> 8)}; }

/// Expands the operations of a case into the bytes on the wire. kN stands for
/// the value of port N read back before the routines ran.
///   R p | W p v m | M addr v | MAP kind | G a b w0 w1 w2 w3 | S v | SR v |
///   B byte | L bytes… (long frame, plain sum appended) | DTR+ | DTR-
QStringList expand(bool type4, const QStringList& ops, const std::array<quint8, 4>& kept) {
    QStringList out;
    for (const QString& op : ops) {
        QStringList f = op.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString name = f.takeFirst();
        std::vector<unsigned> n;
        for (const QString& x : f)
            n.push_back(x.startsWith(QLatin1Char('k')) ? kept[x.mid(1).toUInt()] : x.toUInt(nullptr, 16));
        if (name == QLatin1String("R")) {
            out << frame(type4, 2, n[0], 0, 0);
        } else if (name == QLatin1String("W")) {
            out << frame(type4, 3, n[0], n[1], n[2]);
        } else if (name == QLatin1String("M")) {
            out << frame(type4, 8, n[0], n[0] >> 8, 1) << hex(n[1]);
        } else if (name == QLatin1String("MAP")) {
            // The first four words are the workstation's choice; the last is fixed.
            out << frame(type4, 10, n[0], 0, 0);
            for (int i = 0; i < 8; ++i)
                out << QStringLiteral("??");
            out << word(0xFFFF);
        } else if (name == QLatin1String("G")) {
            out << frame(type4, 1, n[0], n[1], 0) << word(n[2]) << word(n[3]) << word(n[4])
                << word(n[5]);
        } else if (name == QLatin1String("S")) {
            out << frame(type4, 15, n[0] >> 8, n[0], 0);
        } else if (name == QLatin1String("SR")) {
            out << frame(type4, type4 ? 27 : 25, n[0] >> 8, n[0], 0);
        } else if (name == QLatin1String("B")) {
            out << hex(n[0]);
        } else if (name == QLatin1String("L")) {
            unsigned sum = 0;
            for (unsigned b : n) {
                out << hex(b);
                sum += b;
            }
            out << hex(sum);
        } else {
            out << name; // DTR+ / DTR-
        }
    }
    return out;
}

bool sameTokens(const QStringList& got, const QStringList& want) {
    if (got.size() != want.size())
        return false;
    for (qsizetype i = 0; i < got.size(); ++i) {
        if (want[i] != QLatin1String("??") && want[i] != got[i])
            return false;
    }
    return true;
}

const QStringList kInitPorts0 = {"W 1 DF FF", "W 2 FF FF", "W 3 FF FC", "M 7FFF F0",
                                 "M 5FFF 80", "M 5FFC FF", "M 5FFD FF", "M 5FFE FF"};
const QStringList kInitPorts4 = {"W 0 FF FF", "W 1 FF FF", "W 2 FF FF", "W 3 FF FF",
                                 "W 1 00 07", "M 8000 00", "W 1 07 07"};

} // namespace

class TestStimulus : public QObject {
    Q_OBJECT
private slots:
    void routines_data();
    void routines();
    void rowsOutsideTableTouchNothing();
    void oneOf16DrivesLevelDriverOnType4();
    void drawingSteps_data();
    void drawingSteps();
    void waitsOnTheClock();
};

void TestStimulus::routines_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("row");
    QTest::addColumn<quint8>("v");
    QTest::addColumn<quint8>("ppi0Before");
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<QStringList>("setter");
    QTest::addColumn<QStringList>("finish");
    QTest::addColumn<quint8>("shadowAfter");
    QTest::addColumn<quint8>("ppi0After");

    const QStringList none;
    auto add = [](const char* tag, int type, int row, int v, const QStringList& s,
                  const QStringList& set, const QStringList& f, int shadow, int ppi0Before = 0xFF,
                  int ppi0After = 0xFF) {
        QTest::newRow(tag) << type << row << quint8(v) << quint8(ppi0Before) << s << set << f
                           << quint8(shadow) << quint8(ppi0After);
    };
    // Board family of the test processor (type 0; type 3 where it differs).
    add("0: pair A", 0, 0, 3, {"R 1", "W 1 00 20"}, {"M 7FFF F5"}, {"W 1 k1 20", "M 7FFF F5"}, 0xF5);
    add("3: pair A sets PPI A bit 3 meanwhile", 3, 0, 1, {"R 1", "M 5FFC FB", "W 1 00 20"},
        {"M 7FFF F1"}, {"W 1 k1 20", "M 5FFC F3", "M 7FFF F1"}, 0xF1, 0xF3, 0xF3);
    add("3: pair A with PPI A bit 3 already set", 3, 0, 1, {"R 1", "W 1 00 20"}, {"M 7FFF F1"},
        {"W 1 k1 20", "M 7FFF F1"}, 0xF1);
    add("0: one of 16", 0, 1, 9, {"R 2", "R 0", "R 1", "W 1 00 20"}, {"W 0 FF FF", "W 2 FD FF"},
        {"W 0 k0 FF", "W 1 k1 FF", "W 2 k2 FF"}, 0xF0);
    add("0: port 1/3 one-hot", 0, 2, 10, {"R 1", "R 3"}, {"W 1 FF BF", "W 3 FB F0"},
        {"W 1 k1 BF", "W 3 k3 F0"}, 0xF0);
    add("0: bus pattern", 0, 3, 5, none, {"W 0 F0 FF", "W 2 A0 E0", "W 1 14 20", "W 3 14 40"},
        none, 0xF0);
    add("0: port 1/2 pattern", 0, 4, 7, {"R 1", "R 2"}, {"W 1 1C 20", "W 2 E0 E0"},
        {"W 1 k1 FF", "W 2 k2 FF"}, 0xF0);
    add("0: pair B", 0, 5, 2, {"R 1", "W 1 00 20"}, {"M 7FFF F8"}, {"W 1 k1 20", "M 7FFF F8"}, 0xF8);
    add("0: latch one-hot", 0, 6, 2, {"R 1", "W 1 00 20"}, {"M 7FFF B0"},
        {"W 1 k1 20", "M 7FFF B0"}, 0xB0);
    add("0: PPI one-hot", 0, 7, 9, kInitPorts0, {"M 5FFD FF", "M 5FFE FD"},
        {"M 5FFD FF", "M 5FFE FF"}, 0xF0);
    add("3: PPI one-hot over three ports", 3, 7, 17, kInitPorts0,
        {"M 5FFC FF", "M 5FFD FF", "M 5FFE FD"}, {"M 5FFD FF", "M 5FFE FF"}, 0xF0);
    add("0: port 3/1 pattern", 0, 8, 3, none, {"W 3 60 C0", "W 1 18 08"}, none, 0xF0);
    add("0: port 2/3 pattern", 0, 9, 6, {"R 1", "W 1 00 20"}, {"W 2 C0 E0", "W 3 30 C0"},
        {"W 3 FF C0", "W 1 k1 20"}, 0xF0);
    add("0: pulses 200", 0, 10, 0, {"MAP B9", "R 1", "W 1 00 20"},
        {"G E0 F0 7FFF 00C8 0001 0002"}, {"W 1 k1 20"}, 0xF0);
    add("0: ROM sum", 0, 11, 0, {"MAP C8"}, {"S FFFC"}, none, 0xF0);
    add("0: serial byte", 0, 12, 0, none, {"B 55"}, none, 0xF0);
    add("0: command frame", 0, 13, 0, none, {"W 0 A8 00"}, none, 0xF0);
    add("0: pulses 40", 0, 14, 0, {"MAP B9", "R 1", "W 1 00 20"},
        {"G E0 F0 7FFF 0028 0001 0002"}, {"W 1 k1 20"}, 0xF0);
    add("0: pulses 5", 0, 15, 0, {"MAP B9", "R 1", "W 1 00 20"},
        {"G E0 F0 7FFF 0005 0001 0002"}, {"W 1 k1 20"}, 0xF0);
    add("0: latch bit", 0, 16, 3, {"R 1", "W 1 00 20"}, {"M 7FFF 08"},
        {"W 1 k1 20", "M 7FFF F0"}, 0xF0);
    add("0: level driver at 1", 0, 17, 1, none, {"DTR-"}, none, 0xF0);
    add("0: level driver at 0", 0, 17, 0, none, {"DTR+"}, none, 0xF0);
    add("0: port 3/2 pattern A", 0, 19, 1, {"R 1", "R 2", "R 3", "W 1 00 07"},
        {"W 3 40 80", "W 2 7F 80"}, {"W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0xF0);
    add("0: port 3/2 pattern B, select 0", 0, 20, 1, {"R 1", "R 2", "R 3", "W 1 00 07"},
        {"W 3 20 40", "W 2 7F 80"}, {"W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0xF0);
    add("0: port 3/2 pattern B, select 1", 0, 21, 0, {"R 1", "R 2", "R 3", "W 1 01 07"},
        {"W 3 00 40", "W 2 FF 80"}, {"W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0xF0);
    add("0: port 2/3 pattern C, select 3", 0, 22, 1, {"R 1", "R 2", "R 3", "W 1 03 07"},
        {"W 2 7F 80", "W 3 20 C0"}, {"W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0xF0);
    add("0: port 2/3 pattern C, select 4", 0, 23, 0, {"R 1", "R 2", "R 3", "W 1 04 07"},
        {"W 2 FF 80", "W 3 00 C0"}, {"W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0xF0);

    // Board type 4: the programmer and DD5.
    add("4: pair A", 4, 0, 3, {"R 1", "W 1 00 07"}, {"M 8000 09"}, {"W 1 k1 20"}, 0x09);
    add("4: one of 16, line 3, driver 1, port 3 bit 7", 4, 1, 0x63,
        {"R 2", "R 0", "R 1", "R 3", "W 1 00 07", "W 2 FF 80"},
        {"W 0 F7 FF", "W 2 FF FF", "DTR-", "W 3 80 80"},
        {"W 0 k0 FF", "W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0x00);
    add("4: one of 16, none", 4, 1, 0x1A, {"R 2", "R 0", "R 1", "R 3", "W 1 00 07", "W 2 FF 80"},
        {"W 0 FF FF", "W 2 FF FF", "DTR+", "W 3 00 80"},
        {"W 0 k0 FF", "W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0x00);
    add("4: one of 16, line 9", 4, 1, 0x09, {"R 2", "R 0", "R 1", "R 3", "W 1 00 07", "W 2 FF 80"},
        {"W 0 FF FF", "W 2 FD FF", "DTR+", "W 3 00 80"},
        {"W 0 k0 FF", "W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0x00);
    add("4: port 1/3 one-hot", 4, 2, 2, {"R 1", "R 3"}, {"W 1 FB FF", "W 3 FF F4"},
        {"W 1 k1 FF", "W 3 k3 F4"}, 0x00);
    add("4: bus pattern", 4, 3, 5, none, {"W 0 F0 FF", "W 2 A0 E0", "W 1 14 20", "W 3 14 40"},
        none, 0x00);
    add("4: port 1/2 pattern", 4, 4, 0x0D, {"R 1", "R 2"}, {"W 2 D0 80", "W 1 0D 07"},
        {"W 1 k1 FF", "W 2 k2 FF"}, 0x00);
    add("4: pair B", 4, 5, 1, {"R 1", "W 1 00 07"}, {"M 8000 02"}, {"W 1 k1 20"}, 0x02);
    add("4: latch one-hot", 4, 6, 5, {"R 1", "W 1 00 07"}, {"M 8000 20"}, {"W 1 k1 20"}, 0x20);
    add("4: PPI one-hot", 4, 7, 0, kInitPorts4, {"M 5FFD FE", "M 5FFE FF"},
        {"M 5FFD FF", "M 5FFE FF"}, 0x00);
    add("4: port 3/1 pattern", 4, 8, 3, none, {"W 3 60 C0", "W 1 18 08"}, none, 0x00);
    add("4: port 2/3 pattern", 4, 9, 6, {"R 1", "W 1 00 07"}, {"W 2 C0 E0", "W 3 30 C0"},
        {"W 3 FF C0", "W 1 k1 20"}, 0x00);
    add("4: pulses 400", 4, 10, 0, {"MAP B9", "R 1", "W 1 00 07"},
        {"G 04 00 8000 0190 0001 0001"}, {"W 1 k1 20"}, 0x00);
    add("4: ROM sum over the range", 4, 11, 0, {"MAP C8"}, {"SR FFFC"}, none, 0x00);
    add("4: serial byte", 4, 12, 0, none, {"B 55"}, none, 0x00);
    add("4: command frame", 4, 13, 0, none, {"W 0 89 00"}, none, 0x00);
    add("4: pulses 20", 4, 14, 0, {"MAP B9", "R 1", "W 1 00 07"},
        {"G 04 00 8000 0014 0001 0001"}, {"W 1 k1 20"}, 0x00);
    add("4: pulses 5", 4, 15, 0, {"MAP B9", "R 1", "W 1 00 07"},
        {"G 04 00 8000 0005 0001 0001"}, {"W 1 k1 20"}, 0x00);
    add("4: latch bit", 4, 16, 7, {"R 1", "W 1 00 07"}, {"M 7FFF 80"}, {"W 1 k1 20"}, 0x00);
    add("4: level driver", 4, 17, 1, none, {"DTR-"}, none, 0x00);
    add("4: control line high", 4, 18, 1, none, {"L 02 20 00"}, none, 0x00);
    add("4: port 3/2 pattern A", 4, 19, 1, {"R 1", "R 2", "R 3", "W 1 00 07"},
        {"W 3 40 80", "W 2 7F 80"}, {"W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0x00);
    add("4: port 2/3 pattern C, select 4", 4, 23, 1, {"R 1", "R 2", "R 3", "W 1 04 07"},
        {"W 2 7F 80", "W 3 20 C0"}, {"W 1 k1 FF", "W 2 k2 FF", "W 3 k3 FF"}, 0x00);
    add("4: programming enable", 4, 24, 0, {"L 02 20 00"}, {"L 06 10 03 01 AC 53 FF"},
        {"L 02 20 01"}, 0x00);
}

void TestStimulus::routines() {
    QFETCH(int, boardType);
    QFETCH(int, row);
    QFETCH(quint8, v);
    QFETCH(quint8, ppi0Before);
    QFETCH(QStringList, start);
    QFETCH(QStringList, setter);
    QFETCH(QStringList, finish);
    Rig rig(boardType);
    QVERIFY(PrepareBoardForChecks(rig.ctx));
    std::array<quint8, 4> kept{};
    for (quint8 p = 0; p < 4; ++p) {
        const quint16 value = rig.ctx.link.ReadPort(p);
        QVERIFY(value <= 0xFF);
        kept[p] = static_cast<quint8>(value);
    }
    rig.ctx.ppiShadows[0] = ppi0Before;
    rig.ctx.inputValue = v;
    const bool type4 = boardType == 4;
    StimulusRoutines routines(rig.ctx);

    struct Phase {
        const char* name;
        bool (StimulusRoutines::*run)(int);
        QStringList ops;
    };
    for (const Phase& phase : {Phase{"start", &StimulusRoutines::start, start},
                               Phase{"setter", &StimulusRoutines::setInput, setter},
                               Phase{"finish", &StimulusRoutines::finish, finish}}) {
        rig.line->tokens.clear();
        rig.line->recording = true;
        const bool ok = (routines.*phase.run)(row);
        rig.line->recording = false;
        QVERIFY2(ok, phase.name);
        const QStringList want = expand(type4, phase.ops, kept);
        QVERIFY2(sameTokens(rig.line->tokens, want),
                 qPrintable(QStringLiteral("%1:\n got  %2\n want %3")
                                .arg(QLatin1String(phase.name), rig.line->tokens.join(' '),
                                     want.join(' '))));
    }
    QTEST(rig.ctx.mainLatchShadow, "shadowAfter");
    QTEST(rig.ctx.ppiShadows[0], "ppi0After");
}

void TestStimulus::rowsOutsideTableTouchNothing() {
    Rig rig(0);
    StimulusRoutines routines(rig.ctx);
    rig.line->recording = true;
    for (int row : {-1, StimulusRoutines::RowCount, 1000}) {
        QVERIFY(!routines.start(row));
        QVERIFY(!routines.setInput(row));
        QVERIFY(!routines.finish(row));
        QCOMPARE(StimulusRoutines::drawingStep(row, 0), 0);
        QVERIFY(StimulusRoutines::timeText(row, 4).isEmpty());
    }
    QVERIFY(rig.line->tokens.isEmpty());
}

void TestStimulus::oneOf16DrivesLevelDriverOnType4() {
    // The setter hands bit 5 to the level driver as the new input value.
    Rig rig(4);
    QVERIFY(PrepareBoardForChecks(rig.ctx));
    StimulusRoutines routines(rig.ctx);
    rig.ctx.inputValue = 0x23;
    QVERIFY(routines.setInput(1));
    QCOMPARE(rig.ctx.inputValue, quint8(1));
    QVERIFY(!rig.bench.probe().dtr());
}

void TestStimulus::drawingSteps_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("step4");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("time4");
    QTest::newRow("0") << 0 << 300 << 260 << "10ms" << "1,0ms";
    QTest::newRow("1") << 1 << 78 << 47 << "50ms" << "50.0ms";
    QTest::newRow("6") << 6 << 150 << 109 << "20ms" << "2.5ms";
    QTest::newRow("10 no drawing") << 10 << 0 << 0 << "" << "";
    QTest::newRow("12") << 12 << 157 << 130 << "0.1ms" << "0.01ms";
    QTest::newRow("17") << 17 << 770 << 480 << "1ms" << "5,0ms";
    QTest::newRow("22") << 22 << 70 << 70 << "5,0ms" << "5,0ms";
    QTest::newRow("24") << 24 << 26 << 26 << "0,25ms" << "0,25ms";
}

void TestStimulus::drawingSteps() {
    QFETCH(int, row);
    QTEST(StimulusRoutines::drawingStep(row, 0), "step");
    QTEST(StimulusRoutines::drawingStep(row, 3), "step");
    QTEST(StimulusRoutines::drawingStep(row, 4), "step4");
    QTEST(StimulusRoutines::timeText(row, 2), "time");
    QTEST(StimulusRoutines::timeText(row, 4), "time4");
}

void TestStimulus::waitsOnTheClock() {
    Rig rig(0);
    QVERIFY(PrepareBoardForChecks(rig.ctx));
    StimulusRoutines routines(rig.ctx);
    QVERIFY(routines.start(15));
    const qint64 before = rig.clock.nowUs();
    QVERIFY(routines.finish(15));
    QVERIFY(rig.clock.nowUs() - before >= 500'000);
}

QTEST_GUILESS_MAIN(TestStimulus)
#include "tst_stimulus.moc"
