#include "testsession.h"

#include "controllerpreparation.h"
#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "link/linkmessages.h"
#include "link/linkstatus.h"
#include "testsessionhost.h"

namespace kia {

namespace {
constexpr int kBeepHz = 600;
constexpr int kBeepMs = 30;
constexpr quint8 kMapKindWindows = 185;
constexpr quint16 kTestProcessorLatch = 0x7FFF;
constexpr quint16 kControllerLatch = 0x8000;
constexpr quint16 kPpiControl = 0x5FFF;
constexpr quint16 kPpiPortA = 0x5FFC;

bool failSession(BenchContext& ctx) {
    ctx.busy = false;
    return false;
}
} // namespace

QString testProgramMissingText() {
    return QStringLiteral("Тест-программа в контроллере DD5 не отвечает,\n"
                          "а запись тест-программы в контроллер пока недоступна !");
}

bool InitTestProcessorPorts(BenchContext& ctx) {
    LinkPort& link = ctx.link;
    if (isProgrammerBoard(ctx.boardType)) {
        for (quint8 p = 0; p < 4; ++p) {
            if (!link.WritePort(p, 0xFF, 0xFF))
                return false;
        }
        ctx.mainLatchShadow = 0;
        // The latch sits behind window 0 of port 1; back to the RAM window after.
        return link.WritePort(1, 0, 7) && link.WriteMemoryByte(kControllerLatch, 0) &&
               link.WritePort(1, 7, 7);
    }
    if (!link.WritePort(1, 0xDF, 0xFF) || !link.WritePort(2, 0xFF, 0xFF) ||
        !link.WritePort(3, 0xFF, 0xFC))
        return false;
    ctx.mainLatchShadow = 0xF0;
    if (!link.WriteMemoryByte(kTestProcessorLatch, 0xF0))
        return false;
    ctx.ppiShadows = {0xFF, 0xFF, 0xFF};
    if (!link.WriteMemoryByte(kPpiControl, 0x80)) // every PPI port an output
        return false;
    for (quint16 i = 0; i < 3; ++i) {
        if (!link.WriteMemoryByte(static_cast<quint16>(kPpiPortA + i), 0xFF))
            return false;
    }
    return true;
}

bool SetBoardType4MemoryMap(BenchContext& ctx) {
    return InitTestProcessorPorts(ctx) &&
           ctx.link.SetMemoryMap({0x0000, 0x8000, 0xC000, 0x4000, 0xFFFF}, kMapKindWindows);
}

bool PrepareControllerTestProgram(BenchContext& ctx, TestSessionHost& host, bool skipSave,
                                  PreparationFailure* failure) {
    PreparationFailure ignored = PreparationFailure::None;
    PreparationFailure& why = failure ? *failure : ignored;
    why = PreparationFailure::None;
    if (ctx.link.PeerPresent()) {
        SetBoardType4MemoryMap(ctx); // as on the bench: a test that needs the map fails on its own
        return true;
    }
    if (ControllerPreparation* loader = ctx.controllerPreparation) {
        if (loader->LoadControllerTestProgram(ctx, skipSave))
            return true;
        why = PreparationFailure::ControllerNotReady;
        return failSession(ctx);
    }

    // Nothing here can load the test program: say what the controller holds.
    QString identity;
    const quint8 r = ctx.link.ReadControllerIdentity(identity);
    host.ClearMarks();
    if (r != LongOk) {
        why = PreparationFailure::LinkFailure;
        ShowIdentificationError(ctx, r);
        return failSession(ctx);
    }
    why = PreparationFailure::ControllerNotReady;
    ctx.prompts.beep(kBeepHz, kBeepMs);
    ctx.prompts.message(PromptIcon::Error, QStringLiteral("Запись тест-программы в контроллер..."),
                        testProgramMissingText());
    return failSession(ctx);
}

bool PrepareTestSession(BenchContext& ctx, TestSessionHost& host, bool skipSave,
                        PreparationFailure* failure) {
    PreparationFailure ignored = PreparationFailure::None;
    PreparationFailure& why = failure ? *failure : ignored;
    why = PreparationFailure::None;
    ctx.busy = true;
    if (!ctx.dontShowStartDialog) {
        bool dontShow = false;
        if (!host.ShowStartDialog(ctx.boardType, dontShow)) {
            why = PreparationFailure::Cancelled;
            host.ClearMarks();
            return failSession(ctx);
        }
        ctx.dontShowStartDialog = dontShow;
    }

    why = PreparationFailure::LinkFailure;
    if (!ctx.link.EnsureLinkPort()) {
        host.ClearMarks();
        ShowLinkError(ctx);
        return failSession(ctx);
    }

    if (isProgrammerBoard(ctx.boardType)) {
        if (!PrepareControllerTestProgram(ctx, host, skipSave, &why))
            return failSession(ctx);
        why = PreparationFailure::None;
        ctx.peerAnswered = 1;
        return true;
    }

    bool ok = ctx.link.PeerPresent() && InitTestProcessorPorts(ctx);
    if (ok) {
        const quint16 port3 = ctx.link.ReadPort(3);
        ok = port3 <= 0xFF;
        if (ok)
            ctx.boardRevision = (port3 & 0x04) == 0 ? 1 : 0;
    }
    ok = ok && ctx.link.SetMemoryMap({0, 0, 0, 0, 0xFFFF}, kMapKindWindows);
    if (ok) {
        why = PreparationFailure::None;
        ctx.peerAnswered = 1;
        return true;
    }

    if (ctx.linkStatus == LinkReadError || ctx.linkStatus == LinkCheckError) {
        host.ClearMarks();
        OfferNoConnectDiagnostics(ctx);
    } else {
        ShowLinkError(ctx);
    }
    return failSession(ctx);
}

} // namespace kia
