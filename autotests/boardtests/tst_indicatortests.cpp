// The indicator write/read tests and the text on the indicator: the pattern
// bytes, the conversion of the program's Cyrillic text with its user
// characters, the tests 8 and 9 from the menu on every board type against the
// simulated controllers, and the error displays of both indicator memories.

#include "benchrig.h"

#include "app/commandtable.h"
#include "expectedbyte.h"
#include "indicatoraccess.h"
#include "indicatorfont.h"
#include "indicatortest.h"
#include "indicatortext.h"
#include "memoryerrormodel.h"
#include "testcommands.h"
#include "testresults.h"

#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
QByteArray codesOf(const IndicatorText& t) {
    return QByteArray(reinterpret_cast<const char*>(t.codes.data()), 16);
}
} // namespace

class TestIndicatorTests : public QObject {
    Q_OBJECT
private slots:
    void displayPatternByte_data();
    void displayPatternByte();
    void characterCodes_data();
    void characterCodes();
    void textConversion_data();
    void textConversion();
    void moreThanEightUserCharacters();
    void textReachesTheController_data();
    void textReachesTheController();
    void readWriteTestPasses_data();
    void readWriteTestPasses();
    void faultyCellOpensItsDisplay_data();
    void faultyCellOpensItsDisplay();
    void errorDisplayOfBothMemories_data();
    void errorDisplayOfBothMemories();
    void silentPeerEndsWithLinkFailure_data();
    void silentPeerEndsWithLinkFailure();
    void stepTexts();
};

void TestIndicatorTests::displayPatternByte_data() {
    QTest::addColumn<int>("pattern");
    QTest::addColumn<int>("j");
    QTest::addColumn<int>("value");
    QTest::newRow("1/0 low of 1") << 1 << 0 << 0x01;
    QTest::newRow("1/8 low of 0x100") << 1 << 8 << 0x00;
    QTest::newRow("1/9 high of 0x200") << 1 << 9 << 0x02;
    QTest::newRow("1/15 high of 0x8000") << 1 << 15 << 0x80;
    QTest::newRow("2/0 high of 1") << 2 << 0 << 0x00;
    QTest::newRow("2/1 low of 2") << 2 << 1 << 0x02;
    QTest::newRow("3/0 not low") << 3 << 0 << 0xFE;
    QTest::newRow("3/1 0xFF becomes 0") << 3 << 1 << 0x00;
    QTest::newRow("3/9 not high of 0x200") << 3 << 9 << 0xFD;
    QTest::newRow("4/0 0xFF becomes 0") << 4 << 0 << 0x00;
    QTest::newRow("4/1 not low of 2") << 4 << 1 << 0xFD;
    QTest::newRow("5 even") << 5 << 2 << 0xAA;
    QTest::newRow("5 odd") << 5 << 3 << 0x55;
    QTest::newRow("6 even") << 6 << 14 << 0x55;
    QTest::newRow("6 odd") << 6 << 7 << 0xAA;
    QTest::newRow("other: the number") << 9 << 4 << 9;
    QTest::newRow("other 255 becomes 0") << 255 << 4 << 0;
}

void TestIndicatorTests::displayPatternByte() {
    QFETCH(int, pattern);
    QFETCH(int, j);
    QFETCH(int, value);
    QCOMPARE(int(DisplayPatternByte(pattern, j)), value);
}

void TestIndicatorTests::characterCodes_data() {
    QTest::addColumn<int>("cp1251");
    QTest::addColumn<int>("code");
    QTest::newRow("Latin stays") << int('Z') << int('Z');
    QTest::newRow("127 becomes o") << 127 << 111;
    QTest::newRow("Б 193 → 129") << 193 << 129;
    QTest::newRow("А looks like A") << 192 << int('A');
    QTest::newRow("Х looks like X") << 213 << int('X');
    QTest::newRow("Я 223 → 159") << 223 << 159;
    QTest::newRow("а 224 → 160, small letters stay") << 224 << 160;
    QTest::newRow("п 239 → 175") << 239 << 175;
    QTest::newRow("р 240 → 224") << 240 << 224;
    QTest::newRow("я 255 → 239") << 255 << 239;
    QTest::newRow("№ 185 → ?") << 185 << int('?');
    QTest::newRow("Ё 168 → ?") << 168 << int('?');
    QTest::newRow("128 → ?") << 128 << int('?');
}

void TestIndicatorTests::characterCodes() {
    QFETCH(int, cp1251);
    QFETCH(int, code);
    QCOMPARE(int(indicatorCode(quint8(cp1251))), code);
}

