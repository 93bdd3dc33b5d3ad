#pragma once

#include <functional>

namespace kia {

class Clock;
class TestEngine;

/// Runs a test engine to its end on a clock, as the test dialog's timer would:
/// start, then sleep until the next tick and tick, again and again. When the
/// test has completed and waits for a button, `whenCompleted` chooses it:
/// 1 presses "Повтор", anything else "Выход" (the default). Returns the
/// engine's result. With a virtual clock a whole test costs no real time.
/// For the CLI, tests and scripted hosts; the workstation uses its dialog.
int runTestToEnd(TestEngine& engine, Clock& clock,
                 const std::function<int(TestEngine&)>& whenCompleted = {});

} // namespace kia
