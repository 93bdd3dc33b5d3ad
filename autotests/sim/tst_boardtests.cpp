// The whole board under the board tests: a fault-free board passes every
// test on every board type, and each board fault fails the test that looks
// at it, at the step and address where the test gets there, while every other
// test still passes.

#include "boardwalk.h"

#include "sim/boardfault.h"
#include "sim/boardmodel.h"
#include "sim/controllerprogram.h"

#include <QElapsedTimer>
#include <QTest>

using namespace simtest;

namespace {

QList<BoardTest> testsOf(int boardType) {
    QList<BoardTest> tests = {BoardTest::Bus, BoardTest::Ram, BoardTest::Rom};
    if (boardType != 4)
        tests << BoardTest::RomNoFile;
    tests << BoardTest::Timer << BoardTest::Flash << BoardTest::Flash2 << BoardTest::FpBlank;
    if (boardType != 4)
        tests << BoardTest::Ppi;
    return tests << BoardTest::FpWrite;
}

// What a fault must do to the test it is about.
struct Expect {
    int step = -1;
    int kind = -1;       ///< display kind, or -1
    qint64 address = -1; ///< failing address, or -1 when not a memory check
    int bad = 1;         ///< bad cells in the displayed block
    quint32 diff = 0;    ///< bus and PPI: the lines that differ
    int timerKind = -1;
};

} // namespace

Q_DECLARE_METATYPE(BoardTest)
Q_DECLARE_METATYPE(Expect)

class BoardTestsTest : public QObject {
    Q_OBJECT

private slots:
    void faultFreeBoardPasses_data();
    void faultFreeBoardPasses();
    void faultFailsItsTest_data();
    void faultFailsItsTest();
    void otherVersionsFailTheRomSum_data();
    void otherVersionsFailTheRomSum();
    void fiscalCheckGoesOnBehindTheBadBlock();
    void busWalkWithDataAtTheTopOfTheEeprom();
    void faultsComeOffAgain();
    void batteryIsFast();
};

void BoardTestsTest::faultFreeBoardPasses_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<bool>("older");
    QTest::addColumn<BoardTest>("test");
    QTest::addColumn<int>("steps");
    for (int type = 0; type <= 4; ++type) {
        for (BoardTest t : testsOf(type)) {
            int steps = 0;
            switch (t) {
            case BoardTest::Bus:
                steps = type == 4 ? 33 : 32;
                break;
            case BoardTest::Ram:
                steps = 7;
                break;
            case BoardTest::Rom:
                steps = 3;
                break;
            case BoardTest::RomNoFile:
                steps = 2;
                break;
            case BoardTest::Timer:
                steps = 4;
                break;
            case BoardTest::Flash:
                steps = type == 4 ? 56 : 28;
                break;
            case BoardTest::Flash2:
                steps = 7;
                break;
            case BoardTest::FpBlank:
                steps = 2; // types 0..3 stop polling once the result is in
                break;
            case BoardTest::FpWrite:
                steps = type == 4 ? 28 : 32 + 2;
                break;
            case BoardTest::Ppi:
                steps = 26;
                break;
            }
            QTest::addRow("type %d %s", type, qPrintable(testName(t)))
                << type << false << t << steps;
        }
        if (type != 4)
            QTest::addRow("type %d bus, older revision", type)
                << type << true << BoardTest::Bus << 31;
    }
}

void BoardTestsTest::faultFreeBoardPasses() {
    QFETCH(int, boardType);
    QFETCH(bool, older);
    QFETCH(BoardTest, test);
    QFETCH(int, steps);
    BoardRig rig(boardType);
    rig.bench.setOlderRevision(older);
    const Outcome o = rig.run(test);
    QVERIFY2(o.passed(), qPrintable(o.describe()));
    QCOMPARE(o.steps, steps);
    QCOMPARE(int(rig.ctx.boardRevision), older ? 1 : 0);
}

