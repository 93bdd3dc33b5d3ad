// Plain literals in the tables below are UTF-8 texts of the scenarios.
#undef QT_NO_CAST_FROM_ASCII

#include "enginerig.h"

#include "core/journalsink.h"

#include <QJsonArray>
#include <QTest>

using namespace kia;
using testhost::EngineRig;

namespace {
const QString kFile = QStringLiteral(
    "PDIAGN31 ROM_ERROR\n"
    "1: P-DD3;T-Проверьте сигнал CS\\\n"
    "      на выводе 20;PASS-2;FAIL0-3;FAIL1-4\n"
    "2: P-DD1;T-Проверьте {питание} DD1;PASS-5;FAIL0-6\n"
    "3: T-Замените ###\n"
    "4: T-Обрыв цепи от $$$\n"
    "5: T-Неисправность не найдена\n"
    "6: T-Check ###\n"
    "END\n"
    "ODIAGN31 ROM_ERROR\n"
    "1: P-XS1;T-Осциллограмма A{B}C;PASS-2;FAIL0-2\n"
    "2: T-Конец\n"
    "END\n"
    "CDIAGN31 TESTS\n"
    "1: T-Начало;PASS-2;FAIL0-3\n"
    "2: TEST_RAM\n"
    "3: T-Дальше\n"
    "END\n"
    "CDIAGN31 RAM_ERROR\n"
    "1: P-DD2;T-Проверьте ОЗУ;PASS-2\n"
    "2: T-Замените DD2\n"
    "END\n"
    "CDIAGN31 HANDOVER\n"
    "1: T-Перед осциллографом;PASS-2;FAILNEW0-ROM_ERROR\n"
    "2: ODIAGNOSTIC-ROM_ERROR\n"
    "END\n"
    "ODIAGN31 LOOP_A\n"
    "1: ODIAGNOSTIC-LOOP_B\n"
    "END\n"
    "ODIAGN31 LOOP_B\n"
    "1: ODIAGNOSTIC-LOOP_A\n"
    "END\n"
    "PDIAGN31 MULTI\n"
    "1: P-DD1,DD2*,DD3{вывод 5};T-Три точки;PASS-2\n"
    "2: P-DD9;T-Нет такой точки\n"
    "END\n"
    "PDIAGN31 LONG\n"
    "1: P-DD1;T-Питание;PASS-2\n"
    "2: T-Замените\\\n"
    "      DD1\n"
    "END\n"
    "PDIAGN31 SELF\n"
    "; шаг 1 не на первой строке: переход на него не обрывает путь\n"
    "1: P-DD1;T-Снова;PASS-1;FAIL0-1\n"
    "END\n");
} // namespace

class TestDiagnosticsEngine : public QObject {
    Q_OBJECT
private slots:
    void walks_data();
    void walks();
    void errorCodesEndTheRun_data();
    void errorCodesEndTheRun();
    void flagsAndMenusDuringARun();
    void loadFailureStartsNothing();
    void multiPointStepMarksAll();
    void historyAndBackTracking();
    void testStepFailureContinuesInItsKeyword();
    void scenarioBranchingToItselfWaitsEachTime();
    void oneRunAtATime();
    void testFailingIntoItselfIsStopped();
    void pointCheckEndsThroughTheOutcome_data();
    void pointCheckEndsThroughTheOutcome();
    void runRecords_data();
    void runRecords();
    void observersSeeEveryEnd();
};

namespace {
struct RecordingJournal final : JournalSink {
    QList<JournalEvent> events;
    void record(const JournalEvent& e) override { events << e; }
};

QString pathText(const StepHistory& path) {
    QStringList steps;
    for (const StepRecord& r : path)
        steps << r.label + QLatin1Char(':') + outcomeWord(r.outcome);
    return steps.join(QLatin1Char(' '));
}
} // namespace

