// Board tests from the menu against a simulated board with injected faults:
// each fault fails at the right step with the right display, block, keyword
// and text; link failures end with the link message and leave the next
// command working.

#include "benchrig.h"

#include "app/commandtable.h"
#include "expectedbyte.h"
#include "sim/fault.h"
#include "sim/sampledata.h"
#include "sim/testprocessor.h"
#include "testcommands.h"
#include "testresults.h"

#include <QFile>
#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
const QString kTpCheck = QStringLiteral(
    "\nна отсутствие к.з. Если все нормально,\nто вероятно неисправен тестовый процессор !");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray programImage() {
    QByteArray image(8192, 0);
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 13 + 7);
    return image;
}

quint16 sum16(const QByteArray& b) {
    quint16 s = 0;
    for (char c : b)
        s = quint16(s + quint8(c));
    return s;
}

QStringList boxTexts(const ScriptedPrompts& p) {
    QStringList out;
    for (const PromptEvent& e : p.boxes())
        out << e.title + QStringLiteral(": ") + e.text;
    return out;
}
} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void faultCatalogue_data();
    void faultCatalogue();
    void romAgainstTheSampleFolder_data();
    void romAgainstTheSampleFolder();
    void ramBadCellShowsItsBlock();
    void ramWalkThroughBlocksUntilTheEnd();
    void lastRamBlockDisablesContinue_data();
    void lastRamBlockDisablesContinue();
    void busListLeftWithExit();
    void boardRevisionShortensTheWalk();
    void romWithProgramFile_data();
    void romWithProgramFile();
    void romFileProblems_data();
    void romFileProblems();
    void romType4NeedsTwelveDigits();
    void serialEepromBadCell();
    void fiscalBlankDirtyCell_data();
    void fiscalBlankDirtyCell();
    void fiscalWriteWalksTheAddressBits();
    void silentPeerDuringTest_data();
    void silentPeerDuringTest();
};

