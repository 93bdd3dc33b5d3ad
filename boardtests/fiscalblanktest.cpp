#include "fiscalblanktest.h"

#include "core/benchcontext.h"
#include "fiscalcheck.h"
#include "testengine.h"

namespace kia {

namespace {
constexpr int kBlankPattern = 7;
constexpr quint32 kType4LastBlock = 0x7F80;
constexpr int kStepMs = 100;
} // namespace

int FiscalBlankTest::stepCount() const {
    return isProgrammerBoard(m_boardType) ? 2 : 8;
}

void FiscalBlankTest::step(TestEngine& engine) {
    if (isProgrammerBoard(m_boardType)) {
        stepBanks(engine);
        return;
    }
    if (engine.step() == 0) {
        // After an error display the check already runs from the next block.
        if (!engine.failed() && !engine.context().link.StartMemoryCheck(0, kBlankPattern)) {
            engine.linkFailure();
            return;
        }
        engine.advance();
        return;
    }
    pollFiscalCheck(engine, MemoryErrorKind::FiscalBlank, kBlankPattern, blankText());
}

void FiscalBlankTest::stepBanks(TestEngine& engine) {
    LinkPort& link = engine.context().link;
    const int s = engine.step();
    CheckResult r;
    if (!link.WritePort(1, static_cast<quint8>((s % 8) * 32), 0x20) ||
        !link.CheckBankPattern(kBlankPattern, r)) {
        engine.linkFailure();
        return;
    }
    if (!r.passed) {
        const quint32 address = r.value + static_cast<quint32>(s % 2) * 0x8000;
        if (!engine.runMemoryErrorLoop(MemoryErrorKind::FiscalBlank, kBlankPattern, address,
                                       kType4LastBlock, kStepMs))
            return;
    } else if (s == stepCount() - 1) {
        engine.setResultText(blankText());
    }
    engine.advance();
}

} // namespace kia
