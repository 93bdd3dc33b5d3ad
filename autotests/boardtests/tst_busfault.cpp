// Pin lists, the report text and keyword of the bus fault analysis, and the
// rows of the port-image list.

#include "busfault.h"
#include "portimagemodel.h"
#include "portpins.h"

#include <QTest>

using namespace kia;

namespace {
const QString kTpCheck = QStringLiteral(
    "\nна отсутствие к.з. Если все нормально,\nто вероятно неисправен тестовый процессор !");
const QString kTpShort =
    QStringLiteral(" !\nЕсли замыкания нет,то вероятно неисправен\nтестовый процессор !");
const QString kDd5Check =
    QStringLiteral("\nна отсутствие к.з. Если все нормально,\nто вероятно неисправна м/с DD5 !");
const QString kDd5Short =
    QStringLiteral(" !\nЕсли замыкания нет,то вероятно неисправна\nм/с DD5 !");
// The expected image of a walk step on types 0..3 (port 3 bit 3 always high).
quint32 tpExpected(quint32 zero) {
    return ~zero | 0x08000000u;
}
} // namespace

class TestBusFault : public QObject {
    Q_OBJECT
private slots:
    void pinList_data();
    void pinList();
    void report_data();
    void report();
    void keyword_data();
    void keyword();
    void headers_data();
    void headers();
    void levelRows();
    void bitsStandUnderTheirPins();
};

void TestBusFault::pinList_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<QString>("pins");
    QTest::newRow("empty") << 0 << 0u << QString();
    QTest::newRow("DD3 port 0 bit 0") << 1 << 1u << QStringLiteral("DD3/39");
    QTest::newRow("DD3 in bit order") << 3 << 0x80000101u << QStringLiteral("DD3/39,DD3/1,DD3/17");
    QTest::newRow("DD3 port 2") << 0 << 0x00FF0000u
                                << QStringLiteral("DD3/21,DD3/22,DD3/23,DD3/24,DD3/25,DD3/26,DD3/"
                                                  "27,DD3/28");
    QTest::newRow("DD5 port 1 wraps to pin 1")
        << 4 << 0x00002100u << QStringLiteral("DD5/40,DD5/1");
    QTest::newRow("DD5 port 3") << 4 << 0x03000000u << QStringLiteral("DD5/5,DD5/7");
}

void TestBusFault::pinList() {
    QFETCH(int, boardType);
    QFETCH(quint32, mask);
    QFETCH(QString, pins);
    QCOMPARE(PinList(mask, boardType), pins);
}

void TestBusFault::report_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<quint32>("expected");
    QTest::addColumn<quint32>("read");
    QTest::addColumn<QString>("text");

    QTest::newRow("line stuck low at step 0")
        << 0 << tpExpected(0) << (tpExpected(0) & ~0x2u)
        << QStringLiteral("Проверте цепь контакта DD3/38") + kTpCheck;
    QTest::newRow("two lines low at step 0")
        << 0 << tpExpected(0) << (tpExpected(0) & ~0x300u)
        << QStringLiteral("Проверте цепь контактов DD3/1,DD3/2") + kTpCheck;
    QTest::newRow("walking line stays high (open)")
        << 2 << tpExpected(0x8) << tpExpected(0)
        << QStringLiteral("Проверте цепь контакта DD3/36") + kTpCheck;
    QTest::newRow("walking line shorted to one other")
        << 0 << tpExpected(0x8) << tpExpected(0x18)
        << QStringLiteral("Найдите и устраните замыкание цепи \nконтакта DD3/36 c  цепью контакта "
                          "DD3/35") +
               kTpShort;
    QTest::newRow("walking line shorted to several")
        << 0 << tpExpected(0x8) << tpExpected(0x10018)
        << QStringLiteral("Найдите и устраните замыкание цепи \nконтакта DD3/36 c  цепями "
                          "контактов DD3/35,DD3/21") +
               kTpShort;
    QTest::newRow("type 4 stuck line")
        << 4 << 0xFFFFFFFFu << 0xFFFFFF7Fu
        << QStringLiteral("Проверте цепь контакта DD5/30") + kDd5Check;
    QTest::newRow("type 4 short")
        << 4 << ~0x100u << ~0x300u
        << QStringLiteral("Найдите и устраните замыкание цепи \nконтакта DD5/40 c  цепью контакта "
                          "DD5/41") +
               kDd5Short;
}

void TestBusFault::report() {
    QFETCH(int, boardType);
    QFETCH(quint32, expected);
    QFETCH(quint32, read);
    QFETCH(QString, text);
    QCOMPARE(busFaultReport(boardType, expected, read), text);
}