void TestIndicatorTests::textConversion_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QList<int>>("userFor");
    // П Р О В Е Р Ь _ З А С В Е Т К У: П, Ь, З and У have no Latin look-alike.
    QTest::newRow("ПРОВЕРЬ ЗАСВЕТКУ")
        << QStringLiteral("ПРОВЕРЬ ЗАСВЕТКУ") << QByteArray("\x00POBEP\x01 \x02" "ACBETK\x03", 16)
        << QList<int>{143, 156, 135, 147};
    QTest::newRow("Latin only") << QStringLiteral("END OF LCD TEST!")
                                << QByteArray("END OF LCD TEST!") << QList<int>{};
    QTest::newRow("short text padded") << QStringLiteral(" ПРОВЕРЬ КУРСОР ")
                                       << QByteArray(" \x00POBEP\x01 K\x02PCOP ", 16)
                                       << QList<int>{143, 156, 147};
    QTest::newRow("repeated letter reuses its slot")
        << QStringLiteral("ППП") << QByteArray("\x00\x00\x00             ", 16) << QList<int>{143};
    QTest::newRow("< and > are user characters")
        << QStringLiteral("<1>") << QByteArray("\x00" "1\x01             ", 16)
        << QList<int>{int('<'), int('>')};
    QTest::newRow("small letters") << QStringLiteral("Тест")
                                   << QByteArray("T\x00\x01\x02            ", 16)
                                   << QList<int>{165, 225, 226};
    QTest::newRow("cut at 16") << QStringLiteral("0123456789ABCDEFGH")
                               << QByteArray("0123456789ABCDEF") << QList<int>{};
}

void TestIndicatorTests::textConversion() {
    QFETCH(QString, text);
    QFETCH(QByteArray, codes);
    QFETCH(QList<int>, userFor);
    const IndicatorText t = prepareIndicatorText(text);
    QCOMPARE(codesOf(t).toHex(' '), codes.toHex(' '));
    QCOMPARE(t.userCount, int(userFor.size()));
    for (int n = 0; n < t.userCount; ++n)
        QCOMPARE(t.userFor[size_t(n)], userFor[n]);
    QCOMPARE(t.refused, 0);
}

void TestIndicatorTests::moreThanEightUserCharacters() {
    // Ten letters without a look-alike: eight get slots, the last two show "?".
    const IndicatorText t = prepareIndicatorText(QStringLiteral("БГДЖЗИЙЛПУ Б"));
    QCOMPARE(t.userCount, 8);
    QCOMPARE(t.refused, 2);
    QCOMPARE(codesOf(t).toHex(' '),
             QByteArray("\x00\x01\x02\x03\x04\x05\x06\x07?? \x00    ", 16).toHex(' '));

    BenchRig rig(0);
    QVERIFY(IndicatorInit(rig.ctx, 0));
    IndicatorScreen screen;
    QVERIFY(ShowIndicatorText(rig.ctx, 0, QStringLiteral("БГДЖЗИЙЛПУ Б"), &screen));
    QCOMPARE(screen.userCount, 8);
    // Slot 7 holds Л, not a later letter written over it.
    QCOMPARE(rig.board().indicator(0).userCharacter(7), indicatorGlyph(139));
    QCOMPARE(int(rig.board().indicator(0).screenCode(8)), int('?'));
}

void TestIndicatorTests::textReachesTheController_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("indicator");
    for (int type = 0; type <= 4; ++type) {
        for (int ind = 0; ind < 2; ++ind)
            QTest::addRow("type %d indicator %d", type, ind) << type << ind;
    }
}

void TestIndicatorTests::textReachesTheController() {
    QFETCH(int, boardType);
    QFETCH(int, indicator);
    BenchRig rig(boardType);
    QVERIFY(IndicatorInit(rig.ctx, indicator));
    IndicatorScreen screen;
    QVERIFY(ShowIndicatorText(rig.ctx, indicator, QStringLiteral("ПРОВЕРЬ ЗАСВЕТКУ"), &screen));
    const sim::IndicatorController& c = rig.board().indicator(indicator);
    const sim::IndicatorController& other = rig.board().indicator(1 - indicator);
    QVERIFY(c.displayOn());
    for (int p = 0; p < 16; ++p) {
        QCOMPARE(c.screenCode(p), screen.codes[size_t(p)]);
        QCOMPARE(int(other.screenCode(p)), 0x20);
    }
    QCOMPARE(screen.userCount, 4);
    for (int n = 0; n < 4; ++n) {
        QCOMPARE(c.userCharacter(n), indicatorGlyph(screen.userFor[size_t(n)]));
        QCOMPARE(screen.glyphAt(n == 0 ? 0 : (n == 1 ? 6 : (n == 2 ? 8 : 15))),
                 indicatorGlyph(screen.userFor[size_t(n)]));
    }
}