// What a run comes to, as the full check, the trainer and the journal take
// it: the conclusion on screen when it ended, the answered path, the end.
void TestDiagnosticsEngine::runRecords_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("conclusion");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("outcome"); // of the journal event
    QTest::addColumn<QString>("verdict");

    QTest::newRow("FAIL into a conclusion, closed there")
        << "ROM_ERROR" << QStringList{"fail0", "stop"} << "Замените DD3" << "DD3:FAIL0"
        << "stopped" << int(JournalEvent::Outcome::Failed) << "Замените DD3";
    QTest::newRow("a path passed to its end")
        << "ROM_ERROR" << QStringList{"pass", "pass", "pass"} << "Неисправность не найдена"
        << "DD3:PASS DD1:PASS :PASS" << "path" << int(JournalEvent::Outcome::Failed)
        << "Неисправность не найдена";
    QTest::newRow("stopped at the first step: no conclusion")
        << "ROM_ERROR" << QStringList{"stop"} << "" << "" << "stopped"
        << int(JournalEvent::Outcome::None) << "Прервана до заключения";
    QTest::newRow("back from the conclusion, then stopped")
        << "ROM_ERROR" << QStringList{"fail0", "back=0", "stop"} << "" << "" << "stopped"
        << int(JournalEvent::Outcome::None) << "Прервана до заключения";
    QTest::newRow("FAIL deeper in the path")
        << "ROM_ERROR" << QStringList{"pass", "fail0", "stop"} << "Check DD1"
        << "DD3:PASS DD1:FAIL0" << "stopped" << int(JournalEvent::Outcome::Failed) << "Check DD1";
    QTest::newRow("conclusion over two lines is one line in the journal")
        << "LONG" << QStringList{"pass", "stop"} << "Замените\nDD1" << "DD1:PASS" << "stopped"
        << int(JournalEvent::Outcome::Failed) << "Замените DD1";
    QTest::newRow("TEST step on the path")
        << "TESTS" << QStringList{"pass", "pass"} << "Дальше" << ":PASS TEST_RAM:PASS :PASS"
        << "path" << int(JournalEvent::Outcome::Failed) << "Дальше";
    QTest::newRow("an error ends it without a conclusion")
        << "MULTI" << QStringList{"pass"} << "" << "DD1...:PASS" << "error"
        << int(JournalEvent::Outcome::None)
        << QStringLiteral("Ошибка: ") + DiagnosticsEngine::missingPointText(QStringLiteral("DD9"));
}

void TestDiagnosticsEngine::runRecords() {
    QFETCH(QString, name);
    QFETCH(QStringList, answers);
    QFETCH(QString, conclusion);
    QFETCH(QString, path);
    QFETCH(QString, end);
    QFETCH(int, outcome);
    QFETCH(QString, verdict);
    EngineRig e;
    RecordingJournal journal;
    e.rig.ctx.journal = &journal;
    e.writeScenarios(kFile);
    QVERIFY(e.engine.StartScenario(name, 1));
    e.answer(answers);
    QVERIFY(!e.engine.running());
    const DiagnosticsRun& run = e.engine.lastRun();
    QCOMPARE(run.scenario, name);
    QCOMPARE(run.conclusion, conclusion);
    QCOMPARE(pathText(run.path), path);
    QCOMPARE(runEndKey(run.end), end);
    QCOMPARE(journal.events.size(), 1);
    const JournalEvent& ev = journal.events.first();
    QCOMPARE(ev.kind, JournalEvent::Kind::Diagnostics);
    QCOMPARE(ev.name, name);
    QCOMPARE(int(ev.outcome), outcome);
    QCOMPARE(ev.verdict, verdict);
    QCOMPARE(ev.details.value(QStringLiteral("path")).toArray().size(), run.path.size());
    QCOMPARE(ev.details.value(QStringLiteral("conclusion")).toString(), conclusion);
}

