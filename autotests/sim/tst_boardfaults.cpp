// Board faults: their script lines, what the port wiring makes of stuck,
// open and shorted lines, and the faults of the chips.

#include "simtestutil.h"

#include "sim/boardfault.h"
#include "sim/boardmodel.h"
#include "sim/controllerprogram.h"
#include "sim/faultinjector.h"
#include "sim/faultscript.h"

#include <QTest>

using namespace simtest;
using sim::BoardFault;

Q_DECLARE_METATYPE(sim::BoardFault)

class BoardFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void scriptLines_data();
    void scriptLines();
    void badScriptLines_data();
    void badScriptLines();
    void faultsThatDoNotFitTheBoard_data();
    void faultsThatDoNotFitTheBoard();
    void linkAndBoardFaultsInOneScript();
    void portWiring_data();
    void portWiring();
    void readStrobeLetsTheBusDrivePort0_data();
    void readStrobeLetsTheBusDrivePort0();
    void selectionsFollowTheBoardSide();
    void ppiLinesShowInEitherDirection();
    void clockFaults();
    void faultsSurviveANewBoardAndDd5State();
    void romBytesComeBack();
};

void BoardFaultsTest::scriptLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<BoardFault>("fault");
    QTest::newRow("port-low") << "port-low 2.3" << BoardFault::portStuckLow(2, 3);
    QTest::newRow("port-high") << "port-high 0.0" << BoardFault::portStuckHigh(0, 0);
    QTest::newRow("port-open") << "port-open 3.7" << BoardFault::portOpen(3, 7);
    QTest::newRow("port-short") << "port-short 1.2 2.1" << BoardFault::portShort(1, 2, 2, 1);
    QTest::newRow("ram-cell, reads 0 by default")
        << "ram-cell addr=0x1235" << BoardFault::ramCell(0x1235, 0xFF);
    QTest::newRow("ram-cell, both")
        << "ram-cell addr=4660 low=0x0f high=0x10" << BoardFault::ramCell(0x1234, 0x0F, 0x10);
    QTest::newRow("ram-cell, only high")
        << "ram-cell high=0x80 addr=0x10" << BoardFault::ramCell(0x10, 0, 0x80);
    QTest::newRow("flash-cell") << "flash-cell bank=3 addr=0x7FFF low=1"
                                << BoardFault::bankCell(3, 0x7FFF, 0x01);
    QTest::newRow("eeprom-cell") << "eeprom-cell addr=0x0201 high=0xFF"
                                 << BoardFault::serialEepromCell(0x0201, 0, 0xFF);
    QTest::newRow("clock-reg") << "clock-reg reg=8 low=0x01" << BoardFault::clockRegister(8, 0x01);
    QTest::newRow("rom-sum") << "rom-sum" << BoardFault::romStoredSum();
    QTest::newRow("rom-byte, default flip")
        << "rom-byte half=1 addr=0x2000" << BoardFault::romByte(1, 0x2000);
    QTest::newRow("rom-byte, xor")
        << "rom-byte addr=0x10 half=0 xor=0x81" << BoardFault::romByte(0, 0x10, 0x81);
    QTest::newRow("clock-stopped") << "clock-stopped" << BoardFault::clockStopped();
    QTest::newRow("clock-silent") << "clock-silent" << BoardFault::clockSilent();
    QTest::newRow("eeprom-silent") << "eeprom-silent" << BoardFault::serialEepromSilent();
    QTest::newRow("fp-dirty") << "fp-dirty addr=0x9123" << BoardFault::fiscalNotBlank(0x9123);
    QTest::newRow("fp-dirty value")
        << "fp-dirty addr=0 value=0x7E" << BoardFault::fiscalNotBlank(0, 0x7E);
    QTest::newRow("fp-nowrite") << "fp-nowrite addr=0x0100" << BoardFault::fiscalNoWrite(0x0100);
    QTest::newRow("ppi-low") << "ppi-low B.4" << BoardFault::ppiStuck(1, 4, false);
    QTest::newRow("ppi-high, lower case") << "ppi-high c.0" << BoardFault::ppiStuck(2, 0, true);
    QTest::newRow("circuit-low") << "circuit-low X3/9" << BoardFault::circuitStuck(QStringLiteral("X3/9"), false);
    QTest::newRow("circuit-high") << "circuit-high X6/1" << BoardFault::circuitStuck(QStringLiteral("X6/1"), true);
    QTest::newRow("circuit-open") << "circuit-open X5/1" << BoardFault::circuitOpen(QStringLiteral("X5/1"));
    QTest::newRow("circuit-coupled")
        << "circuit-coupled X5/1 X3/9" << BoardFault::circuitCoupled(QStringLiteral("X5/1"), QStringLiteral("X3/9"));
    QTest::newRow("pin-short") << "pin-short DD3/21 X3/9"
                               << BoardFault::pinShorted(QStringLiteral("DD3/21"), QStringLiteral("X3/9"));
    QTest::newRow("pulse-split") << "pulse-split X6/6" << BoardFault::pulseSplit(QStringLiteral("X6/6"));
    QTest::newRow("probe-broken") << "probe-broken" << BoardFault::probeBroken();
    QTest::newRow("select-dead") << "select-dead out=4" << BoardFault::selectDead(4);
}

