#include "servicerig.h"

#include "service/softwareupdate.h"
#include "service/softwareverification.h"
#include "sim/boardmodel.h"
#include "sim/cashregister.h"
#include "link/linkstatus.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace kia;
using namespace testhost;

// The software update (program EEPROM + DD5) and the verification of a
// running cash register.
class TestSoftwareUpdate : public QObject {
    Q_OBJECT
private slots:
    void updateWritesProgramAndController();
    void noToJp1LeavesBoardUntouched();
    void updateRefusesWrongSizeBeforeErasing_data();
    void updateRefusesWrongSizeBeforeErasing();
    void updatePageThatDoesNotWrite();
    void verifyAtEverySpeed_data();
    void verifyAtEverySpeed();
    void verifyIgnoresUnusedRange();
    void registerFromFaultScript_data();
    void byteReadingBackWrongFailsItsCheck_data();
    void byteReadingBackWrongFailsItsCheck();
    void registerFromFaultScript();
    void verifyFindsDifference();
    void verifyNoRegister();
    void verifyCancelledFileDialogSwitchesBack();
};

namespace {
QByteArray updateImage() {
    QByteArray image(131072, 0);
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 31 + (i >> 9)) & 0xFF);
    // The controller part must not carry the test program's name by chance.
    image.replace(8180, 12, QByteArrayLiteral("424242424242"));
    return image;
}

void onCashRegister(ServiceRig& s, qint32 speed) {
    s.rig.bench.setCable(sim::Bench::Cable::CashRegister);
    s.rig.bench.cashRegister().setSpeed(speed);
    sim::Bench* bench = &s.rig.bench;
    sim::VirtualClock* clock = &s.rig.clock;
    s.rig.ctx.ports.setSimulatorMaker([bench, clock](int) -> std::unique_ptr<SerialLine> {
        return std::make_unique<sim::BenchLine>(*bench, *clock);
    });
    s.rig.ctx.ports.setAllSimulated(true);
}
} // namespace

void TestSoftwareUpdate::updateWritesProgramAndController() {
    ServiceRig s;
    const QString path = s.folder() + QStringLiteral("new.bin");
    const QByteArray image = updateImage();
    QVERIFY(writeFile(path, image));
    sim::Memory& program = s.rig.board().programMemory();
    const QByteArray programBefore(reinterpret_cast<const char*>(program.data()), int(program.size()));
    s.rig.prompts.answer(PromptAnswer::Yes);
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RunSoftwareUpdate(s.rig.ctx, s.service, [] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); }),
             int(OpDone));
    // The test program went in without saving the software first (skip save).
    QCOMPARE(s.service.modes, (QList<int>{ModeWriteTestProgram, ModeUpdateSoftware}));
    QCOMPARE(s.dd5Code(), image.left(8192));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(program.data()) + 0x2000, 0xE000), image.mid(0x2000, 0xE000));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(program.data()) + 0x12000, 0xE000), image.mid(0x12000, 0xE000));
    const QList<PromptEvent> boxes = s.rig.prompts.boxes();
    QCOMPARE(boxes.first().text, QStringLiteral("Установите на блоке управления перемычку \"JP1\" !   \n\n"
                                                "                        Продолжить ?"));
    QCOMPARE(boxes.last().text, QStringLiteral("ПО кассы успешно обновлено !  \nНе забудте удалить перемычку \"GP1\".  "));
    QCOMPARE(boxes.last().title, QStringLiteral("Обновление ПО кассы"));
    // The program EEPROM as it was before the erase is kept.
    const QString backup = s.folder() + QStringLiteral("backups/program-20260102-030405.bin");
    const QByteArray saved = readAll(backup);
    QCOMPARE(saved.size(), 131072);
    QCOMPARE(saved.mid(0x2000, 0xE000), programBefore.mid(0x2000, 0xE000));
    QCOMPARE(s.service.status, QStringList{QStringLiteral("Резервная копия: ") + backup});
    QVERIFY(!s.rig.ctx.busy);
}

