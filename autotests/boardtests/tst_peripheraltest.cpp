// The peripheral circuits test against the simulated bench: every row of
// every board type on a good board (cross-checks and pin scans included),
// each circuit fault failing where and how the engineer must see it, the
// excuses that a good board needs, the row walk and the named-test step.

#include "benchrig.h"
#include "scriptedcircuithost.h"

#include "circuitdialogmodel.h"
#include "circuitio.h"
#include "circuittable.h"
#include "namedtests.h"
#include "peripheraltest.h"
#include "testsession.h"

#include "link/linkstatus.h"
#include "sim/boardfault.h"
#include "view/controlpoint.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace kia;
using testhost::BenchRig;
using testhost::ScriptedCircuitHost;

Q_DECLARE_METATYPE(sim::BoardFault)
Q_DECLARE_METATYPE(CircuitErrorReport::Kind)

namespace {

struct PeripheralRig : BenchRig {
    explicit PeripheralRig(int type) : BenchRig(type), circuits(bench) {}
    ScriptedCircuitHost circuits;

    PeripheralOutcome runWhole(bool probeRows) {
        prompts.answer(probeRows ? PromptAnswer::Yes : PromptAnswer::No);
        return RunPeripheralTest(ctx, host, circuits);
    }
};

QList<int> presentRows(int type, int from) {
    QList<int> rows;
    for (int r = from; r < CircuitRowCount; ++r) {
        if (circuitTable(type)[static_cast<size_t>(r)].isPresent())
            rows << r;
    }
    return rows;
}

} // namespace

class TestPeripheralTest : public QObject {
    Q_OBJECT

private slots:
    void namesArePointsOfTheBoard_data();
    void namesArePointsOfTheBoard();
    void goodBoardPassesEveryRow_data();
    void goodBoardPassesEveryRow();
    void faultFailsWithItsFields_data();
    void faultFailsWithItsFields();
    void brokenProbeEndsWithItsStatus();
    void excusedRowReallyDisturbsTheOutput_data();
    void excusedRowReallyDisturbsTheOutput();
    void excusedPinReallyDisturbsTheOutput_data();
    void excusedPinReallyDisturbsTheOutput();
    void answerNoStartsAtTheFirstCircuit();
    void samePointStartsByItself();
    void errorAnswersSteerTheRun_data();
    void errorAnswersSteerTheRun();
    void otherCircuitChoiceJumps();
    void linkFailureEndsAndNextCommandWorks();
    void probeSelfTest_data();
    void probeSelfTest();
    void namedCircuitStep_data();
    void namedCircuitStep();
};

void TestPeripheralTest::namesArePointsOfTheBoard_data() {
    QTest::addColumn<int>("type");
    for (int t = 0; t < 5; ++t)
        QTest::addRow("type %d", t) << t;
}

