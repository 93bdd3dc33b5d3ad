// The programmer of board type 4 and DD5 behind it.

#include "simtestutil.h"

#include "sim/boardmodel.h"
#include "sim/dd5controller.h"
#include "sim/programmer.h"
#include "sim/testprocessor.h"
#include "sim/testprogram.h"

#include <QTest>

using namespace simtest;

namespace {

// One long-frame exchange: the full reply (echo, length, data, checksum).
QByteArray transfer(Rig& rig, quint8 command, const QByteArray& data, int replyData) {
    return rig.exchange(longFrame(command, data), replyData + 3);
}

QByteArray control(Rig& rig, quint8 value) {
    return transfer(rig, 32, QByteArray(1, char(value)), 2);
}

// The bytes received in a transfer reply: data after [0x10, nsend, nrecv].
QByteArray received(const QByteArray& reply) {
    return reply.mid(5, reply.size() - 6);
}

} // namespace

class ProgrammerTest : public QObject {
    Q_OBJECT

private slots:
    void controlLine_data();
    void controlLine();
    void programmingEnable_data();
    void programmingEnable();
    void eraseAndPageWriteReadBack();
    void programmingClearsBitsOnly();
    void identityPage_data();
    void identityPage();
    void testProgramGate();
    void restartAfterProgrammingResetsPorts();
};

void ProgrammerTest::controlLine_data() {
    QTest::addColumn<quint8>("value");
    QTest::addColumn<bool>("held");
    QTest::newRow("hold") << quint8(0) << true;
    QTest::newRow("run") << quint8(1) << false;
}

void ProgrammerTest::controlLine() {
    QFETCH(quint8, value);
    QFETCH(bool, held);
    Rig rig(4);
    const QByteArray req = longFrame(32, QByteArray(1, char(value)));
    // 02 20 v sum: the plain sum, echoed; reply 02 20 v NOT(sum).
    QCOMPARE(req.toHex(), (hex("0220") + char(value) + char(0x22 + value)).toHex());
    QCOMPARE(
        rig.exchange(req, 5).toHex(),
        (char(0x22 + value) + hex("0220") + char(value) + char(~quint8(0x22 + value))).toHex());
    QCOMPARE(rig.bench.dd5().isHeld(), held);
}

void ProgrammerTest::programmingEnable_data() {
    QTest::addColumn<bool>("hold");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("held") << true << hex("69");
    QTest::newRow("running") << false << hex("ff");
}

void ProgrammerTest::programmingEnable() {
    QFETCH(bool, hold);
    QFETCH(QByteArray, answer);
    Rig rig(4);
    control(rig, hold ? 0 : 1);
    const QByteArray req = longFrame(16, hex("0301ac53ff"));
    QCOMPARE(req.toHex(), QByteArray("06100301ac53ff18"));
    const QByteArray r = rig.exchange(req, 8);
    QCOMPARE(r.toHex(), longReply(req, hex("100301") + answer).toHex());
    QCOMPARE(rig.bench.dd5().programmingEnabled(), hold);
}

void ProgrammerTest::eraseAndPageWriteReadBack() {
    Rig rig(4);
    control(rig, 1);
    control(rig, 0);
    QCOMPARE(received(transfer(rig, 16, hex("0301ac53ff"), 4)), hex("69"));
    QCOMPARE(transfer(rig, 16, hex("0400ac80ffff"), 3).toHex(),
             longReply(longFrame(16, hex("0400ac80ffff")), hex("100400")).toHex());
    for (quint8 b : rig.bench.dd5().code())
        QCOMPARE(b, quint8(0xFF));

    // Page 0x1F: four chunks of 64 bytes.
    QByteArray page;
    for (int i = 0; i < 256; ++i)
        page.append(char(i ^ 0x5A));
    QCOMPARE(received(transfer(rig, 16, hex("0200501f"), 3)), QByteArray());
    for (int c = 0; c < 4; ++c) {
        const QByteArray chunk = hex("4000") + page.mid(c * 64, 64);
        QCOMPARE(transfer(rig, 16, chunk, 3).toHex(),
                 longReply(longFrame(16, chunk), hex("104000")).toHex());
    }
    // SendChunk with a count below 64: only the first count bytes are written.
    QCOMPARE(received(transfer(rig, 16, hex("0200500a"), 3)), QByteArray());
    transfer(rig, 16, hex("0200") + QByteArray(64, char(0x11)), 3);

    const auto& code = rig.bench.dd5().code();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(code.data()) + 0x1F00, 256).toHex(),
             page.toHex());
    QCOMPARE(code[0x0A00], quint8(0x11));
    QCOMPARE(code[0x0A01], quint8(0x11));
    QCOMPARE(code[0x0A02], quint8(0xFF));

    // Read back as the workstation does: 64 with the page command, then chunks.
    QByteArray back = received(transfer(rig, 16, hex("0240301f"), 3 + 64));
    for (int c = 1; c < 4; ++c)
        back += received(transfer(rig, 16, hex("0040"), 3 + 64));
    QCOMPARE(back.toHex(), page.toHex());
}

