#include "testdriver.h"

#include "core/clock.h"
#include "testengine.h"
#include "testresults.h"

namespace kia {

namespace {
// Far more ticks than any test takes (the longest walks a few thousand blocks);
// reaching it means an engine that never ends, which must not hang a script.
constexpr long kTickLimit = 1'000'000;
} // namespace

int runTestToEnd(TestEngine& engine, Clock& clock,
                 const std::function<int(TestEngine&)>& whenCompleted) {
    engine.start();
    long ticks = 0;
    while (!engine.hasEnded()) {
        if (engine.timerRunning() && ++ticks < kTickLimit) {
            const int wait = engine.msUntilNextTick();
            if (wait > 0)
                clock.sleepMs(wait);
            engine.tick();
            continue;
        }
        if (engine.isCompleted() && whenCompleted && whenCompleted(engine) == ResultRepeat)
            engine.pressRepeat();
        else
            engine.pressExit();
    }
    return engine.result();
}

} // namespace kia
