#include "servicerig.h"

#include "boardtests/testcommands.h"
#include "app/commandtable.h"
#include "link/linkstatus.h"
#include "sim/testprogram.h"

#include <QFileInfo>
#include <QTest>

using namespace kia;
using namespace testhost;

class TestControllerSoftware : public QObject {
    Q_OBJECT
private slots:
    void everyTestRunsFromFreshStart_data();
    void everyTestRunsFromFreshStart();
    void answeringTestProgramTouchesNothing();
    void restorePutsSoftwareBackByteForByte();
    void savedSoftwareIsNeverOverwritten();
    void timeStampNameWithoutIdentity();
    void testProgramFileProblems_data();
    void testProgramFileProblems();
    void shortTestProgramIsPaddedAndBlankPagesSkipped();
    void programmerFailuresGiveLinkResults_data();
    void programmerFailuresGiveLinkResults();
    void restoreRefusesBadFiles_data();
    void restoreRefusesBadFiles();
    void restoreFromPickedFileKeepsIt();
};

void TestControllerSoftware::everyTestRunsFromFreshStart_data() {
    QTest::addColumn<int>("command");
    QTest::newRow("bus") << int(cmd::BusTest);
    QTest::newRow("ram") << int(cmd::RamTest);
    QTest::newRow("rom") << int(cmd::RomTest);
    QTest::newRow("timer") << int(cmd::TimerTest);
    QTest::newRow("flash") << int(cmd::EepromTest);
    QTest::newRow("flash2") << int(cmd::SerialEepromTest);
    QTest::newRow("fp-blank") << int(cmd::FiscalBlankCheck);
}

void TestControllerSoftware::everyTestRunsFromFreshStart() {
    QFETCH(int, command);
    ServiceRig s;
    const QByteArray original = s.dd5Code();
    const TestCommandOutcome out = RunTestCommand(s.rig.ctx, s.rig.host, command);
    QVERIFY(out.prepared);
    QVERIFY(out.completed);
    QVERIFY(!out.failed);
    QCOMPARE(s.service.modes, (QList<int>{ModeSaveControllerSoftware, ModeWriteTestProgram}));
    QCOMPARE(s.service.sinks[0].steps, 128);
    QCOMPARE(s.service.sinks[1].steps, 256);
    QCOMPARE(s.service.sinks[1].captions.last(), QStringLiteral("Проверка записи тест-программы..."));
    QCOMPARE(readAll(s.folder() + QStringLiteral("230607091405.cpu")), original);
    QVERIFY(s.rig.bench.dd5().holdsTestProgram());
    QCOMPARE(s.rig.bench.dd5().identity(), QByteArrayLiteral("230607091405"));
    const QList<PromptEvent> boxes = s.rig.prompts.boxes();
    QVERIFY(!boxes.isEmpty());
    QCOMPARE(boxes[0].title, QStringLiteral("ВНИМАНИЕ"));
    QCOMPARE(boxes[0].icon, PromptIcon::Exclamation);
    QVERIFY(boxes[0].text.endsWith(QStringLiteral("пункт меню \"Восстановление ПО контроллера\" !")));
}

void TestControllerSoftware::answeringTestProgramTouchesNothing() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const TestCommandOutcome out = RunTestCommand(s.rig.ctx, s.rig.host, cmd::RamTest);
    QVERIFY(out.completed && !out.failed);
    QVERIFY(s.service.modes.isEmpty());
    QVERIFY(!QFileInfo::exists(s.folder() + QStringLiteral("230607091405.cpu")));
}

void TestControllerSoftware::restorePutsSoftwareBackByteForByte() {
    ServiceRig s;
    const QByteArray original = s.dd5Code();
    QVERIFY(RunTestCommand(s.rig.ctx, s.rig.host, cmd::BusTest).completed);
    QVERIFY(s.dd5Code() != original);
    s.rig.prompts.clear();
    s.rig.prompts.answer(PromptAnswer::Yes);
    QCOMPARE(RestoreControllerSoftware(s.rig.ctx, s.service), int(OpDone));
    QCOMPARE(s.dd5Code(), original);
    QVERIFY(!s.rig.bench.dd5().holdsTestProgram());
    // Found by the identity, so it is deleted once back in DD5.
    QVERIFY(!QFileInfo::exists(s.folder() + QStringLiteral("230607091405.cpu")));
    const QList<PromptEvent> boxes = s.rig.prompts.boxes();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes[1].text, QStringLiteral("ПО контроллера успешно восстановлено!"));
    QCOMPARE(boxes[1].title, QStringLiteral("Восстановление ПО контроллера"));
    QVERIFY(!s.rig.ctx.busy);
}

