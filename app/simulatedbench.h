#pragma once

#include <memory>

namespace sim {
class Bench;
}

namespace kia {

class BenchContext;

/// The simulated bench of the workstation: a port mapped to "sim" (KIA_COMn=sim)
/// leads to it, and the --sim switch puts every COM port on it. One bench of the
/// context's board type. Owned by main() (or the
/// benchmark); must outlive the context's open lines. UI thread.
class SimulatedBench {
public:
    SimulatedBench();
    ~SimulatedBench();

    /// Makes the bench for ctx.boardType and lets ports named "sim" reach it;
    /// with allPorts every COM port leads to it.
    void attach(BenchContext& ctx, bool allPorts = true);
    sim::Bench* bench() const { return m_bench.get(); }

private:
    std::unique_ptr<sim::Bench> m_bench;
};

} // namespace kia
