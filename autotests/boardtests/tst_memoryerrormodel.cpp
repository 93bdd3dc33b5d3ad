// The memory-error display without its window: reading the block of each
// kind, closing at once on a clean block, the buttons at the range ends, the
// titles, rows and the read/expected toggle.

#include "benchrig.h"

#include "expectedbyte.h"
#include "memoryerrormodel.h"
#include "sim/testprocessor.h"

#include <QTest>

using namespace kia;
using testhost::BenchRig;

class TestMemoryErrorModel : public QObject {
    Q_OBJECT
private slots:
    void cleanBlockClosesAtOnce();
    void fiscalWriteBlockIsShownEvenWhenClean();
    void badBlockIsShownWithRows();
    void toggleShowsExpectedData();
    void readsTheRightMemory_data();
    void readsTheRightMemory();
    void failedReadEndsWithLinkFailure();
    void titles_data();
    void titles();
    void buttons_data();
    void buttons();
};

void TestMemoryErrorModel::cleanBlockClosesAtOnce() {
    BenchRig rig(0);
    for (quint32 a = 0x200; a < 0x280; ++a)
        rig.board().ram().write(a, ExpectedByte(3, quint16(a)));
    MemoryErrorModel m(rig.ctx, MemoryErrorKind::Ram, 3, 0x200);
    QCOMPARE(m.open(), MemoryErrorModel::Opening::Clean);
    QCOMPARE(m.immediateResult(), 1);
}

void TestMemoryErrorModel::fiscalWriteBlockIsShownEvenWhenClean() {
    // The peer reported this block: the engineer sees it even if it reads back right now.
    BenchRig rig(0);
    for (quint32 a = 0x0100; a < 0x0180; ++a)
        rig.board().fiscalMemory().write(a, ExpectedByte(8, quint16(a)));
    MemoryErrorModel m(rig.ctx, MemoryErrorKind::FiscalWrite, 8, 0x0100);
    QCOMPARE(m.open(), MemoryErrorModel::Opening::Shown);
    QCOMPARE(m.differingCount(), 0);
}

void TestMemoryErrorModel::badBlockIsShownWithRows() {
    BenchRig rig(0);
    for (quint32 a = 0x1F80; a < 0x2000; ++a)
        rig.board().ram().write(a, ExpectedByte(1, quint16(a)));
    rig.board().ram().write(0x1F93, 0xEE);
    MemoryErrorModel m(rig.ctx, MemoryErrorKind::Ram, 1, 0x1F80);
    QCOMPARE(m.open(), MemoryErrorModel::Opening::Shown);
    QCOMPARE(m.rowCount(), 8);
    QCOMPARE(m.differingCount(), 1);
    QVERIFY(m.differs(0x13));
    QCOMPARE(m.addressText(1), QStringLiteral("01F90"));
    QCOMPARE(m.rowText(1, true),
             QStringLiteral("01F90  00 B0 00 EE 00 B4 00 B6 - 00 B8 00 BA 00 BC 00 BE"));
    QCOMPARE(m.rowText(1, false),
             QStringLiteral("01F90  00 B0 00 B2 00 B4 00 B6 - 00 B8 00 BA 00 BC 00 BE"));
}

void TestMemoryErrorModel::toggleShowsExpectedData() {
    BenchRig rig(1);
    rig.board().ram().write(0x0105, 0x42);
    MemoryErrorModel m(rig.ctx, MemoryErrorKind::Ram, 2, 0x0100);
    QCOMPARE(m.open(), MemoryErrorModel::Opening::Shown);
    QVERIFY(m.showingRead());
    QCOMPARE(m.dataHeader(), QStringLiteral("Считанные данные :"));
    QCOMPARE(m.hint(), QStringLiteral("Для просмотра ожидаемых данных, \"щелкните\" левой кнопкой\n"
                                      "мыши на строке \"Считанные данные\"."));
    QCOMPARE(int(m.shownByte(5)), 0x42);
    QCOMPARE(int(m.expectedByte(0)), 0x01); // pattern 2 at 0x0100
    QCOMPARE(int(m.expectedByte(1)), 0x00); // and at 0x0101
    m.toggleMode();
    QVERIFY(!m.showingRead());
    QCOMPARE(m.dataHeader(), QStringLiteral("Ожидаемые данные :"));
    QCOMPARE(m.hint(), QStringLiteral("Для просмотра считанных данных, \"щелкните\" левой кнопкой\n"
                                      "мыши на строке \"Ожидаемые данные\"."));
    QCOMPARE(int(m.shownByte(5)), 0x00);
    m.toggleMode();
    QCOMPARE(int(m.shownByte(5)), 0x42);
    QCOMPARE(MemoryErrorModel::addressHeader(), QStringLiteral("Адрес :"));
}