void BoardFaultsTest::scriptLines() {
    QFETCH(QString, line);
    QFETCH(BoardFault, fault);
    sim::FaultScript::Contents c;
    QString error = QStringLiteral("not cleared");
    QVERIFY(sim::FaultScript::read(QStringLiteral("# a board\n\n") + line, &c, &error));
    QCOMPARE(error, QString());
    QVERIFY(c.rules.isEmpty());
    QCOMPARE(c.board.faults.size(), 1);
    QCOMPARE(c.board.faults.first(), fault);
    QCOMPARE(c.board.faultLines.first(), 3);
    // The name a fault gives itself reads back as the same fault.
    QVERIFY(sim::FaultScript::read(fault.scriptLine(), &c, &error));
    QCOMPARE(c.board.faults.first(), fault);
}

void BoardFaultsTest::badScriptLines_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("error");
    QTest::newRow("no line") << "port-low"
                             << "Строка 1: для \"port-low\" нужно линий: 1 (P.B, например 2.3).";
    QTest::newRow("short with one line")
        << "port-short 2.1"
        << "Строка 1: для \"port-short\" нужно линий: 2 (P.B, например 2.3).";
    QTest::newRow("port 4") << "\nport-high 4.0"
                            << "Строка 2: неверная линия \"4.0\" (нужно P.B, например 2.3).";
    QTest::newRow("bit 8") << "port-open 1.8"
                           << "Строка 1: неверная линия \"1.8\" (нужно P.B, например 2.3).";
    QTest::newRow("serial line") << "port-low 3.0"
                                 << "Строка 1: линия 3.0 — линия связи с ПК, ее неисправность не "
                                    "моделируется.";
    QTest::newRow("short to itself") << "port-short 2.2 2.2"
                                     << "Строка 1: линия 2.2 не может быть замкнута сама на себя.";
    QTest::newRow("cell without address") << "ram-cell low=1"
                                          << "Строка 1: для \"ram-cell\" нужен параметр addr=N.";
    QTest::newRow("flash-cell without bank")
        << "flash-cell addr=1"
        << "Строка 1: для \"flash-cell\" нужен параметр bank=N.";
    QTest::newRow("foreign parameter")
        << "fp-nowrite addr=1 low=2"
        << "Строка 1: параметр \"low\" не относится к неисправности \"fp-nowrite\".";
    QTest::newRow("twice") << "ram-cell addr=1 addr=2"
                           << "Строка 1: параметр \"addr\" задан дважды.";
    QTest::newRow("mask too big") << "eeprom-cell addr=1 low=0x100"
                                  << "Строка 1: неверное значение \"0x100\" параметра \"low\" "
                                     "(допустимо 0..255).";
    QTest::newRow("address not a number") << "fp-dirty addr=x"
                                          << "Строка 1: неверное значение \"x\" параметра \"addr\" "
                                             "(допустимо 0..65535).";
    QTest::newRow("blank value") << "fp-dirty addr=1 value=0xFF"
                                 << "Строка 1: значение 0xFF — чистая ячейка.";
    QTest::newRow("xor 0") << "rom-byte half=0 addr=1 xor=0"
                           << "Строка 1: xor=0 не меняет байт.";
    QTest::newRow("half 2") << "rom-byte half=2 addr=1"
                            << "Строка 1: половина ПЗУ 2 вне 0..1.";
    QTest::newRow("word after a plain fault") << "clock-stopped now"
                                              << "Строка 1: неизвестный параметр \"now\".";
    QTest::newRow("ppi port D") << "ppi-low D.1"
                                << "Строка 1: неверная линия \"D.1\" (нужно L.B, например B.5).";
    QTest::newRow("unknown version")
        << "rom-version 9.99"
        << "Строка 1: неизвестная версия ПО \"9.99\" (есть 2.10, 2.20, 3.01).";
    QTest::newRow("register speed not one of four")
        << "register-speed 38400"
        << "Строка 1: скорость кассы \"38400\" не из 9600, 19200, 57600, 115200.";
    QTest::newRow("register speed missing")
        << "register-speed"
        << "Строка 1: для \"register-speed\" нужна скорость: 9600, 19200, 57600 или 115200.";
    QTest::newRow("read-flip of an unknown memory")
        << "read-flip ram addr=1"
        << "Строка 1: неизвестная память \"ram\" (есть fp, eeprom, program, dd5, register).";
    QTest::newRow("read-flip without address") << "read-flip dd5"
                                               << "Строка 1: для \"read-flip\" нужен параметр addr=N.";
    QTest::newRow("register cable with a value")
        << "register-cable 1" << "Строка 1: неизвестный параметр \"1\".";
    QTest::newRow("version missing")
        << "rom-version"
        << "Строка 1: для \"rom-version\" нужна версия, например rom-version 2.10.";
    QTest::newRow("coupled to nothing")
        << "circuit-coupled X5/1"
        << "Строка 1: для \"circuit-coupled\" нужно контрольных точек: 2 (например X5/1).";
    QTest::newRow("link parameter on a board fault")
        << "clock-silent cmd=16"
        << "Строка 1: параметр \"cmd\" не относится к неисправности "
           "\"clock-silent\".";
}

