// What the simulated probe tip reads on the board's own control points, from a
// state of the ports, the output register and the PPI, with and without line
// faults: the levels the scenarios' probe steps rely on.

#include "sim/bench.h"
#include "sim/boardmodel.h"
#include "sim/dd5controller.h"
#include "sim/pointsignal.h"
#include "sim/probe.h"
#include "sim/virtualclock.h"

#include <QSet>
#include <QTest>
#include <tuple>

using sim::Probe;

namespace {

// "p0=FE;latch=01;ppi1=7F;dtr=1;held;driver=X2/2" applied to a fresh bench.
void applyState(sim::Bench& bench, const QString& state) {
    sim::BoardModel& board = bench.board();
    for (const QString& item : state.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = item.section(QLatin1Char('='), 0, 0);
        if (key == QLatin1String("driver")) {
            bench.setDriverPoint(item.section(QLatin1Char('='), 1));
            continue;
        }
        const quint8 value = static_cast<quint8>(item.section(QLatin1Char('='), 1).toUInt(nullptr, 16));
        if (key.size() == 2 && key[0] == QLatin1Char('p'))
            board.writePort(key[1].digitValue(), value, 0xFF);
        else if (key == QLatin1String("latch")) {
            if (bench.boardType() == 4) {
                board.writePort(1, 0, 0x07); // window 0: the output latch
                board.writeData(0x8000, value, 0);
            } else {
                board.writeData(0x7FFF, value, 0);
            }
        } else if (key.startsWith(QLatin1String("ppi"))) {
            board.ppi().write(3, 0x80); // every port an output
            board.ppi().write(key.mid(3).toInt(), value);
        } else if (key == QLatin1String("dtr"))
            bench.setDtr(value != 0);
        else if (key == QLatin1String("held"))
            bench.dd5().setHeld(true);
        else
            QFAIL(qPrintable(QStringLiteral("bad state item ") + item));
    }
}

// The level as the workstation decodes it: an open tip lets DSR follow RTS.
int tipLevel(sim::Bench& bench) {
    bench.setRts(false);
    const quint8 low = bench.modemStatus();
    bench.setRts(true);
    const quint8 high = bench.modemStatus();
    if (low != high)
        return Probe::Open;
    const bool cts = high & 0x10;
    const bool dsr = high & 0x20;
    if (cts && dsr)
        return Probe::High;
    if (cts)
        return Probe::Low;
    return dsr ? int(Probe::Plus12V) : -1;
}

} // namespace

class TestBoardPoints : public QObject {
    Q_OBJECT
private slots:
    void level_data();
    void level();
    void printPulseShowsOnTheRegisterOutput();
    void clockIsNotAStaticLevel();
};