void TestIndicatorTests::readWriteTestPasses_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    for (int type = 0; type <= 4; ++type) {
        QTest::addRow("type %d cashier", type) << type << cmd::CashierIndicatorReadWrite;
        QTest::addRow("type %d customer", type) << type << cmd::CustomerIndicatorReadWrite;
    }
}

void TestIndicatorTests::readWriteTestPasses() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    BenchRig rig(boardType);
    // A fault on the other indicator must not matter.
    const int other = command == cmd::CashierIndicatorReadWrite ? 1 : 0;
    rig.bench.addBoardFault(sim::BoardFault::indicatorDead(other));
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, command);
    QCOMPARE(out.result, int(ResultExit));
    QVERIFY(out.completed);
    QVERIFY(!out.failed);
    QCOMPARE(rig.host.ranges.value(0), 18);
    QVERIFY(rig.host.blocks.isEmpty());
    QVERIFY(!rig.board().indicator(1 - other).displayOn()); // prepared with 0x08
}

void TestIndicatorTests::faultyCellOpensItsDisplay_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("pattern");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("differing");
    QTest::addColumn<QString>("keyword");
    // Cell 3 with bit 0 stuck low: the first pattern with bit 0 set there is 4 (0xF7).
    QTest::newRow("type 0 display cell")
        << 0 << "ind-cell ind=0 addr=3 low=0x01" << cmd::CashierIndicatorReadWrite << 5 << 4
        << "Ошибка теста N4 ОЗУ отображения !" << 1 << "IND0_ERROR";
    QTest::newRow("type 4 display cell, customer")
        << 4 << "ind-cell ind=1 addr=9 high=0x80" << cmd::CustomerIndicatorReadWrite << 5 << 1
        << "Ошибка теста N1 ОЗУ отображения !" << 1 << "IND1_ERROR";
    // Character cell 0x21 with bit 7 stuck high: pattern 4 wants 0 at an odd address.
    QTest::newRow("type 3 character cell")
        << 3 << "ind-cgram ind=1 addr=0x21 high=0x80" << cmd::CustomerIndicatorReadWrite << 6 << 4
        << "Ошибка теста N1 ОЗУ знакогенератора !" << 1 << "IND1_ERROR";
    // Cell 0x3E (even) wants 0xC1 and 0xAA before pattern 6 sets bit 4 (0x55).
    QTest::newRow("type 4 character cell")
        << 4 << "ind-cgram ind=0 addr=0x3E low=0x10" << cmd::CashierIndicatorReadWrite << 6 << 6
        << "Ошибка теста N3 ОЗУ знакогенератора !" << 1 << "IND0_ERROR";
    // A dead controller reads 0xFF everywhere: the 16 cells all differ.
    QTest::newRow("type 1 dead indicator")
        << 1 << "ind-dead ind=0" << cmd::CashierIndicatorReadWrite << 5 << 1
        << "Ошибка теста N1 ОЗУ отображения !" << 16 << "IND0_ERROR";
}

void TestIndicatorTests::faultyCellOpensItsDisplay() {
    QFETCH(int, boardType);
    QFETCH(QString, script);
    QFETCH(int, command);
    QFETCH(int, kind);
    QFETCH(int, pattern);
    QFETCH(QString, title);
    QFETCH(int, differing);
    QFETCH(QString, keyword);
    BenchRig rig(boardType);
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(script, &error), qPrintable(error));
    rig.host.memoryAnswers.enqueue(ResultDiagnostics);
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, command);
    QCOMPARE(out.result, int(ResultDiagnostics));
    QCOMPARE(out.keyword, keyword);
    QCOMPARE(rig.scenarios.started, QStringList{keyword + QStringLiteral("/1")});
    QCOMPARE(rig.host.blocks.size(), 1);
    QCOMPARE(int(rig.host.blocks[0].kind), kind);
    QCOMPARE(rig.host.blocks[0].pattern, pattern);
    QCOMPARE(rig.host.blocks[0].block, command == cmd::CashierIndicatorReadWrite ? 0u : 1u);
    QCOMPARE(rig.host.blocks[0].title, title);
    QVERIFY(!rig.host.blocks[0].continueEnabled);
    QVERIFY(rig.host.blocks[0].nextTestEnabled);
    QCOMPARE(rig.host.blocks[0].differing, differing);
}