// Every input, output and pin the test marks or names must be a point of the
// board's picture, or the engineer is pointed at nothing.
void TestPeripheralTest::namesArePointsOfTheBoard() {
    QFETCH(int, type);
    QList<ControlPoint> points;
    QVERIFY(LoadPointsFile(qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/kia_nelta2.dot"), type,
                           points));
    QStringList missing;
    auto check = [&](const QString& name) {
        if (!name.isEmpty() && !name.startsWith(QStringLiteral("чтение")) &&
            FindPoint(points, type, name) < 0 && !missing.contains(name))
            missing << name;
    };
    for (const CircuitRow& r : circuitTable(type)) {
        if (!r.isPresent())
            continue;
        for (const QString& in : r.inputs)
            check(in);
        check(r.output);
        QVERIFY(r.steps >= 1 && r.steps <= 8);
        QCOMPARE(r.inputs.size() <= 5, true);
    }
    for (const QString& pin : circuitPinNames(type))
        check(pin);
    QCOMPARE(circuitPinNames(type).size(), type == 4 ? 32 : 37);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

void TestPeripheralTest::goodBoardPassesEveryRow_data() {
    QTest::addColumn<int>("type");
    for (int t = 0; t < 5; ++t)
        QTest::addRow("type %d", t) << t;
}

void TestPeripheralTest::goodBoardPassesEveryRow() {
    QFETCH(int, type);
    QElapsedTimer timer;
    timer.start();
    PeripheralRig rig(type);
    QCOMPARE(rig.runWhole(true), PeripheralOutcome::Completed);
    for (const CircuitErrorReport& e : rig.circuits.errors)
        qWarning() << e.row << e.circuit << int(e.kind) << e.step << e.otherRow << e.pin
                   << e.measured << e.expected << e.bottomLine;
    QVERIFY(rig.circuits.errors.isEmpty());
    QList<int> rows;
    for (const auto& d : rig.circuits.dialogs) {
        rows << d.row;
        const int expectedEnd = d.row == 27 ? int(CircuitDialogExit) : d.row + 10;
        QCOMPARE(d.end, expectedEnd);
    }
    QCOMPARE(rows, presentRows(type, 0));
    if (type == 4)
        QCOMPARE(rig.circuits.dialogs.last().verdict, QStringLiteral("\nТест прошел !"));
    QVERIFY(!rig.ctx.busy);
    QVERIFY(!rig.ctx.circuitErrorFlag);
    // Everything on the virtual clock: a whole battery costs little real time.
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
}

void TestPeripheralTest::faultFailsWithItsFields_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<sim::BoardFault>("fault");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("step");
    QTest::addColumn<CircuitErrorReport::Kind>("kind");
    QTest::addColumn<QString>("measured");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("bottomLine");

    using K = CircuitErrorReport::Kind;
    const QString l0 = QStringLiteral("Уровень лог.\"0\".");
    const QString l1 = QStringLiteral("Уровень лог.\"1\".");
    const QString open = QStringLiteral("Высокоимпедансное состояние.");
    QTest::newRow("stuck low") << 0 << sim::BoardFault::circuitStuck(QStringLiteral("X3/9"), false)
                               << 9 << 1 << K::Direct << l0 << l1 << QString();
    QTest::newRow("stuck high, type 4")
        << 4 << sim::BoardFault::circuitStuck(QStringLiteral("X6/1"), true) << 13 << 0 << K::Direct
        << l1 << l0 << QString();
    QTest::newRow("open phase") << 0 << sim::BoardFault::circuitOpen(QStringLiteral("X5/1")) << 5
                                << 0 << K::Direct << open << l0 << QString();
    QTest::newRow("open +12 V, type 4")
        << 4 << sim::BoardFault::circuitOpen(QStringLiteral("X7/1")) << 21 << 0 << K::Direct
        << open << QStringLiteral("Уровень +12B.") << QString();
    QTest::newRow("coupled")
        << 0 << sim::BoardFault::circuitCoupled(QStringLiteral("X5/1"), QStringLiteral("X3/9")) << 5
        << 1 << K::Cross << l0 << open
        << QStringLiteral("ВНИМАНИЕ !  Неисправность проявилась при установке на выходе цепи "
                          "\"Управление индикацией.\" ( X3/9 ) уровня лог.\"0\".");
    QTest::newRow("coupled, type 3")
        << 3 << sim::BoardFault::circuitCoupled(QStringLiteral("X3/9"), QStringLiteral("X8/14"))
        << 9 << 1 << K::Cross << l0 << l1
        << QStringLiteral("ВНИМАНИЕ !  Неисправность проявилась при установке на выходе цепи "
                          "\"Данные ТПГ.\" ( X8/14 ) уровня лог.\"0\".");
    QTest::newRow("pin short, port")
        << 0 << sim::BoardFault::pinShorted(QStringLiteral("DD3/21"), QStringLiteral("X3/9")) << 9
        << 1 << K::Pin << l0 << l1
        << QStringLiteral("ВНИМАНИЕ !  Неисправность проявилась при установке на выводе     "
                          "DD3/21 уровня лог.\"0\"");
    QTest::newRow("pin short, PPI port C")
        << 2 << sim::BoardFault::pinShorted(QStringLiteral("DD14/11"), QStringLiteral("X3/9")) << 9
        << 1 << K::Pin << l0 << l1
        << QStringLiteral("ВНИМАНИЕ !  Неисправность проявилась при установке на выводе     "
                          "DD14/11 уровня лог.\"1\"");
    QTest::newRow("pin short, type 4")
        << 4 << sim::BoardFault::pinShorted(QStringLiteral("DD5/18"), QStringLiteral("X3/9")) << 9
        << 1 << K::Pin << l0 << l1
        << QStringLiteral("ВНИМАНИЕ !  Неисправность проявилась при установке на выводе     "
                          "DD5/18 уровня лог.\"0\"");
    QTest::newRow("split pulse")
        << 0 << sim::BoardFault::pulseSplit(QStringLiteral("X6/6")) << 19 << 0 << K::Direct
        << QStringLiteral("Импульс уровня лог.\"0\", длител. 5.6ms (дробленый)")
        << QStringLiteral("Импульс уровня лог.\"0\", длител. 8.0ms - 20.0ms") << QString();
    QTest::newRow("pulse output open, type 4")
        << 4 << sim::BoardFault::circuitOpen(QStringLiteral("X7/6")) << 23 << 0 << K::Direct
        << open << QStringLiteral("Уровень лог.\"1\".") << QString();
}

