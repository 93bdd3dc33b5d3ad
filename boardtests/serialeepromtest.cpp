#include "serialeepromtest.h"

#include "core/benchcontext.h"
#include "testengine.h"
#include "testresults.h"

#include <array>

namespace kia {

namespace {
constexpr quint16 kLastAddress = 0x7FFF;
constexpr quint32 kLastBlock = 0x7F80;
constexpr int kCheckStepMs = 100;
constexpr int kAfterErrorMs = 10;
} // namespace

int SerialEepromTest::stepPattern(int step) {
    if (step <= 2)
        return 1;
    if (step <= 4)
        return 2;
    return 7;
}

void SerialEepromTest::step(TestEngine& engine) {
    BenchContext& ctx = engine.context();
    LinkPort& link = ctx.link;
    const int s = engine.step();

    if (s == 0) {
        const std::array<quint8, 1> probe{0xFF};
        if (!link.WriteDevice(0, probe)) {
            engine.linkFailure();
            return;
        }
        if (ctx.deviceResult != 0) {
            engine.askDiagnostics(QStringLiteral("Ошибка связи с РПЗУ по шине I2C !"),
                                  QStringLiteral("\tЗапустить диагностику ?\t\t"),
                                  ResultDiagnostics);
            return;
        }
        engine.restartTimer(kCheckStepMs);
        engine.advance();
        return;
    }

    const int pattern = stepPattern(s);
    const int shown = pattern == 7 ? 3 : pattern;
    if (s % 2 == 1) {
        engine.setText(shown == 3 ? QStringLiteral("Очистка...")
                                  : QStringLiteral("Тест %1...").arg(shown));
        engine.restartTimer(period());
        if (!link.FillDevice(static_cast<quint8>(pattern), kLastAddress)) {
            engine.linkFailure();
            return;
        }
        engine.advance();
        return;
    }

    engine.restartTimer(kCheckStepMs);
    ShortResult r;
    if (!link.CheckDevice(static_cast<quint8>(pattern), 0, r)) {
        engine.linkFailure();
        return;
    }
    if (!r.passed && !engine.runMemoryErrorLoop(MemoryErrorKind::SerialEeprom, pattern, r.value,
                                                kLastBlock, kAfterErrorMs))
        return;
    engine.advance();
}

} // namespace kia