// DD5 holds the test program (with the saved software's name in its last
// bytes) but the program does not answer. Filing DD5 again under the
// identity would replace the real software with a copy of the test program.
void TestControllerSoftware::savedSoftwareIsNeverOverwritten() {
    ServiceRig s;
    const QByteArray original = s.dd5Code();
    QVERIFY(RunTestCommand(s.rig.ctx, s.rig.host, cmd::BusTest).completed);
    const QString saved = s.folder() + QStringLiteral("230607091405.cpu");
    QCOMPARE(readAll(saved), original);

    QString error;
    QVERIFY(s.rig.bench.loadFaultScript(QStringLiteral("silence cmd=2 once"), &error));
    s.service.modes.clear();
    QVERIFY(RunTestCommand(s.rig.ctx, s.rig.host, cmd::BusTest).completed);
    QCOMPARE(s.service.modes, (QList<int>{ModeSaveControllerSoftware, ModeWriteTestProgram}));
    QCOMPARE(readAll(saved), original);
    const QString other = s.folder() + QStringLiteral("230607091405-1.cpu");
    QVERIFY(readAll(other).startsWith(QByteArray(reinterpret_cast<const char*>(sim::TestProgramSignature.data()), 16)));
    QCOMPARE(s.service.status.size(), 1);
    QVERIFY(s.service.status[0].contains(QStringLiteral("230607091405-1.cpu")));

    // The restore still finds the real software.
    s.rig.prompts.answer(PromptAnswer::Yes);
    QCOMPARE(RestoreControllerSoftware(s.rig.ctx, s.service), int(OpDone));
    QCOMPARE(s.dd5Code(), original);
}

void TestControllerSoftware::timeStampNameWithoutIdentity() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::CashSoftwareNoIdentity);
    QVERIFY(RunTestCommand(s.rig.ctx, s.rig.host, cmd::BusTest).completed);
    QVERIFY(QFileInfo::exists(s.folder() + QStringLiteral("051409230607.cpu")));
    QCOMPARE(s.rig.bench.dd5().identity(), QByteArrayLiteral("051409230607"));
    QCOMPARE(softwareNameFor(QStringLiteral("12345"), QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))),
             QStringLiteral("585923311226"));
}

void TestControllerSoftware::testProgramFileProblems_data() {
    QTest::addColumn<int>("size"); // -1: no file
    QTest::addColumn<QString>("text");
    QTest::newRow("missing") << -1 << QStringLiteral("Ошибка открытия файла \"testcpu.052\" !");
    QTest::newRow("8193") << 8193 << QStringLiteral("Неверный размер файла \"testcpu.052\" !");
}

void TestControllerSoftware::testProgramFileProblems() {
    QFETCH(int, size);
    QFETCH(QString, text);
    ServiceRig s;
    const QString path = s.folder() + QStringLiteral("testcpu.052");
    QFile::remove(path);
    if (size >= 0)
        QVERIFY(writeFile(path, QByteArray(size, 'x')));
    const QByteArray before = s.dd5Code();
    const TestCommandOutcome out = RunTestCommand(s.rig.ctx, s.rig.host, cmd::BusTest);
    QVERIFY(!out.prepared);
    QCOMPARE(s.dd5Code(), before);
    const QList<PromptEvent> boxes = s.rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Запись тест-программы в контроллер..."));
    QCOMPARE(boxes[0].text, text);
    QCOMPARE(boxes[0].icon, PromptIcon::Error);
    QVERIFY(!s.rig.ctx.busy);
    QVERIFY(QFileInfo::exists(s.folder() + QStringLiteral("230607091405.cpu")));
}