void TestIndicatorTests::errorDisplayOfBothMemories_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("indicator");
    QTest::addColumn<int>("rows");
    QTest::addRow("type 2 display memory") << 2 << 5 << 1 << 1;
    QTest::addRow("type 4 character memory") << 4 << 6 << 0 << 4;
}

void TestIndicatorTests::errorDisplayOfBothMemories() {
    QFETCH(int, boardType);
    QFETCH(int, kind);
    QFETCH(int, indicator);
    QFETCH(int, rows);
    BenchRig rig(boardType);
    const bool display = kind == 5;
    const int cell = display ? 10 : 0x2B;
    const int pattern = display ? 6 : 5;
    rig.bench.addBoardFault(display ? sim::BoardFault::indicatorCell(indicator, cell, 0x04)
                                    : sim::BoardFault::indicatorCharacter(indicator, cell, 0, 0x02));
    QVERIFY(IndicatorInit(rig.ctx, indicator));
    // Fill the memory as the test does, then open the display.
    for (int j = 0; j < (display ? 16 : 64); ++j) {
        if (display && (j == 0 || j == 8))
            QVERIFY(IndicatorCommand(rig.ctx, indicator, j == 0 ? 0x80 : 0xC0));
        if (!display)
            QVERIFY(IndicatorCommand(rig.ctx, indicator, quint8(0x40 + j)));
        QVERIFY(IndicatorWrite(rig.ctx, indicator,
                               display ? DisplayPatternByte(pattern, j)
                                       : ExpectedByte(pattern, quint16(j))));
    }
    MemoryErrorModel m(rig.ctx, MemoryErrorKind(kind), pattern, quint32(indicator));
    QCOMPARE(m.open(), MemoryErrorModel::Opening::Shown);
    QCOMPARE(m.rowCount(), rows);
    QCOMPARE(m.differingCount(), 1);
    QVERIFY(m.differs(cell));
    QCOMPARE(m.addressText(0), QStringLiteral("0000%1").arg(indicator));
    QVERIFY(!m.continueEnabled());
    QVERIFY(m.nextTestEnabled());
    // Display cell 10 wants 0x55 (pattern 6, even) and has bit 2 stuck low: 0x51.
    // Character cell 0x2B wants 0x55 (pattern 5, odd address) and has bit 1 stuck high.
    QCOMPARE(int(m.expectedByte(cell)), 0x55);
    QCOMPARE(int(m.readByte(cell)), display ? 0x51 : 0x57);
    QCOMPARE(m.title(), display ? QStringLiteral("Ошибка теста N6 ОЗУ отображения !")
                                : QStringLiteral("Ошибка теста N2 ОЗУ знакогенератора !"));
}

void TestIndicatorTests::silentPeerEndsWithLinkFailure_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("script");
    QTest::newRow("type 0, a write late in the test") << 0 << "silence cmd=8 after=300 once";
    QTest::newRow("type 4, a read") << 4 << "silence cmd=7 after=40 once";
    QTest::newRow("type 2, garbage instead of a reply") << 2 << "garbage instead cmd=7 after=5 once";
}

void TestIndicatorTests::silentPeerEndsWithLinkFailure() {
    QFETCH(int, boardType);
    QFETCH(QString, script);
    BenchRig rig(boardType);
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(script, &error), qPrintable(error));
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::CashierIndicatorReadWrite);
    QCOMPARE(out.result, int(ResultLinkFailure));
    QVERIFY(out.linkFailure);
    QCOMPARE(rig.prompts.boxes().size(), 1);
    QVERIFY(!rig.ctx.busy);
    // The next command works.
    const TestCommandOutcome again = RunTestCommand(rig.ctx, rig.host, cmd::CashierIndicatorReadWrite);
    QVERIFY(again.completed && !again.failed);
}

void TestIndicatorTests::stepTexts() {
    BenchRig rig(0);
    RunTestCommand(rig.ctx, rig.host, cmd::CashierIndicatorReadWrite);
    QStringList want{QStringLiteral("Тест индикатора кассира...")};
    for (int p = 1; p <= 6; ++p)
        want << QStringLiteral("Тест ОЗУ отображения %1...").arg(p);
    for (int p = 1; p <= 3; ++p)
        want << QStringLiteral("Тест ОЗУ знакогенератора %1...").arg(p);
    QStringList seen;
    for (const QString& t : rig.host.texts) {
        if (seen.isEmpty() || seen.last() != t)
            seen << t;
    }
    QCOMPARE(seen.mid(0, want.size()), want);
}

QTEST_GUILESS_MAIN(TestIndicatorTests)
#include "tst_indicatortests.moc"
