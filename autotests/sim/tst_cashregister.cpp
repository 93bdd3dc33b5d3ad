// The assembled cash register on the cable: ping, memory reads, speed change.

#include "simtestutil.h"

#include "sim/cashregister.h"
#include "sim/faultinjector.h"

#include <QTest>

using namespace simtest;

namespace {

struct RegisterRig : Rig {
    RegisterRig() : Rig(4) {
        bench.setCable(sim::Bench::Cable::CashRegister);
        line.setBaudRate(9600);
        sim::Memory& m = bench.cashRegister().memory();
        m.write(0x00000, 0x5A);
        for (int i = 0; i < 64; ++i)
            m.write(0x10000 + 0x2040 + i, quint8(i + 1));
    }
};

const QByteArray ping = QByteArray::fromHex("000700400000000141");

} // namespace

class CashRegisterTest : public QObject {
    Q_OBJECT

private slots:
    void pingIsAOneByteRead();
    void readReturnsTheBlock_data();
    void readReturnsTheBlock();
    void speedChange_data();
    void speedChange();
    void bytesAtAnotherSpeedAreLost();
    void badChecksumIsIgnored();
    void cashFaultsUseTheCommandByte();
};

void CashRegisterTest::pingIsAOneByteRead() {
    RegisterRig rig;
    QCOMPARE(cashFrame(hex("004000000001")).toHex(), ping.toHex());
    const QByteArray r = rig.exchange(ping, 6);
    QCOMPARE(r.toHex(), QByteArray("000400405a9a"));
    QCOMPARE(quint8(r.at(5)), sumOf(r, 2, 5));
}

void CashRegisterTest::readReturnsTheBlock_data() {
    QTest::addColumn<quint8>("bank");
    QTest::addColumn<quint16>("address");
    QTest::addColumn<int>("first"); // value of data byte 0, counting up
    QTest::newRow("bank 1 0x2040") << quint8(1) << quint16(0x2040) << 1;
    QTest::newRow("bank 1 0x2050") << quint8(1) << quint16(0x2050) << 17;
}

void CashRegisterTest::readReturnsTheBlock() {
    QFETCH(quint8, bank);
    QFETCH(quint16, address);
    QFETCH(int, first);
    RegisterRig rig;
    QByteArray req = hex("00070040");
    req.append(char(bank));
    req.append(char(address >> 8));
    req.append(char(address & 0xFF));
    req.append(char(0x40));
    req.append(char(bank + (address >> 8) + (address & 0xFF) + 0x80));
    const QByteArray r = rig.exchange(req, 69);
    QCOMPARE(r.size(), 69);
    QCOMPARE(r.left(4).toHex(), QByteArray("00430040"));
    for (int i = 0; i < 64 - (first - 1); ++i)
        QCOMPARE(quint8(r.at(4 + i)), quint8(first + i));
    QCOMPARE(quint8(r.at(68)), sumOf(r, 2, 68));
}

void CashRegisterTest::speedChange_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("speed");
    QTest::newRow("19200") << 1 << 19200;
    QTest::newRow("57600") << 2 << 57600;
    QTest::newRow("115200") << 3 << 115200;
    QTest::newRow("back to 9600") << 0 << 9600;
}

void CashRegisterTest::speedChange() {
    QFETCH(int, code);
    QFETCH(int, speed);
    RegisterRig rig;
    if (speed == 9600) { // start elsewhere
        rig.bench.cashRegister().setSpeed(57600);
        rig.line.setBaudRate(57600);
    }
    QByteArray req = hex("0005000b08");
    req.append(char(code));
    req.append(char(code + 0x13));
    // The short acknowledge comes at the old speed.
    QCOMPARE(rig.exchange(req, 6).toHex(), QByteArray("0004000b000b"));
    QCOMPARE(rig.bench.cashRegister().speed(), qint32(speed));
    // At the old speed the register hears nothing any more (unless it stayed).
    rig.clock.advanceMs(100);
    rig.line.setBaudRate(speed);
    rig.clock.advanceMs(100);
    QCOMPARE(rig.exchange(ping, 6).size(), 6);
}

void CashRegisterTest::bytesAtAnotherSpeedAreLost() {
    RegisterRig rig;
    rig.bench.cashRegister().setSpeed(57600);
    for (int baud : {9600, 19200, 115200}) {
        rig.line.setBaudRate(baud);
        QCOMPARE(rig.exchange(ping, 6), QByteArray());
    }
    rig.line.setBaudRate(57600);
    QCOMPARE(rig.exchange(ping, 6).size(), 6);

    // An unknown speed code changes nothing and says so.
    QCOMPARE(rig.exchange(hex("0005000b080417"), 6).toHex(), QByteArray("0004000b010c"));
    QCOMPARE(rig.bench.cashRegister().speed(), qint32(57600));
}

void CashRegisterTest::badChecksumIsIgnored() {
    RegisterRig rig;
    QByteArray bad = ping;
    bad[8] = 0x42;
    QCOMPARE(rig.exchange(bad, 6), QByteArray());
    // Noise before a good frame does not hide it.
    QCOMPARE(rig.exchange(hex("00ff13") + ping, 6).size(), 6);
    QCOMPARE(rig.bench.cashRegister().frameCount(), quint64(1));
}

void CashRegisterTest::cashFaultsUseTheCommandByte() {
    RegisterRig rig;
    rig.bench.addFault(sim::Fault::badChecksum().onCash(0x40).once());
    QCOMPARE(rig.exchange(ping, 6).toHex(), QByteArray("000400405a9b"));
    QCOMPARE(rig.exchange(ping, 6).toHex(), QByteArray("000400405a9a"));
    QCOMPARE(rig.bench.faults().firedCount(0), 1);
}

QTEST_GUILESS_MAIN(CashRegisterTest)
#include "tst_cashregister.moc"
