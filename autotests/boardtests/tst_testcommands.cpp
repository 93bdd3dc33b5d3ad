// The menu's test commands around the test dialog: preparation, set-ups,
// consent questions, "Повтор", and what each outcome leads to.

#include "benchrig.h"

#include "app/commandtable.h"
#include "controllerpreparation.h"
#include "diagnosticshandover.h"
#include "fiscalconsent.h"
#include "sim/testprocessor.h"
#include "testcommands.h"
#include "testresults.h"
#include "testsession.h"

#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
QString noConnectQuestion(const QString& linkText) {
    return linkText + QStringLiteral("\n\n      Запустить диагностику?");
}

// Loads the test program the way the service operations will: here by
// putting it into the simulated DD5.
class FakeLoader final : public ControllerPreparation {
public:
    explicit FakeLoader(BenchRig& rig, bool succeed) : m_rig(rig), m_succeed(succeed) {}
    int calls = 0;
    bool LoadControllerTestProgram(BenchContext& ctx, bool skipSave) override {
        ++calls;
        lastSkipSave = skipSave;
        if (!m_succeed)
            return false;
        m_rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
        return ctx.link.PeerPresent() && SetBoardType4MemoryMap(ctx);
    }
    bool lastSkipSave = true;

private:
    BenchRig& m_rig;
    bool m_succeed;
};

} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void setUpsReachThePeer_data();
    void setUpsReachThePeer();
    void cancelledStartDialogLeavesLinkUntouched();
    void dontShowFlagSkipsTheStartDialog();
    void silentPeerOffersNoConnectDiagnostics_data();
    void silentPeerOffersNoConnectDiagnostics();
    void repeatRunsWithoutNewPreparation();
    void failedSetupShowsLinkError();
    void versionChoiceCancelled();
    void scanCommandsHandOverAtOnce_data();
    void scanCommandsHandOverAtOnce();
    void handOverWithoutDiagnostics();
    void failureKeywords_data();
    void failureKeywords();
    void fiscalWriteConsent_data();
    void fiscalWriteConsent();
    void type4WithoutTestProgram();
    void type4LoaderIsAsked_data();
    void type4LoaderIsAsked();
    void type4SilentProgrammer();
    void unknownCommandDoesNothing();
};

void TestCommands::setUpsReachThePeer_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("mode");            // -1: not checked
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("words");    // index, value, index, value ...
    QTest::addColumn<int>("deviceAddress");   // -1: not checked

    // What the peer holds when the test dialog opens, after preparation and set-up.
    QTest::newRow("RAM type 0") << 0 << cmd::RamTest << -1 << 200 << QList<int>{0, 0x0000, 1, 0x2000} << -1;
    QTest::newRow("RAM type 4") << 4 << cmd::RamTest << -1 << 185
                                << QList<int>{0, 0x0000, 1, 0x8000, 2, 0xC000, 3, 0x4000, 4, 0xFFFF} << -1;
    QTest::newRow("timer type 1") << 1 << cmd::TimerTest << 0 << 185 << QList<int>{4, 0xFFFF} << 0xA0;
    QTest::newRow("timer type 4") << 4 << cmd::TimerTest << 0 << 185 << QList<int>{1, 0x8000} << 0xD0;
    QTest::newRow("28C256 type 2") << 2 << cmd::EepromTest << 1 << 200 << QList<int>{2, 0xC000, 3, 0x4000} << -1;
    QTest::newRow("29C010 type 4") << 4 << cmd::EepromTest << 1 << 185 << QList<int>{2, 0x8000, 3, 0x8000} << -1;
    QTest::newRow("24C256 type 3") << 3 << cmd::SerialEepromTest << 1 << 200 << QList<int>{3, 0x8000} << 0xA2;
    QTest::newRow("FP blank type 0") << 0 << cmd::FiscalBlankCheck << -1 << 200 << QList<int>{4, 0xFFFF} << -1;
    QTest::newRow("FP blank type 4") << 4 << cmd::FiscalBlankCheck << -1 << 185 << QList<int>{2, 0x8000, 3, 0x8000} << -1;
}

