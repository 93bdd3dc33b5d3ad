#pragma once

#include "testprocedure.h"

#include <QtGlobal>

namespace kia {

/// Test 0: a single zero walks through the 32 port lines of the processor
/// socket (DD3 on types 0..3, DD5 on type 4) while every other line is high;
/// the levels read back must match. A difference opens the port-image list
/// and ends the test with the fault analysis: the report text and the error
/// keyword go into the context. 10 ms a step; 33 steps on type 4, 32 minus the
/// board-revision flag on types 0..3.
class BusTest final : public TestProcedure {
public:
    BusTest(int boardType, int boardRevision);

    int stepCount() const override;
    int period() const override { return 10; }
    QString progressText() const override;
    void step(TestEngine& engine) override;

    /// The zero of step s: 0 at step 0 (all lines high), else bit s - 1, moved
    /// on types 0..3 above bit 23 by revision + 2 places (bits that drop off
    /// leave every line high). Sets `skip` for the steps that are not walked.
    static quint32 walkingZero(int boardType, int boardRevision, int step, bool& skip);

    /// Stops the test on a difference: sound, port-image list (unless guided
    /// diagnostics run; "Выход" there ends with 2), then keyword and report
    /// text into the context and the end with 123.
    static void AnalyseBusFault(TestEngine& engine, int step, quint32 expected, quint32 read);

private:
    void stepTestProcessor(TestEngine& engine);
    void stepController(TestEngine& engine);

    int m_boardType;
    int m_revision;
};

} // namespace kia
