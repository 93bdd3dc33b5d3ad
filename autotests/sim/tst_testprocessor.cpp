// Byte-exact answers of the test processor (board types 0..3) and of the
// test program in DD5 (board type 4) to every command code.

#include "simtestutil.h"

#include "sim/boardmodel.h"
#include "sim/controllerprogram.h"
#include "sim/dd5controller.h"
#include "sim/outputqueue.h"
#include "sim/patterns.h"
#include "sim/testprocessor.h"

#include <QTest>

using namespace simtest;

namespace {

QByteArray pageBytes() {
    QByteArray p;
    for (int i = 0; i < 128; ++i)
        p.append(char(i));
    return p;
}

// A known board: the same state for every row of the table.
void prepare(sim::Bench& bench) {
    if (bench.boardType() == 4)
        bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    sim::BoardModel& b = bench.board();
    b.port(2).latch = 0xA5;
    b.ram().write(0x0100, 0x11);
    b.ram().write(0x0101, 0x22);
    b.ram().write(0x0102, 0x33);
    b.fiscalMemory().write(0x0200, 0x01);
    b.fiscalMemory().write(0x0201, 0x02);
    b.fiscalMemory().write(0x0202, 0x03);
    b.programMemory().fill(0x01);
    b.serialEeprom().memory().write(0x0010, 0xAB);
    b.serialEeprom().memory().write(0x0011, 0xCD);
}

} // namespace

class TestProcessorTest : public QObject {
    Q_OBJECT

private slots:
    void expectedBytes_data();
    void expectedBytes();
    void answers_data();
    void answers();
    void writePortSetsMaskedBits();
    void writeMemoryLandsOnTheDataBus();
    void pulsesAreRecordedAndEndIdle();
    void memoryMapIsRecorded();
    void memoryPassFindsABadCell_data();
    void memoryPassFindsABadCell();
    void bankFillAndCheck_data();
    void bankFillAndCheck();
    void bankFillReportsCellsThatDoNotTake();
    void romSumsMatchTheStoredChecksum_data();
    void romSumsMatchTheStoredChecksum();
    void pageWriteWithBadSumWritesNothing();
    void memoryCheckResultComesLater();
    void clockRollsOverNewYear_data();
    void clockRollsOverNewYear();
    void missingI2cChipDoesNotAcknowledge();
};

void TestProcessorTest::expectedBytes_data() {
    QTest::addColumn<quint8>("pattern");
    QTest::addColumn<quint16>("address");
    QTest::addColumn<quint8>("expected");
    QTest::newRow("1 even") << quint8(1) << quint16(0x1234) << quint8(0);
    QTest::newRow("1 odd") << quint8(1) << quint16(0x1235) << quint8(0x47);
    QTest::newRow("2 even") << quint8(2) << quint16(0x0100) << quint8(0x01);
    QTest::newRow("2 odd") << quint8(2) << quint16(0x0101) << quint8(0);
    QTest::newRow("3 odd") << quint8(3) << quint16(0x0203) << quint8(0xFA);
    QTest::newRow("4 even") << quint8(4) << quint16(0x0204) << quint8(0xF9);
    QTest::newRow("5 odd") << quint8(5) << quint16(0x0001) << quint8(0x55);
    QTest::newRow("6 even") << quint8(6) << quint16(0x0000) << quint8(0x55);
    QTest::newRow("7") << quint8(7) << quint16(0x4321) << quint8(0xFF);
    QTest::newRow("8 one bit high") << quint8(8) << quint16(0x0100) << quint8(0xFE);
    QTest::newRow("8 one bit low") << quint8(8) << quint16(0x0008) << quint8(0x08);
    QTest::newRow("8 two bits") << quint8(8) << quint16(0x0003) << quint8(0xFF);
    QTest::newRow("8 one zero high") << quint8(8) << quint16(0x7FFF) << quint8(0x7F);
    QTest::newRow("8 one zero low") << quint8(8) << quint16(0xFFFE) << quint8(0x01);
    QTest::newRow("other") << quint8(9) << quint16(0x1234) << quint8(9);
}