void TestFaults::faultCatalogue_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("fault");   // a line of the simulator's fault script
    QTest::addColumn<QString>("display"); // what the engineer is shown first
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("report"); // the start of the report text (bus test)

    const QString none;
    const QString tpShort =
        QStringLiteral(" !\nЕсли замыкания нет,то вероятно неисправен\nтестовый процессор !");
    const QString dd5Short =
        QStringLiteral(" !\nЕсли замыкания нет,то вероятно неисправна\nм/с DD5 !");
    QTest::newRow("RAM cell, type 0")
        << 0 << cmd::RamTest << QStringLiteral("ram-cell addr=0x1235 high=0x10")
        << QStringLiteral("memory 0 1 0x1200") << 123 << QStringLiteral("RAM_ERROR") << none;
    QTest::newRow("RAM cell, type 4")
        << 4 << cmd::RamTest << QStringLiteral("ram-cell addr=0x7001 low=0xFF")
        << QStringLiteral("memory 0 1 0x7000") << 123 << QStringLiteral("RAM_ERROR") << none;
    QTest::newRow("bus line low on the ROM bus")
        << 1 << cmd::BusTest << QStringLiteral("port-low 0.1") << QStringLiteral("ports") << 123
        << QStringLiteral("BUS_ROM") << QStringLiteral("Проверте цепь контакта DD3/38\n");
    QTest::newRow("bus lines shorted")
        << 2 << cmd::BusTest << QStringLiteral("port-short 2.3 2.4") << QStringLiteral("ports")
        << 123 << QStringLiteral("BUS_ERROR")
        << QStringLiteral("Найдите и устраните замыкание цепи \nконтакта DD3/24 c  цепью контакта "
                          "DD3/25") +
               tpShort;
    QTest::newRow("bus line open on port 0")
        << 3 << cmd::BusTest << QStringLiteral("port-open 0.5") << QStringLiteral("ports") << 123
        << QStringLiteral("BUS_ROM") << QStringLiteral("Проверте цепь контакта DD3/34\n");
    QTest::newRow("data bus line, type 4")
        << 4 << cmd::BusTest << QStringLiteral("port-low 0.3") << QStringLiteral("ports") << 123
        << QStringLiteral("DATABUS_ERROR") << QStringLiteral("Проверте цепь контакта DD5/34\n");
    QTest::newRow("bus lines shorted, type 4")
        << 4 << cmd::BusTest << QStringLiteral("port-short 1.0 1.1") << QStringLiteral("ports")
        << 123 << QStringLiteral("BUS_ERROR")
        << QStringLiteral("Найдите и устраните замыкание цепи \nконтакта DD5/40 c  цепью контакта "
                          "DD5/41") +
               dd5Short;
    QTest::newRow("ROM stored sum")
        << 0 << cmd::RomTest << QStringLiteral("rom-sum")
        << QStringLiteral("ask Тест ПЗУ не прошел !") << 123 << QStringLiteral("ROM_ERROR") << none;
    QTest::newRow("ROM byte, type 4")
        << 4 << cmd::RomTest << QStringLiteral("rom-byte half=0 addr=0x3000")
        << QStringLiteral("ask Тест ПЗУ не прошел !") << 123 << QStringLiteral("ROM_ERROR") << none;
    QTest::newRow("clock stopped") << 0 << cmd::TimerTest << QStringLiteral("clock-stopped")
                                   << QStringLiteral("ask Ошибка часов таймера !") << 122
                                   << QStringLiteral("TIMER_CLKERROR") << none;
    QTest::newRow("clock silent") << 1 << cmd::TimerTest << QStringLiteral("clock-silent")
                                  << QStringLiteral("ask Ошибка связи с таймером по шине I2C !")
                                  << 121 << QStringLiteral("TIMER_IOERROR") << none;
    QTest::newRow("clock silent, type 4") << 4 << cmd::TimerTest << QStringLiteral("clock-silent")
                                          << QStringLiteral("ask Ошибка записи-чтения таймера !")
                                          << 123 << QStringLiteral("TIMER_IOERROR") << none;
    QTest::newRow("clock register")
        << 2 << cmd::TimerTest << QStringLiteral("clock-reg reg=17 low=0x01")
        << QStringLiteral("ask Ошибка записи-чтения таймера !") << 123
        << QStringLiteral("TIMER_IOERROR") << none;
    QTest::newRow("28C256 cell") << 0 << cmd::EepromTest
                                 << QStringLiteral("flash-cell bank=1 addr=0x0123 high=0x01")
                                 << QStringLiteral("memory 1 2 0x4100") << 123
                                 << QStringLiteral("FLASH1_ERROR") << none;
    QTest::newRow("29C010 cell") << 4 << cmd::EepromTest
                                 << QStringLiteral("flash-cell bank=2 addr=0x0123 high=0x04")
                                 << QStringLiteral("memory 1 3 0x10100") << 123
                                 << QStringLiteral("FLASH1_ERROR") << none;
    QTest::newRow("24C256 cell") << 3 << cmd::SerialEepromTest
                                 << QStringLiteral("eeprom-cell addr=0x2345 high=0x10")
                                 << QStringLiteral("memory 2 1 0x2300") << 123
                                 << QStringLiteral("FLASH2_ERROR") << none;
    QTest::newRow("24C256 silent") << 1 << cmd::SerialEepromTest << QStringLiteral("eeprom-silent")
                                   << QStringLiteral("ask Ошибка связи с РПЗУ по шине I2C !") << 123
                                   << QStringLiteral("FLASH2_ERROR") << none;
    QTest::newRow("ФП not blank") << 0 << cmd::FiscalBlankCheck
                                  << QStringLiteral("fp-dirty addr=0x4567")
                                  << QStringLiteral("memory 3 7 0x4500") << 123
                                  << QStringLiteral("FPEMPT_ERROR") << none;
    QTest::newRow("ФП not blank, type 4 bank 1")
        << 4 << cmd::FiscalBlankCheck << QStringLiteral("fp-dirty addr=0xC567")
        << QStringLiteral("memory 3 7 0xC500") << 123 << QStringLiteral("FPEMPT_ERROR") << none;
    QTest::newRow("ФП cell takes no write")
        << 2 << cmd::FiscalWriteTest << QStringLiteral("fp-nowrite addr=0x0100")
        << QStringLiteral("memory 4 8 0x0100") << 123 << QStringLiteral("FPWR_ERROR") << none;
    QTest::newRow("ФП cell takes no write, type 4")
        << 4 << cmd::FiscalWriteTest << QStringLiteral("fp-nowrite addr=0x8100")
        << QStringLiteral("memory 7 2 0x8100") << 123 << QStringLiteral("FPWR_ERROR") << none;
    QTest::newRow("PPI line low, type 3")
        << 3 << cmd::PpiTest << QStringLiteral("ppi-low B.2") << QStringLiteral("ppi") << 123
        << QStringLiteral("Управление DD15") << none;
    QTest::newRow("PPI line high")
        << 0 << cmd::PpiTest << QStringLiteral("ppi-high C.7") << QStringLiteral("ppi") << 123
        << QStringLiteral("Управление DD14") << none;
}

