#include "virtualclock.h"

namespace sim {

void VirtualClock::sleepMs(int ms) {
    advanceUs(static_cast<qint64>(ms) * 1000);
}

void VirtualClock::sleepUs(qint64 us) {
    advanceUs(us);
}

void VirtualClock::wireTimeUs(qint64 us) {
    advanceUs(us);
}

void VirtualClock::advanceUs(qint64 us) {
    if (us > 0)
        m_us.fetch_add(us, std::memory_order_acq_rel);
}

} // namespace sim