void TestProcessorTest::expectedBytes() {
    QFETCH(quint8, pattern);
    QFETCH(quint16, address);
    QFETCH(quint8, expected);
    QCOMPARE(sim::expectedByte(pattern, address), expected);
}

void TestProcessorTest::answers_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QByteArray>("setup"); // raw bytes sent first, replies dropped
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("data");  // what the PC sends after the acknowledge
    QTest::addColumn<QByteArray>("reply"); // everything after the acknowledge

    const QByteArray page = pageBytes() + char(0xC0);
    QByteArray ones(128, char(0x01));
    ones.append(char(0x80));
    QByteArray blank(128, char(0xFF));
    blank.append(char(0x80));

    for (int type : {0, 2, 4}) {
        const bool t4 = type == 4;
        auto row = [type](const char* name) {
            return &QTest::newRow(
                QByteArray(name).append(" type ").append(QByteArray::number(type)));
        };
        auto frame = [type](quint8 code, quint8 a = 0, quint8 b = 0, quint8 c = 0) {
            return commandFrame(type, code, a, b, c);
        };
        const QByteArray selectA2 =
            frame(16, 2, 0x20, 0xA2) + (t4 ? hex("01100108") : QByteArray());

        *row("SelectMode") << type << QByteArray() << frame(0, 1) << QByteArray() << QByteArray();
        *row("GeneratePulses") << type << QByteArray() << frame(1, 0xEF, 0xFF)
                               << hex("ff7f140001003200") << hex("c5");
        *row("ReadPort 2") << type << QByteArray() << frame(2, 2) << QByteArray() << hex("a5a5");
        *row("ReadPort 9") << type << QByteArray() << frame(2, 9) << QByteArray() << hex("ffff");
        *row("WritePort") << type << QByteArray() << frame(3, 1, 0x0F, 0xF0) << QByteArray()
                          << QByteArray();
        *row("unused 4") << type << QByteArray() << frame(4, 1, 2, 3) << QByteArray()
                         << QByteArray();
        *row("unused 5") << type << QByteArray() << frame(5) << QByteArray() << QByteArray();
        *row("GeneratePinPulses") << type << QByteArray() << frame(6, 0x23, 0x34, 0x12)
                                  << hex("10002000") << hex("30");
        *row("ReadMemory") << type << QByteArray() << frame(7, 0x00, 0x01, 3) << QByteArray()
                           << hex("11223366");
        *row("WriteMemory") << type << QByteArray() << frame(8, 0x00, 0x02, 2) << hex("aa55")
                            << hex("ff");
        *row("WriteMemory 0 bytes")
            << type << QByteArray() << frame(8, 0x00, 0x02, 0) << QByteArray() << hex("00");
        *row("unused 9") << type << QByteArray() << frame(9) << QByteArray() << QByteArray();
        *row("SetMemoryMap") << type << QByteArray() << frame(10, 200)
                             << hex("0000002000c00040ffff") << hex("1e");
        *row("StartMemoryPass") << type << QByteArray() << frame(11, 1) << QByteArray()
                                << QByteArray();
        *row("GetMemoryPassResult")
            << type << QByteArray() << frame(12, 1) << QByteArray() << hex("000000000000");
        *row("unused 13") << type << QByteArray() << frame(13) << QByteArray() << QByteArray();
        *row("CheckBankPattern blank")
            << type << QByteArray() << frame(14, 7) << QByteArray() << hex("000000000000");
        *row("CheckBankPattern 5")
            << type << QByteArray() << frame(14, 5) << QByteArray() << hex("010000ffaaaa");
        *row("SumMemory") << type << QByteArray() << frame(15, 0x20, 0x00) << QByteArray()
                          << hex("00fe1f01011f");
        *row("SetSerialDevice") << type << QByteArray() << frame(16, 2, 0x20, 0xA2)
                                << (t4 ? hex("01100108") : QByteArray())
                                << (t4 ? hex("1a") : QByteArray());
        *row("FillBank") << type << QByteArray() << frame(17, 7, t4 ? 0 : 64) << QByteArray()
                         << (t4 ? hex("0000") : QByteArray());
        *row("WriteDevice") << type << selectA2 << frame(18, 0x20, 0x00, 2) << hex("1234")
                            << (t4 ? hex("46") : hex("460000"));
        *row("FillDevice") << type << selectA2 << frame(19, 7, 0xFF, 0x7F) << QByteArray()
                           << QByteArray();
        *row("ReadDevice") << type << selectA2 << frame(20, 0x10, 0x00, 2) << QByteArray()
                           << hex("abcd78");
        *row("CheckDevice") << type << selectA2 << frame(21, 7, 0x00, 0x00) << QByteArray()
                            << hex("01100011");
        *row("StartMemoryCheck") << type << QByteArray() << frame(22, 0x00, 0x00, 7) << QByteArray()
                                 << hex("01000203");
        *row("ReadFiscalBlock") << type << QByteArray() << frame(23, 0x00, 0x02, 3) << QByteArray()
                                << hex("01020306");
        *row("WriteCellPattern") << type << QByteArray() << frame(24, 0x00, 0x03, 0x5A)
                                 << QByteArray() << hex("0000");
        *row("SumMemoryRange 25") << type << QByteArray() << frame(25, 0x01, 0x02) << QByteArray()
                                  << (t4 ? QByteArray() : hex("0000e10101e3"));
        *row("unused 26") << type << QByteArray() << frame(26) << QByteArray() << QByteArray();
        *row("SumMemoryRange 27") << type << QByteArray() << frame(27, 0x01, 0x02) << QByteArray()
                                  << (t4 ? hex("0000e10101e3") : QByteArray());
        *row("WriteProgramPage") << type << QByteArray() << frame(28, 0x00, 0x04, 0) << page
                                 << hex("c0c00101");
        *row("ReadProgramPage") << type << QByteArray() << frame(29, 0x00, 0x05, 0) << QByteArray()
                                << ones;
        *row("EraseProgramMemory")
            << type << QByteArray() << frame(30) << QByteArray() << hex("0000");
        *row("unused 31") << type << QByteArray() << frame(31) << QByteArray() << QByteArray();
        *row("WriteDataPage") << type << QByteArray() << frame(32, 0x00, 0x00, 1) << page
                              << hex("c0c00101");
        *row("ReadDataPage") << type << QByteArray() << frame(33, 0x80, 0x00, 0) << QByteArray()
                             << blank;
    }
}