void TestFaults::faultCatalogue() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(QString, fault);
    QFETCH(QString, display);
    QFETCH(int, result);
    QFETCH(QString, keyword);
    QFETCH(QString, report);

    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    rig.host.versions << QStringLiteral("нет");
    if (boardType == 4) {
        // The controller software the ROM sums were sealed with, as the workstation filed it.
        for (const sim::DataFile& f : sim::sampleDataFiles())
            if (f.name.endsWith(QStringLiteral(".cpu")))
                writeFile(rig.ctx.workingFolder + f.name, f.bytes);
    }
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(fault, &error), qPrintable(error));
    // The engineer asks for diagnostics everywhere (the ФП write consent first).
    rig.prompts.answer(PromptAnswer::Yes);
    rig.prompts.answer(PromptAnswer::Yes);
    rig.host.memoryAnswers << ResultDiagnostics;
    rig.host.portImageAnswers << 1;

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, command);
    QCOMPARE(out.result, result);
    QCOMPARE(out.keyword, keyword);
    QCOMPARE(rig.scenarios.started, QStringList{keyword + QStringLiteral("/1")});

    const QStringList d = display.split(QLatin1Char(' '));
    if (d[0] == QStringLiteral("memory")) {
        QCOMPARE(rig.host.blocks.size(), 1);
        QCOMPARE(int(rig.host.blocks[0].kind), d[1].toInt());
        QCOMPARE(rig.host.blocks[0].pattern, d[2].toInt());
        QCOMPARE(rig.host.blocks[0].block, d[3].toUInt(nullptr, 16));
        QVERIFY(rig.host.blocks[0].differing > 0);
    } else if (d[0] == QStringLiteral("ask")) {
        const QString title = display.mid(4);
        QList<PromptEvent> questions;
        for (const PromptEvent& e : rig.prompts.boxes())
            if (e.title == title)
                questions << e;
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].icon, PromptIcon::Stop);
    } else {
        QCOMPARE(rig.host.portImages.size(), 1);
        QCOMPARE(rig.host.portImages[0].isPpi(), d[0] == QStringLiteral("ppi"));
    }
    if (!report.isEmpty())
        QVERIFY2(rig.ctx.reportText.startsWith(report), qPrintable(rig.ctx.reportText));
}

void TestFaults::romAgainstTheSampleFolder_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("passes");
    QTest::newRow("the board's version") << 0 << QStringLiteral("v220.prg") << true;
    QTest::newRow("another version") << 2 << QStringLiteral("v301.prg") << false;
}

void TestFaults::romAgainstTheSampleFolder() {
    QFETCH(int, boardType);
    QFETCH(QString, version);
    QFETCH(bool, passes);
    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    for (const sim::DataFile& f : sim::sampleDataFiles())
        writeFile(rig.ctx.workingFolder + f.name, f.bytes);
    rig.host.versions << version;
    rig.prompts.answer(PromptAnswer::No);
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RomTest);
    QCOMPARE(out.completed && !out.failed, passes);
    QCOMPARE(rig.host.ranges.first(), 3);
}

void TestFaults::ramBadCellShowsItsBlock() {
    BenchRig rig(0);
    rig.ctx.dontShowStartDialog = true;
    rig.board().ram().setCellFault(0x0345, 0, 0x01); // bit 0 stuck high
    rig.host.memoryAnswers << ResultNextStep << ResultDiagnostics;

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
    QCOMPARE(out.result, int(ResultDiagnostics));
    QCOMPARE(out.keyword, QStringLiteral("RAM_ERROR"));
    QCOMPARE(rig.scenarios.started, QStringList{QStringLiteral("RAM_ERROR/1")});
    QCOMPARE(rig.host.blocks.size(), 2);
    QCOMPARE(rig.host.blocks[0].pattern, 1);
    QCOMPARE(rig.host.blocks[0].block, 0x0300u);
    QCOMPARE(rig.host.blocks[0].title, QStringLiteral("Ошибка теста N1 ОЗУ !"));
    QCOMPARE(rig.host.blocks[0].differing, 1);
    QCOMPARE(rig.host.blocks[1].pattern, 2);
    QVERIFY(!rig.ctx.busy);
}

