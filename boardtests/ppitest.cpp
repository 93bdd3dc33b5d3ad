#include "ppitest.h"

#include "core/benchcontext.h"
#include "portimagemodel.h"
#include "testengine.h"
#include "testenginehost.h"
#include "testresults.h"

namespace kia {

namespace {
constexpr quint16 kPortA = 0x5FFC;
constexpr quint32 kImageMask = 0xFFFFFF;
} // namespace

quint32 PpiTest::stepImage(int step) {
    if (step <= 0 || step > 24)
        return kImageMask;
    return ~(quint32(1) << (step - 1)) & kImageMask;
}

void PpiTest::step(TestEngine& engine) {
    BenchContext& ctx = engine.context();
    LinkPort& link = ctx.link;
    const quint32 image = stepImage(engine.step());

    for (int i = 0; i < 3; ++i) {
        const quint8 b = static_cast<quint8>(image >> (8 * i));
        if (!link.WriteMemoryByte(static_cast<quint16>(kPortA + i), b)) {
            engine.linkFailure();
            return;
        }
        ctx.ppiShadows[static_cast<size_t>(i)] = b;
    }
    quint32 read = 0;
    for (int i = 0; i < 3; ++i) {
        const quint16 v = link.ReadMemoryByte(static_cast<quint16>(kPortA + i));
        if (v > 0xFF) {
            engine.linkFailure();
            return;
        }
        read |= quint32(v) << (8 * i);
    }
    if ((read & kImageMask) != image) {
        engine.stopTimer();
        engine.setFailure();
        engine.playErrorSound();
        if (engine.diagnosticsActive()) {
            engine.end(ResultDiagnostics);
            return;
        }
        const PortImageModel model(m_boardType, image, read, true);
        engine.end(engine.host().ShowPortImageError(model) == 1 ? ResultDiagnostics : ResultExit);
        return;
    }
    engine.advance();
}

} // namespace kia
