#pragma once

#include <QString>
#include <memory>

namespace kia {

class BenchContext;
class TestEngine;

/// One test of the test engine: its step count, timer period, progress text
/// and what one step does. The engine owns it and calls step() once a tick
/// while the step counter is below the step count; the procedure talks to the
/// link through engine.context() and drives the engine through its step API
/// (advance, restartTimer, end, runMemoryErrorLoop …). UI thread only.
class TestProcedure {
public:
    virtual ~TestProcedure() = default;

    virtual int stepCount() const = 0;
    /// Timer period in milliseconds, set at the first tick.
    virtual int period() const = 0;
    /// Text line at the start ("Тест ОЗУ...").
    virtual QString progressText() const = 0;
    virtual void step(TestEngine& engine) = 0;
};

/// The procedure of a test number for the context's board type (and, for the
/// bus test, its board-revision flag); null for numbers that this engine does
/// not run. `controllerProgram` is the
/// ROM test's file name as chosen ("нет": none).
std::unique_ptr<TestProcedure> makeTestProcedure(int testNumber, const BenchContext& ctx,
                                                 const QString& controllerProgram);

} // namespace kia