void TestProcessorTest::answers() {
    QFETCH(int, boardType);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, reply);

    Rig rig(boardType);
    prepare(rig.bench);
    if (!setup.isEmpty()) {
        rig.send(setup);
        rig.clock.advanceMs(100);
        rig.drain();
    }

    QCOMPARE(rig.exchange(frame, 1), QByteArray(1, char(ackOf(frame))));
    if (!data.isEmpty())
        rig.send(data);
    QCOMPARE(rig.receive(static_cast<int>(reply.size())), reply);
    // Nothing more than the table says, even much later.
    rig.clock.advanceMs(5000);
    QCOMPARE(rig.drain().toHex(), QByteArray());
}

void TestProcessorTest::writePortSetsMaskedBits() {
    Rig rig(0);
    rig.bench.board().port(1).latch = 0x3C;
    rig.exchange(commandFrame(0, 3, 1, 0xA5, 0x0F), 1);
    QCOMPARE(rig.bench.board().port(1).latch, quint8(0x35));
    rig.exchange(commandFrame(0, 3, 7, 0x00, 0xFF), 1); // no port 7: nothing changes
    for (int p = 0; p < 4; ++p)
        QCOMPARE(rig.bench.board().port(p).latch, quint8(p == 1 ? 0x35 : 0xFF));
}

