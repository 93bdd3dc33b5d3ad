#pragma once

#include <QtGlobal>

namespace kia {

/// Time as the link and the instruments see it: millisecond sleeps and a
/// high-resolution counter. The workstation uses RealClock; tests and the
/// simulated bench use sim::VirtualClock, where sleeping only moves time on.
/// Implementations must be safe to call from the UI thread and from one
/// service worker thread (never both at once, but one after the other).
class Clock {
public:
    virtual ~Clock() = default;

    /// Blocks the calling thread for `ms` milliseconds (virtual: moves time on).
    virtual void sleepMs(int ms) = 0;
    /// Blocks for `us` microseconds.
    virtual void sleepUs(qint64 us) = 0;
    /// Monotonic time in microseconds since an arbitrary origin.
    virtual qint64 nowUs() const = 0;
    /// High-resolution counter and its rate (ticks per second).
    virtual qint64 counter() const = 0;
    virtual qint64 counterFrequency() const = 0;
    /// Time spent by bytes on a simulated wire. A virtual clock moves on by it;
    /// a real clock ignores it because real time passes by itself.
    virtual void wireTimeUs(qint64 us) = 0;
};

/// The PC's own clock (steady clock, thread sleeps).
class RealClock final : public Clock {
public:
    void sleepMs(int ms) override;
    void sleepUs(qint64 us) override;
    qint64 nowUs() const override;
    qint64 counter() const override;
    qint64 counterFrequency() const override;
    void wireTimeUs(qint64) override {}
};

} // namespace kia