// Observers hear every end once, may start the next run from there, and a
// single-point check reaches them but not the journal.
void TestDiagnosticsEngine::observersSeeEveryEnd() {
    EngineRig e;
    RecordingJournal journal;
    e.rig.ctx.journal = &journal;
    e.writeScenarios(kFile);
    QStringList seen;
    int chained = 0;
    const int id = e.engine.addRunObserver([&](const DiagnosticsRun& r) {
        seen << r.scenario + QLatin1Char('=') + r.conclusion;
        if (chained++ == 0)
            QVERIFY(e.engine.StartScenario(QStringLiteral("RAM_ERROR"), 1));
    });
    QVERIFY(e.engine.StartProbeScenario(QStringLiteral("ROM_ERROR")));
    e.answer({"fail1", "stop"});
    QVERIFY(e.engine.running()); // the observer started RAM_ERROR
    e.answer({"pass", "stop"});
    QCOMPARE(seen, (QStringList{"ROM_ERROR=Обрыв цепи от $$$", "RAM_ERROR=Замените DD2"}));
    e.engine.removeRunObserver(id);
    e.engine.BeginPointCheck();
    e.dialogs.open = true;
    e.answer({"pass"});
    QCOMPARE(seen.size(), 2);
    QVERIFY(e.engine.lastRun().pointCheck);
    QCOMPARE(journal.events.size(), 2);
}

void TestDiagnosticsEngine::walks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("start"); // 0 common, 1 oscilloscope, 2 probe
    QTest::addColumn<bool>("logicProbe");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("trace");

    QTest::newRow("common start falls back to the probe scenario")
        << "ROM_ERROR" << 0 << true << QStringList{"pass", "pass", "pass"}
        << QStringList{"ROM_ERROR:1 probe [DD3] Проверьте сигнал CS/на выводе 20",
                       "ROM_ERROR:2 probe [DD1] Проверьте питание DD1",
                       "ROM_ERROR:5 probe [] Неисправность не найдена", "end path"};
    QTest::newRow("common start with the oscilloscope: braces cut out")
        << "ROM_ERROR" << 0 << false << QStringList{"fail1", "stop"}
        << QStringList{"ROM_ERROR:1 osc1 [XS1] Осциллограмма AC",
                       "ROM_ERROR:1 osc3 [XS1] Конец", "end stopped"};
    QTest::newRow("FAIL into a conclusion: return mode, probe without a point, ###")
        << "ROM_ERROR" << 2 << true << QStringList{"fail0", "stop"}
        << QStringList{"ROM_ERROR:1 probe [DD3] Проверьте сигнал CS/на выводе 20",
                       "ROM_ERROR:1 probe [] Замените DD3", "end stopped"};
    QTest::newRow("conclusion of a return point offers its branches again")
        << "ROM_ERROR" << 2 << true << QStringList{"fail0", "pass", "fail0", "pass", "stop"}
        << QStringList{"ROM_ERROR:1 probe [DD3] Проверьте сигнал CS/на выводе 20",
                       "ROM_ERROR:1 probe [] Замените DD3",
                       "ROM_ERROR:2 probe [DD1] Проверьте питание DD1",
                       "ROM_ERROR:2 probe [] Check DD1",
                       // the return point stays the newest FAIL until the engineer goes back
                       "ROM_ERROR:2 probe [] Неисправность не найдена", "end stopped"};
    QTest::newRow("$$$ names the newest passed point")
        << "ROM_ERROR" << 2 << true << QStringList{"fail1", "stop"}
        << QStringList{"ROM_ERROR:1 probe [DD3] Проверьте сигнал CS/на выводе 20",
                       "ROM_ERROR:1 probe [] Обрыв цепи от $$$", "end stopped"};
    QTest::newRow("TEST step passes: the next node of the table")
        << "TESTS" << 0 << true << QStringList{"pass", "pass"}
        << QStringList{"TESTS:1 probe [] Начало", "test TEST_RAM=1", "TESTS:3 probe [] Дальше",
                       "end path"};
    QTest::newRow("hand-over to an oscilloscope scenario, then a FAILNEW branch")
        << "HANDOVER" << 0 << true << QStringList{"pass", "stop"}
        << QStringList{"HANDOVER:1 probe [] Перед осциллографом",
                       "ROM_ERROR:1 osc1 [XS1] Осциллограмма AC", "end stopped"};
    QTest::newRow("FAILNEW0 loads the next scenario as common, then as the current kind")
        << "HANDOVER" << 0 << true << QStringList{"fail0", "stop"}
        << QStringList{"HANDOVER:1 probe [] Перед осциллографом", "end error Ошибка загрузки !"};
    QTest::newRow("hand-overs in a circle are stopped")
        << "LOOP_A" << 1 << true << QStringList{}
        << QStringList{QStringLiteral("end error ") + DiagnosticsEngine::loopText()};
    QTest::newRow("a point missing from the points file ends the run")
        << "MULTI" << 2 << true << QStringList{"pass"}
        << QStringList{"MULTI:1 probe [DD3{вывод 5}] Три точки",
                       QStringLiteral("end error ") +
                           DiagnosticsEngine::missingPointText(QStringLiteral("DD9"))};
}