void TestControllerSoftware::shortTestProgramIsPaddedAndBlankPagesSkipped() {
    ServiceRig s;
    QByteArray program = readAll(s.folder() + QStringLiteral("testcpu.052"));
    program.append(QByteArray(8000 - program.size(), char(0x5A)));
    QVERIFY(writeFile(s.folder() + QStringLiteral("testcpu.052"), program));
    OperationArgument name{QStringLiteral("111122223333"), {}, {}, {}};
    RecordingSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, ModeWriteTestProgram, name), int(OpDone));
    const QByteArray code = s.dd5Code();
    QCOMPARE(code.left(8000), program);
    QCOMPARE(code.mid(8000, 180), QByteArray(180, char(0xFF)));
    QCOMPARE(code.mid(8180), QByteArrayLiteral("111122223333"));
    QCOMPARE(sink.steps, 256);

}

void TestControllerSoftware::programmerFailuresGiveLinkResults_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("result");
    QTest::newRow("save: silent programmer") << "silence" << int(ModeSaveControllerSoftware) << 126;
    QTest::newRow("save: enable unanswered") << "silence long=16 times=3" << int(ModeSaveControllerSoftware) << 126;
    QTest::newRow("save: drop mid-read") << "silence long=16 after=10" << int(ModeSaveControllerSoftware) << 126;
    QTest::newRow("write: bad echo") << "wrong-ack long=16 after=5" << int(ModeWriteControllerSoftware) << 126;
}

void TestControllerSoftware::programmerFailuresGiveLinkResults() {
    QFETCH(QString, script);
    QFETCH(int, mode);
    QFETCH(int, result);
    ServiceRig s;
    QString error;
    QVERIFY2(s.rig.bench.loadFaultScript(script, &error), qPrintable(error));
    OperationArgument a{QStringLiteral("230607091405"), QByteArray(8192, char(0x11)), {}, {}};
    RecordingSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, mode, a), result);
    QVERIFY(!QFileInfo::exists(s.folder() + QStringLiteral("230607091405.cpu")));
    s.rig.bench.clearFaults();
    // The next command works.
    QCOMPARE(RunOperation(s.rig.ctx, sink, ModeSaveControllerSoftware, a), int(OpDone));
}

void TestControllerSoftware::restoreRefusesBadFiles_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("8193") << 8193 << QStringLiteral("Неверный размер файла ");
    QTest::newRow("folder") << -1 << QStringLiteral("Ошибка открытия файла ");
}

void TestControllerSoftware::restoreRefusesBadFiles() {
    QFETCH(int, size);
    QFETCH(QString, prefix);
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::CashSoftwareNoIdentity);
    const QString path = s.folder() + QStringLiteral("picked.cpu");
    if (size >= 0)
        QVERIFY(writeFile(path, QByteArray(size, 'x')));
    else
        QVERIFY(QDir().mkpath(path));
    const QByteArray before = s.dd5Code();
    s.rig.prompts.answer(PromptAnswer::Yes);
    s.rig.prompts.answer(PromptAnswer::Yes);
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RestoreControllerSoftware(s.rig.ctx, s.service), 0);
    QCOMPARE(s.dd5Code(), before);
    QVERIFY(s.service.modes.isEmpty());
    const QList<PromptEvent> boxes = s.rig.prompts.boxes();
    QCOMPARE(boxes.last().text, prefix + path + QStringLiteral(" !"));
    QVERIFY(!s.rig.ctx.busy);
}

void TestControllerSoftware::restoreFromPickedFileKeepsIt() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::CashSoftwareNoIdentity);
    const QByteArray software = ServiceRig::image(
        sim::Dd5Controller::cashSoftwareImage(QByteArrayLiteral("999988887777")));
    const QString path = s.folder() + QStringLiteral("picked.cpu");
    QVERIFY(writeFile(path, software));
    s.rig.prompts.answer(PromptAnswer::Yes);
    s.rig.prompts.answer(PromptAnswer::Yes);
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RestoreControllerSoftware(s.rig.ctx, s.service), int(OpDone));
    QCOMPARE(s.dd5Code(), software);
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(s.rig.prompts.boxes()[1].text,
             QStringLiteral("Возможно контроллер уже содержит ПО кассы!  \n"
                            "             Все равно продолжить?"));
}

QTEST_GUILESS_MAIN(TestControllerSoftware)
#include "tst_controllersoftware.moc"
