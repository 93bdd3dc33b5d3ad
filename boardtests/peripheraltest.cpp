#include "peripheraltest.h"

#include "circuitdialogmodel.h"
#include "circuittable.h"
#include "testsession.h"
#include "testsessionhost.h"

#include "core/benchcontext.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/scenariohost.h"
#include "core/userprompts.h"
#include "link/linkmessages.h"

namespace kia {

namespace {
constexpr quint8 kMapKindWindows = 185;
constexpr int kDialogPauseMs = 50;
constexpr int kFirstCircuitRow = 5;

// The map that lets the test reach the latch and the PPI; on type 4 the
// preparation has set the controller's map already.
bool mapForCircuits(BenchContext& ctx) {
    if (isProgrammerBoard(ctx.boardType))
        return true;
    return ctx.link.SetMemoryMap({0x6000, 0x2000, 0x0000, 0x0000, 0xFFFF}, kMapKindWindows);
}

void linkFailure(BenchContext& ctx, CircuitTestHost& host) {
    ShowLinkError(ctx);
    host.ClearMarks();
    ctx.busy = false;
}
} // namespace

QString probeQuestionText() {
    return QStringLiteral("Провести проверку    \nлогичесгого пробника !");
}

QString probeHealthyText() {
    return QStringLiteral("Логический пробник исправен !  ");
}

void ShowCircuitPoint(const BenchContext& ctx, CircuitTestHost& host, int row) {
    const CircuitRow& c = circuitTable(ctx.boardType)[static_cast<size_t>(row)];
    if (row > 4 && c.firstInput().startsWith(QLatin1Char('X')))
        host.ShowPoint(c.firstInput(), CircuitMarkDriver);
    else
        host.ShowPoint(c.output, CircuitMarkCheck);
}

PeripheralOutcome RunPeripheralTest(BenchContext& ctx, TestSessionHost& session,
                                    CircuitTestHost& host) {
    if (!PrepareTestSession(ctx, session))
        return PeripheralOutcome::NotPrepared;
    if (!mapForCircuits(ctx)) {
        linkFailure(ctx, host);
        return PeripheralOutcome::LinkFailure;
    }
    ctx.circuitErrorFlag = false;
    host.ClearMarks();
    ctx.prompts.beep(600, 30);
    const PromptAnswer a = ctx.prompts.question(PromptIcon::Question,
                                                QStringLiteral("Тест периферии..."),
                                                probeQuestionText(), PromptAnswer::Yes);
    int row = a == PromptAnswer::Yes ? 0 : kFirstCircuitRow;

    const CircuitTable& table = circuitTable(ctx.boardType);
    QString marked = QStringLiteral("xxxx");
    while (row < CircuitRowCount) {
        const CircuitRow& c = table[static_cast<size_t>(row)];
        if (!c.isPresent()) {
            ++row;
            continue;
        }
        bool samePoint = true;
        if (c.output != marked) {
            ShowCircuitPoint(ctx, host, row);
            marked = c.output;
            samePoint = false;
        }
        ctx.clock.sleepMs(kDialogPauseMs);
        CircuitDialogModel dialog(ctx, host, row, samePoint);
        const int end = host.RunCircuitDialog(dialog);
        if (end == CircuitDialogExit) {
            ctx.busy = false;
            host.ClearMarks();
            // After the last row's verdict "Выход" is how the test ends.
            return dialog.verdictShown() ? PeripheralOutcome::Completed : PeripheralOutcome::Exit;
        }
        if (end == CircuitDialogDiagnostics) {
            host.ClearMarks();
            if (ctx.scenarios)
                ctx.scenarios->StartScenario(ctx.lastErrorKeyword, row > 4 ? 1 : 0);
            ctx.busy = false;
            return PeripheralOutcome::Diagnostics;
        }
        if (end == CircuitDialogLinkFailure) {
            linkFailure(ctx, host);
            return PeripheralOutcome::LinkFailure;
        }
        host.ClearMarks();
        // Another row chosen (row + 9) or the run ended (row + 10); anything
        // outside the table ends the walk.
        const int next = end - 9;
        if (next < 0 || next >= CircuitRowCount)
            break;
        row = next;
    }
    ctx.busy = false;
    return PeripheralOutcome::Completed;
}

PeripheralOutcome RunProbeSelfTest(BenchContext& ctx, TestSessionHost& session,
                                   CircuitTestHost& host) {
    if (!PrepareTestSession(ctx, session))
        return PeripheralOutcome::NotPrepared;
    std::array<quint16, 5> map{0x0000, 0x2000, 0x0000, 0x0000, 0xFFFF};
    if (isProgrammerBoard(ctx.boardType))
        map = {0x0000, 0x2000, 0xC000, 0x4000, 0xFFFF};
    if (!ctx.link.SetMemoryMap(map, kMapKindWindows)) {
        linkFailure(ctx, host);
        return PeripheralOutcome::LinkFailure;
    }
    ctx.circuitErrorFlag = false;
    host.ClearMarks();
    for (int row = 0; row <= 4; ++row) {
        host.ShowPoint(circuitTable(ctx.boardType)[static_cast<size_t>(row)].output,
                       CircuitMarkCheck);
        CircuitDialogModel dialog(ctx, host, row, false);
        const int end = host.RunCircuitDialog(dialog);
        host.ClearMarks();
        if (end == CircuitDialogExit) {
            ctx.busy = false;
            return PeripheralOutcome::Exit;
        }
        if (end == CircuitDialogLinkFailure) {
            linkFailure(ctx, host);
            return PeripheralOutcome::LinkFailure;
        }
        if (end == CircuitDialogDiagnostics) {
            if (ctx.scenarios)
                ctx.scenarios->StartScenario(ctx.lastErrorKeyword, 0);
            ctx.busy = false;
            return PeripheralOutcome::Diagnostics;
        }
        // The probe rows run in order whatever the dialog chose next.
    }
    ctx.busy = false;
    if (ctx.circuitErrorFlag)
        return PeripheralOutcome::Completed;
    ctx.prompts.beep(600, 30);
    ctx.prompts.message(PromptIcon::Exclamation, QStringLiteral("Диагностика"), probeHealthyText());
    return PeripheralOutcome::ProbeHealthy;
}

} // namespace kia
