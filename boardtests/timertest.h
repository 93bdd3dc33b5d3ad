#pragma once

#include "testprocedure.h"

#include <QtGlobal>
#include <span>

namespace kia {

/// Test 3: the clock chip on the I²C bus (chosen by the command's set-up):
/// steps 0 and 1 write and read back 18 bytes of patterns 5 and 6, step 2
/// sets the clock to just before midnight of 31 December, step 3 (3.1 s
/// later) checks that it rolled over. Errors ask whether to start diagnostics
/// and end with 123 (read/write), 122 (clock) or 121 (no I²C answer). 100 ms a step.
class TimerTest final : public TestProcedure {
public:
    explicit TimerTest(int boardType) : m_boardType(boardType) {}

    int stepCount() const override { return 4; }
    int period() const override { return 100; }
    QString progressText() const override { return QStringLiteral("Тест таймера..."); }
    void step(TestEngine& engine) override;

    /// Whether 18 bytes read back match those written (type 4 compares only
    /// the clock bits that do not move).
    static bool sameData(int boardType, std::span<const quint8> written,
                         std::span<const quint8> read);
    /// Whether the 7 clock bytes show the new year's first seconds.
    static bool rolledOver(int boardType, std::span<const quint8> clock);

private:
    enum ErrorKind { ReadWriteError = 0, ClockError = 1, BusError = 2 };
    void timerError(TestEngine& engine, ErrorKind kind);

    int m_boardType;
};

} // namespace kia
