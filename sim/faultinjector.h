#pragma once

#include "fault.h"

#include <QList>
#include <vector>

namespace sim {

/// The bench's list of fault rules. For every frame a peer recognises it
/// decides whether a rule fires (the first rule that matches and is due wins)
/// and hands the action to the exchange. Also the deterministic source of the
/// garbage bytes. Owned by the Bench; used under the bench lock (Bench::addFault
/// and Bench::loadFaultScript take it for callers on other threads).
class FaultInjector {
public:
    void add(const Fault& fault);
    void setRules(const QList<Fault>& rules);
    void clear();

    int ruleCount() const { return static_cast<int>(m_rules.size()); }
    const Fault& rule(int i) const { return m_rules[static_cast<size_t>(i)].fault; }
    /// How many times rule i has fired so far.
    int firedCount(int i) const { return m_rules[static_cast<size_t>(i)].fired; }

    /// Called once per recognised frame.
    FaultAction onFrame(FrameKind kind, int code);

    void setSeed(quint32 seed) { m_rng = seed ? seed : 0x9E3779B9u; }
    quint8 randomByte();

private:
    struct Entry {
        Fault fault;
        int seen = 0;
        int fired = 0;
    };
    std::vector<Entry> m_rules;
    quint32 m_rng = 0x2545F491u;
};

} // namespace sim
