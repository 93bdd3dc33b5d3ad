#pragma once

#include "link/serialline.h"

namespace kia {
class Clock;
}

namespace sim {

class Bench;

/// The in-process serial line to a simulated Bench, a SerialLine backend like
/// the real port. Open is exclusive (one line per bench) and fails while the
/// device is unplugged. Reads follow the Windows time-out rules of
/// SerialTimeouts against the times at which the bench's bytes become
/// available, sleeping on the clock; every byte moved costs its wire time
/// (clock.wireTimeUs, 10 bits per byte at the line's speed). A read that
/// has no time limit and nothing on its way returns what it has instead of
/// waiting forever. After the device vanished every call fails until the line
/// is closed and opened again.
///
/// Owned by LinkPort (or a test); used by one thread at a time. The bench and
/// the clock must outlive it.
class BenchLine final : public kia::SerialLine {
public:
    BenchLine(Bench& bench, kia::Clock& clock);
    /// Uses the bench's own clock.
    explicit BenchLine(Bench& bench);
    ~BenchLine() override;

    QString deviceName() const override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }

    bool configure(qint32 baud) override;
    bool setBaudRate(qint32 baud) override;
    qint32 baudRate() const override { return m_baud; }

    bool setTimeouts(const kia::SerialTimeouts& t) override;
    bool getTimeouts(kia::SerialTimeouts& t) const override;

    bool purge() override;
    qint64 write(const quint8* data, qint64 n) override;
    qint64 read(quint8* data, qint64 n) override;

    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    bool modemStatus(quint8& bits) override;

private:
    bool alive() const;
    void sleepUntil(qint64 us);

    Bench& m_bench;
    kia::Clock& m_clock;
    kia::SerialTimeouts m_timeouts;
    qint32 m_baud = 9600;
    quint64 m_generation = 0;
    bool m_open = false;
};

} // namespace sim
