#include "fiscalcheck.h"

#include "core/benchcontext.h"
#include "testengine.h"
#include "testenginehost.h"
#include "testresults.h"

namespace kia {

namespace {
constexpr int kStepMs = 100;
constexpr quint32 kLastBlock = 0xFF80;
constexpr quint32 kBlockMask = ~quint32(0x7F);
} // namespace

void pollFiscalCheck(TestEngine& engine, MemoryErrorKind kind, int pattern,
                     const QString& passText) {
    LinkPort& link = engine.context().link;
    ShortResult r;
    if (!link.ReadCheckResult(r)) {
        if (engine.step() >= engine.stepCount() - 1)
            engine.linkFailure();
        else
            engine.advance();
        return;
    }
    if (r.passed) {
        if (!passText.isEmpty())
            engine.setResultText(passText);
        engine.setStep(engine.stepCount() - 1);
        engine.advance();
        return;
    }

    if (!engine.beginErrorDisplay())
        return;
    const quint32 block = r.value & kBlockMask;
    const int shown = engine.host().ShowMemoryError(kind, pattern, block);
    if (shown == ResultRepeat && block < kLastBlock) {
        if (!link.StartMemoryCheck(static_cast<quint16>(block + 128),
                                   static_cast<quint8>(pattern))) {
            engine.linkFailure();
            return;
        }
        engine.setStep(0);
        engine.restartTimer(kStepMs);
        return;
    }
    if (shown == ResultRepeat || shown == ResultNextStep) {
        // The peer's check has reached the end of the memory: nothing is left to poll.
        engine.setStep(engine.stepCount());
        engine.restartTimer(kStepMs);
        return;
    }
    engine.end(shown == ResultDiagnostics || shown == ResultLinkFailure ? shown : ResultExit);
}

} // namespace kia
