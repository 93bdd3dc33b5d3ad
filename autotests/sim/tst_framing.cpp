// How the peers find frames in the byte stream and get back in step.

#include "simtestutil.h"

#include "sim/boardmodel.h"
#include "sim/dd5controller.h"
#include "sim/testprocessor.h"

#include <QTest>

using namespace simtest;

class FramingTest : public QObject {
    Q_OBJECT

private slots:
    void resyncAfterNoise_data();
    void resyncAfterNoise();
    void partialFrameIsDroppedAfterAGap();
    void gapAbandonsADataPhase();
    void dataPhaseSurvivesPacedBytes();
    void foreignFramesAreNotAnswered_data();
    void foreignFramesAreNotAnswered();
    void programmerTellsLongFromCommandFrames_data();
    void programmerTellsLongFromCommandFrames();
    void longFrameBehindNoiseIsFound();
    void longFrameDataMayLookLikeFrames();
};

void FramingTest::resyncAfterNoise_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QByteArray>("noise");
    QTest::addColumn<bool>("gap"); // a pause of 60 ms between noise and frame

    const QByteArray partial0 = commandFrame(0, 7, 0x00, 0x01, 3).left(4);
    const QByteArray partial4 = commandFrame(4, 7, 0x00, 0x01, 3).left(5);
    for (int type : {0, 4}) {
        const QByteArray partial = type == 4 ? partial4 : partial0;
        QTest::addRow("type %d, garbage", type) << type << hex("13377f00ff") << false;
        QTest::addRow("type %d, garbage then gap", type) << type << hex("13377f00ff") << true;
        QTest::addRow("type %d, partial frame, no gap", type) << type << partial << false;
        QTest::addRow("type %d, partial frame then gap", type) << type << partial << true;
        QTest::addRow("type %d, frame of the other family", type)
            << type << commandFrame(type == 4 ? 0 : 4, 2, 0) << false;
        // Looks like the start of a long frame of 17 bytes to the programmer.
        QTest::addRow("type %d, long-looking noise", type) << type << hex("0f10") << false;
    }
}

void FramingTest::resyncAfterNoise() {
    QFETCH(int, boardType);
    QFETCH(QByteArray, noise);
    QFETCH(bool, gap);
    Rig rig(boardType);
    if (boardType == 4)
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    rig.bench.board().port(3).latch = 0x54;

    rig.send(noise);
    if (gap)
        rig.clock.advanceMs(60);
    const QByteArray frame = commandFrame(boardType, 2, 3);
    QCOMPARE(rig.exchange(frame, 3).toHex(), (char(ackOf(frame)) + hex("5454")).toHex());
    // The noise itself produced nothing.
    rig.clock.advanceMs(2000);
    QCOMPARE(rig.drain().toHex(), QByteArray());
}

void FramingTest::partialFrameIsDroppedAfterAGap() {
    Rig rig(0);
    const QByteArray frame = commandFrame(0, 2, 2);
    rig.send(frame.left(4));
    rig.clock.advanceMs(50); // exactly the gap: the four bytes are forgotten
    rig.send(frame.mid(4));
    QCOMPARE(rig.receive(3), QByteArray());
    // Bytes closer together than 50 ms do make a frame (the four bytes take
    // 4 ms on the wire at 9600 baud).
    rig.send(frame.left(4));
    rig.clock.advanceMs(45);
    rig.send(frame.mid(4));
    QCOMPARE(rig.receive(3).toHex(), (char(ackOf(frame)) + hex("ffff")).toHex());
}

void FramingTest::gapAbandonsADataPhase() {
    Rig rig(0);
    const QByteArray write = commandFrame(0, 8, 0x10, 0x00, 2);
    QCOMPARE(rig.exchange(write, 1).size(), 1);
    rig.send(hex("aa"));
    rig.clock.advanceMs(80);
    // The PC gave up and sends the next frame: it must be a frame again, not data.
    const QByteArray read = commandFrame(0, 7, 0x10, 0x00, 2);
    QCOMPARE(rig.exchange(read, 4).toHex(), (char(ackOf(read)) + hex("000000")).toHex());
    QCOMPARE(rig.bench.board().ram().read(0x10), quint8(0));
}

void FramingTest::dataPhaseSurvivesPacedBytes() {
    // WriteDevice bytes come 15 ms apart; a data phase waits for them.
    Rig rig(4);
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    rig.exchange(commandFrame(4, 16, 2, 0x20, 0xA2) + hex("01100108"), 2);
    rig.exchange(commandFrame(4, 18, 0x00, 0x01, 4), 1);
    for (char c : hex("01020304")) {
        rig.clock.advanceMs(15);
        rig.send(QByteArray(1, c));
    }
    QCOMPARE(rig.receive(1), hex("0a"));
    QCOMPARE(rig.bench.board().serialEeprom().memory().read(0x0103), quint8(4));
}

