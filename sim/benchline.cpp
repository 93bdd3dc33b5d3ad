#include "benchline.h"

#include "bench.h"
#include "core/clock.h"

#include <climits>
#include <limits>

namespace sim {

namespace {
constexpr quint32 kMaxDword = 0xFFFFFFFFu;
constexpr qint64 kNever = std::numeric_limits<qint64>::max();
} // namespace

BenchLine::BenchLine(Bench& bench, kia::Clock& clock) : m_bench(bench), m_clock(clock) {}

BenchLine::BenchLine(Bench& bench) : BenchLine(bench, bench.clock()) {}

BenchLine::~BenchLine() {
    close();
}

QString BenchLine::deviceName() const {
    return QStringLiteral("sim");
}

bool BenchLine::open() {
    if (m_open)
        return true;
    if (!m_bench.claim(this, m_generation))
        return false;
    m_open = true;
    return true;
}

void BenchLine::close() {
    if (!m_open)
        return;
    m_open = false;
    m_bench.release(this);
}

bool BenchLine::alive() const {
    return m_open && m_bench.isAlive(m_generation);
}

bool BenchLine::configure(qint32 baud) {
    if (!setBaudRate(baud))
        return false;
    // The link opens with DTR and RTS control disabled: both lines low.
    m_bench.setDtr(false);
    m_bench.setRts(false);
    return true;
}

bool BenchLine::setBaudRate(qint32 baud) {
    if (!alive() || baud <= 0)
        return false;
    m_baud = baud;
    return true;
}

bool BenchLine::setTimeouts(const kia::SerialTimeouts& t) {
    if (!alive())
        return false;
    m_timeouts = t;
    return true;
}

bool BenchLine::getTimeouts(kia::SerialTimeouts& t) const {
    if (!alive())
        return false;
    t = m_timeouts;
    return true;
}

bool BenchLine::purge() {
    if (!alive())
        return false;
    m_bench.purgeAvailable();
    return true;
}

qint64 BenchLine::write(const quint8* data, qint64 n) {
    if (!alive())
        return -1;
    if (n <= 0)
        return 0;
    qint64 done = 0;
    while (done < n) { // the bench takes at most an int at a time
        const int chunk = static_cast<int>(qMin<qint64>(n - done, 1 << 20));
        m_bench.receive(data + done, chunk, m_baud);
        done += chunk;
    }
    m_clock.wireTimeUs(n * 10'000'000 / m_baud);
    return n;
}

void BenchLine::sleepUntil(qint64 us) {
    const qint64 d = us - m_clock.nowUs();
    if (d > 0)
        m_clock.sleepUs(d);
}

qint64 BenchLine::read(quint8* data, qint64 n) {
    if (!alive())
        return -1;
    if (n <= 0)
        return 0;
    const kia::SerialTimeouts& t = m_timeouts;
    const qint64 byteUs = 10'000'000 / m_baud;
    const qint64 start = m_clock.nowUs();

    // ReadInterval = MAXDWORD with both total values 0: take what is there, now.
    if (t.readInterval == kMaxDword && t.readTotalMultiplier == 0 && t.readTotalConstant == 0) {
        qint64 next = -1;
        const int got = m_bench.takeAvailable(data, static_cast<int>(qMin<qint64>(n, INT_MAX)),
                                              start, &next, m_generation);
        if (got < 0)
            return -1;
        m_clock.wireTimeUs(got * byteUs);
        return got;
    }

    const qint64 totalMs =
        static_cast<qint64>(t.readTotalConstant) + n * static_cast<qint64>(t.readTotalMultiplier);
    const qint64 deadline = totalMs > 0 ? start + totalMs * 1000 : kNever;
    const bool intervalLimit = t.readInterval != 0 && t.readInterval != kMaxDword;

    qint64 got = 0;
    qint64 lastByteUs = start;
    while (got < n) {
        qint64 limit = deadline;
        if (got > 0 && intervalLimit)
            limit = qMin(limit, lastByteUs + static_cast<qint64>(t.readInterval) * 1000);

        qint64 next = -1;
        const int want = static_cast<int>(qMin<qint64>(n - got, INT_MAX));
        const int k = m_bench.takeAvailable(data + got, want, m_clock.nowUs(), &next, m_generation);
        if (k < 0)
            return -1;
        if (k > 0) {
            got += k;
            m_clock.wireTimeUs(k * byteUs);
            lastByteUs = m_clock.nowUs();
            continue;
        }
        if (next < 0 || next > limit) {
            // Nothing comes in time. Without any limit nothing ever will: the
            // peers only answer what this line writes.
            if (limit != kNever)
                sleepUntil(limit);
            break;
        }
        sleepUntil(next);
    }
    return got;
}

bool BenchLine::setRts(bool on) {
    if (!alive())
        return false;
    m_bench.setRts(on);
    return true;
}

bool BenchLine::setDtr(bool on) {
    if (!alive())
        return false;
    m_bench.setDtr(on);
    return true;
}

bool BenchLine::modemStatus(quint8& bits) {
    if (!alive())
        return false;
    bits = m_bench.modemStatus();
    return true;
}

} // namespace sim