void TestFaults::ramWalkThroughBlocksUntilTheEnd() {
    // Bit 0 stuck high at an odd address fails patterns 1, 2, 4 and 6. "Продолжить
    // тест" walks on through the clean blocks to the last one each time.
    BenchRig rig(0);
    rig.ctx.dontShowStartDialog = true;
    rig.board().ram().setCellFault(0x0345, 0, 0x01);
    rig.host.memoryAnswers << 1 << 1 << 1 << 1;

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
    QCOMPARE(out.result, int(ResultExit));
    QVERIFY(out.completed);
    QVERIFY(out.failed);
    QVERIFY(out.keyword.isEmpty());
    QCOMPARE(rig.host.texts.last(), QStringLiteral("Тест не прошел !"));
    QList<int> patterns;
    for (const auto& b : rig.host.blocks)
        patterns << b.pattern;
    QCOMPARE(patterns, (QList<int>{1, 2, 4, 6}));
    QVERIFY(!rig.host.blocks.last().nextTestEnabled); // no step after pattern 6
    QCOMPARE(rig.host.cleanBlocks, 4 * ((0x1F80 - 0x0300) / 0x80));
}

void TestFaults::lastRamBlockDisablesContinue_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("cell");
    QTest::addColumn<bool>("continueEnabled");
    QTest::newRow("type 0 last block") << 0 << 0x1FF1 << false;
    QTest::newRow("type 0 block before") << 0 << 0x1F71 << true;
    QTest::newRow("type 4 last block") << 4 << 0x7FF1 << false;
    QTest::newRow("type 4 old last block") << 4 << 0x1FF1 << true;
}

void TestFaults::lastRamBlockDisablesContinue() {
    QFETCH(int, boardType);
    QFETCH(int, cell);
    QFETCH(bool, continueEnabled);
    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    rig.board().ram().setCellFault(quint32(cell), 0, 0x01);
    RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
    QVERIFY(!rig.host.blocks.isEmpty());
    QCOMPARE(rig.host.blocks[0].block, quint32(cell) & ~0x7Fu);
    QCOMPARE(rig.host.blocks[0].continueEnabled, continueEnabled);
}

void TestFaults::busListLeftWithExit() {
    BenchRig rig(1);
    rig.ctx.dontShowStartDialog = true;
    rig.ctx.lastErrorKeyword = QStringLiteral("EARLIER");
    rig.host.beforeDialog = [&] { rig.board().port(2).stuckHigh = 0x10; };
    rig.host.portImageAnswers << 2;
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::BusTest);
    QCOMPARE(out.result, int(ResultExit));
    QVERIFY(out.keyword.isEmpty());
    QVERIFY(rig.scenarios.started.isEmpty());
    QCOMPARE(rig.ctx.lastErrorKeyword, QStringLiteral("EARLIER"));
    // The zero walked onto the stuck line: step 1 + bit 20 of the image.
    QCOMPARE(rig.host.portImages[0].expected() ^ rig.host.portImages[0].read(), 0x100000u);
}

void TestFaults::boardRevisionShortensTheWalk() {
    BenchRig rig(0);
    rig.ctx.dontShowStartDialog = true;
    QString error;
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("older-revision"),
                                      &error)); // port 3 bit 2 reads 0
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::BusTest);
    QCOMPARE(int(rig.ctx.boardRevision), 1);
    QCOMPARE(rig.host.ranges.first(), 31);
    QVERIFY(out.completed && !out.failed);
}

void TestFaults::romWithProgramFile_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<bool>("sealed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("result");
    QTest::newRow("sum matches") << 1 << true << 0 << int(ResultExit);
    QTest::newRow("sum differs, diagnostics")
        << 1 << false << int(PromptAnswer::Yes) << int(ResultDiagnostics);
    QTest::newRow("sum differs, declined")
        << 3 << false << int(PromptAnswer::No) << int(ResultExit);
}

