#include "faultinjector.h"

namespace sim {

void FaultInjector::add(const Fault& fault) {
    m_rules.push_back({fault, 0, 0});
}

void FaultInjector::setRules(const QList<Fault>& rules) {
    m_rules.clear();
    for (const Fault& f : rules)
        add(f);
}

void FaultInjector::clear() {
    m_rules.clear();
}

FaultAction FaultInjector::onFrame(FrameKind kind, int code) {
    FaultAction action;
    for (Entry& e : m_rules) {
        if (!e.fault.matches(kind, code))
            continue;
        // Every matching rule counts the frame, so "after" means the same
        // whichever rule fires first.
        const bool due = e.seen >= e.fault.skip;
        ++e.seen;
        if (!due || action.active)
            continue;
        if (e.fault.limit >= 0 && e.fired >= e.fault.limit)
            continue;
        ++e.fired;
        action.active = true;
        action.kind = e.fault.kind;
        action.bytes = e.fault.bytes;
        action.delayMs = e.fault.delayMs;
        action.instead = e.fault.instead;
    }
    return action;
}

quint8 FaultInjector::randomByte() {
    // xorshift32: a fixed sequence for a fixed seed, so tests are repeatable.
    quint32 x = m_rng;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    m_rng = x;
    return static_cast<quint8>(x >> 24);
}

} // namespace sim
