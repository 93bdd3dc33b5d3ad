// The pattern rules that the board tests and their displays share: expected
// bytes, the ФП walking-bit addresses, the bank patterns of the EEPROM tests,
// the PPI images and the zero that the bus test walks.

#include "banktest.h"
#include "bustest.h"
#include "expectedbyte.h"
#include "fiscalwritetest.h"
#include "ppitest.h"

#include <QTest>

using namespace kia;

class TestPatterns : public QObject {
    Q_OBJECT
private slots:
    void expectedByte_data();
    void expectedByte();
    void walkVisitsEveryBitThenEveryGap();
    void bankPatterns_data();
    void bankPatterns();
    void bankStepText();
    void ppiImages();
    void busWalk_data();
    void busWalk();
};

void TestPatterns::expectedByte_data() {
    QTest::addColumn<int>("pattern");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("expected");
    QTest::newRow("1 even") << 1 << 0x1234 << 0x00;
    QTest::newRow("1 odd: hi + lo") << 1 << 0x1235 << 0x47;
    QTest::newRow("1 odd wraps") << 1 << 0xFFFF << 0xFE;
    QTest::newRow("2 even: hi + lo") << 2 << 0x0100 << 0x01;
    QTest::newRow("2 odd") << 2 << 0x0101 << 0x00;
    QTest::newRow("3 odd: FF - hi - lo") << 3 << 0x1235 << 0xB8;
    QTest::newRow("3 even") << 3 << 0x1234 << 0x00;
    QTest::newRow("4 even: FF - hi - lo") << 4 << 0x1234 << 0xB9;
    QTest::newRow("4 odd") << 4 << 0x1235 << 0x00;
    QTest::newRow("5 even") << 5 << 0x0010 << 0xAA;
    QTest::newRow("5 odd") << 5 << 0x0011 << 0x55;
    QTest::newRow("6 even") << 6 << 0x0010 << 0x55;
    QTest::newRow("6 odd") << 6 << 0x0011 << 0xAA;
    QTest::newRow("7 erase") << 7 << 0x4321 << 0xFF;
    QTest::newRow("8 one bit, hi 0x01") << 8 << 0x0100 << 0xFE;
    QTest::newRow("8 two bits") << 8 << 0x0003 << 0xFF;
    QTest::newRow("8 bit 0: lo") << 8 << 0x0001 << 0x01;
    QTest::newRow("8 bit 7: lo") << 8 << 0x0080 << 0x80;
    QTest::newRow("8 bit 15") << 8 << 0x8000 << 0x7F;
    QTest::newRow("8 zero at bit 0: FF - lo") << 8 << 0xFFFE << 0x01;
    QTest::newRow("8 zero at bit 15: hi") << 8 << 0x7FFF << 0x7F;
    QTest::newRow("8 zero at bit 3") << 8 << 0xFFF7 << 0x08;
    QTest::newRow("8 zero address") << 8 << 0x0000 << 0xFF;
    QTest::newRow("other pattern: itself") << 9 << 0x1234 << 9;
    QTest::newRow("pattern 0") << 0 << 0x1234 << 0;
}

void TestPatterns::expectedByte() {
    QFETCH(int, pattern);
    QFETCH(int, address);
    QFETCH(int, expected);
    QCOMPARE(int(ExpectedByte(pattern, quint16(address))), expected);
}

void TestPatterns::walkVisitsEveryBitThenEveryGap() {
    QList<quint16> visited;
    quint16 a = 1;
    for (int i = 0; i < FiscalWriteTest::WriteSteps; ++i) {
        visited << a;
        a = FiscalWriteTest::nextWalkAddress(a);
    }
    QList<quint16> expected;
    for (int bit = 0; bit < 16; ++bit)
        expected << quint16(1u << bit);
    for (int bit = 0; bit < 16; ++bit)
        expected << quint16(~(1u << bit));
    QCOMPARE(visited, expected);
}

void TestPatterns::bankPatterns_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<QList<int>>("patterns");
    QTest::newRow("group 0") << 0 << QList<int>{1, 2, 3, 4};
    QTest::newRow("group 3 wraps after 6") << 3 << QList<int>{4, 5, 6, 1};
    QTest::newRow("group 5") << 5 << QList<int>{6, 1, 2, 3};
    QTest::newRow("group 6 erases") << 6 << QList<int>{7, 7, 7, 7};
}

void TestPatterns::bankPatterns() {
    QFETCH(int, group);
    QFETCH(QList<int>, patterns);
    for (int bank = 0; bank < patterns.size(); ++bank)
        QCOMPARE(BankTest::bankPattern(group, bank), patterns[bank]);
}

void TestPatterns::bankStepText() {
    QCOMPARE(BankTest::stepText(3, false, 1), QStringLiteral("Тест 3 - запись ( банк 1 ) ..."));
    QCOMPARE(BankTest::stepText(2, true, 0), QStringLiteral("Тест 2 - чтение ( банк 0 ) ..."));
    QCOMPARE(BankTest::stepText(7, true, 0), QStringLiteral("Очистка..."));
}

void TestPatterns::ppiImages() {
    QCOMPARE(PpiTest::stepImage(0), 0xFFFFFFu);
    QCOMPARE(PpiTest::stepImage(1), 0xFFFFFEu);
    QCOMPARE(PpiTest::stepImage(24), 0x7FFFFFu);
    QCOMPARE(PpiTest::stepImage(25), 0xFFFFFFu); // the last step: every line high again
}

void TestPatterns::busWalk_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QList<quint32>>("zeros"); // the zero of every step, skipped steps left out
    QTest::addColumn<int>("skipped");

    QList<quint32> rev0{0};
    for (int bit = 0; bit < 24; ++bit)
        if (bit != 14)
            rev0 << (1u << bit);
    for (int bit = 26; bit < 32; ++bit)
        rev0 << (1u << bit);
    rev0 << 0; // bit 30 moved by two falls off: every line high again
    QTest::newRow("type 0, revision 0: 32 steps, bit 14 skipped") << 0 << 0 << rev0 << 1;

    QList<quint32> rev1{0};
    for (int bit = 0; bit < 24; ++bit)
        if (bit != 14)
            rev1 << (1u << bit);
    for (int bit = 27; bit < 32; ++bit)
        rev1 << (1u << bit);
    rev1 << 0;
    QTest::newRow("type 2, revision 1: 31 steps, upper bits move by 3") << 2 << 1 << rev1 << 1;

    QList<quint32> type4{0};
    for (int bit = 0; bit < 32; ++bit)
        if (bit != 24 && bit != 25 && bit != 27)
            type4 << (1u << bit);
    QTest::newRow("type 4: 33 steps, port 3 bits 0, 1, 3 skipped") << 4 << 0 << type4 << 3;
}

void TestPatterns::busWalk() {
    QFETCH(int, boardType);
    QFETCH(int, revision);
    QFETCH(QList<quint32>, zeros);
    QFETCH(int, skipped);

    const BusTest test(boardType, revision);
    QCOMPARE(test.stepCount(), zeros.size() + skipped);
    QList<quint32> walked;
    int skips = 0;
    for (int s = 0; s < test.stepCount(); ++s) {
        bool skip = false;
        const quint32 g = BusTest::walkingZero(boardType, revision, s, skip);
        if (skip)
            ++skips;
        else
            walked << g;
    }
    QCOMPARE(skips, skipped);
    QCOMPARE(walked, zeros);
}

QTEST_GUILESS_MAIN(TestPatterns)
#include "tst_testpatterns.moc"