void TestMemoryErrorModel::readsTheRightMemory_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("cell"); // a cell of the block, set to 0x5A in the memory below
    QTest::addColumn<QString>("memory");
    QTest::newRow("28C256 bank 0") << 0 << 1 << 0x0100 << 0x0123 << QStringLiteral("eeprom");
    QTest::newRow("28C256 bank 1") << 2 << 1 << 0x7F80 << 0x7FA0 << QStringLiteral("eeprom");
    QTest::newRow("29C010 bank 3") << 4 << 1 << 0x18100 << 0x18123 << QStringLiteral("eeprom");
    QTest::newRow("24C256") << 3 << 2 << 0x7F80 << 0x7F81 << QStringLiteral("serial");
    QTest::newRow("ФП blank, types 0..3") << 1 << 3 << 0xFF80 << 0xFFFF << QStringLiteral("fiscal");
    QTest::newRow("ФП blank, type 4 bank 1")
        << 4 << 3 << 0x9300 << 0x9345 << QStringLiteral("fiscal");
    QTest::newRow("ФП write, types 0..3") << 0 << 4 << 0x0100 << 0x0100 << QStringLiteral("fiscal");
    QTest::newRow("ФП type 4 bank 0") << 4 << 7 << 0x0080 << 0x00FF << QStringLiteral("fiscal");
}

void TestMemoryErrorModel::readsTheRightMemory() {
    QFETCH(int, boardType);
    QFETCH(int, kind);
    QFETCH(int, block);
    QFETCH(int, cell);
    QFETCH(QString, memory);
    BenchRig rig(boardType);
    sim::Memory& mem = memory == QStringLiteral("eeprom")   ? rig.board().dataEeprom()
                       : memory == QStringLiteral("serial") ? rig.board().serialEeprom().memory()
                                                            : rig.board().fiscalMemory();
    // Everything as pattern 7 demands except one cell.
    mem.fill(0xFF);
    mem.write(quint32(cell), 0x5A);
    if (kind == 2)
        QVERIFY(rig.ctx.link.SetSerialDevice({2, 0x20, 0xA2, 1, 1, 0x10, 8}));
    if (boardType == 4 && kind == 1)
        rig.ctx.link.WritePort(1, 7, 7); // the EEPROM behind the window
    if (boardType == 4 && (kind == 3 || kind == 7))
        rig.ctx.link.WritePort(1, 6, 7); // the ФП behind the window

    MemoryErrorModel m(rig.ctx, MemoryErrorKind(kind), 7, quint32(block));
    QCOMPARE(m.open(), MemoryErrorModel::Opening::Shown);
    QCOMPARE(m.differingCount(), 1);
    QCOMPARE(int(m.readByte(cell - block)), 0x5A);
    QCOMPARE(m.addressText(0),
             QString::number(block, 16).toUpper().rightJustified(5, QLatin1Char('0')));
}

void TestMemoryErrorModel::failedReadEndsWithLinkFailure() {
    BenchRig rig(0);
    QString error;
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence cmd=7"), &error));
    MemoryErrorModel m(rig.ctx, MemoryErrorKind::Ram, 1, 0);
    QCOMPARE(m.open(), MemoryErrorModel::Opening::LinkFailure);
    QCOMPARE(m.immediateResult(), 124);
}