void TestProcessorTest::writeMemoryLandsOnTheDataBus() {
    Rig rig(0);
    rig.exchange(commandFrame(0, 8, 0xFE, 0x1F, 3), 1);
    rig.send(hex("0a0b0c"));
    QCOMPARE(rig.receive(1), hex("21"));
    // 0x1FFE..0x1FFF is RAM, 0x2000 is nothing on board types 0..3.
    QCOMPARE(rig.bench.board().ram().read(0x1FFE), quint8(0x0A));
    QCOMPARE(rig.bench.board().ram().read(0x1FFF), quint8(0x0B));
    QCOMPARE(rig.exchange(commandFrame(0, 7, 0xFE, 0x1F, 3), 5).mid(1), hex("0a0bff14"));

    // The output latch at 0x7FFF takes a byte but cannot be read back.
    rig.exchange(commandFrame(0, 8, 0xFF, 0x7F, 1), 1);
    rig.send(hex("f0"));
    QCOMPARE(rig.receive(1), hex("f0"));
    QCOMPARE(rig.bench.board().outputLatch(), quint8(0xF0));
    QCOMPARE(rig.exchange(commandFrame(0, 7, 0xFF, 0x7F, 1), 3).mid(1), hex("ffff"));
}

void TestProcessorTest::pulsesAreRecordedAndEndIdle() {
    Rig rig(0);
    rig.exchange(commandFrame(0, 1, 0xE0, 0xF0), 1);
    rig.send(hex("ff7f") + hex("6400") + hex("0100") + hex("3200"));
    QCOMPARE(rig.receive(1), hex("15"));
    const sim::TestProcessor::PulseRequest& p = rig.bench.testProcessor().lastPulses();
    QCOMPARE(p.count, 1);
    QCOMPARE(p.valueA, quint8(0xE0));
    QCOMPARE(p.valueB, quint8(0xF0));
    QCOMPARE(p.words[0], quint16(0x7FFF));
    QCOMPARE(p.words[1], quint16(100));
    QCOMPARE(p.words[2], quint16(1));
    QCOMPARE(p.words[3], quint16(50));
    QCOMPARE(rig.bench.board().outputLatch(), quint8(0xF0));
}

void TestProcessorTest::memoryMapIsRecorded() {
    Rig rig(4);
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    rig.exchange(commandFrame(4, 10, 185), 1);
    rig.send(hex("0000008000c00040ffff"));
    QCOMPARE(rig.receive(1), hex("7e"));
    const sim::TestProcessor::MemoryMap& m = rig.bench.testProcessor().memoryMap();
    QCOMPARE(m.kind, quint8(185));
    QCOMPARE(m.count, 1);
    QCOMPARE(m.words, (std::array<quint16, 5>{0x0000, 0x8000, 0xC000, 0x4000, 0xFFFF}));
}

void TestProcessorTest::memoryPassFindsABadCell_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<quint16>("cell");
    QTest::addColumn<quint8>("pass");
    QTest::addColumn<QByteArray>("result");

    // Pattern 1 puts hi + lo at odd addresses: 0x1235 should hold 0x47; a bit
    // stuck at 0 (0x04) makes it read 0x43.
    QTest::newRow("type 0, pass 1") << 0 << quint16(0x1235) << quint8(1) << hex("0135124347d2");
    // Pattern 5 puts 0xAA at even addresses: 0x7F00 reads 0xAE with bit 2 stuck at 1.
    QTest::newRow("type 4, pass 5") << 4 << quint16(0x7F00) << quint8(5) << hex("01007faeaad8");
    // Pattern 2 leaves 0 at odd addresses, so the stuck-low bit there stays unseen.
    QTest::newRow("type 0, pass 2 passes")
        << 0 << quint16(0x1235) << quint8(2) << hex("000000000000");
}

void TestProcessorTest::memoryPassFindsABadCell() {
    QFETCH(int, boardType);
    QFETCH(quint16, cell);
    QFETCH(quint8, pass);
    QFETCH(QByteArray, result);

    Rig rig(boardType);
    if (boardType == 4) {
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
        rig.bench.board().ram().setCellFault(cell, 0x00, 0x04);
    } else {
        rig.bench.board().ram().setCellFault(cell, 0x04, 0x00);
    }
    rig.exchange(commandFrame(boardType, 10, 200), 1);
    rig.send(boardType == 4 ? hex("0000008000000000ffff") : hex("0000002000000000ffff"));
    rig.receive(1);
    rig.exchange(commandFrame(boardType, 11, pass), 1);
    QCOMPARE(rig.exchange(commandFrame(boardType, 12, pass), 7).mid(1), result);
}

