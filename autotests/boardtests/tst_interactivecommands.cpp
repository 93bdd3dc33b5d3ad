// The menu commands of the segment, keyboard and sound tests: preparation,
// set-up, the dialog, and what its end leads to (nothing, the link error box,
// or the keyword handed to guided diagnostics), with the busy flag cleared.

#include "benchrig.h"

#include "app/commandtable.h"
#include "interactivetests.h"
#include "keyboardtest.h"
#include "segmenttest.h"
#include "soundtest.h"
#include "testresults.h"
#include "sim/testprocessor.h"

#include <QTest>
#include <functional>

using namespace kia;
using testhost::BenchRig;

namespace {
// Plays the engineer at each dialog: some ticks, then a button.
class ScriptedDialogs final : public InteractiveTestHost {
public:
    int ticks = 5;
    bool diagnostics = false;
    bool busySeen = true;
    BenchContext* ctx = nullptr;
    QStringList opened;

    template <typename Test>
    int play(Test& t, const std::function<void()>& tick) {
        busySeen = busySeen && ctx->busy;
        for (int i = 0; i < ticks && !t.hasEnded(); ++i)
            tick();
        if (!t.hasEnded())
            diagnostics ? t.pressDiagnostics() : t.pressExit();
        return t.result();
    }
    int RunSegmentTestDialog(SegmentTest& t) override {
        opened << QStringLiteral("segment %1").arg(t.indicator());
        if (!t.open())
            return t.result();
        t.pressAuto();
        return play(t, [&] { t.runTick(); });
    }
    int RunKeyboardDialog(KeyboardTest& t) override {
        opened << QStringLiteral("keyboard");
        t.open();
        return play(t, [&] { t.tick(); });
    }
    int RunSoundDialog(SoundTest& t) override {
        opened << QStringLiteral("sound");
        t.open();
        return play(t, [&] { t.tick(); });
    }
};
} // namespace

class TestInteractiveCommands : public QObject {
    Q_OBJECT
private slots:
    void outcome_data();
    void outcome();
    void setUpFailureShowsTheLinkError();
    void cancelledStartDialogTouchesNothing();
};

void TestInteractiveCommands::outcome_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("diagnostics");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("cashier cells, exit") << 0 << int(cmd::CashierIndicatorCells) << false << ""
                                         << 2 << "" << "segment 0";
    QTest::newRow("cashier cells, diagnostics")
        << 3 << int(cmd::CashierIndicatorCells) << true << "" << 123 << "GKIND_ERROR" << "segment 0";
    QTest::newRow("customer cells, diagnostics") << 4 << int(cmd::CustomerIndicatorCells) << true
                                                 << "" << 123 << "GKIND1_ERROR" << "segment 1";
    QTest::newRow("customer cells, dead indicator")
        << 1 << int(cmd::CustomerIndicatorCells) << false << "silence cmd=8 after=60 once" << 124
        << "" << "segment 1";
    QTest::newRow("keyboard, exit") << 2 << int(cmd::KeyboardTest) << false << "" << 2 << ""
                                    << "keyboard";
    QTest::newRow("keyboard, diagnostics")
        << 4 << int(cmd::KeyboardTest) << true << "" << 123 << "KB_ERROR" << "keyboard";
    QTest::newRow("keyboard, link lost") << 0 << int(cmd::KeyboardTest) << true
                                         << "silence cmd=7 after=4 once" << 124 << "" << "keyboard";
    QTest::newRow("sound, diagnostics")
        << 0 << int(cmd::SoundTest) << true << "" << 123 << "AUDIO_ERROR" << "sound";
    QTest::newRow("sound, exit") << 4 << int(cmd::SoundTest) << false << "" << 2 << "" << "sound";
}

void TestInteractiveCommands::outcome() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(bool, diagnostics);
    QFETCH(QString, faults);
    QFETCH(int, result);
    QFETCH(QString, keyword);
    QFETCH(QString, dialog);
    BenchRig rig(boardType);
    QString error;
    QVERIFY2(faults.isEmpty() || rig.bench.loadFaultScript(faults, &error), qPrintable(error));
    ScriptedDialogs dialogs;
    dialogs.ctx = &rig.ctx;
    dialogs.diagnostics = diagnostics;
    const qint64 before = rig.nowMs();
    const TestCommandOutcome out = RunInteractiveTestCommand(rig.ctx, rig.host, dialogs, command);
    QVERIFY(out.known && out.prepared);
    QCOMPARE(dialogs.opened, QStringList{dialog});
    QCOMPARE(out.result, result);
    QCOMPARE(out.keyword, keyword);
    QCOMPARE(rig.scenarios.started,
             keyword.isEmpty() ? QStringList() : QStringList{keyword + QStringLiteral("/1")});
    QCOMPARE(out.linkFailure, result == 124);
    QCOMPARE(rig.prompts.boxes().size(), result == 124 ? 1 : 0);
    QVERIFY(dialogs.busySeen);
    QVERIFY(!rig.ctx.busy);
    QVERIFY(rig.nowMs() > before);
    if (result == 124) {
        // The next command works.
        ScriptedDialogs next;
        next.ctx = &rig.ctx;
        QCOMPARE(RunInteractiveTestCommand(rig.ctx, rig.host, next, command).result, 2);
    }
}

void TestInteractiveCommands::setUpFailureShowsTheLinkError() {
    BenchRig rig(0);
    QString error;
    // The preparation's writes pass; the keyboard's 82C55 set-up is not answered.
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence cmd=8 after=5 once"), &error));
    ScriptedDialogs dialogs;
    dialogs.ctx = &rig.ctx;
    const TestCommandOutcome out =
        RunInteractiveTestCommand(rig.ctx, rig.host, dialogs, cmd::KeyboardTest);
    QVERIFY(out.prepared && out.linkFailure);
    QVERIFY(dialogs.opened.isEmpty());
    QCOMPARE(rig.prompts.boxes().size(), 1);
    QVERIFY(!rig.ctx.busy);
}

void TestInteractiveCommands::cancelledStartDialogTouchesNothing() {
    BenchRig rig(2);
    rig.host.startDialogContinues = false;
    ScriptedDialogs dialogs;
    dialogs.ctx = &rig.ctx;
    for (int command : interactiveTestCommandIds()) {
        const TestCommandOutcome out = RunInteractiveTestCommand(rig.ctx, rig.host, dialogs, command);
        QVERIFY(out.known && out.cancelled && !out.prepared);
    }
    QVERIFY(dialogs.opened.isEmpty());
    QCOMPARE(rig.bench.testProcessor().frameCount(), quint64(0));
    QVERIFY(!RunInteractiveTestCommand(rig.ctx, rig.host, dialogs, cmd::RamTest).known);
    QVERIFY(!rig.ctx.busy);
}

QTEST_GUILESS_MAIN(TestInteractiveCommands)
#include "tst_interactivecommands.moc"