void TestMemoryErrorModel::titles_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("pattern");
    QTest::addColumn<QString>("title");
    QTest::newRow("RAM") << 0 << 4 << QStringLiteral("Ошибка теста N4 ОЗУ !");
    QTest::newRow("EEPROM") << 1 << 2 << QStringLiteral("Ошибка теста N2 РПЗУ !");
    QTest::newRow("EEPROM erase") << 1 << 7 << QStringLiteral("Ошибка очистки РПЗУ !");
    QTest::newRow("24C256") << 2 << 1 << QStringLiteral("Ошибка теста N1 РПЗУ !");
    QTest::newRow("24C256 erase") << 2 << 7 << QStringLiteral("Ошибка очистки РПЗУ !");
    QTest::newRow("ФП blank") << 3 << 7 << QStringLiteral("Накопитель ФП не пуст !");
    QTest::newRow("ФП write") << 4 << 8 << QStringLiteral("Ошибка записи в ФП !");
    QTest::newRow("display memory")
        << 5 << 2 << QStringLiteral("Ошибка теста N2 ОЗУ отображения !");
    QTest::newRow("character memory")
        << 6 << 5 << QStringLiteral("Ошибка теста N2 ОЗУ знакогенератора !");
    QTest::newRow("ФП type 4") << 7 << 3 << QStringLiteral("Ошибка теста N3 ФП !");
    QTest::newRow("ФП type 4 erase") << 7 << 7 << QStringLiteral("Ошибка очистки ФП !");
}

void TestMemoryErrorModel::titles() {
    QFETCH(int, kind);
    QFETCH(int, pattern);
    QFETCH(QString, title);
    BenchRig rig(0);
    QCOMPARE(MemoryErrorModel(rig.ctx, MemoryErrorKind(kind), pattern, 0).title(), title);
}

void TestMemoryErrorModel::buttons_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("pattern");
    QTest::addColumn<int>("block");
    QTest::addColumn<bool>("continueEnabled");
    QTest::addColumn<bool>("nextEnabled");
    QTest::newRow("RAM type 0 last") << 0 << 0 << 1 << 0x1F80 << false << true;
    QTest::newRow("RAM type 4 not last") << 4 << 0 << 1 << 0x1F80 << true << true;
    QTest::newRow("RAM pattern 6") << 0 << 0 << 6 << 0x0000 << true << false;
    QTest::newRow("28C256 end of bank 0") << 1 << 1 << 2 << 0x3F80 << false << true;
    QTest::newRow("28C256 start of bank 1") << 1 << 1 << 2 << 0x4000 << true << true;
    QTest::newRow("28C256 end of bank 1, erase") << 1 << 1 << 7 << 0x7F80 << false << false;
    QTest::newRow("29C010 last bank end") << 4 << 1 << 3 << 0x1FF80 << false << true;
    QTest::newRow("29C010 end of bank 0") << 4 << 1 << 3 << 0x7F80 << true << true;
    QTest::newRow("24C256 last") << 2 << 2 << 1 << 0x7F80 << false << true;
    QTest::newRow("ФП blank") << 3 << 3 << 7 << 0x1000 << true << false;
    QTest::newRow("ФП blank last") << 3 << 3 << 7 << 0xFF80 << false << false;
    QTest::newRow("ФП write") << 0 << 4 << 8 << 0xFF80 << false << false;
    QTest::newRow("ФП type 4") << 4 << 7 << 2 << 0x8000 << true << true;
    QTest::newRow("ФП type 4 erase last") << 4 << 7 << 7 << 0xFF80 << false << false;
    QTest::newRow("indicator") << 0 << 5 << 1 << 0 << false << true;
}

void TestMemoryErrorModel::buttons() {
    QFETCH(int, boardType);
    QFETCH(int, kind);
    QFETCH(int, pattern);
    QFETCH(int, block);
    QFETCH(bool, continueEnabled);
    QFETCH(bool, nextEnabled);
    BenchRig rig(boardType);
    const MemoryErrorModel m(rig.ctx, MemoryErrorKind(kind), pattern, quint32(block));
    QCOMPARE(m.continueEnabled(), continueEnabled);
    QCOMPARE(m.nextTestEnabled(), nextEnabled);
}

QTEST_GUILESS_MAIN(TestMemoryErrorModel)
#include "tst_memoryerrormodel.moc"
