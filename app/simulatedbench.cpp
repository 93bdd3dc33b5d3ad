#include "simulatedbench.h"

#include "core/benchcontext.h"
#include "sim/bench.h"
#include "sim/benchline.h"

namespace kia {

SimulatedBench::SimulatedBench() = default;

SimulatedBench::~SimulatedBench() = default;

void SimulatedBench::attach(BenchContext& ctx, bool allPorts) {
    m_bench = std::make_unique<sim::Bench>(ctx.boardType, ctx.clock);
    sim::Bench* bench = m_bench.get();
    Clock* clock = &ctx.clock;
    ctx.ports.setSimulatorMaker([bench, clock](int) -> std::unique_ptr<SerialLine> {
        return std::make_unique<sim::BenchLine>(*bench, *clock);
    });
    ctx.ports.setAllSimulated(allPorts);
}

} // namespace kia