void BoardFaultsTest::badScriptLines() {
    QFETCH(QString, script);
    QFETCH(QString, error);
    sim::FaultScript::Contents c;
    c.rules.append(sim::Fault::silence());
    QString message;
    QVERIFY(!sim::FaultScript::read(script, &c, &message));
    QCOMPARE(message, error);
    QVERIFY(c.rules.isEmpty());
    QVERIFY(c.board.faults.isEmpty());
}

void BoardFaultsTest::faultsThatDoNotFitTheBoard_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason");
    QTest::newRow("RAM of type 0") << 0 << "ram-cell addr=0x2000"
                                   << "адрес ОЗУ 0x2000 вне 0..0x1FFF";
    QTest::newRow("bank 2 of type 1") << 1 << "flash-cell bank=2 addr=0"
                                      << "банк 2 вне 0..1";
    QTest::newRow("bank size of type 3") << 3 << "flash-cell bank=1 addr=0x4000"
                                         << "адрес в банке 0x4000 вне 0..0x3FFF";
    QTest::newRow("DS1307 has 64 registers") << 4 << "clock-reg reg=64"
                                             << "регистр 64 вне 0..63";
    QTest::newRow("no PPI on type 4") << 4 << "ppi-high A.0"
                                      << "на плате типа 4 нет ППИ";
    QTest::newRow("no such circuit output") << 4 << "circuit-low X6/14"
                                            << "на плате типа 4 нет выхода цепи \"X6/14\"";
    QTest::newRow("no such pin") << 0 << "pin-short DD5/18 X3/9"
                                 << "на плате типа 0 нет вывода \"DD5/18\"";
    QTest::newRow("coupled to itself") << 1 << "circuit-coupled X5/1 X5/1"
                                       << "цепь \"X5/1\" не может быть связана сама с собой";
    QTest::newRow("read-flip xor 0") << 4 << "read-flip fp addr=1 xor=0" << "xor=0 не меняет байт";
    QTest::newRow("read-flip beyond DD5") << 4 << "read-flip dd5 addr=0x2000"
                                          << "адрес 0x2000 вне 0..0x1FFF";
    QTest::newRow("read-flip on type 0") << 0 << "read-flip fp addr=1"
                                         << "read-flip моделируется только на плате типа 4";
}