void TestProcessorTest::bankFillAndCheck_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<quint8>("pattern");
    for (int type : {0, 4}) {
        for (quint8 p = 1; p <= 7; ++p)
            QTest::addRow("type %d pattern %d", type, p) << type << p;
    }
}

void TestProcessorTest::bankFillAndCheck() {
    QFETCH(int, boardType);
    QFETCH(quint8, pattern);
    Rig rig(boardType);
    const bool t4 = boardType == 4;
    if (t4) {
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
        rig.exchange(commandFrame(4, 3, 1, 6, 7), 1);       // fiscal memory
        rig.exchange(commandFrame(4, 3, 1, 0x20, 0x20), 1); // its bank 1 in the window
    } else {
        rig.exchange(commandFrame(0, 3, 1, 0xFF, 4), 1); // EEPROM bank 1
    }
    const QByteArray fill = commandFrame(boardType, 17, pattern, t4 ? 1 : 64);
    QCOMPARE(rig.exchange(fill, t4 ? 3 : 1).mid(1), t4 ? hex("0000") : QByteArray());
    QCOMPARE(rig.exchange(commandFrame(boardType, 14, pattern), 7).mid(1), hex("000000000000"));

    // The other bank is untouched (still blank) unless the pattern is the erase.
    sim::Memory& mem = t4 ? rig.bench.board().fiscalMemory() : rig.bench.board().dataEeprom();
    const quint32 bank = t4 ? 0x8000 : 0x4000;
    QCOMPARE(mem.read(0), quint8(0xFF));
    QCOMPARE(mem.read(bank + 0x0101), sim::expectedByte(pattern, 0x0101));
    // The window shows the bank at 0xC000 / 0x8000.
    const quint16 win = t4 ? 0x8000 : 0xC000;
    const QByteArray rd = rig.exchange(
        commandFrame(boardType, 7, quint8(win + 0x101), quint8((win + 0x101) >> 8), 1), 3);
    QCOMPARE(quint8(rd.at(1)), sim::expectedByte(pattern, 0x0101));
}

void TestProcessorTest::bankFillReportsCellsThatDoNotTake() {
    Rig rig(4);
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    rig.bench.board().dataEeprom().setCellFault(2 * 0x8000 + 0x10, 0x80, 0);
    rig.exchange(commandFrame(4, 3, 1, 7, 7), 1); // data EEPROM
    QCOMPARE(rig.exchange(commandFrame(4, 17, 7, 1), 3).mid(1), hex("0000"));
    QCOMPARE(rig.exchange(commandFrame(4, 17, 7, 2), 3).mid(1), hex("0101"));
    // No bank memory selected on port 1: the fill cannot succeed.
    rig.exchange(commandFrame(4, 3, 1, 5, 7), 1);
    QCOMPARE(rig.exchange(commandFrame(4, 17, 7, 0), 3).mid(1), hex("0101"));
    // The check of bank 2 names the cell, the byte read and the byte expected.
    rig.exchange(commandFrame(4, 3, 1, 0x47, 0x67), 1);
    QCOMPARE(rig.exchange(commandFrame(4, 14, 7), 7).mid(1), hex("0110007fff8f"));
}

void TestProcessorTest::romSumsMatchTheStoredChecksum_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<bool>("withFile");
    QTest::newRow("type 0 without file") << 0 << false;
    QTest::newRow("type 0 with file") << 0 << true;
    QTest::newRow("type 4 with the saved controller software") << 4 << true;
}

