#include "timertest.h"

#include "core/benchcontext.h"
#include "expectedbyte.h"
#include "testengine.h"
#include "testresults.h"

#include <array>

namespace kia {

namespace {
constexpr int kDataLength = 18;
constexpr int kClockLength = 7;
constexpr int kRollOverWaitMs = 3100;
constexpr int kStepMs = 100;

// On the controller's clock only the day of week and the control register
// keep what was written; the RAM after them must read back whole.
constexpr std::array<quint8, kDataLength> kType4Mask{0x00, 0x00, 0x00, 0x07, 0x00, 0x00,
                                                     0x00, 0x93, 0xFF, 0xFF, 0xFF, 0xFF,
                                                     0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
// 23:59:59 on 31 December: DS1307 order (s, min, h, weekday, date, month, year)
// and PCF8583 order (control, hundredths, s, min, h, year/date, weekday/month).
constexpr std::array<quint8, kClockLength> kType4Clock{0x59, 0x59, 0x23, 0x07, 0x31, 0x12, 0x00};
constexpr std::array<quint8, kClockLength> kClock{0x00, 0x00, 0x59, 0x59, 0x23, 0x31, 0x12};
} // namespace

bool TimerTest::sameData(int boardType, std::span<const quint8> written,
                         std::span<const quint8> read) {
    if (written.size() != read.size())
        return false;
    for (size_t i = 0; i < written.size(); ++i) {
        const quint8 mask =
            isProgrammerBoard(boardType) && i < kType4Mask.size() ? kType4Mask[i] : 0xFF;
        if ((written[i] & mask) != (read[i] & mask))
            return false;
    }
    return true;
}

bool TimerTest::rolledOver(int boardType, std::span<const quint8> c) {
    if (c.size() < kClockLength)
        return false;
    if (isProgrammerBoard(boardType))
        return c[1] == 0 && c[2] == 0 && c[4] == 1 && c[5] == 1 && c[6] == 1;
    return c[3] == 0 && c[4] == 0 && c[5] == 0x41 && c[6] == 0x21;
}

void TimerTest::step(TestEngine& engine) {
    BenchContext& ctx = engine.context();
    LinkPort& link = ctx.link;
    const int s = engine.step();

    if (s == 0 || s == 1) {
        std::array<quint8, kDataLength> out{};
        for (int i = 0; i < kDataLength; ++i)
            out[static_cast<size_t>(i)] = ExpectedByte(5 + s, static_cast<quint16>(i));
        if (!link.WriteDevice(0, out)) {
            engine.linkFailure();
            return;
        }
        if (ctx.deviceResult != 0) {
            timerError(engine, BusError);
            return;
        }
        std::array<quint8, kDataLength> in{};
        if (!link.ReadDevice(0, in)) {
            engine.linkFailure();
            return;
        }
        if (!sameData(m_boardType, out, in)) {
            timerError(engine, ReadWriteError);
            return;
        }
        engine.advance();
        return;
    }

    if (s == 2) {
        const std::array<quint8, kDataLength> zeros{};
        const auto& clock = isProgrammerBoard(m_boardType) ? kType4Clock : kClock;
        if (!link.WriteDevice(0, zeros) || !link.WriteDevice(0, clock) ||
            !link.WriteDevice(0, clock)) {
            engine.linkFailure();
            return;
        }
        engine.restartTimer(kRollOverWaitMs);
        engine.advance();
        return;
    }

    std::array<quint8, kClockLength> now{};
    if (!link.ReadDevice(0, now)) {
        engine.linkFailure();
        return;
    }
    if (!rolledOver(m_boardType, now)) {
        timerError(engine, ClockError);
        return;
    }
    engine.restartTimer(kStepMs);
    engine.advance();
}

void TimerTest::timerError(TestEngine& engine, ErrorKind kind) {
    static const char* const titles[] = {"Ошибка записи-чтения таймера !", "Ошибка часов таймера !",
                                         "Ошибка связи с таймером по шине I2C !"};
    engine.askDiagnostics(QString::fromUtf8(titles[kind]),
                          QStringLiteral("\tЗапустить диагностику ?\t\t"),
                          int(ResultDiagnostics) - int(kind));
}

} // namespace kia
