#pragma once

#include "core/clock.h"

#include <atomic>

namespace sim {

/// Simulated time for tests and the in-process bench: nothing ever blocks,
/// sleeping and bytes on the wire only move the time on. Time is kept in
/// microseconds in an atomic, so the UI thread, a worker and a PtyBench thread
/// may all read and move it.
class VirtualClock final : public kia::Clock {
public:
    explicit VirtualClock(qint64 startUs = 0) : m_us(startUs) {}

    void sleepMs(int ms) override;
    void sleepUs(qint64 us) override;
    qint64 nowUs() const override { return m_us.load(std::memory_order_acquire); }
    /// The counter runs in microseconds.
    qint64 counter() const override { return nowUs(); }
    qint64 counterFrequency() const override { return 1'000'000; }
    void wireTimeUs(qint64 us) override;

    /// Moves the time on by `us` (negative values are ignored: time never runs back).
    void advanceUs(qint64 us);
    void advanceMs(qint64 ms) { advanceUs(ms * 1000); }

private:
    std::atomic<qint64> m_us;
};

} // namespace sim
