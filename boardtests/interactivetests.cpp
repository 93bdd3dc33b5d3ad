#include "interactivetests.h"
#include "testjournal.h"

#include "app/commandtable.h"
#include "core/benchcontext.h"
#include "core/clock.h"
#include "diagnosticshandover.h"
#include "indicatoraccess.h"
#include "keyboardtest.h"
#include "link/linkmessages.h"
#include "segmenttest.h"
#include "soundtest.h"
#include "testresults.h"
#include "testsession.h"
#include "testsetups.h"

namespace kia {

namespace {
constexpr quint16 kPpiControl = 0x4003;
constexpr quint8 kKeyboardPpiMode = 0x82; // port B input, ports A and C output
constexpr quint8 kSoundPpiMode = 0x92;
constexpr int kAudioHandOverMs = 100;

int indicatorOf(int commandId) {
    return commandId == cmd::CustomerIndicatorCells ? 1 : 0;
}

QString keywordOf(int commandId) {
    switch (commandId) {
    case cmd::CashierIndicatorCells:
        return QStringLiteral("GKIND_ERROR");
    case cmd::CustomerIndicatorCells:
        return QStringLiteral("GKIND1_ERROR");
    case cmd::KeyboardTest:
        return QStringLiteral("KB_ERROR");
    case cmd::SoundTest:
        return QStringLiteral("AUDIO_ERROR");
    default:
        return QString();
    }
}

// The set-up before the dialog; false when a link operation failed.
bool setUp(BenchContext& ctx, int commandId) {
    switch (commandId) {
    case cmd::CashierIndicatorCells:
    case cmd::CustomerIndicatorCells:
        // The display stays on: the engineer watches every step of this test.
        return IndicatorInit(ctx, indicatorOf(commandId));
    case cmd::KeyboardTest:
        return PrepareKeyboard(ctx);
    case cmd::SoundTest:
        return PrepareSound(ctx);
    default:
        return false;
    }
}

int runDialog(BenchContext& ctx, InteractiveTestHost& dialogs, int commandId) {
    switch (commandId) {
    case cmd::KeyboardTest: {
        KeyboardTest t(ctx);
        return dialogs.RunKeyboardDialog(t);
    }
    case cmd::SoundTest: {
        SoundTest t(ctx);
        return dialogs.RunSoundDialog(t);
    }
    default: {
        SegmentTest t(ctx, indicatorOf(commandId));
        return dialogs.RunSegmentTestDialog(t);
    }
    }
}
} // namespace

QList<int> interactiveTestCommandIds() {
    return {cmd::CashierIndicatorCells, cmd::CustomerIndicatorCells, cmd::SoundTest,
            cmd::KeyboardTest};
}

bool isInteractiveTestCommand(int commandId) {
    return interactiveTestCommandIds().contains(commandId);
}

bool PrepareKeyboard(BenchContext& ctx) {
    if (isProgrammerBoard(ctx.boardType))
        return ctx.link.WritePort(1, 0, 7);
    return ctx.link.WriteMemoryByte(kPpiControl, kKeyboardPpiMode);
}

bool PrepareSound(BenchContext& ctx) {
    if (isProgrammerBoard(ctx.boardType))
        return true;
    // Only the last word of the map is ours to set; the others stay 0 as in
    // the preparation of every test.
    return ctx.link.WriteMemoryByte(kPpiControl, kSoundPpiMode) &&
           ctx.link.SetMemoryMap({0, 0, 0, 0, 0xFFFF}, testsetup::MapKindWindows);
}

namespace {
TestCommandOutcome runInteractiveTestCommand(BenchContext& ctx, TestSessionHost& host,
                                             InteractiveTestHost& dialogs, int commandId) {
    TestCommandOutcome out;
    out.known = isInteractiveTestCommand(commandId);
    if (!out.known)
        return out;

    if (!PrepareCommandSession(ctx, host, out))
        return out;

    if (!setUp(ctx, commandId)) {
        ShowLinkError(ctx);
        out.linkFailure = true;
        ctx.busy = false;
        return out;
    }

    out.result = runDialog(ctx, dialogs, commandId);
    out.completed = out.result != ResultLinkFailure;
    out.runs = 1;
    if (out.result == ResultLinkFailure) {
        ShowLinkError(ctx);
        out.linkFailure = true;
    } else if (out.result == ResultDiagnostics) {
        out.failed = true;
        out.keyword = keywordOf(commandId);
        if (commandId == cmd::SoundTest)
            ctx.clock.sleepMs(kAudioHandOverMs);
        handOverToDiagnostics(ctx, out.keyword);
    }
    ctx.busy = false;
    return out;
}

} // namespace

TestCommandOutcome RunInteractiveTestCommand(BenchContext& ctx, TestSessionHost& host,
                                             InteractiveTestHost& dialogs, int commandId) {
    const TestCommandOutcome out = runInteractiveTestCommand(ctx, host, dialogs, commandId);
    journalTestCommand(ctx, commandId, out);
    return out;
}

} // namespace kia