void TestBoardPoints::level_data() {
    QTest::addColumn<int>("board");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("point");
    QTest::addColumn<int>("level");
    const int L = Probe::Low, H = Probe::High, P12 = Probe::Plus12V, O = Probe::Open;

    // Supply, ground, reset and tied inputs.
    QTest::newRow("0 VCC of DD3") << 0 << "" << "" << "DD3/40" << H;
    QTest::newRow("0 ground of DD3") << 0 << "" << "" << "DD3/20" << L;
    QTest::newRow("0 +12 V at X3/7") << 0 << "" << "" << "X3/7" << P12;
    QTest::newRow("3 +12 V at X3/1") << 3 << "" << "" << "X3/1" << P12;
    QTest::newRow("1 X3/1 is +5 V") << 1 << "" << "" << "X3/1" << H;
    QTest::newRow("0 driver common") << 0 << "" << "" << "DA1/9" << P12;
    QTest::newRow("0 reset low while running") << 0 << "" << "" << "DD3/9" << L;
    QTest::newRow("0 PPI reset follows DD3") << 0 << "" << "" << "DD14/35" << L;
    QTest::newRow("0 decoder E3 tied high") << 0 << "" << "" << "DD11/6" << H;
    QTest::newRow("0 latch OE tied low") << 0 << "" << "" << "DD4/1" << L;
    QTest::newRow("4 VCC of DD5") << 4 << "" << "" << "DD5/38" << H;
    QTest::newRow("4 reset low while DD5 runs") << 4 << "" << "" << "DD5/4" << L;
    QTest::newRow("4 reset high while held") << 4 << "" << "held" << "DD5/4" << H;
    QTest::newRow("4 reset at the ISP connector") << 4 << "" << "held" << "X4/4" << H;

    // Port lines at the pin and on the board.
    QTest::newRow("0 AD0 low at the pin") << 0 << "" << "p0=FE" << "DD3/39" << L;
    QTest::newRow("0 AD0 high at the pin") << 0 << "" << "p0=FF" << "DD3/39" << H;
    QTest::newRow("0 AD0 low at DD4") << 0 << "" << "p0=FE" << "DD4/2" << L;
    QTest::newRow("0 AD0 at the PPI") << 0 << "" << "p0=FE" << "DD14/34" << L;
    QTest::newRow("3 AD0 at DD15") << 3 << "" << "p0=FE" << "DD15/34" << L;
    QTest::newRow("0 address latch Q0") << 0 << "" << "p0=FE" << "DD4/19" << L;
    QTest::newRow("0 A13 at the decoder") << 0 << "" << "p2=DF" << "DD11/1" << L;
    QTest::newRow("4 AD7 at the bus buffer") << 4 << "" << "p0=7F" << "DD11/11" << L;
    QTest::newRow("4 P1.5 at X4/1") << 4 << "" << "p1=DF" << "X4/1" << L;
    QTest::newRow("4 WR at the decoder E1") << 4 << "" << "p3=BF" << "DD8/4" << L;

    // Line faults.
    QTest::newRow("open AD0: pin floats at 1") << 0 << "port-open 0.0" << "p0=FF" << "DD3/39" << O;
    QTest::newRow("open AD0: pin drives 0") << 0 << "port-open 0.0" << "p0=FE" << "DD3/39" << L;
    QTest::newRow("open AD0: board side high") << 0 << "port-open 0.0" << "p0=FE" << "DD4/2" << H;
    QTest::newRow("open P1.3: pull-up at the pin") << 0 << "port-open 1.3" << "p1=FF" << "DD3/4" << H;
    QTest::newRow("stuck-low AD3 at DD4") << 0 << "port-low 0.3" << "p0=FF" << "DD4/5" << L;
    QTest::newRow("stuck-low AD3 at the pin") << 0 << "port-low 0.3" << "p0=FF" << "DD3/36" << L;
    QTest::newRow("stuck-high A13") << 0 << "port-high 2.5" << "p2=00" << "DD11/1" << H;
    QTest::newRow("short AD3-AD4 pulls AD4") << 0 << "port-short 0.3 0.4" << "p0=F7" << "DD4/6" << L;
    QTest::newRow("4 stuck-low AD5 at DD4") << 4 << "port-low 0.5" << "p0=FF" << "DD4/7" << L;

    // Address decoder.
    QTest::newRow("0 Y0 selected") << 0 << "" << "p2=1F" << "DD11/15" << L;
    QTest::newRow("0 Y0 not selected") << 0 << "" << "p2=3F" << "DD11/15" << H;
    QTest::newRow("0 Y4 selected") << 0 << "" << "p2=9F" << "DD11/11" << L;
    QTest::newRow("0 Y2 is the PPI select") << 0 << "" << "p2=5F" << "DD14/6" << L;
    QTest::newRow("0 Y3 clocks the register") << 0 << "" << "p2=7F" << "DD8/11" << L;
    QTest::newRow("0 stuck A14 keeps Y0 off") << 0 << "port-high 2.6" << "p2=1F" << "DD11/15" << H;
    QTest::newRow("4 Y0 with WR low") << 4 << "" << "p1=F8;p3=BF;p2=FF" << "DD8/15" << L;
    QTest::newRow("4 Y0 disabled by WR") << 4 << "" << "p1=F8;p3=FF;p2=FF" << "DD8/15" << H;
    QTest::newRow("4 Y0 disabled by A15") << 4 << "" << "p1=F8;p3=BF;p2=7F" << "DD8/15" << H;
    QTest::newRow("4 Y7") << 4 << "" << "p1=FF;p3=BF;p2=FF" << "DD8/7" << L;
    QTest::newRow("0 dead Y0 stays high") << 0 << "select-dead out=0" << "p2=1F" << "DD11/15" << H;
    QTest::newRow("0 dead Y0 leaves Y1") << 0 << "select-dead out=0" << "p2=3F" << "DD11/14" << L;
    QTest::newRow("4 dead Y0 stays high") << 4 << "select-dead out=0" << "p1=F8;p3=BF;p2=FF"
                                          << "DD8/15" << H;

    // Output register and what the driver array takes from it.
    QTest::newRow("0 register Q0 set") << 0 << "" << "latch=01" << "DD8/2" << H;
    QTest::newRow("0 register Q1 clear") << 0 << "" << "latch=01" << "DD8/5" << L;
    QTest::newRow("0 Q0 at the driver input") << 0 << "" << "latch=01" << "DA1/1" << H;
    QTest::newRow("1 driver input 2 is Q2") << 1 << "" << "latch=04" << "DA1/2" << H;
    QTest::newRow("0 driver input 2 is Q1") << 0 << "" << "latch=04" << "DA1/2" << L;
    QTest::newRow("4 register Q7") << 4 << "" << "latch=80" << "DD12/19" << H;
    QTest::newRow("4 driver inputs 3, 4, 7 are Q3") << 4 << "" << "latch=08" << "DA1/7" << H;

    // PPI pins and what is wired to them.
    QTest::newRow("0 PB7") << 0 << "" << "ppi1=7F" << "DD14/25" << L;
    QTest::newRow("0 PC4") << 0 << "" << "ppi2=EF" << "DD14/13" << L;
    QTest::newRow("0 PB0 at X7/2") << 0 << "" << "ppi1=FE" << "X7/2" << L;
    QTest::newRow("0 stuck PPI line") << 0 << "ppi-low B.0" << "ppi1=FF" << "DD14/18" << L;
    QTest::newRow("3 PA0 of DD15") << 3 << "" << "ppi0=FE" << "DD15/4" << L;
    QTest::newRow("3 keyboard X4/1 is PC0") << 3 << "" << "ppi2=FE" << "X4/1" << L;
    QTest::newRow("0 keyboard X4/1 is PA0") << 0 << "" << "ppi0=FE" << "X4/1" << L;

    // Inputs fed by the probe's level driver (DTR clear gives logic 1).
    QTest::newRow("4 DD11/9 driver 1") << 4 << "" << "dtr=0" << "DD11/9" << H;
    QTest::newRow("4 DD11/9 driver 0") << 4 << "" << "dtr=1" << "DD11/9" << L;
    QTest::newRow("4 DD11/8 inverted") << 4 << "" << "dtr=0" << "DD11/8" << L;
    // The driver clipped onto the scanner input X2/2 while the tip is on the
    // controller pin behind it (inverting); unclipped, the open input holds it low.
    QTest::newRow("0 DD3/13, driver 0 on X2/2") << 0 << "" << "driver=X2/2;dtr=1" << "DD3/13" << H;
    QTest::newRow("0 DD3/13, driver 1 on X2/2") << 0 << "" << "driver=X2/2;dtr=0" << "DD3/13" << L;
    QTest::newRow("0 DD3/13, driver elsewhere") << 0 << "" << "driver=X6/2;dtr=1" << "DD3/13" << L;
    QTest::newRow("4 DD5/9, driver 0 on X2/2") << 4 << "" << "driver=X2/2;dtr=1" << "DD5/9" << H;

    // A circuit output is the circuit model's (idle: low); unknown names float.
    QTest::newRow("0 circuit output") << 0 << "" << "" << "X5/1" << L;
    QTest::newRow("0 no such pin") << 0 << "" << "" << "DD3/99" << O;
    QTest::newRow("0 no chip DD12") << 0 << "" << "" << "DD12/2" << O;
    QTest::newRow("4 no chip DD3") << 4 << "" << "" << "DD3/40" << O;
    QTest::newRow("garbage") << 0 << "" << "" << "/" << O;
}