void TestPeripheralTest::faultFailsWithItsFields() {
    QFETCH(int, type);
    QFETCH(sim::BoardFault, fault);
    QFETCH(int, row);
    QFETCH(int, step);
    QFETCH(CircuitErrorReport::Kind, kind);
    QFETCH(QString, measured);
    QFETCH(QString, expected);
    QFETCH(QString, bottomLine);

    PeripheralRig rig(type);
    QString why;
    QVERIFY2(rig.bench.addBoardFault(fault, &why), qPrintable(why));
    QCOMPARE(rig.runWhole(false), PeripheralOutcome::Completed);
    QVERIFY(!rig.circuits.errors.isEmpty());
    const CircuitErrorReport& e = rig.circuits.errors.first();
    const CircuitRow& c = circuitTable(type)[static_cast<size_t>(row)];
    QCOMPARE(e.row, row);
    QCOMPARE(e.step, step);
    QCOMPARE(e.kind, kind);
    QCOMPARE(e.circuit, c.name);
    QCOMPARE(e.inputs, c.inputs);
    QCOMPARE(e.inputValues.size(), c.inputs.size());
    QCOMPARE(e.output, c.output);
    QCOMPARE(e.measured, measured);
    QCOMPARE(e.expected, expected);
    QCOMPARE(e.bottomLine, bottomLine);
    QVERIFY(rig.ctx.circuitErrorFlag);
    // The run went on to the last row ("Продолжить").
    QCOMPARE(rig.circuits.dialogs.last().row, presentRows(type, 5).last());
}

void TestPeripheralTest::brokenProbeEndsWithItsStatus() {
    PeripheralRig rig(0);
    rig.bench.addBoardFault(sim::BoardFault::probeBroken());
    QCOMPARE(rig.runWhole(true), PeripheralOutcome::LinkFailure);
    QCOMPARE(rig.circuits.dialogs.size(), 1);
    QCOMPARE(rig.circuits.dialogs.first().end, int(CircuitDialogLinkFailure));
    QCOMPARE(rig.ctx.linkStatus, quint8(100));
    QVERIFY(!rig.ctx.busy);
    const auto boxes = rig.prompts.boxes();
    QVERIFY(!boxes.isEmpty());
    QVERIFY(boxes.last().text.startsWith(QStringLiteral("Неисправна линия DSR или CTS порта")));
}

