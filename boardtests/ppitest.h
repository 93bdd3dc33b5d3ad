#pragma once

#include "testprocedure.h"

#include <QtGlobal>

namespace kia {

/// Test 10: a zero walks through the 24 output lines of the 82C55 (ports A, B,
/// C at 0x5FFC..0x5FFE, all outputs); each image is written and read back.
/// A difference opens the port-image list in its PPI form: "Выход" ends with
/// 2, "Диагностика" with 123. 26 steps of 100 ms.
class PpiTest final : public TestProcedure {
public:
    explicit PpiTest(int boardType) : m_boardType(boardType) {}

    int stepCount() const override { return 26; }
    int period() const override { return 100; }
    QString progressText() const override { return QStringLiteral("Тест ППИ..."); }
    void step(TestEngine& engine) override;

    /// The 24-bit image of step s: all ones at step 0, else bit s - 1 low.
    static quint32 stepImage(int step);

private:
    int m_boardType;
};

} // namespace kia
