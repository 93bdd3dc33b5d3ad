// Step dialog placement and the fault-type list alone, and a whole run from
// the main window: a RAM fault on the simulated bench, the RAM test, its
// "Диагностика", the probe step checking the point on the simulated probe.
#undef QT_NO_CAST_FROM_ASCII

#include "dialogscript.h"

#include "app/appfont.h"
#include "app/commandtable.h"
#include "app/framefixture.h"
#include "app/simulatedbench.h"
#include "boardtests/widgets/testcommandhandlers.h"
#include "core/cp1251.h"
#include "diagn/widgets/faulttypedlg.h"
#include "diagn/widgets/stepplacement.h"
#include "diagn/widgets/probestepdialog.h"
#include "diagn/widgets/oscstepdialog.h"
#include "diagn/widgets/windowdiagnostics.h"
#include "sim/bench.h"
#include "sim/probe.h"
#include "view/diagnview.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kia;

namespace {

QPushButton* button(QWidget* w, const char* name) {
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

class TestDiagnWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }
    void cornerAwayFromTheMark_data();
    void cornerAwayFromTheMark();
    void faultTypeOkNeedsASelection();
    void ramFaultFromTheMenuToTheConclusion();
    void singlePointCheckByName();
};

void TestDiagnWindows::cornerAwayFromTheMark_data() {
    QTest::addColumn<QRect>("avoid");
    QTest::addColumn<QPoint>("corner");
    // Client 0,0 1000x800; dialog 300x200.
    QTest::newRow("nothing marked: bottom right") << QRect() << QPoint(699, 599);
    QTest::newRow("mark bottom right: top right") << QRect(900, 700, 64, 64) << QPoint(699, 0);
    QTest::newRow("mark on the right edge: bottom left")
        << QRect(800, 100, 64, 600) << QPoint(0, 599);
    QTest::newRow("covered everywhere: top left") << QRect(0, 0, 1000, 800) << QPoint(0, 0);
}

void TestDiagnWindows::cornerAwayFromTheMark() {
    QFETCH(QRect, avoid);
    QFETCH(QPoint, corner);
    QCOMPARE(cornerAwayFrom(QRect(0, 0, 1000, 800), QSize(300, 200), avoid), corner);
}

void TestDiagnWindows::faultTypeOkNeedsASelection() {
    FaultTypeList list;
    list.readable = true;
    CFaultTypeDlg empty(list);
    QCOMPARE(empty.windowTitle(), QStringLiteral("Выберите тип неисправности..."));
    empty.OnOK();
    QCOMPARE(empty.result(), 0); // still open
    list.entries << FaultTypeEntry{"Не работает ОЗУ", "RAM_ERROR", 1}
                 << FaultTypeEntry{"Нет связи", "NO_CONNECT", 0};
    CFaultTypeDlg two(list);
    QCOMPARE(two.findChild<QListWidget*>("faultTypeList")->count(), 2);
    QCOMPARE(two.chosenRow(), 0); // the first line is selected
    two.findChild<QListWidget*>("faultTypeList")->setCurrentRow(1);
    two.OnOK();
    QCOMPARE(two.result(), int(QDialog::Accepted));
    QCOMPARE(two.chosenRow(), 1);
}

