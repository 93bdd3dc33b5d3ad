// The keyboard and sound dialogs over the simulated board on the virtual
// clock, and the four menu commands of these tests from the main window.

#include "dialogscript.h"

#include "app/framefixture.h"
#include "boardtests/benchrig.h"

#include "app/appfont.h"
#include "app/commandtable.h"
#include "app/simulatedbench.h"
#include "boardtests/interactivetests.h"
#include "boardtests/keyboardtest.h"
#include "boardtests/soundtest.h"
#include "boardtests/testresults.h"
#include "boardtests/testsession.h"
#include "boardtests/widgets/interactivetestwindows.h"
#include "boardtests/widgets/keyboarddlg.h"
#include "boardtests/widgets/segmenttestdlg.h"
#include "boardtests/widgets/sounddlg.h"
#include "boardtests/widgets/testcommandhandlers.h"
#include "sim/bench.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
bool prepare(BenchRig& rig, bool keyboard) {
    const bool ok = PrepareTestSession(rig.ctx, rig.host) &&
                    (keyboard ? PrepareKeyboard(rig.ctx) : PrepareSound(rig.ctx));
    rig.ctx.busy = false;
    return ok;
}
} // namespace

class TestKeyboardSoundDlg : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }
    void pictureOfTheKeyboard_data();
    void pictureOfTheKeyboard();
    void keysPressedOnTheBoardStayPressed();
    void keyboardLinkFailure();
    void soundDialogPlaysTheSequence();
    void soundDialogButtons_data();
    void soundDialogButtons();
    void fromTheMenu_data();
    void fromTheMenu();
};

void TestKeyboardSoundDlg::pictureOfTheKeyboard_data() {
    QTest::addColumn<int>("boardType");
    for (int type = 0; type <= 4; ++type)
        QTest::addRow("type %d", type) << type;
}

void TestKeyboardSoundDlg::pictureOfTheKeyboard() {
    QFETCH(int, boardType);
    BenchRig rig(boardType);
    KeyboardTest engine(rig.ctx);
    CKeyboardDlg dlg(engine, DialogTimers::Pacing::Manual);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Тест клавиатуры"));
    QCOMPARE(dlg.findChild<QLabel*>(QStringLiteral("hintLabel"))->text(), KeyboardTest::hintText());
    QVERIFY(dlg.findChild<QPushButton*>(QStringLiteral("exitButton"))->isDefault());
    for (int key = 0; key < keyboard::KeyCount; ++key) {
        QPushButton* b = dlg.keyButton(key);
        QVERIFY(b);
        QVERIFY(!b->isChecked());
        QCOMPARE(!b->isHidden(), !keyboard::isTopRowKey(key) || boardType >= 3);
        if (keyboard::iconOf(key) != 0) {
            QVERIFY2(!b->icon().isNull(), qPrintable(keyboard::name(key)));
            QVERIFY(b->text().isEmpty());
        } else {
            QCOMPARE(b->text(), keyboard::label(key));
        }
    }
    QCOMPARE(dlg.keyButton(keyboard::Itog)->text(), QStringLiteral("ИТОГ"));
    QCOMPARE(dlg.keyButton(keyboard::Top3)->text(), QStringLiteral("3"));
    QVERIFY(!dlg.keyButton(-1) && !dlg.keyButton(keyboard::KeyCount));
}

void TestKeyboardSoundDlg::keysPressedOnTheBoardStayPressed() {
    BenchRig rig(3);
    QVERIFY(prepare(rig, true));
    KeyboardTest engine(rig.ctx);
    CKeyboardDlg dlg(engine, DialogTimers::Pacing::Manual);
    dlg.start();
    rig.board().keyboard().press(QStringLiteral("T2"));
    rig.board().keyboard().press(QStringLiteral("-3"));
    QCOMPARE(dlg.timers().advance(5 * 50), 5); // one column each 50 ms
    rig.board().keyboard().releaseAll();
    dlg.timers().advance(500);
    for (int key = 0; key < keyboard::KeyCount; ++key)
        QCOMPARE(dlg.keyButton(key)->isChecked(), key == keyboard::Top2 || key == keyboard::Minus3);
    // The engineer cannot press the pictured keys.
    QTest::mouseClick(dlg.keyButton(keyboard::Five), Qt::LeftButton);
    QVERIFY(!dlg.keyButton(keyboard::Five)->isChecked());
    dlg.findChild<QPushButton*>(QStringLiteral("diagnosticsButton"))->click();
    QCOMPARE(dlg.result(), int(ResultDiagnostics));
    QCOMPARE(dlg.timers().advance(500), 0);
}