void TestCommands::setUpsReachThePeer() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(int, mode);
    QFETCH(int, kind);
    QFETCH(QList<int>, words);
    QFETCH(int, deviceAddress);
    BenchRig rig(boardType);
    rig.host.startDialogDontShow = true;
    bool seen = false;
    rig.host.beforeDialog = [&]() {
        if (seen)
            return;
        seen = true;
        const sim::TestProcessor& peer = rig.bench.testProcessor();
        if (mode >= 0)
            QCOMPARE(int(peer.mode()), mode);
        QCOMPARE(int(peer.memoryMap().kind), kind);
        for (int i = 0; i + 1 < words.size(); i += 2)
            QCOMPARE(int(peer.memoryMap().words[size_t(words[i])]), words[i + 1]);
        if (deviceAddress >= 0)
            QCOMPARE(int(peer.serialDeviceParams()[2]), deviceAddress);
    };
    RunTestCommand(rig.ctx, rig.host, command);
    QVERIFY(seen);
}

void TestCommands::cancelledStartDialogLeavesLinkUntouched() {
    BenchRig rig(0);
    rig.host.startDialogContinues = false;
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
    QVERIFY(out.cancelled);
    QVERIFY(!out.prepared);
    QCOMPARE(rig.host.startDialogs, 1);
    QCOMPARE(rig.host.clearMarks, 1);
    QCOMPARE(rig.bench.testProcessor().frameCount(), 0u);
    QVERIFY(rig.prompts.boxes().isEmpty());
    QVERIFY(!rig.ctx.busy);
}

void TestCommands::dontShowFlagSkipsTheStartDialog() {
    BenchRig rig(1);
    rig.host.startDialogDontShow = true; // the engineer ticks the box once
    RunTestCommand(rig.ctx, rig.host, cmd::BusTest);
    QVERIFY(rig.ctx.dontShowStartDialog);
    RunTestCommand(rig.ctx, rig.host, cmd::BusTest);
    QCOMPARE(rig.host.startDialogs, 1);
    QCOMPARE(rig.host.testNumbers.size(), 2);
}

void TestCommands::silentPeerOffersNoConnectDiagnostics_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("linkText");
    QTest::newRow("no answer") << 0 << QStringLiteral("silence")
                               << QStringLiteral("Нет связи с тестовым процессором !    ");
    QTest::newRow("wrong acknowledge")
        << 2 << QStringLiteral("wrong-ack") << QStringLiteral("Ошибка приема/передачи !    ");
    QTest::newRow("type 4 test program silent")
        << 4 << QStringLiteral("silence cmd=2")
        << QStringLiteral("Нет связи с контроллером БУ !    ");
}

void TestCommands::silentPeerOffersNoConnectDiagnostics() {
    QFETCH(int, boardType);
    QFETCH(QString, faults);
    QFETCH(QString, linkText);
    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(faults, &error), qPrintable(error));
    rig.prompts.answer(PromptAnswer::Yes);

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
    QVERIFY(!out.prepared);
    QCOMPARE(out.runs, 0);
    if (boardType == 4) {
        // The test program does not answer; the controller itself does.
        QVERIFY(out.controllerNotReady);
        QCOMPARE(rig.prompts.boxes().last().text, testProgramMissingText());
        return;
    }
    QVERIFY(out.linkFailure);
    if (faults == QStringLiteral("silence"))
        QVERIFY(rig.nowMs() >= 1000 && rig.nowMs() < 2000); // one read time-out
    const QList<PromptEvent> boxes = rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].kind, PromptEvent::Question);
    QCOMPARE(boxes[0].title, QStringLiteral("Com1"));
    QCOMPARE(boxes[0].text, noConnectQuestion(linkText));
    QCOMPARE(rig.scenarios.oscilloscope, QStringList{QStringLiteral("NO_CONNECT")});
    QVERIFY(!rig.ctx.busy);
}

void TestCommands::repeatRunsWithoutNewPreparation() {
    BenchRig rig(0);
    rig.host.afterCompletion << ResultRepeat << ResultExit;
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
    QCOMPARE(out.runs, 2);
    QCOMPARE(rig.host.dialogResults, (QList<int>{ResultRepeat, ResultExit}));
    QCOMPARE(rig.host.startDialogs, 1);
    // One map from the preparation, one from the RAM set-up: none for the repeat.
    QCOMPARE(rig.bench.testProcessor().memoryMap().count, 2);
    QVERIFY(out.completed && !out.failed);
}

void TestCommands::failedSetupShowsLinkError() {
    BenchRig rig(0);
    rig.ctx.dontShowStartDialog = true;
    QString error;
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence cmd=10 after=1"), &error));
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
    QVERIFY(out.prepared);
    QVERIFY(out.linkFailure);
    QCOMPARE(out.runs, 0);
    const QList<PromptEvent> boxes = rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].kind, PromptEvent::Message);
    QCOMPARE(boxes[0].text, QStringLiteral("Нет связи с тестовым процессором !    "));
    QVERIFY(!rig.ctx.busy);
}