void TestFaults::romWithProgramFile() {
    QFETCH(int, boardType);
    QFETCH(bool, sealed);
    QFETCH(int, answer);
    QFETCH(int, result);

    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    const QByteArray image = programImage();
    writeFile(rig.ctx.workingFolder + QStringLiteral("ctl310.bin"), image);
    if (sealed)
        rig.board().sealProgramChecksum(sum16(image));
    rig.host.versions << QStringLiteral("ctl310.bin");
    rig.prompts.answer(PromptAnswer(answer));

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RomTest);
    QCOMPARE(out.result, result);
    QCOMPARE(rig.host.ranges.first(), 3);
    if (sealed) {
        QVERIFY(out.completed && !out.failed);
        QVERIFY(rig.host.texts.last().startsWith(QStringLiteral("Тест прошел ! ( КС = ")));
        return;
    }
    const QList<PromptEvent> boxes = rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Тест ПЗУ не прошел !"));
    QCOMPARE(boxes[0].icon, PromptIcon::Stop);
    QVERIFY(boxes[0].text.startsWith(QStringLiteral("Подсчитанная контрольная сумма = ")));
    QVERIFY(boxes[0].text.endsWith(QStringLiteral(".\n\n           Запустить диагностику ?")));
    QCOMPARE(out.keyword, result == ResultDiagnostics ? QStringLiteral("ROM_ERROR") : QString());
}

void TestFaults::romFileProblems_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("fileSize"); // -1: no file
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("no file defined")
        << QString() << -1 << int(ResultNoProgramFile)
        << QStringLiteral("Для версии ПО не определен файл \"прошивки\" контроллера!");
    QTest::newRow("missing") << QStringLiteral("p.bin") << -1 << int(ResultProgramFileMissing)
                             << QStringLiteral("Не найден файл \"p.bin\"!");
    QTest::newRow("short") << QStringLiteral("p.bin") << 8191 << int(ResultProgramFileUnreadable)
                           << QStringLiteral("Ошибка чтения файла \"p.bin\"!");
    QTest::newRow("outside the folder")
        << QStringLiteral("../p.bin") << -1 << int(ResultNoProgramFile)
        << QStringLiteral("Файл \"прошивки\" контроллера \"../p.bin\"\nдолжен "
                          "находиться в рабочей папке программы!");
    QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << -1 << int(ResultNoProgramFile)
                              << QStringLiteral(
                                     "Файл \"прошивки\" контроллера \"/etc/passwd\"\nдолжен "
                                     "находиться в рабочей папке программы!");
    QTest::newRow("drive") << QStringLiteral("C:\\x.bin") << -1 << int(ResultNoProgramFile)
                           << QStringLiteral("Файл \"прошивки\" контроллера \"C:\\x.bin\"\nдолжен "
                                             "находиться в рабочей папке программы!");
}

void TestFaults::romFileProblems() {
    QFETCH(QString, version);
    QFETCH(int, fileSize);
    QFETCH(int, result);
    QFETCH(QString, text);

    BenchRig rig(0);
    rig.ctx.dontShowStartDialog = true;
    if (fileSize >= 0)
        writeFile(rig.ctx.workingFolder + version, QByteArray(fileSize, 'x'));
    rig.host.versions << version;
    quint64 framesBefore = 0;
    rig.host.beforeDialog = [&] { framesBefore = rig.bench.testProcessor().frameCount(); };

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RomTest);
    QCOMPARE(out.result, result);
    QCOMPARE(rig.bench.testProcessor().frameCount(), framesBefore); // nothing sent
    QCOMPARE(boxTexts(rig.prompts), QStringList{QStringLiteral("Тест ПЗУ: ") + text});
    QVERIFY(out.keyword.isEmpty());
    QVERIFY(!rig.ctx.busy);
}

void TestFaults::romType4NeedsTwelveDigits() {
    BenchRig rig(4);
    rig.ctx.dontShowStartDialog = true;
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram,
                               QByteArrayLiteral("12345678901X"));
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RomTest);
    QCOMPARE(out.runs, 0);
    QCOMPARE(
        boxTexts(rig.prompts),
        QStringList{QStringLiteral("Тест ПЗУ...: Ошибка определения имени файла ПО контроллера")});
}

void TestFaults::serialEepromBadCell() {
    BenchRig rig(2);
    rig.ctx.dontShowStartDialog = true;
    rig.board().serialEeprom().memory().setCellFault(0x1235, 0, 0x10);
    rig.host.memoryAnswers << 1 << ResultExit;
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::SerialEepromTest);
    QCOMPARE(out.result, int(ResultExit));
    QVERIFY(!out.completed);
    QCOMPARE(rig.host.blocks.size(), 2); // pattern 1, then pattern 2 after "Продолжить тест"
    QCOMPARE(rig.host.blocks[0].kind, MemoryErrorKind::SerialEeprom);
    QCOMPARE(rig.host.blocks[0].block, 0x1200u);
    QCOMPARE(rig.host.blocks[0].pattern, 1);
    QCOMPARE(rig.host.blocks[1].pattern, 2);
}