void BoardFaultsTest::faultsThatDoNotFitTheBoard() {
    QFETCH(int, boardType);
    QFETCH(QString, line);
    QFETCH(QString, reason);
    Rig rig(boardType);
    QString error;
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence cmd=7\nport-low 2.0\n"), &error));
    QVERIFY(!rig.bench.loadFaultScript(QStringLiteral("port-low 2.1\n") + line, &error));
    QCOMPARE(error, QStringLiteral("Строка 2: ") + reason + QLatin1Char('.'));
    // Nothing changed.
    QCOMPARE(rig.bench.boardFaults(), QList<BoardFault>{BoardFault::portStuckLow(2, 0)});
    QCOMPARE(rig.bench.faults().ruleCount(), 1);

    sim::FaultScript::Contents c;
    QVERIFY(sim::FaultScript::read(line, &c, &error));
    QVERIFY(!rig.bench.addBoardFault(c.board.faults.first(), &error));
    QCOMPARE(error, reason);
    QCOMPARE(rig.bench.boardFaults().size(), 1);
}

void BoardFaultsTest::linkAndBoardFaultsInOneScript() {
    Rig rig(0);
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(
                 QStringLiteral("# the bus\r\nport-low 2.3   # a short to ground\r\n"
                                "silence cmd=2 once\r\n"
                                "older-revision\r\nrom-version 3.01\r\n"),
                 &error),
             qPrintable(error));
    QCOMPARE(rig.bench.faults().ruleCount(), 1);
    QCOMPARE(rig.bench.boardFaults(), QList<BoardFault>{BoardFault::portStuckLow(2, 3)});
    QVERIFY(rig.bench.isOlderRevision());
    QCOMPARE(rig.bench.romVersion(), QStringLiteral("3.01"));
    const QByteArray read2 = commandFrame(0, 2, 2);
    QCOMPARE(rig.exchange(read2, 3), QByteArray()); // the link rule
    QCOMPARE(rig.exchange(read2, 3).mid(1), hex("f7f7"));
    QCOMPARE(rig.exchange(commandFrame(0, 2, 3), 3).mid(1), hex("f3f3")); // bits 2 and 3 held low

    // A script without board lines means a sound board of the current revision.
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence cmd=30"), &error));
    QVERIFY(rig.bench.boardFaults().isEmpty());
    QVERIFY(!rig.bench.isOlderRevision());
    QCOMPARE(rig.bench.romVersion(), QLatin1String(sim::DefaultSoftwareVersion));
    QCOMPARE(rig.exchange(read2, 3).mid(1), hex("ffff"));
}

void BoardFaultsTest::portWiring_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QList<BoardFault>>("faults");
    QTest::addColumn<QByteArray>("latches"); // ports 0..3
    QTest::addColumn<QByteArray>("pins");    // what the processor reads
    QTest::addColumn<QByteArray>("board");   // what the board sees

    const QList<BoardFault> none;
    QTest::newRow("type 0: inputs hold 1.6 and 3.3 low")
        << 0 << none << hex("ffffffff") << hex("ffbffff7") << hex("ffbffff7");
    QTest::newRow("type 4: input holds 3.3 low")
        << 4 << none << hex("ffffffff") << hex("fffffff7") << hex("fffffff7");
    QTest::newRow("stuck low and high")
        << 0 << QList<BoardFault>{BoardFault::portStuckLow(0, 1), BoardFault::portStuckHigh(2, 7)}
        << hex("ff007f00") << hex("fd00ff00") << hex("fd00ff00");
    // A cut line: port 0 floats low at the pin, the others read their latch;
    // the board side floats high.
    QTest::newRow("open lines") << 4
                                << QList<BoardFault>{BoardFault::portOpen(0, 2),
                                                     BoardFault::portOpen(2, 0),
                                                     BoardFault::portOpen(2, 1)}
                                << hex("fffffeff") << hex("fbfffef7") << hex("fffffff7");
    QTest::newRow("open line keeps the board's own pull-down")
        << 0 << QList<BoardFault>{BoardFault::portOpen(1, 6)} << hex("ffffffff") << hex("fffffff7")
        << hex("ffbffff7");
    QTest::newRow("a low line pulls its partner")
        << 4 << QList<BoardFault>{BoardFault::portShort(0, 0, 1, 7)} << hex("feffffff")
        << hex("fe7ffff7") << hex("fe7ffff7");
    QTest::newRow("through a chain")
        << 4
        << QList<BoardFault>{BoardFault::portShort(2, 0, 2, 1), BoardFault::portShort(2, 1, 2, 2)}
        << hex("fffffeff") << hex("fffff8f7") << hex("fffff8f7");
    QTest::newRow("short to a stuck line")
        << 4 << QList<BoardFault>{BoardFault::portShort(1, 0, 1, 1), BoardFault::portStuckLow(1, 1)}
        << hex("ffffffff") << hex("fffcfff7") << hex("fffcfff7");
}

