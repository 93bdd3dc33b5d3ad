#include "fiscalwritetest.h"

#include "core/benchcontext.h"
#include "expectedbyte.h"
#include "fiscalcheck.h"
#include "testengine.h"

namespace kia {

namespace {
constexpr int kWalkPattern = 8;
} // namespace

quint16 FiscalWriteTest::nextWalkAddress(quint16 address) {
    quint16 next = static_cast<quint16>(address << 1);
    if (next >= 0x8001 || next == 0x7FFE)
        next |= 1;
    if (next == 0)
        next = 0xFFFE;
    return next;
}

void FiscalWriteTest::step(TestEngine& engine) {
    LinkPort& link = engine.context().link;
    const int s = engine.step();

    if (!m_verify) {
        if (s == 0) {
            m_address = 1;
            engine.setText(QStringLiteral("Запись..."));
        }
        quint8 result = 0;
        if (!link.WriteCellPattern(m_address, ExpectedByte(kWalkPattern, m_address), result)) {
            engine.linkFailure();
            return;
        }
        if (s == WriteSteps - 1) {
            m_verify = true;
            engine.setStepCount(VerifySteps);
            engine.setStep(0);
            return;
        }
        m_address = nextWalkAddress(m_address);
        engine.advance();
        return;
    }

    if (s == 0) {
        engine.setText(QStringLiteral("Проверка..."));
        // After an error display the check already runs from the next block.
        if (!engine.failed() && !link.StartMemoryCheck(0, kWalkPattern)) {
            engine.linkFailure();
            return;
        }
        engine.advance();
        return;
    }
    pollFiscalCheck(engine, MemoryErrorKind::FiscalWrite, kWalkPattern, QString());
}

} // namespace kia
