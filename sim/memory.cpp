#include "memory.h"

#include <algorithm>

namespace sim {

Memory::Memory(quint32 size, quint8 fill) : m_bytes(size, fill) {}

quint8 Memory::read(quint32 address) const {
    if (m_bytes.empty())
        return 0xFF;
    const quint32 a = wrap(address);
    quint8 v = m_bytes[a];
    for (const CellFault& f : m_faults) {
        if (f.address == a)
            v = static_cast<quint8>((v | f.stuckHigh) & ~f.stuckLow);
    }
    return v;
}

void Memory::write(quint32 address, quint8 value) {
    if (!m_bytes.empty())
        m_bytes[wrap(address)] = value;
}

void Memory::fill(quint8 value) {
    std::fill(m_bytes.begin(), m_bytes.end(), value);
}

void Memory::setCellFault(quint32 address, quint8 stuckLow, quint8 stuckHigh) {
    const quint32 a = wrap(address);
    for (CellFault& f : m_faults) {
        if (f.address == a) {
            f.stuckLow = stuckLow;
            f.stuckHigh = stuckHigh;
            return;
        }
    }
    m_faults.push_back({a, stuckLow, stuckHigh});
}

} // namespace sim