// The workstation's ROM test, done by hand against the sums the peer gives.
void TestProcessorTest::romSumsMatchTheStoredChecksum() {
    QFETCH(int, boardType);
    QFETCH(bool, withFile);
    Rig rig(boardType);
    const bool t4 = boardType == 4;
    quint16 fileSum = 0;
    if (t4) {
        // The .cpu file is what DD5 held before the test program came.
        for (quint8 b :
             sim::Dd5Controller::cashSoftwareImage(sim::Dd5Controller::defaultIdentity()))
            fileSum = quint16(fileSum + b);
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    } else {
        // The controller program file of the version the board carries.
        fileSum =
            sim::byteSum16(sim::controllerProgramImage(QLatin1String(sim::DefaultSoftwareVersion)));
    }
    auto half = [&](int h) {
        if (t4)
            rig.exchange(commandFrame(4, 3, 3, h ? 4 : 0, 4), 1);
        else
            rig.exchange(commandFrame(boardType, 3, 1, h ? 1 : 0, 1), 1);
    };
    bool complete = true;
    auto check = [&](const QByteArray& frame) {
        const QByteArray r = rig.exchange(frame, 7);
        complete = complete && r.size() == 7;
        return r.size() == 7 ? r.mid(1) : QByteArray(6, 0);
    };
    auto u8 = [](const QByteArray& r, int i) { return quint16(quint8(r.at(i))); };
    auto romTest = [&](quint16& computed, quint16& stored) {
        if (withFile) {
            const quint8 code = t4 ? 27 : 25;
            half(0);
            QByteArray r = check(commandFrame(boardType, code, fileSum >> 8, fileSum & 0xFF));
            const quint16 work = quint16(u8(r, 1) | (u8(r, 2) << 8)) + u8(r, 3) + u8(r, 4);
            half(1);
            r = check(commandFrame(boardType, code, work >> 8, work & 0xFF));
            computed = quint16(u8(r, 1) | (u8(r, 2) << 8));
            stored = quint16((u8(r, 3) << 8) | u8(r, 4));
        } else {
            half(0);
            QByteArray r = check(commandFrame(boardType, 15, 0x20, 0x00));
            computed = quint16(u8(r, 1) | (u8(r, 2) << 8)) + u8(r, 4) * 256 + u8(r, 3);
            half(1);
            r = check(commandFrame(boardType, 15, 0x20, 0x00));
            computed = quint16(computed + (u8(r, 1) | (u8(r, 2) << 8)));
            stored = quint16((u8(r, 3) << 8) | u8(r, 4));
        }
    };

    quint16 computed = 0;
    quint16 stored = 1;
    romTest(computed, stored);
    QVERIFY(complete);
    QCOMPARE(computed, stored);

    // One flipped ROM bit in the summed range breaks it.
    sim::Memory& rom = rig.bench.board().programMemory();
    const quint32 cell = 0x10000 + (withFile ? 0x3456 : 0x1234);
    rom.write(cell, quint8(rom.read(cell) ^ 0x10));
    romTest(computed, stored);
    QVERIFY(complete);
    QVERIFY(computed != stored);
}

void TestProcessorTest::pageWriteWithBadSumWritesNothing() {
    Rig rig(4);
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const QByteArray page = pageBytes();
    const sim::Memory& pm = rig.bench.board().programMemory();
    const QByteArray before(reinterpret_cast<const char*>(pm.data()) + 0x11280, 128);

    rig.exchange(commandFrame(4, 28, 0x80, 0x12, 1), 1);
    rig.send(page + char(0xC1)); // the PC's sum byte is wrong
    QCOMPARE(rig.receive(4), hex("c0c00000"));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(pm.data()) + 0x11280, 128), before);

    rig.exchange(commandFrame(4, 28, 0x80, 0x12, 1), 1);
    rig.send(page + char(0xC0));
    QCOMPARE(rig.receive(4), hex("c0c00101"));
    const QByteArray read = commandFrame(4, 29, 0x80, 0x12, 1);
    QCOMPARE(rig.exchange(read, 130), char(ackOf(read)) + page + char(0xC0));
}

