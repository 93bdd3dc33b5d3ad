#include "indicatortest.h"

#include "expectedbyte.h"
#include "indicatoraccess.h"
#include "memoryerrormodel.h"
#include "testengine.h"

namespace kia {

namespace {
// All 16 positions: the error display shows 16 cells, and a position the test
// never wrote would show there as a bad cell.
constexpr int kDisplayCells = 16;
constexpr int kCharacterCells = 64;
constexpr int kDisplaySteps = 12;
} // namespace

QString IndicatorTest::progressText() const {
    return m_indicator == 1 ? QStringLiteral("Тест индикатора покупателя...")
                            : QStringLiteral("Тест индикатора кассира...");
}

QString IndicatorTest::displayMemoryText(int pattern) {
    return QStringLiteral("Тест ОЗУ отображения %1...").arg(pattern);
}

QString IndicatorTest::characterMemoryText(int pass) {
    return QStringLiteral("Тест ОЗУ знакогенератора %1...").arg(pass);
}

void IndicatorTest::step(TestEngine& engine) {
    BenchContext& ctx = engine.context();
    const int s = engine.step();
    const bool verify = (s % 2) == 1;

    if (s < kDisplaySteps) {
        const int pattern = s / 2 + 1;
        engine.setText(displayMemoryText(pattern));
        for (int j = 0; j < kDisplayCells; ++j) {
            if ((j == 0 && !IndicatorCommand(ctx, m_indicator, indicator::Row1)) ||
                (j == 8 && !IndicatorCommand(ctx, m_indicator, indicator::Row2))) {
                engine.linkFailure();
                return;
            }
            const quint8 expected = DisplayPatternByte(pattern, j);
            if (!verify) {
                if (!IndicatorWrite(ctx, m_indicator, expected)) {
                    engine.linkFailure();
                    return;
                }
                continue;
            }
            const quint16 got = IndicatorRead(ctx, m_indicator);
            if (got > 0xFF) {
                engine.linkFailure();
                return;
            }
            if (got != expected) {
                // The display shows the whole memory; the test goes on with the next step.
                if (engine.runMemoryErrorLoop(MemoryErrorKind::DisplayMemory, pattern,
                                              static_cast<quint32>(m_indicator), 0, period()))
                    engine.advance();
                return;
            }
        }
        engine.advance();
        return;
    }

    const int pass = (s - kDisplaySteps) / 2 + 1;
    const int pattern = pass + 3;
    engine.setText(characterMemoryText(pass));
    for (int j = 0; j < kCharacterCells; ++j) {
        if (!IndicatorCommand(ctx, m_indicator,
                              static_cast<quint8>(indicator::CharacterAddress + j))) {
            engine.linkFailure();
            return;
        }
        const quint8 expected = ExpectedByte(pattern, static_cast<quint16>(j));
        if (!verify) {
            if (!IndicatorWrite(ctx, m_indicator, expected)) {
                engine.linkFailure();
                return;
            }
            continue;
        }
        const quint16 got = IndicatorRead(ctx, m_indicator);
        if (got > 0xFF) {
            engine.linkFailure();
            return;
        }
        if (got != expected) {
            if (engine.runMemoryErrorLoop(MemoryErrorKind::CharacterMemory, pattern,
                                          static_cast<quint32>(m_indicator), 0, period()))
                engine.advance();
            return;
        }
    }
    engine.advance();
}

} // namespace kia
