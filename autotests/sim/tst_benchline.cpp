// The in-process line: time-outs on the virtual clock, purge, exclusive open,
// a vanishing device, the probe's modem lines, and throughput.

#include "simtestutil.h"

#include "core/clock.h"
#include "sim/boardmodel.h"
#include "sim/outputqueue.h"
#include "sim/probe.h"
#include "sim/testprocessor.h"

#include <QElapsedTimer>
#include <QTest>

using namespace simtest;

class BenchLineTest : public QObject {
    Q_OBJECT

private slots:
    void openingLowersDtrAndRts();
    void silentPeerTimesOut_data();
    void silentPeerTimesOut();
    void intervalLimitsAGapAfterTheFirstByte();
    void immediateReadTakesWhatIsThere();
    void unlimitedReadDoesNotHang();
    void wireTimeIsCharged();
    void purgeKeepsWhatIsStillOnItsWay();
    void openIsExclusive();
    void unpluggedDevice();
    void modemLines_data();
    void modemLines();
    void readPortThroughput();
};

void BenchLineTest::silentPeerTimesOut_data() {
    QTest::addColumn<quint32>("interval");
    QTest::addColumn<quint32>("multiplier");
    QTest::addColumn<quint32>("constant");
    QTest::addColumn<int>("count");
    QTest::addColumn<qint64>("waitUs");
    QTest::newRow("standard, 1 byte") << 1000u << 0u << 1000u << 1 << qint64(1'000'000);
    QTest::newRow("standard, 6 bytes") << 1000u << 0u << 1000u << 6 << qint64(1'000'000);
    QTest::newRow("2000 ms total") << 1000u << 0u << 2000u << 6 << qint64(2'000'000);
    QTest::newRow("multiplier") << 0u << 10u << 100u << 5 << qint64(150'000);
}

void BenchLineTest::silentPeerTimesOut() {
    QFETCH(quint32, interval);
    QFETCH(quint32, multiplier);
    QFETCH(quint32, constant);
    QFETCH(int, count);
    QFETCH(qint64, waitUs);
    Rig rig(0);
    kia::SerialTimeouts t;
    t.readInterval = interval;
    t.readTotalMultiplier = multiplier;
    t.readTotalConstant = constant;
    QVERIFY(rig.line.setTimeouts(t));
    rig.bench.addFault(sim::Fault::silence());
    rig.send(commandFrame(0, 2, 0));
    const qint64 t0 = rig.clock.nowUs();
    quint8 buf[8];
    QCOMPARE(rig.line.read(buf, count), qint64(0));
    QCOMPARE(rig.clock.nowUs() - t0, waitUs);
}

void BenchLineTest::intervalLimitsAGapAfterTheFirstByte() {
    Rig rig(1);
    kia::SerialTimeouts t;
    t.readInterval = 100;
    t.readTotalConstant = 5000;
    rig.line.setTimeouts(t);
    // The acknowledge comes at once; the check result 300 ms later.
    rig.send(commandFrame(1, 22, 0, 0, 7));
    quint8 buf[5];
    const qint64 t0 = rig.clock.nowUs();
    QCOMPARE(rig.line.read(buf, 5), qint64(1));
    // One byte (1.04 ms at 9600 baud), then the 100 ms gap.
    QCOMPARE(rig.clock.nowUs() - t0, qint64(1041 + 100'000));
    QCOMPARE(rig.line.read(buf, 4), qint64(4));
}

void BenchLineTest::immediateReadTakesWhatIsThere() {
    Rig rig(0);
    kia::SerialTimeouts t;
    t.readInterval = 0xFFFFFFFFu;
    rig.line.setTimeouts(t);
    quint8 buf[8];
    const qint64 t0 = rig.clock.nowUs();
    QCOMPARE(rig.line.read(buf, 8), qint64(0));
    QCOMPARE(rig.clock.nowUs(), t0);
    rig.send(commandFrame(0, 2, 0));
    QCOMPARE(rig.line.read(buf, 8), qint64(3));
}

void BenchLineTest::unlimitedReadDoesNotHang() {
    Rig rig(0);
    rig.line.setTimeouts(kia::SerialTimeouts());
    rig.send(commandFrame(0, 2, 0));
    quint8 buf[8];
    QCOMPARE(rig.line.read(buf, 8), qint64(3));
}

void BenchLineTest::wireTimeIsCharged() {
    Rig rig(4);
    rig.line.setBaudRate(115200);
    const qint64 t0 = rig.clock.nowUs();
    const QByteArray frame = longFrame(32, hex("01"));
    rig.send(frame);
    QCOMPARE(rig.clock.nowUs() - t0, qint64(4 * 10'000'000 / 115200));
    QCOMPARE(rig.receive(5).size(), 5);
    QCOMPARE(rig.clock.nowUs() - t0, qint64(4 * 10'000'000 / 115200 + 5 * (10'000'000 / 115200)));
}

void BenchLineTest::purgeKeepsWhatIsStillOnItsWay() {
    Rig rig(0);
    rig.send(commandFrame(0, 22, 0, 0, 7)); // ack now, result in 300 ms
    QVERIFY(rig.line.purge());
    QCOMPARE(rig.bench.output().size(), 4);
    quint8 buf[4];
    QCOMPARE(rig.line.read(buf, 4), qint64(4));
    QCOMPARE(QByteArray(reinterpret_cast<char*>(buf), 4).toHex(), QByteArray("00000000"));
}

void BenchLineTest::openIsExclusive() {
    Rig rig(0);
    sim::BenchLine second(rig.bench);
    QVERIFY(!second.open());
    QVERIFY(!second.isOpen());
    quint8 b = 0;
    QCOMPARE(second.write(&b, 1), qint64(-1));
    QCOMPARE(second.deviceName(), QStringLiteral("sim"));
    rig.line.close();
    QVERIFY(second.open());
    QVERIFY(!rig.line.open());
}

void BenchLineTest::unpluggedDevice() {
    Rig rig(0);
    rig.bench.setUnplugged(true);
    quint8 buf[4] = {};
    QCOMPARE(rig.line.read(buf, 1), qint64(-1));
    QCOMPARE(rig.line.write(buf, 1), qint64(-1));
    QVERIFY(!rig.line.purge());
    QVERIFY(!rig.line.setRts(true));
    quint8 bits = 0;
    QVERIFY(!rig.line.modemStatus(bits));
    QVERIFY(!rig.line.configure(9600));
    kia::SerialTimeouts t;
    QVERIFY(!rig.line.getTimeouts(t));
    sim::BenchLine other(rig.bench);
    QVERIFY(!other.open());

    rig.bench.setUnplugged(false);
    QCOMPARE(rig.line.write(buf, 1), qint64(-1)); // the old handle is gone for good
    rig.line.close();
    QVERIFY(rig.line.open());
    QVERIFY(rig.line.configure(9600));
    QCOMPARE(rig.line.write(buf, 1), qint64(1));
}

void BenchLineTest::modemLines_data() {
    QTest::addColumn<quint8>("tip");
    QTest::addColumn<quint8>("rtsOff");
    QTest::addColumn<quint8>("rtsOn");
    QTest::newRow("logic 0") << quint8(0) << quint8(0x10) << quint8(0x10);
    QTest::newRow("logic 1") << quint8(1) << quint8(0x30) << quint8(0x30);
    QTest::newRow("+12 V") << quint8(2) << quint8(0x20) << quint8(0x20);
    QTest::newRow("open tip") << quint8(3) << quint8(0x10) << quint8(0x30);
}

void BenchLineTest::modemLines() {
    QFETCH(quint8, tip);
    QFETCH(quint8, rtsOff);
    QFETCH(quint8, rtsOn);
    Rig rig(2);
    rig.bench.probe().setTipLevel(tip);
    quint8 bits = 0xFF;
    QVERIFY(rig.line.setRts(false));
    QVERIFY(rig.line.modemStatus(bits));
    QCOMPARE(bits, rtsOff);
    QVERIFY(rig.line.setRts(true));
    QVERIFY(rig.line.modemStatus(bits));
    QCOMPARE(bits, rtsOn);
    QVERIFY(rig.line.setDtr(true));
    QVERIFY(rig.line.setDtr(false));
    QVERIFY(!rig.bench.probe().dtr());
    QCOMPARE(rig.bench.probe().dtrChanges(), 2);
}

// The in-process path must keep up with the workstation's fastest loops:
// ReadPort (purge, write 7, read 1, read 2) on the real clock, with the output
// queue not growing over the run.
void BenchLineTest::readPortThroughput() {
    kia::RealClock clock;
    sim::Bench bench(0, clock);
    sim::BenchLine line(bench, clock);
    QVERIFY(line.open());
    QVERIFY(line.configure(9600));
    QVERIFY(line.setTimeouts(standardTimeouts()));
    const QByteArray frame = commandFrame(0, 2, 1);
    const auto* f = reinterpret_cast<const quint8*>(frame.constData());
    bench.board().port(1).latch = 0x22;

    const int rounds = 200'000;
    size_t capacity = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        quint8 ack = 0;
        quint8 v[2] = {};
        line.purge();
        line.write(f, 7);
        if (line.read(&ack, 1) != 1 || line.read(v, 2) != 2 || v[0] != 0x22 || v[1] != 0x22)
            QFAIL(qPrintable(QStringLiteral("exchange %1 failed").arg(i)));
        if (i == 1000)
            capacity = bench.output().capacity();
    }
    const qint64 ms = qMax<qint64>(1, timer.elapsed());
    const qint64 perSecond = rounds * 1000 / ms;
    qInfo("%lld ReadPort exchanges per second", perSecond);
    QCOMPARE(bench.output().capacity(), capacity);
    QCOMPARE(bench.testProcessor().frameCount(), quint64(rounds));
    // The rate is reported, not asserted: bench/kia-linkbench measures it.
}

void BenchLineTest::openingLowersDtrAndRts() {
    // The link opens with DTR and RTS control disabled: the level driver and the
    // open-tip stimulus start low whatever a previous user left on the lines.
    sim::VirtualClock clock;
    sim::Bench bench(0, clock);
    bench.setDtr(true);
    bench.setRts(true);
    sim::BenchLine line(bench, clock);
    QVERIFY(line.open());
    QVERIFY(line.configure(9600));
    QVERIFY(!bench.probe().dtr());
    QVERIFY(!bench.probe().rts());
}

QTEST_GUILESS_MAIN(BenchLineTest)
#include "tst_benchline.moc"
