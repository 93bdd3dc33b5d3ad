#pragma once

#include "testprocedure.h"

namespace kia {

/// Test 1: six passes of the peer's RAM check with patterns 1..6. Step 0
/// starts pass 1; step s reads the result of pass s and starts pass s + 1.
/// A bad cell opens the memory-error display (kind 0) for its block.
/// 7 steps, 1300 ms (types 0..3) or 2600 ms (type 4).
class RamTest final : public TestProcedure {
public:
    explicit RamTest(int boardType) : m_boardType(boardType) {}

    int stepCount() const override { return 7; }
    int period() const override;
    QString progressText() const override { return QStringLiteral("Тест ОЗУ..."); }
    void step(TestEngine& engine) override;

    /// The last 128-byte block of the RAM: 0x1F80 or 0x7F80 (type 4).
    static quint32 lastBlock(int boardType);

private:
    int m_boardType;
};

} // namespace kia