void TestKeyboardSoundDlg::keyboardLinkFailure() {
    BenchRig rig(4);
    QVERIFY(prepare(rig, true));
    QString error;
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence cmd=7 after=6 once"), &error));
    KeyboardTest engine(rig.ctx);
    CKeyboardDlg dlg(engine, DialogTimers::Pacing::Manual);
    dlg.start();
    dlg.timers().advance(2000);
    QCOMPARE(dlg.result(), int(ResultLinkFailure));
    QCOMPARE(dlg.timers().advance(2000), 0);
}

void TestKeyboardSoundDlg::soundDialogPlaysTheSequence() {
    BenchRig rig(0);
    QVERIFY(prepare(rig, false));
    SoundTest engine(rig.ctx);
    CSoundDlg dlg(engine, DialogTimers::Pacing::Manual);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Тест звука..."));
    QCOMPARE(dlg.findChild<QLabel*>(QStringLiteral("hintLabel"))->text(),
             QStringLiteral("Проконтролируйте наличие звукового сигнала !"));
    QVERIFY(dlg.findChild<QPushButton*>(QStringLiteral("exitButton"))->isDefault());
    rig.board().sound().clear();
    dlg.start();
    dlg.timers().advance(299);
    QVERIFY(rig.board().sound().tones().empty()); // the first tone after 300 ms
    dlg.timers().advance(1);
    QCOMPARE(int(rig.board().sound().tones().size()), 1);
    // Each next tone after the wait the last one asked for.
    int waited = 0;
    for (int c = 0; c < 28; ++c)
        waited += SoundTest::toneIntervalMs(SoundTest::toneUnits(c));
    const qint64 first = rig.nowMs();
    const auto& tones = rig.board().sound().tones();
    for (int guard = 0; guard < 10000 && tones.size() < 29; ++guard)
        dlg.timers().advance(1);
    // The waits, and each tone's own frame on the wire.
    QVERIFY2(rig.nowMs() - first >= waited && rig.nowMs() - first <= waited + 28 * 30,
             qPrintable(QString::number(rig.nowMs() - first - waited)));
    QCOMPARE(int(tones.size()), 29);
    QCOMPARE(tones[14].a, 16);
    QCOMPARE(tones[15].a, 15);
    QCOMPARE(tones[28].a, 2);
    dlg.findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
    QCOMPARE(dlg.result(), int(ResultExit));
    QCOMPARE(dlg.timers().advance(2000), 0);
}

void TestKeyboardSoundDlg::soundDialogButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<int>("result");
    QTest::newRow("Диагностика") << "diagnosticsButton" << "" << int(ResultDiagnostics);
    QTest::newRow("close box") << "" << "" << int(ResultExit);
    QTest::newRow("pin pulses lost") << "-" << "silence cmd=6 after=2 once" << int(ResultLinkFailure);
}

void TestKeyboardSoundDlg::soundDialogButtons() {
    QFETCH(QString, button);
    QFETCH(QString, faults);
    QFETCH(int, result);
    BenchRig rig(4);
    QVERIFY(prepare(rig, false));
    QString error;
    QVERIFY(faults.isEmpty() || rig.bench.loadFaultScript(faults, &error));
    SoundTest engine(rig.ctx);
    CSoundDlg dlg(engine, DialogTimers::Pacing::Manual);
    dlg.start();
    dlg.timers().advance(1500);
    if (button.isEmpty())
        dlg.reject();
    else if (button != QStringLiteral("-"))
        dlg.findChild<QPushButton*>(button)->click();
    QCOMPARE(dlg.result(), result);
    QCOMPARE(dlg.timers().advance(2000), 0);
}

