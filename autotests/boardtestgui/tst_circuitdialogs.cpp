// The peripheral test's windows on the offscreen platform: the circuit
// dialog's placement away from the marked point and its controls, the error
// dialog's fields and answers, and the menu command reaching the dialog.

#include "dialogscript.h"

#include "app/framefixture.h"

#include "app/commandtable.h"
#include "app/simulatedbench.h"
#include "boardtests/circuitdialogmodel.h"
#include "boardtests/peripheraltest.h"
#include "boardtests/widgets/circuitdialog.h"
#include "boardtests/widgets/testcommandhandlers.h"
#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "sim/bench.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace kia;

namespace {

// A host that is never asked anything: the dialogs here are not run.
struct IdleHost final : CircuitTestHost {
    void ShowPoint(const QString&, quint16) override {}
    void ClearMarks() override {}
    int RunCircuitDialog(CircuitDialogModel&) override { return CircuitDialogExit; }
    CircuitErrorAnswer ShowCircuitError(const CircuitErrorReport&) override {
        return CircuitErrorAnswer::Continue;
    }
};

} // namespace

class TestCircuitDialogs : public QObject {
    Q_OBJECT

private slots:
    void placedAwayFromTheMark_data();
    void placedAwayFromTheMark();
    void controlsAndRange();
    void errorDialogFieldsAndAnswers_data();
    void errorDialogFieldsAndAnswers();
    void menuCommandOpensTheFirstCircuit();
    void clientAreaIsBetweenTheBars();
};

void TestCircuitDialogs::placedAwayFromTheMark_data() {
    QTest::addColumn<QPoint>("mark");
    QTest::addColumn<int>("corner"); // 0 bottom right, 1 top right, 2 bottom left, 3 top left
    QTest::newRow("mark far away") << QPoint(500, 400) << 0;
    QTest::newRow("mark bottom right") << QPoint(1180, 880) << 1;
    QTest::newRow("mark at the left") << QPoint(10, 400) << 0;
}

void TestCircuitDialogs::placedAwayFromTheMark() {
    QFETCH(QPoint, mark);
    QFETCH(int, corner);
    FrameFixture fx;
    fx.reset();
    IdleHost host;
    CircuitDialogModel model(*fx.ctx, host, 5, false);
    CCircuitDialog dlg(model);
    const QRect client(100, 80, 1100, 820);
    const QRect markRect(mark - QPoint(32, 32), QSize(64, 64));
    dlg.placeAway(client, markRect);
    const QRect g = dlg.frameGeometry();
    QVERIFY(!g.intersects(markRect));
    QVERIFY(client.contains(g.topLeft()));
    const bool right = corner == 0 || corner == 1;
    const bool bottom = corner == 0 || corner == 2;
    QCOMPARE(right ? g.right() + 1 : g.left(), right ? client.right() : client.left());
    QCOMPARE(bottom ? g.bottom() + 1 : g.top(), bottom ? client.bottom() : client.top());
}

void TestCircuitDialogs::controlsAndRange() {
    FrameFixture fx;
    fx.reset();
    fx.ctx->boardType = 4;
    IdleHost host;
    CircuitDialogModel model(*fx.ctx, host, 18, false);
    CCircuitDialog dlg(model);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Тест периферии"));
    auto* bar = dlg.findChild<QProgressBar*>(QStringLiteral("circuitProgress"));
    QVERIFY(bar);
    QCOMPARE(bar->maximum(), 6 * (59 - 18));
    QCOMPARE(dlg.findChild<QLabel*>(QStringLiteral("circuitText"))->text(), model.text());
    for (const char* name : {"circuitStart", "circuitOther", "circuitExit"})
        QVERIFY(dlg.findChild<QPushButton*>(QLatin1String(name))->isEnabled());
    fx.ctx->diagnosticsActive = true;
    CCircuitDialog during(model);
    QVERIFY(!during.findChild<QPushButton*>(QStringLiteral("circuitOther"))->isEnabled());
}

void TestCircuitDialogs::errorDialogFieldsAndAnswers_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::newRow("Повтор") << "errorRepeat" << int(CircuitErrorAnswer::Repeat);
    QTest::newRow("Продолжить") << "errorContinue" << int(CircuitErrorAnswer::Continue);
    QTest::newRow("Диагностика") << "errorDiagnostics" << int(CircuitErrorAnswer::Diagnostics);
    QTest::newRow("Выход") << "errorExit" << int(CircuitErrorAnswer::Exit);
}