// Each excuse names a pair of circuits that share an input on a good board:
// driving the later row moves the earlier row's output, so without the
// excuse a good board would fail.
void TestPeripheralTest::excusedRowReallyDisturbsTheOutput_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("other");
    QTest::addColumn<int>("otherStep");
    QTest::newRow("0: X5/7 by X6/14") << 0 << 15 << 1 << 16 << 0;
    QTest::newRow("1: X5/1 by X5/2") << 1 << 5 << 0 << 6 << 1;
    QTest::newRow("1: X5/3 by X5/4") << 1 << 7 << 0 << 8 << 1;
    QTest::newRow("1: X5/3 by X6/1") << 1 << 7 << 2 << 13 << 0;
    QTest::newRow("2: X5/4 by X6/1") << 2 << 8 << 0 << 13 << 0;
    QTest::newRow("1: X2/2 by X6/2") << 1 << 14 << 0 << 15 << 1;
    QTest::newRow("2: X6/2 by DD3/15") << 2 << 15 << 1 << 16 << 0;
    QTest::newRow("3: X6/1 by X6/2") << 3 << 5 << 0 << 6 << 1;
    QTest::newRow("3: X6/1 by X7/1") << 3 << 5 << 0 << 13 << 0;
    QTest::newRow("3: X6/2 by X7/1") << 3 << 6 << 1 << 13 << 0;
    QTest::newRow("3: X6/3 by X8/1") << 3 << 7 << 0 << 22 << 0;
    QTest::newRow("3: X2/2 by X7/2") << 3 << 14 << 1 << 15 << 0;
    QTest::newRow("4: X5/1 by X5/2") << 4 << 5 << 1 << 6 << 0;
    QTest::newRow("4: X3/12 by X6/1") << 4 << 11 << 0 << 13 << 1;
    QTest::newRow("4: mains by paper sensor") << 4 << 10 << 1 << 14 << 0;
    QTest::newRow("4: write by strobe") << 4 << 18 << 2 << 19 << 0;
}

void TestPeripheralTest::excusedRowReallyDisturbsTheOutput() {
    QFETCH(int, type);
    QFETCH(int, row);
    QFETCH(int, step);
    QFETCH(int, other);
    QFETCH(int, otherStep);
    QVERIFY(CircuitCrossExcused(type, row, other));

    PeripheralRig rig(type);
    QVERIFY(PrepareTestSession(rig.ctx, rig.host));
    const CircuitRow& r = circuitTable(type)[static_cast<size_t>(row)];
    const CircuitRow& o = circuitTable(type)[static_cast<size_t>(other)];
    ShowCircuitPoint(rig.ctx, rig.circuits, row);
    rig.ctx.inputValue = r.values[static_cast<size_t>(step)];
    QVERIFY(DriveCircuitInputs(rig.ctx, r));
    quint8 level = 0xFF;
    QVERIFY(ReadCircuitOutput(rig.ctx, r, level));
    QCOMPARE(level, r.expected(step));
    rig.ctx.inputValue = o.values[static_cast<size_t>(otherStep)];
    QVERIFY(DriveCircuitInputs(rig.ctx, o));
    QVERIFY(ReadCircuitOutput(rig.ctx, r, level));
    QVERIFY2(level != r.expected(step), "a good board would pass without the excuse");
}

void TestPeripheralTest::excusedPinReallyDisturbsTheOutput_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("pin");
    QTest::newRow("0: print pulse and DD3/16") << 0 << 20 << 0 << 14;
    QTest::newRow("3: print pulse and DD3/16") << 3 << 20 << 0 << 14;
    QTest::newRow("3: drawer and its PPI line") << 3 << 12 << 1 << 17;
    QTest::newRow("3: SDA and its port line") << 3 << 23 << 0 << -1; // see below
    QTest::newRow("4: printer data and DD5/37") << 4 << 20 << 1 << 0;
    QTest::newRow("4: print pulse and DD5/35") << 4 << 25 << 0 << 2;
}