void TestSoftwareUpdate::noToJp1LeavesBoardUntouched() {
    ServiceRig s;
    const QByteArray before = s.dd5Code();
    QCOMPARE(RunSoftwareUpdate(s.rig.ctx, s.service), 0);
    QCOMPARE(s.dd5Code(), before);
    QVERIFY(s.service.modes.isEmpty());
    QCOMPARE(s.rig.prompts.events.first().kind, PromptEvent::Beep);
    QCOMPARE(s.rig.ctx.link.openPort(), 1); // attached by the rig, never used
    QVERIFY(!s.rig.ctx.busy);
}

void TestSoftwareUpdate::updateRefusesWrongSizeBeforeErasing_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("one short") << 131071;
    QTest::newRow("one long") << 131073;
    QTest::newRow("empty") << 0;
}

void TestSoftwareUpdate::updateRefusesWrongSizeBeforeErasing() {
    QFETCH(int, size);
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const QString path = s.folder() + QStringLiteral("bad.bin");
    QVERIFY(writeFile(path, QByteArray(size, 0)));
    sim::Memory& program = s.rig.board().programMemory();
    const QByteArray before(reinterpret_cast<const char*>(program.data()), int(program.size()));
    s.rig.prompts.answer(PromptAnswer::Yes);
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RunSoftwareUpdate(s.rig.ctx, s.service), int(OpFileSize));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(program.data()), int(program.size())), before);
    QCOMPARE(s.rig.prompts.boxes().last().text,
             QStringLiteral("Неверный размер файла ") + path + QStringLiteral(" !  "));
    QVERIFY(!QDir(s.folder() + QStringLiteral("backups")).exists() ||
            QDir(s.folder() + QStringLiteral("backups")).entryList(QDir::Files).isEmpty());
}

void TestSoftwareUpdate::updatePageThatDoesNotWrite() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    s.rig.board().programMemory().setCellFault(0x3005, 0x02, 0);
    const QString path = s.folder() + QStringLiteral("new.bin");
    QByteArray image = updateImage();
    image[0x3005] = char(0xFF);
    QVERIFY(writeFile(path, image));
    s.rig.prompts.answer(PromptAnswer::Yes);
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RunSoftwareUpdate(s.rig.ctx, s.service), int(OpWrongSize));
    QCOMPARE(s.rig.prompts.boxes().last().text, QStringLiteral("Ошибка записи в программное РПЗУ !  "));
    QVERIFY(s.rig.bench.dd5().holdsTestProgram()); // DD5 not touched after the failure
}

void TestSoftwareUpdate::verifyAtEverySpeed_data() {
    QTest::addColumn<int>("speed");
    QTest::newRow("9600") << 9600;
    QTest::newRow("19200") << 19200;
    QTest::newRow("57600") << 57600;
    QTest::newRow("115200") << 115200;
}

void TestSoftwareUpdate::verifyAtEverySpeed() {
    QFETCH(int, speed);
    ServiceRig s;
    onCashRegister(s, speed);
    const QString path = s.folder() + QStringLiteral("kassa.bin");
    QVERIFY(writeFile(path, sim::CashRegister::softwareImage()));
    s.rig.prompts.chooseFile(path);
    const quint64 framesBefore = s.rig.bench.cashRegister().frameCount();
    QCOMPARE(RunSoftwareVerification(s.rig.ctx, s.service), int(OpDone));
    QCOMPARE(s.rig.bench.cashRegister().speed(), speed);
    // 1920 reads and the ping that found it; a switch to 115200 and back adds
    // a set-speed frame and a ping each.
    QCOMPARE(s.rig.bench.cashRegister().frameCount() - framesBefore,
             quint64(1921 + (speed == 115200 ? 0 : 4)));
    QCOMPARE(s.service.sinks.last().steps, 1920);
    QCOMPARE(s.rig.ctx.link.openPort(), 0);
    QCOMPARE(s.rig.ctx.linkStatus, quint8(0));
    QVERIFY(!s.rig.ctx.busy);
    const PromptEvent box = s.rig.prompts.boxes().last();
    QCOMPARE(box.text, QStringLiteral("ПО кассы соответствует эталонному !  "));
    QCOMPARE(box.title, QStringLiteral("Верификация ПО кассы"));
}