void TestProcessorTest::memoryCheckResultComesLater() {
    Rig rig(1);
    rig.bench.board().fiscalMemory().write(0x8001, 0x00);
    QCOMPARE(rig.exchange(commandFrame(1, 22, 0x00, 0x80, 7), 1).size(), 1);
    // Polled early with short time-outs: nothing yet.
    kia::SerialTimeouts quick;
    quick.readTotalConstant = 100;
    rig.line.setTimeouts(quick);
    QCOMPARE(rig.receive(4), QByteArray());
    // A frame in between is answered at once; the result still comes after it.
    rig.line.setTimeouts(standardTimeouts());
    QCOMPARE(rig.exchange(commandFrame(1, 2, 0), 3),
             char(ackOf(commandFrame(1, 2, 0))) + hex("ffff"));
    QCOMPARE(rig.receive(4), hex("01018082"));
    // A check from past the bad cell passes.
    rig.exchange(commandFrame(1, 22, 0x02, 0x80, 7), 1);
    QCOMPARE(rig.receive(4), hex("00000000"));
}

void TestProcessorTest::clockRollsOverNewYear_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QByteArray>("setTime");
    QTest::addColumn<QByteArray>("mask");
    QTest::addColumn<QByteArray>("expected");
    // The timer test: set 23:59:59 on 31 December, wait 3.1 s, read 7 registers.
    QTest::newRow("PCF8583, types 0..3")
        << 0 << hex("00005959233112") << hex("000000ffffffff") << hex("00000000004121");
    QTest::newRow("DS1307, type 4")
        << 4 << hex("59592307311200") << hex("00ffff00ffffff") << hex("00000000010101");
}

void TestProcessorTest::clockRollsOverNewYear() {
    QFETCH(int, boardType);
    QFETCH(QByteArray, setTime);
    QFETCH(QByteArray, mask);
    QFETCH(QByteArray, expected);
    Rig rig(boardType);
    const bool t4 = boardType == 4;
    if (t4)
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    rig.exchange(commandFrame(boardType, 16, 1, 0x20, t4 ? 0xD0 : 0xA0) +
                     (t4 ? hex("01100108") : QByteArray()),
                 t4 ? 2 : 1);
    for (int i = 0; i < 2; ++i) {
        rig.exchange(commandFrame(boardType, 18, 0, 0, 7), 1);
        for (char c : setTime) { // one byte at a time, 15 ms apart
            rig.send(QByteArray(1, c));
            rig.clock.advanceMs(15);
        }
        rig.receive(t4 ? 1 : 3);
    }
    rig.clock.advanceMs(3100);
    const QByteArray r = rig.exchange(commandFrame(boardType, 20, 0, 0, 7), 9).mid(1, 7);
    QCOMPARE(r.size(), 7);
    QByteArray masked;
    for (int i = 0; i < 7; ++i)
        masked.append(char(r.at(i) & mask.at(i)));
    QCOMPARE(masked.toHex(), expected.toHex());

    // Pattern 5 stops either clock (0xAA in register 0); the bytes read back
    // as the chip keeps them: every bit on the PCF8583, the implemented bits
    // of the DS1307's time and control registers.
    QByteArray fill;
    for (int i = 0; i < 18; ++i)
        fill.append(char(i % 2 ? 0x55 : 0xAA));
    rig.exchange(commandFrame(boardType, 18, 0, 0, 18), 1);
    rig.send(fill);
    rig.receive(t4 ? 1 : 3);
    rig.clock.advanceMs(2500);
    const QByteArray kept = t4 ? hex("aa552a052a15aa11aa55aa55aa55aa55aa55") : fill;
    QCOMPARE(rig.exchange(commandFrame(boardType, 20, 0, 0, 18), 20).mid(1, 18).toHex(),
             kept.toHex());
}

void TestProcessorTest::missingI2cChipDoesNotAcknowledge() {
    Rig rig(0);
    rig.exchange(commandFrame(0, 16, 2, 0x20, 0xA6), 1); // nothing at 0xA6
    rig.exchange(commandFrame(0, 18, 0, 0, 1), 1);
    rig.send(hex("ff"));
    QCOMPARE(rig.receive(3), hex("ff0101"));
    QCOMPARE(rig.exchange(commandFrame(0, 20, 0, 0, 2), 4).mid(1), hex("fffffe"));
    QCOMPARE(rig.exchange(commandFrame(0, 21, 1, 0x34, 0x12), 5).mid(1), hex("01341247"));
}

QTEST_GUILESS_MAIN(TestProcessorTest)
#include "tst_testprocessor.moc"