void TestCircuitDialogs::errorDialogFieldsAndAnswers() {
    QFETCH(QString, button);
    QFETCH(int, answer);
    CircuitErrorReport e;
    e.kind = CircuitErrorReport::Kind::Cross;
    e.circuit = QStringLiteral("Фаза 1 шагового двигателя.");
    e.inputs = QStringList{QStringLiteral("DD12/2"), QStringLiteral("DD12/9")};
    e.inputValues = QStringList{QStringLiteral("Уровень лог.\"1\"."), QStringLiteral("Уровень лог.\"0\".")};
    e.output = QStringLiteral("X5/1");
    e.measured = QStringLiteral("Уровень лог.\"0\".");
    e.expected = QStringLiteral("Высокоимпедансное состояние.");
    e.bottomLine = QStringLiteral("ВНИМАНИЕ !  Неисправность проявилась при установке на выходе "
                                  "цепи \"Управление индикацией.\" ( X3/9 ) уровня лог.\"0\".");
    CCircuitErrorDialog dlg(e, true);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Ошибка теста периферии"));
    auto text = [&dlg](const char* name) {
        return dlg.findChild<QLabel*>(QLatin1String(name))->text();
    };
    QCOMPARE(text("errorCircuit"), e.circuit);
    QCOMPARE(text("errorInputs"), QStringLiteral("DD12/2, DD12/9"));
    QCOMPARE(text("errorInputValues"), e.inputValues.join(QLatin1Char('\n')));
    QCOMPARE(text("errorOutput"), e.output);
    QCOMPARE(text("errorMeasured"), e.measured);
    QCOMPARE(text("errorExpected"), e.expected);
    QCOMPARE(text("errorBottomLine"), e.bottomLine);
    QTimer::singleShot(0, &dlg, [&dlg, button] {
        dlg.findChild<QPushButton*>(button)->click();
    });
    QCOMPARE(dlg.exec(), answer);
}

void TestCircuitDialogs::menuCommandOpensTheFirstCircuit() {
    FrameFixture fx;
    fx.reset();
    fx.ctx->boardType = 0;
    SimulatedBench simulated;
    simulated.attach(*fx.ctx);
    QVERIFY(fx.makeFrame(0));
    WindowTestSession* session = InstallTestCommands(*fx.frame, CTestDialog::Pacing::ContextClock);
    testgui::DialogScript script(*session);
    script.click(QStringLiteral("CTestStartDlg"), QStringLiteral("continueButton"));
    QStringList texts;
    script.on(QStringLiteral("circuitDialog"), [&texts](QDialog* d) {
        texts << d->findChild<QLabel*>(QStringLiteral("circuitText"))->text();
        testgui::DialogScript::clickButton(d, QStringLiteral("circuitExit"));
    });
    fx.prompts.answer(PromptAnswer::No);
    fx.frame->menuAction(cmd::PeripheryTest)->trigger();
    QCOMPARE(texts.size(), 1);
    QVERIFY(texts.first().startsWith(QStringLiteral("Цепь:   Фаза 1 шагового двигателя.")));
    QVERIFY(!fx.ctx->busy);
    bool asked = false;
    for (const PromptEvent& e : fx.prompts.boxes())
        asked = asked || e.text == probeQuestionText();
    QVERIFY(asked);
    fx.frame.reset();
    fx.ctx->link.CloseLinkPort();
}

void TestCircuitDialogs::clientAreaIsBetweenTheBars() {
    FrameFixture fx;
    fx.reset();
    QVERIFY(fx.makeFrame(0));
    fx.frame->resize(1000, 700);
    fx.frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.frame.get()));
    const QRect client = fx.frame->clientScreenRect();
    const QRect whole(fx.frame->mapToGlobal(QPoint(0, 0)), fx.frame->size());
    const QWidget* menu = fx.frame->menuBar();
    const QWidget* status = fx.frame->statusBar();
    QVERIFY(client.top() >= menu->mapToGlobal(QPoint(0, menu->height())).y());
    QVERIFY(client.bottom() < status->mapToGlobal(QPoint(0, 0)).y());
    QVERIFY(whole.contains(client));
    QVERIFY(client.height() < whole.height());
    fx.frame.reset();
}

QTEST_MAIN(TestCircuitDialogs)
#include "tst_circuitdialogs.moc"