void TestDiagnosticsEngine::walks() {
    QFETCH(QString, name);
    QFETCH(int, start);
    QFETCH(bool, logicProbe);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, trace);
    EngineRig e;
    e.writeScenarios(kFile);
    e.engine.setLogicProbe([logicProbe] { return logicProbe; });
    if (start == 0)
        e.engine.StartScenario(name, 1);
    else if (start == 1)
        e.engine.StartOscilloscopeScenario(name);
    else
        e.engine.StartProbeScenario(name);
    e.answer(answers);
    if (e.dialogs.trace != trace) {
        qWarning().noquote() << e.dialogs.trace.join(QStringLiteral("\n"));
        for (int i = 1; i <= e.engine.scenario().NodeCount(); ++i) {
            const ScenarioNode* n = e.engine.scenario().node(i);
            qWarning() << i << n->kind << n->links[0] << n->links[1] << n->links[2] << n->name << n->text;
        }
    }
    QCOMPARE(e.dialogs.trace, trace);
    QVERIFY(!e.engine.running());
}

void TestDiagnosticsEngine::errorCodesEndTheRun_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("3 link") << 3 << "Com1" << "Нет связи с тестовым процессором !    ";
    QTest::newRow("4 step file") << 4 << "Диагностика" << "Ошибка файла kia_nelta2.ccr !";
    QTest::newRow("6 not for the probe")
        << 6 << "Диагностика"
        << "Данная точка не может быть\nпроконтролирована логическим\nпробником !";
    QTest::newRow("7 programmer") << 7 << "COM1" << "Нет связи с программатором !";
    QTest::newRow("8 program name")
        << 8 << "Тест ПЗУ..." << "Ошибка определения имени файла ПО контроллера";
}

void TestDiagnosticsEngine::errorCodesEndTheRun() {
    QFETCH(int, code);
    QFETCH(QString, title);
    QFETCH(QString, text);
    EngineRig e;
    e.writeScenarios(kFile);
    e.rig.ctx.linkStatus = 2;
    QVERIFY(e.engine.StartProbeScenario(QStringLiteral("ROM_ERROR")));
    e.answer({QStringLiteral("code=%1").arg(code)});
    QVERIFY(!e.engine.running());
    QCOMPARE(e.dialogs.trace.last(), QStringLiteral("end error ") + text.trimmed());
    const QList<PromptEvent> boxes = e.rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, title);
    QCOMPARE(boxes.first().text, text);
    QVERIFY(e.board.marks.isEmpty());
}

void TestDiagnosticsEngine::flagsAndMenusDuringARun() {
    EngineRig e;
    e.writeScenarios(kFile);
    QVERIFY(e.engine.StartProbeScenario(QStringLiteral("ROM_ERROR")));
    QVERIFY(e.rig.ctx.diagnosticsActive);
    QVERIFY(e.board.locked);
    QCOMPARE(e.board.marks, QStringList{QStringLiteral(">DD3")});
    QCOMPARE(e.dialogs.requests.last().markRect, QRect(10, 20, 64, 64));
    e.answer({QStringLiteral("stop")});
    QVERIFY(!e.rig.ctx.diagnosticsActive);
    QVERIFY(!e.board.locked);
    QVERIFY(e.board.marks.isEmpty());
}

