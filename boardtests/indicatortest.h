#pragma once

#include "testprocedure.h"

namespace kia {

/// Tests 8 and 9: the write/read test of the cashier's (0) or the customer's
/// (1) indicator controller. 18 steps of 100 ms: steps 0..11 fill (even) and
/// read back (odd) the display memory with the patterns 1..6 of
/// DisplayPatternByte, all 16 cells from 0x80 (0xC0 from the ninth on); steps
/// 12..17 do the same with the 64 character-generator cells and the
/// ExpectedByte patterns 4..6. A cell that reads back wrong opens the
/// memory-error display (kind 5 or 6, block start = the indicator number).
class IndicatorTest final : public TestProcedure {
public:
    explicit IndicatorTest(int indicator) : m_indicator(indicator) {}

    int stepCount() const override { return 18; }
    int period() const override { return 100; }
    QString progressText() const override;
    void step(TestEngine& engine) override;

    /// The display-memory text of pattern 1..6 and the character-generator
    /// text of pass 1..3.
    static QString displayMemoryText(int pattern);
    static QString characterMemoryText(int pass);

private:
    int m_indicator;
};

} // namespace kia