void TestSoftwareUpdate::registerFromFaultScript_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("result");
    QTest::newRow("57600") << "register-cable\nregister-speed 57600" << 57600 << int(OpDone);
    QTest::newRow("115200") << "register-speed 115200\nregister-cable" << 115200 << int(OpDone);
    QTest::newRow("power-on speed") << "register-cable" << 9600 << int(OpDone);
    // Without the cable the register is not there: no speed answers.
    QTest::newRow("cable on the board") << "register-speed 57600" << 57600
                                        << int(OpLinkBase + 2);
}

void TestSoftwareUpdate::registerFromFaultScript() {
    QFETCH(QString, script);
    QFETCH(int, speed);
    QFETCH(int, result);
    ServiceRig s;
    QString error;
    QVERIFY2(s.rig.bench.loadFaultScript(script, &error), qPrintable(error));
    QCOMPARE(s.rig.bench.cashRegister().speed(), speed);
    sim::Bench* bench = &s.rig.bench;
    sim::VirtualClock* clock = &s.rig.clock;
    s.rig.ctx.ports.setSimulatorMaker([bench, clock](int) -> std::unique_ptr<SerialLine> {
        return std::make_unique<sim::BenchLine>(*bench, *clock);
    });
    s.rig.ctx.ports.setAllSimulated(true);
    const QString path = s.folder() + QStringLiteral("kassa.bin");
    QVERIFY(writeFile(path, sim::CashRegister::softwareImage()));
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RunSoftwareVerification(s.rig.ctx, s.service), result);
    QCOMPARE(s.rig.bench.cashRegister().speed(), speed); // switched back where it was
}

void TestSoftwareUpdate::byteReadingBackWrongFailsItsCheck_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("result");
    // Each memory's read-back meets the byte; without the fault it passes. The
    // test program checks every data and program page it writes by reading it
    // back, so there the write phase already reports it (132, 134).
    QTest::newRow("ФП restore") << "read-flip fp addr=0x8123 xor=0x10" << int(ModeRestoreFiscal)
                                << int(OpFileRead);
    QTest::newRow("ФП restore, no fault") << "" << int(ModeRestoreFiscal) << int(OpDone);
    QTest::newRow("РПЗУ restore") << "read-flip eeprom addr=0x1FFFF" << int(ModeRestoreEeprom)
                                  << int(OpFileRead);
    QTest::newRow("program EEPROM check") << "read-flip program addr=0x12345"
                                          << int(ModeUpdateSoftware) << int(OpWrongSize);
    QTest::newRow("update, no fault") << "" << int(ModeUpdateSoftware) << int(OpDone);
    QTest::newRow("DD5 check") << "read-flip dd5 addr=0x0100 xor=0x80"
                               << int(ModeWriteControllerSoftware) << int(OpCompare);
    // A flip outside the compared range (0x10000..0x11FFF) is never seen.
    QTest::newRow("register, compared byte") << "read-flip register addr=0x1FFFF"
                                             << int(ModeVerifySoftware) << int(OpCompare);
    QTest::newRow("register, unused range") << "read-flip register addr=0x10010"
                                            << int(ModeVerifySoftware) << int(OpDone);
}