void TestBoardPoints::level() {
    QFETCH(int, board);
    QFETCH(QString, faults);
    QFETCH(QString, state);
    QFETCH(QString, point);
    QFETCH(int, level);
    sim::VirtualClock clock;
    sim::Bench bench(board, clock);
    QString error;
    QVERIFY2(bench.loadFaultScript(faults, &error), qPrintable(error));
    applyState(bench, state);
    bench.setProbePoint(point);
    QCOMPARE(tipLevel(bench), level);
}

// The print-pulse output of the register shows every GeneratePulses: active
// low on types 0..3 (Q4 of DD8), active high on type 4 (Q2 of DD12).
void TestBoardPoints::printPulseShowsOnTheRegisterOutput() {
    for (const auto& [board, point, active] :
         {std::tuple{0, "DD8/12", int(Probe::Low)}, std::tuple{4, "DD12/6", int(Probe::High)}}) {
        sim::VirtualClock clock;
        sim::Bench bench(board, clock);
        const QList<sim::BoardFault> faults;
        const sim::PointContext ctx{board, bench.board(), bench.dd5(), faults, bench.probe(), 0};
        sim::PointSignal signal;
        QVERIFY(sim::boardPointSignal(QString::fromLatin1(point), ctx, signal));
        QVERIFY(signal.pulse.connected);
        QCOMPARE(int(signal.pulse.activeLevel), active);
    }
}

// A crystal or ALE under a static probe reads either level, by the moment.
void TestBoardPoints::clockIsNotAStaticLevel() {
    sim::VirtualClock clock;
    sim::Bench bench(0, clock);
    const QList<sim::BoardFault> faults;
    QSet<int> seen;
    for (qint64 t = 0; t < 64; ++t) {
        const sim::PointContext ctx{0, bench.board(), bench.dd5(), faults, bench.probe(), t};
        sim::PointSignal signal;
        QVERIFY(sim::boardPointSignal(QStringLiteral("DD3/30"), ctx, signal));
        seen.insert(signal.level);
    }
    QCOMPARE(seen, (QSet<int>{Probe::Low, Probe::High}));
}

QTEST_GUILESS_MAIN(TestBoardPoints)
#include "tst_boardpoints.moc"