void TestPeripheralTest::excusedPinReallyDisturbsTheOutput() {
    QFETCH(int, type);
    QFETCH(int, row);
    QFETCH(int, step);
    QFETCH(int, pin);
    if (pin < 0) {
        // Type 3's SDA line is port 1 bit 1 itself; pins 1 and 2 stay out of every scan.
        QVERIFY(CircuitPinExcused(3, row, 1));
        QVERIFY(CircuitPinExcused(3, row, 2));
        QVERIFY(CircuitPinExcused(3, 5, 18));
        return;
    }
    QVERIFY(CircuitPinExcused(type, row, pin));

    PeripheralRig rig(type);
    QVERIFY(PrepareTestSession(rig.ctx, rig.host));
    if (type != 4)
        QVERIFY(rig.ctx.link.SetMemoryMap({0x6000, 0x2000, 0, 0, 0xFFFF}, 185));
    const CircuitRow& r = circuitTable(type)[static_cast<size_t>(row)];
    ShowCircuitPoint(rig.ctx, rig.circuits, row);
    if (type == 4) {
        for (quint8 n = 0; n < 4; ++n)
            QVERIFY(rig.ctx.link.WritePort(n, 0xFF, 0xFF));
    }
    rig.ctx.inputValue = r.values[static_cast<size_t>(step)];
    QVERIFY(DriveCircuitInputs(rig.ctx, r));
    quint8 level = 0;
    QVERIFY(ReadCircuitOutput(rig.ctx, r, level));
    auto passes = [&] {
        if (r.kind == CircuitKind::Pulse)
            return rig.ctx.lastPulse.level == r.values[8] &&
                   rig.ctx.lastPulse.duration >= r.values[9] &&
                   rig.ctx.lastPulse.duration <= r.values[10];
        return level == r.expected(step);
    };
    QVERIFY(passes());
    QVERIFY(type == 4 ? DriveControllerPin(rig.ctx, -1, pin) : DriveScanPin(rig.ctx, pin));
    QVERIFY(ReadCircuitOutput(rig.ctx, r, level));
    QVERIFY2(!passes(), "a good board would pass without the excuse");
}

void TestPeripheralTest::answerNoStartsAtTheFirstCircuit() {
    PeripheralRig rig(0);
    rig.circuits.dialogChoices << int(CircuitDialogExit);
    QCOMPARE(rig.runWhole(false), PeripheralOutcome::Exit);
    QCOMPARE(rig.circuits.dialogs.size(), 1);
    QCOMPARE(rig.circuits.dialogs.first().row, 5);
    QCOMPARE(rig.circuits.marks, QStringList{QStringLiteral("X5/1/16")});
    QVERIFY(!rig.ctx.busy);
    const auto boxes = rig.prompts.boxes();
    QCOMPARE(boxes.first().title, QStringLiteral("Тест периферии..."));
    QCOMPARE(boxes.first().text, probeQuestionText());
}

void TestPeripheralTest::samePointStartsByItself() {
    PeripheralRig rig(0);
    // Rows 19 and 20 share X6/6; rows 15 and 16 share DD3/15 as their input
    // but not their outputs.
    QCOMPARE(rig.runWhole(false), PeripheralOutcome::Completed);
    bool seen = false;
    for (const auto& d : rig.circuits.dialogs) {
        if (d.row == 20) {
            seen = true;
            QVERIFY(d.samePoint);
            QCOMPARE(d.text, QStringLiteral("Цепь:   Импульс печати ТПГ (макс. программный)."));
        } else {
            QVERIFY(!d.samePoint);
        }
        if (d.row == 14)
            QCOMPARE(d.text, QStringLiteral("Цепь:   Данные сканера штрих-кодов.\nПодключите выход "
                                            "формирователя к X2/2\nНажмите \"Пуск\" !"));
        if (d.row == 5) {
            QCOMPARE(d.text, QStringLiteral("Цепь:   Фаза 1 шагового двигателя.\nУстановите щуп "
                                            "пробника на X5/1\n и удерживайте его до конца "
                                            "контроля !\nНажмите \"Пуск\" !"));
            QCOMPARE(d.maximum, 2 * (64 - 5));
        }
    }
    QVERIFY(seen);
    QVERIFY(rig.circuits.marks.contains(QStringLiteral("X2/2/64")));
    QCOMPARE(rig.circuits.marks.count(QStringLiteral("X6/6/16")), 1);
}