namespace {
class Scenarios final : public ScenarioHost {
public:
    QStringList started;
    bool StartScenario(const QString& keyword, int kind) override {
        started << QStringLiteral("%1/%2").arg(keyword).arg(kind);
        return true;
    }
    bool StartOscilloscopeScenario(const QString& keyword) override {
        started << keyword;
        return true;
    }
};
} // namespace

void TestKeyboardSoundDlg::fromTheMenu_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("cashier cells") << 0 << int(cmd::CashierIndicatorCells) << "CSegmentTestDlg"
                                   << "GKIND_ERROR/1";
    QTest::newRow("customer cells") << 4 << int(cmd::CustomerIndicatorCells) << "CSegmentTestDlg"
                                    << "GKIND1_ERROR/1";
    QTest::newRow("keyboard") << 2 << int(cmd::KeyboardTest) << "CKeyboardDlg" << "KB_ERROR/1";
    QTest::newRow("sound") << 3 << int(cmd::SoundTest) << "CSoundDlg" << "AUDIO_ERROR/1";
}

// The menu item runs through the start dialog into its own dialog, which runs
// on the virtual clock until the engineer asks for diagnostics.
void TestKeyboardSoundDlg::fromTheMenu() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(QString, dialog);
    QFETCH(QString, keyword);
    FrameFixture fx;
    fx.reset();
    fx.ctx->boardType = boardType;
    Scenarios scenarios;
    fx.ctx->scenarios = &scenarios;
    SimulatedBench simulated;
    simulated.attach(*fx.ctx);
    if (boardType == 4)
        simulated.bench()->setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    QVERIFY(fx.makeFrame(boardType));
    WindowTestSession* session = InstallTestCommands(*fx.frame, CTestDialog::Pacing::ContextClock);
    WindowInteractiveTests* windows = interactiveTestWindows(*session);
    QVERIFY(windows);
    QVERIFY(fx.frame->router().hasHandler(command));
    testgui::DialogScript script(*session);
    script.click(QStringLiteral("CTestStartDlg"), QStringLiteral("continueButton"));
    simulated.bench()->board().keyboard().press(QStringLiteral("00"));
    QStringList opened;
    bool busy = true;
    bool keySeen = false;
    const qint64 before = fx.ctx->clock.nowUs();
    connect(windows, &WindowInteractiveTests::dialogOpened, this, [&](QDialog* d) {
        opened << d->objectName();
        // Some virtual seconds of the test, then "Диагностика".
        auto* timer = new QTimer(d);
        // The customer's indicator has no backlight timer: start the run.
        if (qobject_cast<CSegmentTestDlg*>(d))
            QTimer::singleShot(0, d, [d] {
                d->findChild<QPushButton*>(QStringLiteral("autoButton"))->click();
            });
        connect(timer, &QTimer::timeout, d, [&, d] {
            if (fx.ctx->clock.nowUs() - before < 3'000'000)
                return;
            busy = busy && fx.ctx->busy;
            if (auto* k = qobject_cast<CKeyboardDlg*>(d))
                keySeen = k->keyButton(keyboard::DoubleZero)->isChecked();
            d->findChild<QPushButton*>(QStringLiteral("diagnosticsButton"))->click();
        });
        timer->start(0);
    });
    fx.frame->menuAction(command)->trigger();
    QCOMPARE(opened, QStringList{dialog});
    QCOMPARE(scenarios.started, QStringList{keyword});
    QVERIFY(busy && !fx.ctx->busy);
    QCOMPARE(keySeen, command == cmd::KeyboardTest);
    fx.frame.reset();
    fx.ctx->link.CloseLinkPort();
}

QTEST_MAIN(TestKeyboardSoundDlg)
#include "tst_keyboardsounddlg.moc"