void TestCommands::versionChoiceCancelled() {
    BenchRig rig(3);
    rig.ctx.dontShowStartDialog = true;
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RomTest);
    QCOMPARE(rig.host.versionChoices, 1);
    QVERIFY(out.cancelled);
    QCOMPARE(out.runs, 0);
    QVERIFY(rig.prompts.boxes().isEmpty());
}

void TestCommands::scanCommandsHandOverAtOnce_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("address and data buses") << cmd::ScanBus << QStringLiteral("SCAN_BUS");
    QTest::newRow("control bus") << cmd::ScanControlBus << QStringLiteral("SCAN_CONTR");
    QTest::newRow("decoder") << cmd::ScanDecoder << QStringLiteral("SCAN_DC");
    QTest::newRow("register") << cmd::ScanRegister << QStringLiteral("SCAN_REG");
    QTest::newRow("PPI") << cmd::ScanPpi << QStringLiteral("SCAN_PPI");
    QTest::newRow("ФП write pulse") << cmd::FiscalWritePulse << QStringLiteral("PULS_FP");
}

void TestCommands::scanCommandsHandOverAtOnce() {
    QFETCH(int, command);
    QFETCH(QString, keyword);
    BenchRig rig(1);
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, command);
    QVERIFY(out.prepared);
    QCOMPARE(out.runs, 0);
    QCOMPARE(out.keyword, keyword);
    QCOMPARE(rig.scenarios.started, QStringList{keyword + QStringLiteral("/1")});
    QCOMPARE(rig.host.startDialogs, 1);
    QVERIFY(!rig.ctx.busy);
}

void TestCommands::handOverWithoutDiagnostics() {
    BenchRig rig(0);
    rig.ctx.scenarios = nullptr;
    rig.ctx.dontShowStartDialog = true;
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::ScanBus);
    QCOMPARE(out.keyword, QStringLiteral("SCAN_BUS"));
    const QList<PromptEvent> boxes = rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, diagnosticsNotAvailableText(QStringLiteral("SCAN_BUS")));
}

void TestCommands::failureKeywords_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("bus: last keyword") << 0 << cmd::BusTest << 123 << QStringLiteral("BUS_ROM");
    QTest::newRow("ROM") << 0 << cmd::RomTest << 123 << QStringLiteral("ROM_ERROR");
    QTest::newRow("ROM file missing") << 0 << cmd::RomTest << 126 << QString();
    QTest::newRow("RAM") << 4 << cmd::RamTest << 123 << QStringLiteral("RAM_ERROR");
    QTest::newRow("RAM exit") << 4 << cmd::RamTest << 2 << QString();
    QTest::newRow("timer 121") << 0 << cmd::TimerTest << 121 << QStringLiteral("TIMER_IOERROR");
    QTest::newRow("timer 122") << 0 << cmd::TimerTest << 122 << QStringLiteral("TIMER_CLKERROR");
    QTest::newRow("timer 123") << 4 << cmd::TimerTest << 123 << QStringLiteral("TIMER_IOERROR");
    QTest::newRow("28C256") << 1 << cmd::EepromTest << 123 << QStringLiteral("FLASH1_ERROR");
    QTest::newRow("24C256") << 1 << cmd::SerialEepromTest << 123 << QStringLiteral("FLASH2_ERROR");
    QTest::newRow("ФП blank") << 2 << cmd::FiscalBlankCheck << 123
                              << QStringLiteral("FPEMPT_ERROR");
    QTest::newRow("ФП write") << 2 << cmd::FiscalWriteTest << 123 << QStringLiteral("FPWR_ERROR");
    QTest::newRow("PPI type 3") << 3 << cmd::PpiTest << 123 << QStringLiteral("Управление DD15");
    QTest::newRow("PPI type 2") << 2 << cmd::PpiTest << 123 << QStringLiteral("Управление DD14");
    QTest::newRow("link failure") << 2 << cmd::PpiTest << 124 << QString();
}

void TestCommands::failureKeywords() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(int, result);
    QFETCH(QString, keyword);
    BenchRig rig(boardType);
    rig.ctx.lastErrorKeyword = QStringLiteral("BUS_ROM");
    QCOMPARE(failureKeyword(rig.ctx, command, result), keyword);
}