void TestPeripheralTest::errorAnswersSteerTheRun_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("errors");
    QTest::newRow("Выход") << int(CircuitErrorAnswer::Exit) << int(PeripheralOutcome::Exit) << 1;
    QTest::newRow("Диагностика") << int(CircuitErrorAnswer::Diagnostics)
                                 << int(PeripheralOutcome::Diagnostics) << 1;
    QTest::newRow("Повтор") << int(CircuitErrorAnswer::Repeat) << int(PeripheralOutcome::Completed)
                            << 2;
}

void TestPeripheralTest::errorAnswersSteerTheRun() {
    QFETCH(int, answer);
    QFETCH(int, outcome);
    QFETCH(int, errors);
    PeripheralRig rig(0);
    rig.bench.addBoardFault(sim::BoardFault::pinShorted(QStringLiteral("DD3/22"),
                                                        QStringLiteral("X3/9")));
    rig.circuits.errorAnswers << CircuitErrorAnswer(answer);
    QCOMPARE(int(rig.runWhole(false)), outcome);
    QCOMPARE(rig.circuits.errors.size(), errors);
    QVERIFY(!rig.ctx.busy);
    if (answer == int(CircuitErrorAnswer::Diagnostics)) {
        QCOMPARE(rig.scenarios.started, QStringList{QStringLiteral("Управление индикацией./1")});
        QCOMPARE(rig.ctx.failingPin, quint8(7));
    }
    if (answer == int(CircuitErrorAnswer::Repeat)) {
        // The repeated run failed at the same pin and went on from there.
        QCOMPARE(rig.circuits.errors.at(1).pin, rig.circuits.errors.at(0).pin);
    }
}

void TestPeripheralTest::otherCircuitChoiceJumps() {
    PeripheralRig rig(4);
    CircuitDialogModel probe(rig.ctx, rig.circuits, 5, false);
    QCOMPARE(probe.selectableRows(), presentRows(4, 0));
    QCOMPARE(probe.selectableNames().first(), circuitTable(4)[0].name);
    QVERIFY(probe.otherCircuitEnabled());
    // "Нет" to the probe question, then the engineer picks row 26 from the list.
    rig.circuits.dialogChoices << CircuitDialogModel::choiceEndCode(26);
    QCOMPARE(rig.runWhole(false), PeripheralOutcome::Completed);
    QCOMPARE(rig.circuits.dialogs.size(), 3);
    QCOMPARE(rig.circuits.dialogs.at(1).row, 26);
    QCOMPARE(rig.circuits.dialogs.at(2).verdict, QStringLiteral("\nТест прошел !"));
    QCOMPARE(rig.circuits.dialogs.at(2).maximum, 2 * (59 - 27));
    rig.ctx.diagnosticsActive = true;
    QVERIFY(!probe.otherCircuitEnabled());
}

void TestPeripheralTest::linkFailureEndsAndNextCommandWorks() {
    PeripheralRig rig(0);
    rig.circuits.beforeRun = [&rig](int row) {
        if (row == 9)
            rig.bench.addFault(sim::Fault::silence().once());
    };
    QCOMPARE(rig.runWhole(false), PeripheralOutcome::LinkFailure);
    QCOMPARE(rig.circuits.dialogs.last().row, 9);
    QCOMPARE(rig.circuits.dialogs.last().end, int(CircuitDialogLinkFailure));
    QVERIFY(!rig.ctx.busy);
    QVERIFY(!rig.prompts.boxes().isEmpty());
    QCOMPARE(rig.prompts.boxes().last().title, QStringLiteral("Com1"));
    rig.circuits.beforeRun = nullptr;
    rig.circuits.dialogs.clear();
    QCOMPARE(rig.runWhole(false), PeripheralOutcome::Completed);
    QVERIFY(rig.circuits.errors.isEmpty());
}

void TestPeripheralTest::probeSelfTest_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("broken");
    QTest::newRow("type 0") << 0 << false;
    QTest::newRow("type 4") << 4 << false;
    QTest::newRow("type 3, broken probe") << 3 << true;
}