void TestFaults::fiscalBlankDirtyCell_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("cell");
    QTest::newRow("type 1: background check") << 1 << 0x2345;
    QTest::newRow("type 4: bank 1") << 4 << 0x9345;
    QTest::newRow("type 2: the last block ends the check") << 2 << 0xFFF0;
}

void TestFaults::fiscalBlankDirtyCell() {
    QFETCH(int, boardType);
    QFETCH(int, cell);
    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    rig.board().fiscalMemory().setCellFault(quint32(cell), 0x10, 0);
    rig.host.memoryAnswers << 1;

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::FiscalBlankCheck);
    QCOMPARE(rig.host.blocks.size(), 1);
    QCOMPARE(rig.host.blocks[0].kind, MemoryErrorKind::FiscalBlank);
    QCOMPARE(rig.host.blocks[0].block, quint32(cell) & ~0x7Fu);
    QCOMPARE(rig.host.blocks[0].title, QStringLiteral("Накопитель ФП не пуст !"));
    QVERIFY(!rig.host.blocks[0].nextTestEnabled);
    // "Продолжить тест" lets the check go on behind the block; the rest is blank.
    QCOMPARE(out.result, int(ResultExit));
    QVERIFY(out.completed && out.failed);
    QCOMPARE(rig.host.texts.last(), QStringLiteral("Тест не прошел !"));
}

void TestFaults::fiscalWriteWalksTheAddressBits() {
    BenchRig rig(0);
    rig.ctx.dontShowStartDialog = true;
    rig.prompts.answer(PromptAnswer::Yes);
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::FiscalWriteTest);
    QVERIFY(out.completed && !out.failed);
    QCOMPARE(rig.host.ranges, (QList<int>{32, 17})); // write phase, then the verify phase

    QList<quint16> written;
    const sim::Memory& fp = rig.board().fiscalMemory();
    for (quint32 a = 0; a < 0x10000; ++a) {
        if (fp.read(a) != 0xFF) {
            QCOMPARE(fp.read(a), ExpectedByte(8, quint16(a)));
            written << quint16(a);
        }
    }
    QList<quint16> walk;
    for (int bit = 0; bit < 16; ++bit)
        walk << quint16(1u << bit) << quint16(~(1u << bit));
    std::sort(walk.begin(), walk.end());
    QCOMPARE(written, walk);

    const QList<PromptEvent> boxes = rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Внимание !"));
    QCOMPARE(boxes[0].defaultAnswer, PromptAnswer::No);
}

void TestFaults::silentPeerDuringTest_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("text");
    const QString tp = QStringLiteral("Нет связи с тестовым процессором !    ");
    QTest::newRow("RAM pass result") << 0 << cmd::RamTest << QStringLiteral("silence cmd=12") << tp;
    QTest::newRow("bus read port")
        << 2 << cmd::BusTest << QStringLiteral("silence cmd=2 after=5") << tp;
    QTest::newRow("type 4 bank check") << 4 << cmd::EepromTest << QStringLiteral("silence cmd=14")
                                       << QStringLiteral("Нет связи с контроллером БУ !    ");
    QTest::newRow("wrong sum") << 3 << cmd::RamTest << QStringLiteral("bad-checksum cmd=12")
                               << QStringLiteral("Ошибка приема/передачи !    ");
    QTest::newRow("ФП check result never comes")
        << 1 << cmd::FiscalBlankCheck << QStringLiteral("short missing=4 cmd=22") << tp;
}

void TestFaults::silentPeerDuringTest() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(QString, faults);
    QFETCH(QString, text);

    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    // From the first tick on, the peer fails as the script says.
    rig.host.beforeDialog = [&] {
        QString error;
        QVERIFY2(rig.bench.loadFaultScript(faults, &error), qPrintable(error));
    };
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, command);
    QCOMPARE(out.result, int(ResultLinkFailure));
    QVERIFY(out.linkFailure);
    QCOMPARE(boxTexts(rig.prompts).last(), QStringLiteral("Com1: ") + text);
    QVERIFY(!rig.ctx.busy);

    // The next command works again.
    rig.bench.clearFaults();
    rig.prompts.clear();
    rig.host.beforeDialog = {};
    const TestCommandOutcome again = RunTestCommand(rig.ctx, rig.host, cmd::BusTest);
    QVERIFY(again.completed && !again.failed);
}

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_testfaults.moc"