void BoardTestsTest::faultFailsItsTest_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<BoardTest>("test");
    QTest::addColumn<Expect>("expect");

    auto row = [](int type, const char* script, QStringList failing, BoardTest t, Expect e) {
        QTest::addRow("type %d: %s", type, script)
            << type << QString::fromLatin1(script) << failing << t << e;
    };
    auto bus = [](int step, quint32 diff) {
        Expect e;
        e.step = step;
        e.diff = diff;
        return e;
    };
    auto cell = [](int step, int kind, qint64 address, int bad = 1) {
        Expect e;
        e.step = step;
        e.kind = kind;
        e.address = address;
        e.bad = bad;
        return e;
    };
    auto timer = [](int step, int kind) { // also: any failure known by its step alone
        Expect e;
        e.step = step;
        e.timerKind = kind;
        return e;
    };
    const QStringList busOnly{QStringLiteral("bus")};

    for (int type = 0; type <= 4; ++type) {
        const bool t4 = type == 4;
        // The walk: a stuck line shows at once or when the zero reaches it;
        // a short when the zero walks on one of the pair.
        row(type, "port-low 2.3", busOnly, BoardTest::Bus, bus(0, 1u << 19));
        row(type, "port-high 0.5", busOnly, BoardTest::Bus, bus(6, 1u << 5));
        row(type, "port-open 0.2", busOnly, BoardTest::Bus, bus(0, 1u << 2));
        row(type, "port-short 2.1 2.2", busOnly, BoardTest::Bus, bus(18, 1u << 18));
        // An open line on a port with pull-ups reads its own latch: the walk cannot see it.
        row(type, "port-open 2.3", {}, BoardTest::Bus, Expect());
        // A line that selects something fails what it selects, too.
        if (t4)
            row(type, "port-high 3.2", {QStringLiteral("bus"), QStringLiteral("rom")},
                BoardTest::Bus, bus(27, 1u << 26));
        else
            row(type, "port-high 1.0",
                {QStringLiteral("bus"), QStringLiteral("rom"), QStringLiteral("rom-none")},
                BoardTest::Bus, bus(9, 1u << 8));

        // Pattern 1 wants 0x47 at 0x1235; bit 2 stuck at 0 shows in pass 1.
        row(type, "ram-cell addr=0x1235 low=0x04", {QStringLiteral("ram")}, BoardTest::Ram,
            cell(1, 0, 0x1235));
        // Bank 1 gets pattern 2 (0 at odd cells) first, pattern 3 in the second group.
        row(type, "flash-cell bank=1 addr=0x0101", {QStringLiteral("flash")}, BoardTest::Flash,
            t4 ? cell(13, 1, 0x8101) : cell(7, 1, 0x4101));

        // The sums are compared at the last step.
        row(type, "rom-sum",
            t4 ? QStringList{QStringLiteral("rom")}
               : QStringList{QStringLiteral("rom"), QStringLiteral("rom-none")},
            BoardTest::Rom, timer(2, -1));
        row(type, "rom-byte half=0 addr=0x3456", {QStringLiteral("rom")}, BoardTest::Rom,
            timer(2, -1));
        if (!t4)
            row(type, "rom-byte half=1 addr=0x0123", {QStringLiteral("rom-none")},
                BoardTest::RomNoFile, timer(1, -1));

        row(type, "clock-stopped", {QStringLiteral("timer")}, BoardTest::Timer, timer(3, 1));
        // Types 0..3 see the missing acknowledge; type 4 reads 0xFF back.
        row(type, "clock-silent", {QStringLiteral("timer")}, BoardTest::Timer,
            timer(0, t4 ? 0 : 2));
        // Register 8 holds 0xAA (bit 0 clear) in step 0, 0x55 in step 1.
        row(type, "clock-reg reg=8 low=0x01", {QStringLiteral("timer")}, BoardTest::Timer,
            timer(1, 0));

        row(type, "eeprom-cell addr=0x0201", {QStringLiteral("flash2")}, BoardTest::Flash2,
            cell(2, 2, 0x0201));
        row(type, "eeprom-silent", {QStringLiteral("flash2")}, BoardTest::Flash2,
            t4 ? cell(2, 2, 0x0000, 128) : timer(0, 2));

        // A programmed cell fails the blank check, and the write test that needs a blank store.
        row(type, "fp-dirty addr=0x9123", {QStringLiteral("fp-blank"), QStringLiteral("fp-write")},
            BoardTest::FpBlank, cell(1, 3, 0x9123));
        row(type, "fp-dirty addr=0x9123 value=0x7E",
            {QStringLiteral("fp-blank"), QStringLiteral("fp-write")}, BoardTest::FpWrite,
            t4 ? cell(7, 7, 0x9123) : cell(1, 4, 0x9123));
        // A cell that stays blank passes the blank check and fails the write test.
        row(type, "fp-nowrite addr=0x0100", {QStringLiteral("fp-write")}, BoardTest::FpWrite,
            t4 ? cell(2, 7, 0x0100) : cell(1, 4, 0x0100));

        if (!t4) {
            Expect ppi;
            ppi.step = 0;
            ppi.diff = 1u << 12;
            row(type, "ppi-low B.4", {QStringLiteral("ppi")}, BoardTest::Ppi, ppi);
            Expect high;
            high.step = 17;
            high.diff = 1u << 16;
            row(type, "ppi-high C.0", {QStringLiteral("ppi")}, BoardTest::Ppi, high);
            row(type, "older-revision", {}, BoardTest::Bus, Expect());
        }
    }
}