void TestPeripheralTest::probeSelfTest() {
    QFETCH(int, type);
    QFETCH(bool, broken);
    PeripheralRig rig(type);
    if (broken)
        rig.bench.addBoardFault(sim::BoardFault::probeBroken());
    const PeripheralOutcome out = RunProbeSelfTest(rig.ctx, rig.host, rig.circuits);
    QVERIFY(!rig.ctx.busy);
    if (broken) {
        QCOMPARE(out, PeripheralOutcome::LinkFailure);
        QCOMPARE(rig.ctx.linkStatus, quint8(100));
        return;
    }
    QCOMPARE(out, PeripheralOutcome::ProbeHealthy);
    QCOMPARE(rig.circuits.dialogs.size(), 5);
    QCOMPARE(rig.circuits.dialogs.at(0).text,
             QStringLiteral("Удерживайте щуп пробника изолированным\nот любых цепей !\nНажмите "
                            "\"Пуск\" ! "));
    QCOMPARE(rig.circuits.dialogs.at(4).text,
             QStringLiteral("Установите щуп пробника на выход\nформирователя лог. уровней !\n"
                            "Нажмите \"Пуск\" ! "));
    const auto boxes = rig.prompts.boxes();
    QCOMPARE(boxes.last().title, QStringLiteral("Диагностика"));
    QCOMPARE(boxes.last().text, QStringLiteral("Логический пробник исправен !  "));
}

void TestPeripheralTest::namedCircuitStep_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("fault"); // a point stuck low, or empty
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("keyword");
    const int cont = int(CircuitErrorAnswer::Continue);
    const int diag = int(CircuitErrorAnswer::Diagnostics);
    QTest::newRow("TEST_IO12 passes") << 0 << "TEST_IO12" << "" << cont << 1 << "";
    QTest::newRow("absent row passes") << 0 << "TEST_IO13" << "" << cont << 1 << "";
    QTest::newRow("diagnostics") << 4 << "TEST_IO9" << "X3/9" << diag << 2
                                 << "Управление индикацией.";
    QTest::newRow("exit") << 0 << "TEST_IO9" << "X3/9" << int(CircuitErrorAnswer::Exit) << 3 << "";
    QTest::newRow("no number") << 0 << "TEST_IO" << "" << cont << 3 << "";
    QTest::newRow("past the table") << 0 << "TEST_IO28" << "" << cont << 3 << "";
}

void TestPeripheralTest::namedCircuitStep() {
    QFETCH(int, type);
    QFETCH(QString, step);
    QFETCH(QString, fault);
    QFETCH(int, answer);
    QFETCH(int, result);
    QFETCH(QString, keyword);

    struct Host : testhost::ScriptedTestHost {
        using ScriptedTestHost::ScriptedTestHost;
        CircuitTestHost* circuits = nullptr;
        CircuitTestHost* circuitHost() override { return circuits; }
    };
    PeripheralRig rig(type);
    Host host(rig.ctx);
    host.circuits = &rig.circuits;
    QVERIFY(PrepareTestSession(rig.ctx, rig.host));
    if (type != 4)
        QVERIFY(rig.ctx.link.SetMemoryMap({0x6000, 0x2000, 0, 0, 0xFFFF}, 185));
    if (!fault.isEmpty())
        rig.bench.addBoardFault(sim::BoardFault::circuitStuck(fault, false));
    rig.circuits.errorAnswers << CircuitErrorAnswer(answer);
    QString kw;
    QCOMPARE(RunNamedTest(rig.ctx, host, step, kw), result);
    QCOMPARE(kw, keyword);
    QVERIFY(!rig.ctx.diagnosticsActive);
    if (result == 3)
        QVERIFY(rig.circuits.dialogs.isEmpty() || answer == int(CircuitErrorAnswer::Exit));
    if (!rig.circuits.dialogs.isEmpty())
        QVERIFY(rig.circuits.clearMarks > 0);
}

QTEST_GUILESS_MAIN(TestPeripheralTest)
#include "tst_peripheraltest.moc"
