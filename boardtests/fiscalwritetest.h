#pragma once

#include "testprocedure.h"

#include <QtGlobal>

namespace kia {

/// Test 7 on board types 0..3: the write phase (32 steps) writes the
/// walking-bit pattern into 32 fiscal-memory cells, a one walking through the
/// 16 address bits and then a zero; the verify phase (17 steps) lets the test
/// processor check the whole memory against pattern 8 in the background.
/// 100 ms a step. (Type 4 runs the banked form, see BankTest.)
class FiscalWriteTest final : public TestProcedure {
public:
    static constexpr int WriteSteps = 32;
    static constexpr int VerifySteps = 17;

    int stepCount() const override { return WriteSteps; }
    int period() const override { return 100; }
    QString progressText() const override { return QStringLiteral("Тест записи ФП..."); }
    void step(TestEngine& engine) override;

    /// The cell after `address` in the walk: 1, 2, 4 … 0x8000, 0xFFFE,
    /// 0xFFFD, 0xFFFB … 0x7FFF.
    static quint16 nextWalkAddress(quint16 address);

private:
    bool m_verify = false;
    quint16 m_address = 1;
};

} // namespace kia