void BoardTestsTest::faultFailsItsTest() {
    QFETCH(int, boardType);
    QFETCH(QString, script);
    QFETCH(QStringList, failing);
    QFETCH(BoardTest, test);
    QFETCH(Expect, expect);

    // One board through a whole session of tests (the write test of the
    // fiscal memory last, as it leaves the store written).
    BoardRig rig(boardType);
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(script, &error), qPrintable(error));
    for (BoardTest t : testsOf(boardType)) {
        const Outcome o = rig.run(t);
        const QString what = testName(t) + QStringLiteral(": ") + o.describe();
        QVERIFY2(o.verdict != Outcome::LinkFailure, qPrintable(what));
        QVERIFY2(o.passed() != failing.contains(testName(t)), qPrintable(what));
        if (t != test || o.passed())
            continue;

        QVERIFY2(o.failStep == expect.step, qPrintable(what));
        QVERIFY2(o.timerKind == expect.timerKind, qPrintable(what));
        QVERIFY2(o.displayKind == expect.kind, qPrintable(what));
        if (expect.address >= 0) {
            QVERIFY2(o.address == quint32(expect.address), qPrintable(what));
            // The display reads the block back: the bad cell is wrong there too.
            QVERIFY2(o.badInBlock == expect.bad, qPrintable(what));
            QVERIFY2(o.firstBad == quint32(expect.address), qPrintable(what));
        }
        if (expect.diff)
            QVERIFY2((o.expected ^ o.read) == expect.diff, qPrintable(what));
    }
}

void BoardTestsTest::otherVersionsFailTheRomSum_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("carried");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("passes");
    for (int type = 0; type < 4; ++type) {
        for (const sim::SoftwareVersion& carried : sim::SoftwareVersions) {
            for (const sim::SoftwareVersion& chosen : sim::SoftwareVersions) {
                QTest::addRow("type %d carries %s, %s chosen", type, carried.name, chosen.name)
                    << type << QString::fromLatin1(carried.name) << QString::fromLatin1(chosen.name)
                    << (carried.name == chosen.name);
            }
        }
    }
}

void BoardTestsTest::otherVersionsFailTheRomSum() {
    QFETCH(int, boardType);
    QFETCH(QString, carried);
    QFETCH(QString, chosen);
    QFETCH(bool, passes);
    BoardRig rig(boardType);
    QVERIFY(rig.bench.setRomVersion(carried));
    rig.fileSum = sim::byteSum16(sim::controllerProgramImage(chosen));
    const Outcome o = rig.run(BoardTest::Rom);
    QVERIFY2(o.passed() == passes, qPrintable(o.describe()));
    // Without a file the version does not matter.
    QVERIFY(rig.run(BoardTest::RomNoFile).passed());
}

// After the display the engineer goes on: the peer checks again from the
// next block, and with one bad cell that check passes.
void BoardTestsTest::fiscalCheckGoesOnBehindTheBadBlock() {
    for (int type = 0; type < 4; ++type) {
        BoardRig rig(type);
        QVERIFY(rig.bench.addBoardFault(sim::BoardFault::fiscalNotBlank(0x4000)));
        const Outcome o = rig.run(BoardTest::FpBlank);
        QCOMPARE(o.address, quint32(0x4000));
        QVERIFY(o.continuedCheckPassed);
    }
}

// The zero on the read strobe lets the memory at 0xFFFF drive port 0: type 4
// looks again with the window switched off, types 0..3 keep the 28С256 off.
void BoardTestsTest::busWalkWithDataAtTheTopOfTheEeprom() {
    for (int type = 0; type <= 4; ++type) {
        BoardRig rig(type);
        sim::Memory& eeprom = rig.bench.board().dataEeprom();
        eeprom.write(eeprom.size() - 1, 0x00);
        const Outcome o = rig.run(BoardTest::Bus);
        QVERIFY2(o.passed(), qPrintable(o.describe()));
    }
}

void BoardTestsTest::faultsComeOffAgain() {
    for (int type : {0, 4}) {
        BoardRig rig(type);
        const QList<sim::BoardFault> faults = {
            sim::BoardFault::portShort(2, 0, 0, 7), sim::BoardFault::ramCell(0x10, 0xFF),
            sim::BoardFault::romStoredSum(),        sim::BoardFault::romByte(0, 0x2222, 0x80),
            sim::BoardFault::clockStopped(),        sim::BoardFault::serialEepromSilent(),
            sim::BoardFault::fiscalNoWrite(0x0001)};
        for (const sim::BoardFault& f : faults)
            QVERIFY(rig.bench.addBoardFault(f));
        QCOMPARE(rig.bench.boardFaults(), faults);
        QVERIFY(!rig.run(BoardTest::Rom).passed());
        rig.bench.clearBoardFaults();
        QVERIFY(rig.bench.boardFaults().isEmpty());
        for (BoardTest t : testsOf(type)) {
            const Outcome o = rig.run(t);
            QVERIFY2(o.passed(), qPrintable(testName(t) + QStringLiteral(": ") + o.describe()));
        }
    }
}

// Every test on every board type, on the virtual clock: the simulated board
// must not be what makes the workstation's own battery slow.
void BoardTestsTest::batteryIsFast() {
    QElapsedTimer timer;
    timer.start();
    qint64 virtualMs = 0;
    for (int type = 0; type <= 4; ++type) {
        for (BoardTest t : testsOf(type)) {
            BoardRig rig(type);
            QVERIFY(rig.run(t).passed());
            virtualMs += rig.clock.nowUs() / 1000;
        }
    }
    qInfo("all tests on all board types: %lld ms, %lld s of bench time", timer.elapsed(),
          virtualMs / 1000);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(BoardTestsTest)
#include "tst_boardtests.moc"