void ProgrammerTest::programmingClearsBitsOnly() {
    Rig rig(4);
    control(rig, 0);
    transfer(rig, 16, hex("0301ac53ff"), 4);
    const quint8 before = rig.bench.dd5().code()[0x0005];
    transfer(rig, 16, hex("040040000500"), 3); // program 0x00 at 0x0005
    QCOMPARE(rig.bench.dd5().code()[0x0005], quint8(0));
    transfer(rig, 16, hex("0400400005ff"), 3); // 0xFF does not bring bits back
    QCOMPARE(received(transfer(rig, 16, hex("0301200005"), 4)), hex("00"));
    QVERIFY(before != 0);
}

void ProgrammerTest::identityPage_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("identity");
    QTest::newRow("cash software")
        << int(sim::Dd5Controller::StartState::CashSoftware) << QByteArray("230607091405");
    QTest::newRow("no identity") << int(sim::Dd5Controller::StartState::CashSoftwareNoIdentity)
                                 << QByteArray();
    QTest::newRow("test program") << int(sim::Dd5Controller::StartState::TestProgram)
                                  << QByteArray("230607091405");
}

// The workstation's identification: hold, enable, read page 0x1F, run again.
void ProgrammerTest::identityPage() {
    QFETCH(int, state);
    QFETCH(QByteArray, identity);
    Rig rig(4);
    rig.bench.setDd5StartState(static_cast<sim::Dd5Controller::StartState>(state));
    control(rig, 1);
    control(rig, 0);
    QCOMPARE(received(transfer(rig, 16, hex("0301ac53ff"), 4)), hex("69"));
    QByteArray reply = transfer(rig, 16, hex("0240301f"), 3 + 64);
    for (int c = 0; c < 3; ++c)
        reply = transfer(rig, 16, hex("0040"), 3 + 64);
    // The shared buffer holds the reply from its length byte on: bytes 56..67.
    const QByteArray buffer = reply.mid(1);
    QByteArray digits;
    for (int i = 56; i < 68; ++i) {
        const char c = buffer.at(i);
        if (c < '0' || c > '9') {
            digits.clear();
            break;
        }
        digits.append(c);
    }
    QCOMPARE(digits, identity);
    control(rig, 1);
    QVERIFY(!rig.bench.dd5().isHeld());
}

void ProgrammerTest::testProgramGate() {
    Rig rig(4);
    const QByteArray readPort = commandFrame(4, 2, 0);
    // Cash software runs: nobody answers the 7-byte frames.
    QCOMPARE(rig.exchange(readPort, 3), QByteArray());

    // Write the test program: erase, then page 0 with the signature.
    control(rig, 0);
    transfer(rig, 16, hex("0301ac53ff"), 4);
    transfer(rig, 16, hex("0400ac80ffff"), 3);
    QByteArray page0(256, char(0xFF));
    page0.replace(0, 16,
                  QByteArray(reinterpret_cast<const char*>(sim::TestProgramSignature.data()), 16));
    transfer(rig, 16, hex("02005000"), 3);
    for (int c = 0; c < 4; ++c)
        transfer(rig, 16, hex("4000") + page0.mid(c * 64, 64), 3);
    QVERIFY(rig.bench.dd5().holdsTestProgram());
    // Held in reset: still no answer.
    QCOMPARE(rig.exchange(readPort, 3), QByteArray());

    control(rig, 1);
    QCOMPARE(rig.exchange(readPort, 3).toHex(), (char(ackOf(readPort)) + hex("ffff")).toHex());
    // Long frames still reach the programmer while the test program runs.
    QCOMPARE(control(rig, 1).size(), 5);

    // A test program with one byte of its signature wrong does not start.
    control(rig, 0);
    transfer(rig, 16, hex("0301ac53ff"), 4);
    transfer(rig, 16, hex("040040000200"), 3); // the "A" of "KIA" becomes 0x00
    control(rig, 1);
    QVERIFY(!rig.bench.dd5().holdsTestProgram());
    QCOMPARE(rig.exchange(readPort, 3), QByteArray());
}

void ProgrammerTest::restartAfterProgrammingResetsPorts() {
    Rig rig(4);
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    rig.exchange(commandFrame(4, 3, 1, 0x00, 0xFF), 1);
    QCOMPARE(rig.bench.board().port(1).latch, quint8(0x00));
    control(rig, 1); // already running: nothing happens
    QCOMPARE(rig.bench.board().port(1).latch, quint8(0x00));
    control(rig, 0);
    control(rig, 1); // out of reset: the ports start high
    QCOMPARE(rig.bench.board().port(1).latch, quint8(0xFF));
    QCOMPARE(rig.bench.programmer().longFrameCount(), quint64(3));
}

QTEST_GUILESS_MAIN(ProgrammerTest)
#include "tst_programmer.moc"