void TestDiagnWindows::ramFaultFromTheMenuToTheConclusion() {
    FrameFixture fx;
    fx.reset();
    fx.ctx->boardType = 1;
    SimulatedBench simulated;
    simulated.attach(*fx.ctx);
    QString error;
    QVERIFY(simulated.bench()->loadFaultScript("ram-cell addr=0x0345 high=0x01", &error));
    QVERIFY(fx.makeFrame(1));
    QFile dgn(fx.folder() + "/kia_nelta2.dgn");
    QVERIFY(dgn.open(QIODevice::WriteOnly));
    dgn.write(toCp1251(QStringLiteral("PDIAGN31 RAM_ERROR\n"
                                      "1: P-DD3/15;T-Проверьте сигнал записи;PASS-2;FAIL0-3\n"
                                      "2: T-Замените ОЗУ\n"
                                      "3: T-Обрыв цепи записи у ###\n"
                                      "END\n")));
    dgn.close();
    // The write line expects logic 1; the tip sits on a line stuck at 0.
    QFile ccr(fx.folder() + "/kia_nelta2.ccr");
    QVERIFY(ccr.open(QIODevice::WriteOnly));
    ccr.write(toCp1251(QStringLiteral("CIR31-DD3/15;\nOUT-50;\n")));
    ccr.close();
    simulated.bench()->probe().setTipLevel(sim::Probe::Low);

    WindowTestSession* session = InstallTestCommands(*fx.frame, CTestDialog::Pacing::ContextClock);
    WindowDiagnostics* diagnostics = InstallDiagnostics(*fx.frame, session);
    QCOMPARE(fx.ctx->scenarios, static_cast<ScenarioHost*>(&diagnostics->engine()));
    testgui::DialogScript script(*session);
    script.on("CTestStartDlg", [](QDialog* d) { testgui::DialogScript::clickButton(d, "continueButton"); });
    script.on("CMemoryErrorDlg",
              [](QDialog* d) { testgui::DialogScript::clickButton(d, "diagnosticsButton"); });
    fx.frame->menuAction(cmd::RamTest)->trigger();

    QPointer<QDialog> step = diagnostics->stepDialog();
    QVERIFY(qobject_cast<CProbeStepDialog*>(step.data()));
    QVERIFY(fx.ctx->diagnosticsActive);
    QCOMPARE(step->findChild<QLabel*>("stepText")->text(),
             QStringLiteral("\nУстановите щуп пробника на\nDD3/15 !\nНажмите \"Пуск\" !"));
    QVERIFY(!step->geometry().intersects(fx.frame->view()->MarkRect()));
    button(step, "startButton")->click();
    QCOMPARE(step->findChild<QLabel*>("stepResult")->text(), QStringLiteral("FAIL"));
    QTRY_VERIFY(diagnostics->stepDialog() && diagnostics->stepDialog() != step);
    step = diagnostics->stepDialog();
    QCOMPARE(step->findChild<QLabel*>("stepText")->text(), QStringLiteral("Обрыв цепи записи у DD3/15"));
    QVERIFY(!button(step, "startButton")->isEnabled());
    button(step, "exitButton")->click();
    QTRY_VERIFY(!fx.ctx->diagnosticsActive);
    QVERIFY(!diagnostics->engine().running());
    fx.frame.reset();
    fx.ctx->link.CloseLinkPort();
}

// A double-click, the point's name, the probe step in single-point mode: a
// failed check lists the reading and repeats; the pass ends the check and
// gives the menus back.
void TestDiagnWindows::singlePointCheckByName() {
    FrameFixture fx;
    fx.reset();
    fx.ctx->boardType = 1;
    SimulatedBench simulated;
    simulated.attach(*fx.ctx);
    QVERIFY(fx.makeFrame(1));
    QFile ccr(fx.folder() + "/kia_nelta2.ccr");
    QVERIFY(ccr.open(QIODevice::WriteOnly));
    ccr.write(toCp1251(QStringLiteral("CIR31-DD3/15;\nOUT-50;\n")));
    ccr.close();
    simulated.bench()->probe().setTipLevel(sim::Probe::Low);
    WindowTestSession* session = InstallTestCommands(*fx.frame, CTestDialog::Pacing::ContextClock);
    WindowDiagnostics* diagnostics = InstallDiagnostics(*fx.frame, session);
    CDiagnView* view = fx.frame->view();
    view->setNameAsker([](QWidget*) { return std::optional<QString>(QStringLiteral("DD3/15")); });

    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QPointer<QDialog> step = diagnostics->stepDialog();
    QVERIFY(qobject_cast<CProbeStepDialog*>(step.data()));
    QVERIFY(fx.ctx->diagnosticsActive);
    QVERIFY(!button(step, "backButton")->isEnabled());
    button(step, "startButton")->click();
    QTRY_COMPARE(button(step, "backButton")->text(), QStringLiteral("Повторить"));
    QVERIFY(fx.ctx->diagnosticsActive);
    simulated.bench()->probe().setTipLevel(sim::Probe::High);
    button(step, "backButton")->click();
    QTRY_VERIFY(!fx.ctx->diagnosticsActive);
    QVERIFY(!diagnostics->engine().running());
    QTRY_VERIFY(!step);

    // The oscilloscope instead: the look in mode 4 with its instruction.
    fx.frame->settings().instrument = 0;
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    step = diagnostics->stepDialog();
    QVERIFY(qobject_cast<COscStepDialog*>(step.data()));
    QCOMPARE(step->findChild<QLabel*>("stepText")->text(), WindowDiagnostics::pointCheckOscilloscopeText());
    QVERIFY(!button(step, "backButton")->isEnabled());
    button(step, "endButton")->click();
    QTRY_VERIFY(!fx.ctx->diagnosticsActive);
    fx.frame.reset();
    fx.ctx->link.CloseLinkPort();
}

QTEST_MAIN(TestDiagnWindows)
#include "tst_diagnwindows.moc"