void FramingTest::foreignFramesAreNotAnswered_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("baud");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("type 0 at 115200") << 0 << 115200 << commandFrame(0, 2, 0);
    QTest::newRow("type 4 at 9600") << 4 << 9600 << commandFrame(4, 2, 0);
    QTest::newRow("type 0, fillers of type 4") << 0 << 9600 << commandFrame(4, 2, 0);
    QTest::newRow("type 4, fillers of type 0") << 4 << 115200 << commandFrame(0, 2, 0);
    QByteArray badSum = commandFrame(0, 2, 0);
    badSum[6] = char(badSum.at(6) ^ 1);
    QTest::newRow("type 0, bad checksum") << 0 << 9600 << badSum;
}

void FramingTest::foreignFramesAreNotAnswered() {
    QFETCH(int, boardType);
    QFETCH(int, baud);
    QFETCH(QByteArray, frame);
    Rig rig(boardType);
    if (boardType == 4)
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    rig.line.setBaudRate(baud);
    const qint64 t0 = rig.clock.nowUs();
    QCOMPARE(rig.exchange(frame, 1), QByteArray());
    // Nothing came: the read gave up after its 1 s total time-out (plus wire time).
    QVERIFY(rig.clock.nowUs() - t0 >= 1'000'000);
    QCOMPARE(rig.bench.testProcessor().frameCount(), quint64(0));
}

void FramingTest::programmerTellsLongFromCommandFrames_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("replyLength");
    QTest::addColumn<bool>("isLong");
    // ReadMemory at 0x0010 and WriteDataPage both have 16 or 32 in byte 1
    // or byte 0, like a long frame would.
    QTest::newRow("ReadMemory 0x0010") << commandFrame(4, 7, 0x10, 0x00, 1) << 3 << false;
    QTest::newRow("ReadMemory 0x0020") << commandFrame(4, 7, 0x20, 0x00, 1) << 3 << false;
    QTest::newRow("ReadDataPage") << commandFrame(4, 33, 0x00, 0x20, 0) << 130 << false;
    QTest::newRow("control 1") << longFrame(32, hex("01")) << 5 << true;
    QTest::newRow("transfer of 4 bytes") << longFrame(16, hex("02005000")) << 6 << true;
}

void FramingTest::programmerTellsLongFromCommandFrames() {
    QFETCH(QByteArray, frame);
    QFETCH(int, replyLength);
    QFETCH(bool, isLong);
    Rig rig(4);
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const QByteArray r = rig.exchange(frame, replyLength);
    QCOMPARE(r.size(), replyLength);
    QCOMPARE(quint8(r.at(0)), quint8(frame.back()));
    QCOMPARE(rig.bench.testProcessor().frameCount(), quint64(isLong ? 0 : 1));
}

void FramingTest::longFrameBehindNoiseIsFound() {
    Rig rig(4);
    const QByteArray control = longFrame(32, hex("00"));
    // 0x30 0x20 looks like the start of a 50-byte long frame: the programmer
    // waits for it and the control frame right behind it goes unanswered...
    rig.send(hex("3020"));
    QCOMPARE(rig.exchange(control, 5), QByteArray());
    QVERIFY(!rig.bench.dd5().isHeld());
    // ...until the PC, after its time-out, sends the frame again.
    QCOMPARE(rig.exchange(control, 5).toHex(), longReply(control, hex("2000")).toHex());
    QVERIFY(rig.bench.dd5().isHeld());
}

void FramingTest::longFrameDataMayLookLikeFrames() {
    // A chunk whose data hold a complete long frame is still one chunk.
    Rig rig(4);
    rig.exchange(longFrame(32, hex("00")), 5);
    rig.exchange(longFrame(16, hex("0301ac53ff")), 8);
    rig.exchange(longFrame(16, hex("0400ac80ffff")), 6);
    rig.exchange(longFrame(16, hex("02005000")), 6);
    QByteArray data(64, char(0x77));
    data.replace(10, 4, longFrame(32, hex("01")));
    const QByteArray chunk = longFrame(16, hex("4000") + data);
    QCOMPARE(rig.exchange(chunk, 6).toHex(), longReply(chunk, hex("104000")).toHex());
    QVERIFY(rig.bench.dd5().isHeld());
    QCOMPARE(rig.bench.dd5().code()[10], quint8(0x02));
}

QTEST_GUILESS_MAIN(FramingTest)
#include "tst_framing.moc"
