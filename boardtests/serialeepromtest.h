#pragma once

#include "testprocedure.h"

namespace kia {

/// Test 5: the 24С256 on the I²C bus. Step 0 checks that the chip answers;
/// then patterns 1, 2 and 7 (erase) are each filled by the peer (one 17 s
/// period) and checked (CheckDevice takes 6.5 s). A bad cell opens the
/// memory-error display (kind 2).
class SerialEepromTest final : public TestProcedure {
public:
    int stepCount() const override { return 7; }
    int period() const override { return 17000; }
    QString progressText() const override { return QStringLiteral("Тест РПЗУ ( 24С256 )..."); }
    void step(TestEngine& engine) override;

    /// Fill pattern of step 1..6: 1, 1, 2, 2, 7, 7.
    static int stepPattern(int step);
};

} // namespace kia