void TestDiagnosticsEngine::loadFailureStartsNothing() {
    EngineRig e;
    e.writeScenarios(kFile);
    QVERIFY(!e.engine.StartOscilloscopeScenario(QStringLiteral("NO_CONNECT")));
    QVERIFY(!e.rig.ctx.diagnosticsActive);
    QCOMPARE(e.board.lockChanges, 0);
    QCOMPARE(e.rig.prompts.boxes().size(), 1);
    QCOMPARE(e.rig.prompts.boxes().first().text, QStringLiteral("Ошибка загрузки !  "));
    QCOMPARE(e.rig.prompts.boxes().first().title, QStringLiteral("Диагностика"));
    // The common path tries the oscilloscope scenario only once.
    QVERIFY(!e.engine.StartScenario(QStringLiteral("NOTHING"), 1));
    QCOMPARE(e.rig.prompts.boxes().size(), 2);
}

void TestDiagnosticsEngine::multiPointStepMarksAll() {
    EngineRig e;
    e.writeScenarios(kFile);
    QVERIFY(e.engine.StartProbeScenario(QStringLiteral("MULTI")));
    QCOMPARE(e.board.marks, (QStringList{"DD1", "DD2", ">DD3"}));
    e.board.known.insert(QStringLiteral("DD9"));
    e.answer({QStringLiteral("pass")});
    QCOMPARE(e.engine.history().size(), 1);
    QCOMPARE(e.engine.history().first().label, QStringLiteral("DD1..."));
}

void TestDiagnosticsEngine::historyAndBackTracking() {
    EngineRig e;
    e.writeScenarios(kFile);
    QVERIFY(e.engine.StartProbeScenario(QStringLiteral("ROM_ERROR")));
    e.answer({QStringLiteral("pass"), QStringLiteral("fail0")});
    // DD3 passed, DD1 failed: the conclusion in return mode, both rows listed.
    const StepRequest last = e.dialogs.requests.last();
    QCOMPARE(last.text, QStringLiteral("Check DD1"));
    QCOMPARE(last.history.size(), 2);
    QCOMPARE(last.history[0].label, QStringLiteral("DD3"));
    QCOMPARE(last.history[0].outcome, int(OutcomePass));
    QCOMPARE(last.history[1].label, QStringLiteral("DD1"));
    QCOMPARE(last.history[1].outcome, int(OutcomeFail0));
    QCOMPARE(last.history[1].kind, int(KindProbe));
    // Back to row 1 (DD1): row 1 and newer go, the return point is gone.
    e.answer({QStringLiteral("back=1")});
    QCOMPARE(e.engine.history().size(), 1);
    QCOMPARE(e.dialogs.requests.last().node, 2);
    QCOMPARE(e.dialogs.requests.last().point, QStringLiteral("DD1"));
    // Back to row 0: empty history, step 1 again.
    e.answer({QStringLiteral("back=0")});
    QVERIFY(e.engine.history().isEmpty());
    QCOMPARE(e.dialogs.requests.last().node, 1);
    // Without a return point a conclusion is shown as an end (mode 0 style).
    e.answer({QStringLiteral("pass"), QStringLiteral("pass")});
    QCOMPARE(e.dialogs.requests.last().text, QStringLiteral("Неисправность не найдена"));
}

void TestDiagnosticsEngine::testStepFailureContinuesInItsKeyword() {
    EngineRig e;
    e.writeScenarios(kFile);
    e.rig.host.beforeDialog = [&] { e.rig.board().ram().setCellFault(0x0101, 0, 0x01); };
    QVERIFY(e.engine.StartScenario(QStringLiteral("TESTS"), 1));
    e.answer({QStringLiteral("pass"), QStringLiteral("stop")});
    QCOMPARE(e.dialogs.trace,
             (QStringList{"TESTS:1 probe [] Начало", "test TEST_RAM=2",
                          "RAM_ERROR:1 probe [DD2] Проверьте ОЗУ", "end stopped"}));
    // The failed test is the newest FAIL of the history.
    const StepHistory h = e.dialogs.requests.last().history;
    QCOMPARE(h.size(), 2);
    QCOMPARE(h[1].label, QStringLiteral("TEST_RAM"));
    QCOMPARE(h[1].outcome, int(OutcomeFail0));
}