void TestCommands::fiscalWriteConsent_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QByteArray>("head"); // the first ФП bytes
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question"); // empty: none asked
    QTest::addColumn<int>("runs");
    QTest::newRow("types 0..3, declined")
        << 0 << QByteArray() << int(PromptAnswer::No) << fiscalWriteWarningText() << 0;
    QTest::newRow("types 0..3, agreed")
        << 1 << QByteArray() << int(PromptAnswer::Yes) << fiscalWriteWarningText() << 1;
    QTest::newRow("type 4, blank ФП")
        << 4 << QByteArray() << int(PromptAnswer::No) << QString() << 1;
    QTest::newRow("type 4, fiscal data, declined")
        << 4 << QByteArray("12345123450") << int(PromptAnswer::No) << fiscalDataWarningText() << 0;
    QTest::newRow("type 4, other data")
        << 4 << QByteArray("1234567890") << int(PromptAnswer::No) << QString() << 1;
}

void TestCommands::fiscalWriteConsent() {
    QFETCH(int, boardType);
    QFETCH(QByteArray, head);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(int, runs);
    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    for (int i = 0; i < head.size(); ++i)
        rig.board().fiscalMemory().write(quint32(i), quint8(head[i]));
    rig.prompts.answer(PromptAnswer(answer));

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::FiscalWriteTest);
    QCOMPARE(out.runs, runs);
    QCOMPARE(out.cancelled, runs == 0);
    QStringList asked;
    bool beepFirst = false;
    for (int i = 0; i < rig.prompts.events.size(); ++i) {
        const PromptEvent& e = rig.prompts.events[i];
        if (e.kind != PromptEvent::Question)
            continue;
        asked << e.text;
        QCOMPARE(e.title, QStringLiteral("Внимание !"));
        QCOMPARE(e.icon, PromptIcon::Exclamation);
        QCOMPARE(e.defaultAnswer, PromptAnswer::No);
        beepFirst = i > 0 && rig.prompts.events[i - 1].kind == PromptEvent::Beep;
    }
    QCOMPARE(asked, question.isEmpty() ? QStringList() : QStringList{question});
    if (!question.isEmpty())
        QCOMPARE(beepFirst, boardType != 4);
}

void TestCommands::type4WithoutTestProgram() {
    BenchRig rig(4);
    rig.ctx.dontShowStartDialog = true;
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::CashSoftware);
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::BusTest);
    QVERIFY(!out.prepared);
    QVERIFY(out.controllerNotReady);
    QCOMPARE(out.runs, 0);
    const QList<PromptEvent> boxes = rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Запись тест-программы в контроллер..."));
    QCOMPARE(boxes[0].text, testProgramMissingText());
    QVERIFY(!rig.ctx.busy);
}

void TestCommands::type4LoaderIsAsked_data() {
    QTest::addColumn<bool>("loads");
    QTest::newRow("loaded") << true;
    QTest::newRow("not loaded") << false;
}

void TestCommands::type4LoaderIsAsked() {
    QFETCH(bool, loads);
    BenchRig rig(4);
    rig.bench.setDd5StartState(sim::Dd5Controller::StartState::CashSoftware);
    testhost::ScriptedTestHost host(rig.ctx);
    host.startDialogDontShow = true;
    FakeLoader loader(rig, loads);
    rig.ctx.controllerPreparation = &loader;

    const TestCommandOutcome out = RunTestCommand(rig.ctx, host, cmd::BusTest);
    QCOMPARE(loader.calls, 1);
    QVERIFY(!loader.lastSkipSave);
    QCOMPARE(out.prepared, loads);
    QCOMPARE(out.controllerNotReady, !loads);
    if (loads)
        QVERIFY(out.completed && !out.failed);
}

void TestCommands::type4SilentProgrammer() {
    BenchRig rig(4);
    rig.ctx.dontShowStartDialog = true;
    QString error;
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence"), &error));
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
    QVERIFY(out.linkFailure);
    const QList<PromptEvent> boxes = rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Программатор"));
    QCOMPARE(boxes[0].text, noConnectQuestion(QStringLiteral("Нет связи с программатором!      ")));
}

void TestCommands::unknownCommandDoesNothing() {
    BenchRig rig(0);
    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, cmd::SoundTest);
    QVERIFY(!out.known);
    QCOMPARE(rig.host.startDialogs, 0);
    QVERIFY(!rig.ctx.busy);
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_testcommands.moc"
