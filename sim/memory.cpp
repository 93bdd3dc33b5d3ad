#include "memory.h"

#include <algorithm>

namespace sim {

Memory::Memory(quint32 size, quint8 fill) : m_bytes(size, fill), m_size(size) {}

quint8 Memory::withFaults(quint32 address, quint8 value) const {
    for (const CellFault& f : m_faults) {
        if (f.address == address)
            value = static_cast<quint8>(((value | f.stuckHigh) & ~f.stuckLow) ^ f.flip);
    }
    return value;
}

void Memory::fill(quint8 value) {
    std::fill(m_bytes.begin(), m_bytes.end(), value);
}

void Memory::setCellFault(quint32 address, quint8 stuckLow, quint8 stuckHigh) {
    if (m_size == 0)
        return;
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

namespace sim {

void Memory::setReadFlip(quint32 address, quint8 flip) {
    if (m_size != 0)
        m_faults.push_back({wrap(address), 0, 0, flip});
}

} // namespace sim