void BoardFaultsTest::portWiring() {
    QFETCH(int, boardType);
    QFETCH(QList<BoardFault>, faults);
    QFETCH(QByteArray, latches);
    QFETCH(QByteArray, pins);
    QFETCH(QByteArray, board);
    sim::VirtualClock clock;
    sim::Bench bench(boardType, clock);
    for (const BoardFault& f : faults)
        QVERIFY(bench.addBoardFault(f));
    sim::BoardModel& b = bench.board();
    for (int p = 0; p < 4; ++p)
        b.port(p).latch = static_cast<quint8>(latches.at(p));
    QByteArray readPins;
    QByteArray readBoard;
    for (int p = 0; p < 4; ++p) {
        readPins.append(char(b.readPort(p)));
        readBoard.append(char(b.boardLevel(p)));
    }
    QCOMPARE(readPins.toHex(), pins.toHex());
    QCOMPARE(readBoard.toHex(), board.toHex());
}

void BoardFaultsTest::readStrobeLetsTheBusDrivePort0_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<quint8>("port1");
    QTest::addColumn<quint8>("port0");
    // Address 0xFFFF: the last cell of the bank window (28С256 bank 1 on
    // types 0..3 when enabled by port 1 bit 5, data EEPROM bank 3 on type 4
    // with window 7).
    QTest::newRow("type 0, EEPROM enabled") << 0 << quint8(0xDF) << quint8(0x5A);
    QTest::newRow("type 0, EEPROM not enabled") << 0 << quint8(0xFF) << quint8(0xFF);
    QTest::newRow("type 4, EEPROM window") << 4 << quint8(0xFF) << quint8(0x5A);
    QTest::newRow("type 4, empty window") << 4 << quint8(0xFD) << quint8(0xFF);
}

void BoardFaultsTest::readStrobeLetsTheBusDrivePort0() {
    QFETCH(int, boardType);
    QFETCH(quint8, port1);
    QFETCH(quint8, port0);
    Rig rig(boardType);
    if (boardType == 4)
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    rig.bench.board().dataEeprom().write(rig.bench.board().dataEeprom().size() - 1, 0x5A);
    rig.exchange(commandFrame(boardType, 3, 1, port1, 0xFF), 1);
    rig.exchange(commandFrame(boardType, 3, 3, 0x7F, 0x80), 1); // the strobe low
    QCOMPARE(rig.exchange(commandFrame(boardType, 2, 0), 3).mid(1), QByteArray(2, char(port0)));
    rig.exchange(commandFrame(boardType, 3, 3, 0x80, 0x80), 1);
    QCOMPARE(rig.exchange(commandFrame(boardType, 2, 0), 3).mid(1), hex("ffff"));
}

void BoardFaultsTest::selectionsFollowTheBoardSide() {
    sim::VirtualClock clock;
    sim::Bench bench(0, clock);
    sim::BoardModel& b = bench.board();
    b.writePort(1, 0x00, 0x05);
    QCOMPARE(b.romHalf(), 0);
    QCOMPARE(b.selectedBank(), 0);
    QVERIFY(bench.addBoardFault(BoardFault::portStuckHigh(1, 0)));
    QVERIFY(bench.addBoardFault(BoardFault::portOpen(1, 2)));
    QCOMPARE(b.romHalf(), 1);
    QCOMPARE(b.selectedBank(), 1); // the cut bank line floats high
    QCOMPARE(b.readPort(1) & 0x05, 0x01);
}