void TestBusFault::keyword_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("step");
    QTest::addColumn<quint32>("expected");
    QTest::addColumn<quint32>("read");
    QTest::addColumn<QString>("keyword");

    QTest::newRow("type 4, port 0 only")
        << 4 << 5 << ~0x10u << ~0x30u << QStringLiteral("DATABUS_ERROR");
    QTest::newRow("type 4, ports 0 and 1")
        << 4 << 5 << ~0x10u << ~0x110u << QStringLiteral("BUS_ERROR");
    QTest::newRow("type 4, port 2 only")
        << 4 << 20 << ~0x10000u << ~0x30000u << QStringLiteral("BUS_ERROR");
    QTest::newRow("type 0, port 0 high: plain")
        << 0 << 3 << tpExpected(0x200) << tpExpected(0x600) << QStringLiteral("BUS_ERROR");
    QTest::newRow("type 0, port 0 low at step 0")
        << 0 << 0 << tpExpected(0) << (tpExpected(0) & ~1u) << QStringLiteral("BUS_ROM");
    QTest::newRow("type 1, step 8")
        << 1 << 8 << tpExpected(0x80) << tpExpected(0xC0) << QStringLiteral("BUS_ROM");
    QTest::newRow("type 1, step 9")
        << 1 << 9 << tpExpected(0x100) << tpExpected(0x101) << QStringLiteral("BUS_ERROR");
    QTest::newRow("type 2, step 14")
        << 2 << 14 << tpExpected(0x2000) << tpExpected(0x2001) << QStringLiteral("BUS_FLASH");
    QTest::newRow("type 3, read strobe low")
        << 3 << 30 << 0x7FFFFFFFu << 0x7FFFFF00u << QStringLiteral("BUS_READ");
    QTest::newRow("type 3, read strobe low, port 0 high")
        << 3 << 30 << 0x7FFFFFFFu << 0xFFFFFFFFu << QStringLiteral("BUS_ERROR");
}

void TestBusFault::keyword() {
    QFETCH(int, boardType);
    QFETCH(int, step);
    QFETCH(quint32, expected);
    QFETCH(quint32, read);
    QFETCH(QString, keyword);
    QCOMPARE(busFaultKeyword(boardType, step, expected, read), keyword);
}

void TestBusFault::headers_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<bool>("ppi");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("header");
    QTest::newRow("DD3 port 0") << 0 << false << 0
                                << QStringLiteral("Порт 0  -  DD3 : 39 38 37 36 35 34 33 32");
    QTest::newRow("DD3 port 1") << 2 << false << 1
                                << QStringLiteral("Порт 1  -  DD3 : 1  2  3  4  5  6  7  8");
    QTest::newRow("DD5 port 0") << 4 << false << 0
                                << QStringLiteral("Порт 0  -  DD5 : 37 36 35 34 33 32 31 30");
    QTest::newRow("DD5 port 3") << 4 << false << 3
                                << QStringLiteral("Порт 3  -  DD5 : 5  7  8  9  10 11 12 13");
    QTest::newRow("PPI port A") << 0 << true << 0
                                << QStringLiteral("Порт A  -  DD14: 4  3  2  1  40 39 38 37");
    QTest::newRow("PPI port C on type 3")
        << 3 << true << 2 << QStringLiteral("Порт C  -  DD15: 14 15 16 17 13 12 11 10");
}

void TestBusFault::headers() {
    QFETCH(int, boardType);
    QFETCH(bool, ppi);
    QFETCH(int, port);
    QFETCH(QString, header);
    const PortImageModel model(boardType, 0xFFFFFFFF, 0xFFFFFFFF, ppi);
    QCOMPARE(model.rowCount(), ppi ? 9 : 12);
    QCOMPARE(model.row(3 * port).kind, PortImageModel::RowKind::Header);
    QCOMPARE(model.rowText(3 * port), header);
}

void TestBusFault::levelRows() {
    // Port 1 bit 2 should be low but reads high, bit 7 reads low.
    const quint32 expected = ~0x0400u;
    const quint32 read = ~0x8000u;
    const PortImageModel model(0, expected, read, false);
    QCOMPARE(model.title(), QStringLiteral("Тест шин контроллера не прошел !"));
    const PortImageModel::Row e = model.row(4);
    const PortImageModel::Row r = model.row(5);
    QCOMPARE(e.kind, PortImageModel::RowKind::Expected);
    QCOMPARE(r.kind, PortImageModel::RowKind::Read);
    QCOMPARE(int(e.bits), 0xFB);
    QCOMPARE(int(r.bits), 0x7F);
    QCOMPARE(int(r.differing), 0x84);
    QCOMPARE(model.rowText(4), QStringLiteral("Ожидаемый уров.: 1  1  0  1  1  1  1  1"));
    QCOMPARE(model.rowText(5), QStringLiteral("Считанный уров.: 1  1  1  1  1  1  1  0"));
    QCOMPARE(int(model.row(2).differing), 0); // port 0 agrees

    const PortImageModel ppi(0, 0xFFFFFE, 0xFFFFFF, true);
    QCOMPARE(ppi.title(), QStringLiteral("Тест ППИ не прошел !"));
    QCOMPARE(int(ppi.row(2).differing), 1);
}

void TestBusFault::bitsStandUnderTheirPins() {
    const PortImageModel model(4, 0x12345678, 0x87654321, false);
    for (int port = 0; port < 4; ++port) {
        const QString header = model.rowText(3 * port);
        const QString levels = model.rowText(3 * port + 1);
        for (int bit = 0; bit < 8; ++bit) {
            const int col = PortImageModel::bitColumn(bit);
            QCOMPARE(header.mid(col, 3).trimmed(), QString::number(busPin(4, port, bit)));
            QCOMPARE(levels.at(col),
                     QLatin1Char((0x12345678u >> (8 * port + bit)) & 1 ? '1' : '0'));
        }
    }
}

QTEST_GUILESS_MAIN(TestBusFault)
#include "tst_busfault.moc"