void TestSoftwareUpdate::byteReadingBackWrongFailsItsCheck() {
    QFETCH(QString, script);
    QFETCH(int, mode);
    QFETCH(int, result);
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    QString error;
    QVERIFY2(s.rig.bench.loadFaultScript(script, &error), qPrintable(error));
    const QString path = s.folder() + QStringLiteral("image.bin");
    OperationArgument a;
    a.text = path;
    switch (mode) {
    case ModeRestoreFiscal:
        QVERIFY(writeFile(path, updateImage().left(65536)));
        break;
    case ModeRestoreEeprom:
        QVERIFY(writeFile(path, updateImage()));
        break;
    case ModeWriteControllerSoftware:
        a.image = updateImage().left(8192);
        break;
    case ModeVerifySoftware:
        onCashRegister(s, 115200);
        QVERIFY(writeFile(path, sim::CashRegister::softwareImage()));
        s.rig.prompts.chooseFile(path);
        QCOMPARE(RunSoftwareVerification(s.rig.ctx, s.service), result);
        return;
    case ModeUpdateSoftware:
        QVERIFY(writeFile(path, updateImage()));
        s.rig.prompts.answer(PromptAnswer::Yes);
        s.rig.prompts.chooseFile(path);
        QCOMPARE(RunSoftwareUpdate(s.rig.ctx, s.service), result);
        return;
    }
    if (mode == ModeRestoreFiscal || mode == ModeRestoreEeprom)
        QVERIFY(s.rig.ctx.link.WritePort(1, mode == ModeRestoreFiscal ? 6 : 7, 7));
    NullProgressSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, mode, a), result);
}

void TestSoftwareUpdate::verifyIgnoresUnusedRange() {
    ServiceRig s;
    onCashRegister(s, 115200);
    QByteArray image = sim::CashRegister::softwareImage();
    for (int i = 0x10000; i < 0x12000; ++i)
        image[i] = char(~image[i]);
    const QString path = s.folder() + QStringLiteral("ref.bin");
    QVERIFY(writeFile(path, image));
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RunSoftwareVerification(s.rig.ctx, s.service), int(OpDone));
}

void TestSoftwareUpdate::verifyFindsDifference() {
    ServiceRig s;
    onCashRegister(s, 57600);
    QByteArray image = sim::CashRegister::softwareImage();
    image[0x1FFFF] = char(~image[0x1FFFF]);
    const QString path = s.folder() + QStringLiteral("ref.bin");
    QVERIFY(writeFile(path, image));
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RunSoftwareVerification(s.rig.ctx, s.service), int(OpCompare));
    QCOMPARE(s.service.sinks.last().steps, 1919);
    QCOMPARE(s.rig.prompts.boxes().last().text,
             QStringLiteral("Ошибка сравнения ПО кассы с эталонной версией!  "));
    // 133: the register stays at 115200, as the command leaves it.
    QCOMPARE(s.rig.bench.cashRegister().speed(), 115200);
}

void TestSoftwareUpdate::verifyNoRegister() {
    ServiceRig s;
    onCashRegister(s, 9600);
    QString error;
    QVERIFY(s.rig.bench.loadFaultScript(QStringLiteral("silence"), &error));
    QCOMPARE(RunSoftwareVerification(s.rig.ctx, s.service), OpLinkBase + int(LinkReadError));
    QCOMPARE(s.rig.prompts.boxes().size(), 1);
    const StatusMessage m = CashLinkStatusText(LinkReadError, 1);
    QCOMPARE(s.rig.prompts.boxes()[0].text, m.text);
    QCOMPARE(s.rig.ctx.link.openPort(), 0);
    QVERIFY(s.service.modes.isEmpty());
}

void TestSoftwareUpdate::verifyCancelledFileDialogSwitchesBack() {
    ServiceRig s;
    onCashRegister(s, 19200);
    QCOMPARE(RunSoftwareVerification(s.rig.ctx, s.service), 0);
    QCOMPARE(s.rig.bench.cashRegister().speed(), 19200);
    QVERIFY(s.rig.prompts.boxes().isEmpty());
    QCOMPARE(s.rig.ctx.link.openPort(), 0);
}

QTEST_GUILESS_MAIN(TestSoftwareUpdate)
#include "tst_softwareupdate.moc"