void TestDiagnosticsEngine::scenarioBranchingToItselfWaitsEachTime() {
    EngineRig e;
    e.writeScenarios(kFile);
    QVERIFY(e.engine.StartProbeScenario(QStringLiteral("SELF")));
    QStringList answers;
    for (int i = 0; i < 600; ++i)
        answers << (i % 2 ? QStringLiteral("pass") : QStringLiteral("fail0"));
    e.answer(answers);
    QCOMPARE(e.dialogs.requests.size(), 601);
    QVERIFY(e.engine.running());
    QCOMPARE(e.dialogs.requests.last().node, 2);
    QCOMPARE(e.dialogs.requests.last().history.size(), 600);
}

void TestDiagnosticsEngine::oneRunAtATime() {
    EngineRig e;
    e.writeScenarios(kFile);
    QVERIFY(e.engine.StartProbeScenario(QStringLiteral("ROM_ERROR")));
    QVERIFY(!e.engine.StartScenario(QStringLiteral("TESTS"), 1));
    QCOMPARE(e.engine.currentScenario(), QStringLiteral("ROM_ERROR"));
    QCOMPARE(e.dialogs.requests.size(), 1);
}

// A TEST step whose failure names the scenario it stands in runs the test
// again and again without the engineer: the run is stopped, not hung.
void TestDiagnosticsEngine::testFailingIntoItselfIsStopped() {
    EngineRig e;
    e.writeScenarios("CDIAGN31 RAM_ERROR\n1: TEST_RAM\nEND\n");
    e.rig.host.beforeDialog = [&] { e.rig.board().ram().setCellFault(0x0101, 0, 0x01); };
    QVERIFY(e.engine.StartScenario(QStringLiteral("RAM_ERROR"), 1));
    QVERIFY(!e.engine.running());
    QVERIFY(!e.rig.ctx.diagnosticsActive);
    QCOMPARE(e.dialogs.trace.count(QStringLiteral("test TEST_RAM=2")),
             DiagnosticsEngine::kMaxUnattendedSteps + 1);
    QCOMPARE(e.dialogs.trace.last(), QStringLiteral("end error ") + DiagnosticsEngine::loopText());
}

// A single-point check after a run: its outcome ends it, whatever the run
// before it left behind (targets, return point, history).
void TestDiagnosticsEngine::pointCheckEndsThroughTheOutcome_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("argument");
    QTest::addColumn<QString>("end");
    QTest::newRow("pass") << 1 << 0 << "end path";
    QTest::newRow("fail0") << 2 << 0 << "end path";
    QTest::newRow("fail1") << 2 << 1 << "end path";
    QTest::newRow("leave") << 0 << 0 << "end stopped";
    QTest::newRow("not for the probe")
        << 6 << 0 << "end error Данная точка не может быть\nпроконтролирована логическим\nпробником !";
}

void TestDiagnosticsEngine::pointCheckEndsThroughTheOutcome() {
    QFETCH(int, code);
    QFETCH(int, argument);
    EngineRig e;
    e.writeScenarios(kFile);
    QVERIFY(e.engine.StartProbeScenario(QStringLiteral("ROM_ERROR")));
    e.answer({QStringLiteral("fail0")}); // a return point and a history row
    e.answer({QStringLiteral("stop")});
    QVERIFY(!e.engine.running());
    const int dialogsBefore = e.dialogs.requests.size();

    e.engine.BeginPointCheck();
    QVERIFY(e.engine.running());
    QVERIFY(e.rig.ctx.diagnosticsActive);
    QVERIFY(e.board.locked);
    QVERIFY(e.engine.history().isEmpty());
    e.engine.HandleOutcome(code, argument);
    QVERIFY(!e.engine.running());
    QVERIFY(!e.rig.ctx.diagnosticsActive);
    QVERIFY(!e.board.locked);
    QTEST(e.dialogs.trace.last(), "end");
    QCOMPARE(e.dialogs.requests.size(), dialogsBefore); // no step follows
}

QTEST_GUILESS_MAIN(TestDiagnosticsEngine)
#include "tst_diagnosticsengine.moc"
