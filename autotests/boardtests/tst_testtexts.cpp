// The texts of the test commands, spelled out as the engineer must read them:
// doubled blanks, tabs and the odd spelling are part of them.

#include "fiscalconsent.h"
#include "startdialogtexts.h"
#include "timertest.h"

#include <QTest>
#include <array>

using namespace kia;

class TestTestTexts : public QObject {
    Q_OBJECT

private slots:
    void startDialogInstructions_data();
    void startDialogInstructions();
    void fiscalWarnings();
    void clockRollover_data();
    void clockRollover();
    void timerReadBack_data();
    void timerReadBack();
};

void TestTestTexts::startDialogInstructions_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("text");
    const QString processor = QStringLiteral("Перед тестированием  установите на блоке управления  тестовый процессор на место DD3, отключите разъемы X5, X6, X7, подключите  COM-порт компьютера через логическй пробник к разъему  X1, и включите питание кассы !");
    QTest::newRow("type 0") << 0 << processor;
    QTest::newRow("type 1") << 1 << processor;
    QTest::newRow("type 2") << 2 << processor;
    QTest::newRow("type 3") << 3 << QStringLiteral("Перед тестированием  установите на блоке управления  тестовый процессор\nна место DD3,отключите разъемы X5, X6, X7, X8, подключите COM-порт\nкомпьютера через логическй пробник к разъему X1 и включите\nпитание кассы !");
    QTest::newRow("type 4") << 4 << QStringLiteral("Перед тестированием отключите разъемы X5,X6, X7, X10 блока управления,\nподключите COM-порт компьютера через логическй пробник к программатору,\nа программатор к разъемам X1 и X4 блока управления и включите питание\nкассы !");
}

void TestTestTexts::startDialogInstructions() {
    QFETCH(int, boardType);
    QFETCH(QString, text);
    QCOMPARE(startdialog::instructionText(boardType), text);
    QCOMPARE(startdialog::title(), QStringLiteral("Начало тестирования"));
    QCOMPARE(startdialog::dontShowCheckBox(), QStringLiteral("Больше не выводить это сообщение."));
    QCOMPARE(startdialog::schemeButton(false), QStringLiteral("Схема подключения"));
    QCOMPARE(startdialog::schemeButton(true), QStringLiteral("Скрыть схему"));
}

void TestTestTexts::fiscalWarnings() {
    QCOMPARE(fiscalWriteWarningText(), QStringLiteral("Тест проводит запись в некоторые ячейки ФП,поэтому\t\t\nпосле проведения теста потребуется стирание накопителя ФП.\nПеред проведением теста накопитель ФП должен быть пуст !\n\n\t\t  Продолжить ?"));
    QCOMPARE(fiscalDataWarningText(), QStringLiteral("Возможно ФП содержит фискальные данные!\t\t\nДля сохранения этих данных сначала воспользуйтесь сервисом\n\"Сохранение данных ФП в файл\",а после завершения этого теста\nсервисом \"Восстановление данных ФП из файла\"!\nПродолжение, без сохранения данных ФП приведет к их\nбезвозвратной потере!\n\n\t\t  Продолжить ?"));
}

void TestTestTexts::clockRollover_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QByteArray>("clock");
    QTest::addColumn<bool>("rolled");
    // Types 0..3: bytes 3 and 4 (minutes, hours) 0, byte 5 0x41, byte 6 0x21.
    QTest::newRow("0..3 new year") << 0 << QByteArray::fromHex("00000200004121") << true;
    QTest::newRow("0..3 seconds ignored") << 2 << QByteArray::fromHex("00990300004121") << true;
    QTest::newRow("0..3 still 23 h") << 1 << QByteArray::fromHex("00000059234121") << false;
    QTest::newRow("0..3 minute not 0") << 0 << QByteArray::fromHex("00000001004121") << false;
    QTest::newRow("0..3 day byte wrong") << 3 << QByteArray::fromHex("00000000004021") << false;
    QTest::newRow("0..3 month byte wrong") << 0 << QByteArray::fromHex("00000000004131") << false;
    // Type 4: bytes 1 and 2 (minutes, hours) 0, bytes 4, 5, 6 (date, month, year) 1.
    QTest::newRow("4 new year") << 4 << QByteArray::fromHex("02000001010101") << true;
    QTest::newRow("4 weekday ignored") << 4 << QByteArray::fromHex("03000006010101") << true;
    QTest::newRow("4 still 23 h") << 4 << QByteArray::fromHex("59592307311200") << false;
    QTest::newRow("4 hour not 0") << 4 << QByteArray::fromHex("00000101010101") << false;
    QTest::newRow("4 year not 1") << 4 << QByteArray::fromHex("00000001010100") << false;
}

void TestTestTexts::clockRollover() {
    QFETCH(int, boardType);
    QFETCH(QByteArray, clock);
    QFETCH(bool, rolled);
    const auto bytes = std::span<const quint8>(reinterpret_cast<const quint8*>(clock.constData()),
                                               size_t(clock.size()));
    QCOMPARE(TimerTest::rolledOver(boardType, bytes), rolled);
}

void TestTestTexts::timerReadBack_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("flip");
    QTest::addColumn<bool>("same");
    // Types 0..3 compare every byte; type 4 only the clock bits that hold still:
    // mask 00 00 00 07 00 00 00 93 and ten FF.
    QTest::newRow("0..3 identical") << 0 << -1 << 0 << true;
    QTest::newRow("0..3 seconds differ") << 1 << 0 << 0x01 << false;
    QTest::newRow("0..3 last byte differs") << 3 << 17 << 0x80 << false;
    QTest::newRow("4 seconds ignored") << 4 << 0 << 0xFF << true;
    QTest::newRow("4 hours ignored") << 4 << 2 << 0xFF << true;
    QTest::newRow("4 weekday low bits") << 4 << 3 << 0x04 << false;
    QTest::newRow("4 weekday high bits ignored") << 4 << 3 << 0xF8 << true;
    QTest::newRow("4 control bit 7") << 4 << 7 << 0x80 << false;
    QTest::newRow("4 control bit 2 ignored") << 4 << 7 << 0x04 << true;
    QTest::newRow("4 RAM byte 8") << 4 << 8 << 0x01 << false;
    QTest::newRow("4 RAM byte 17") << 4 << 17 << 0x40 << false;
}

void TestTestTexts::timerReadBack() {
    QFETCH(int, boardType);
    QFETCH(int, index);
    QFETCH(int, flip);
    QFETCH(bool, same);
    std::array<quint8, 18> written{};
    for (int i = 0; i < 18; ++i)
        written[size_t(i)] = quint8(0x5A ^ (i * 37));
    std::array<quint8, 18> read = written;
    if (index >= 0)
        read[size_t(index)] ^= quint8(flip);
    QCOMPARE(TimerTest::sameData(boardType, written, read), same);
}

QTEST_GUILESS_MAIN(TestTestTexts)
#include "tst_testtexts.moc"
