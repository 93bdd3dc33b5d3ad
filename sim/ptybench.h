#pragma once

#include "bench.h"
#include "core/clock.h"

#include <QString>
#include <atomic>
#include <thread>
#include <vector>

namespace sim {

/// A Bench on a pseudo-terminal pair (Linux), so that the real serial port
/// backend can talk to the simulator: the PC side opens slavePath() like any
/// serial device. A thread reads the master side, feeds the bench on the real
/// clock at the speed the slave side is set to, and writes the replies when
/// they are due. A pty has no modem lines; the probe cannot be reached this way.
///
/// Owned by a test or the CLI; start() and stop() from one thread. Touch the
/// models through bench() only under bench().lock() while it runs.
class PtyBench {
public:
    explicit PtyBench(int boardType);
    ~PtyBench();
    PtyBench(const PtyBench&) = delete;
    PtyBench& operator=(const PtyBench&) = delete;

    /// Opens the pty (raw, no echo) and starts the thread. False with a
    /// message in *error when the system refuses a pty.
    bool start(QString* error = nullptr);
    /// Stops the thread and closes both sides. Called by the destructor.
    void stop();
    bool isRunning() const { return m_thread.joinable(); }

    /// The device path to open, e.g. /dev/pts/3; empty until started.
    QString slavePath() const { return m_slavePath; }
    Bench& bench() { return m_bench; }

private:
    void run();
    qint32 currentBaud() const;
    void flush();

    kia::RealClock m_clock;
    Bench m_bench;
    int m_master = -1;
    int m_slave = -1;
    int m_wake[2] = {-1, -1};
    QString m_slavePath;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::vector<quint8> m_pending; ///< replies the master could not take yet
};

} // namespace sim