void BoardFaultsTest::ppiLinesShowInEitherDirection() {
    sim::VirtualClock clock;
    sim::Bench bench(2, clock);
    QVERIFY(bench.addBoardFault(BoardFault::ppiStuck(0, 7, false)));
    QVERIFY(bench.addBoardFault(BoardFault::ppiStuck(2, 1, true)));
    sim::Ppi& ppi = bench.board().ppi();
    ppi.write(3, 0x80); // all outputs
    ppi.write(0, 0xFF);
    ppi.write(2, 0x00);
    QCOMPARE(ppi.read(0), quint8(0x7F));
    QCOMPARE(ppi.read(2), quint8(0x02));
    ppi.write(3, 0x9B); // all inputs
    QCOMPARE(ppi.read(0), quint8(0x7F));
    bench.clearBoardFaults();
    QCOMPARE(ppi.read(0), quint8(0xFF));
}

void BoardFaultsTest::clockFaults() {
    sim::VirtualClock clock;
    sim::Bench bench(0, clock);
    sim::RtcChip& rtc = bench.board().rtc();
    const quint8 seconds = rtc.read(2, clock.nowUs());
    QVERIFY(bench.addBoardFault(BoardFault::clockStopped()));
    QVERIFY(bench.addBoardFault(BoardFault::clockRegister(16, 0x0F, 0x80)));
    clock.advanceMs(5000);
    QCOMPARE(rtc.read(2, clock.nowUs()), seconds);
    rtc.write(16, 0x3C, clock.nowUs());
    QCOMPARE(rtc.read(16, clock.nowUs()), quint8(0xB0));
    QVERIFY(bench.addBoardFault(BoardFault::clockSilent()));
    QCOMPARE(bench.board().i2c().device(0xA0), nullptr);

    bench.clearBoardFaults();
    QCOMPARE(bench.board().i2c().device(0xA0), &rtc);
    QCOMPARE(rtc.read(16, clock.nowUs()), quint8(0x3C));
    clock.advanceMs(5000);
    QVERIFY(rtc.read(2, clock.nowUs()) != seconds);
}

void BoardFaultsTest::faultsSurviveANewBoardAndDd5State() {
    sim::VirtualClock clock;
    sim::Bench bench(0, clock);
    QVERIFY(bench.addBoardFault(BoardFault::ramCell(0x100, 0xFF)));
    QVERIFY(bench.addBoardFault(BoardFault::serialEepromSilent()));
    bench.setBoardType(4);
    QCOMPARE(bench.board().ram().read(0x100), quint8(0x00));
    bench.board().ram().write(0x100, 0x55);
    QCOMPARE(bench.board().ram().read(0x100), quint8(0x00));
    QCOMPARE(bench.board().i2c().device(0xA2), nullptr);
    bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    bench.board().ram().write(0x100, 0x55);
    QCOMPARE(bench.board().ram().read(0x100), quint8(0x00));
    QCOMPARE(bench.board().i2c().device(0xA2), nullptr);
}

void BoardFaultsTest::romBytesComeBack() {
    sim::VirtualClock clock;
    sim::Bench bench(1, clock);
    const sim::Memory& rom = bench.board().programMemory();
    const QByteArray before(reinterpret_cast<const char*>(rom.data()), rom.size());
    QVERIFY(bench.addBoardFault(BoardFault::romStoredSum()));
    QVERIFY(bench.addBoardFault(BoardFault::romByte(0, 0x3456, 0xF0)));
    QVERIFY(bench.addBoardFault(BoardFault::romByte(0, 0x3456, 0x0F)));
    QCOMPARE(rom.read(0x3456), quint8(~quint8(before.at(0x3456))));
    QCOMPARE(rom.read(0x1FFFF), quint8(quint8(before.at(0x1FFFF)) ^ 1));
    // Another version reseals the sums; the faults stay on top.
    QVERIFY(bench.setRomVersion(QStringLiteral("2.10")));
    QVERIFY(!bench.setRomVersion(QStringLiteral("2.11")));
    QCOMPARE(bench.romVersion(), QStringLiteral("2.10"));
    QCOMPARE(rom.read(0x3456), quint8(~quint8(before.at(0x3456))));
    QVERIFY(bench.setRomVersion(QLatin1String(sim::DefaultSoftwareVersion)));
    bench.clearBoardFaults();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(rom.data()), rom.size()), before);
}

QTEST_GUILESS_MAIN(BoardFaultsTest)
#include "tst_boardfaults.moc"
