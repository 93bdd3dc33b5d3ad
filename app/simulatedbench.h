#pragma once

#include <memory>

namespace sim {
class Bench;
}

namespace kia {

class BenchContext;

/// The workstation's --sim switch: every COM port of the context leads to one
/// simulated bench of the context's board type. Owned by main() (or the
/// benchmark); must outlive the context's open lines. UI thread.
class SimulatedBench {
public:
    SimulatedBench();
    ~SimulatedBench();

    /// Makes the bench for ctx.boardType and puts every port on it.
    void attach(BenchContext& ctx);
    sim::Bench* bench() const { return m_bench.get(); }

private:
    std::unique_ptr<sim::Bench> m_bench;
};

} // namespace kia
