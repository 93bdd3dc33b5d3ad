#include "ppi.h"

namespace sim {

bool Ppi::isOutput(int port, int bit) const {
    switch (port) {
    case 0:
        return (m_control & 0x10) == 0;
    case 1:
        return (m_control & 0x02) == 0;
    case 2:
        return bit < 4 ? (m_control & 0x01) == 0 : (m_control & 0x08) == 0;
    default:
        return false;
    }
}

quint8 Ppi::read(int reg) const {
    if (reg < 0 || reg > 2)
        return 0xFF; // the control register cannot be read back
    quint8 v = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const quint8 src = isOutput(reg, bit) ? m_latch[static_cast<size_t>(reg)]
                                              : m_inputs[static_cast<size_t>(reg)];
        v |= static_cast<quint8>(src & (1u << bit));
    }
    const size_t r = static_cast<size_t>(reg);
    return static_cast<quint8>((v | m_stuckHigh[r]) & ~m_stuckLow[r]);
}

void Ppi::addLineFault(int port, quint8 stuckLow, quint8 stuckHigh) {
    if (port < 0 || port > 2)
        return;
    m_stuckLow[static_cast<size_t>(port)] |= stuckLow;
    m_stuckHigh[static_cast<size_t>(port)] |= stuckHigh;
}

void Ppi::clearFaults() {
    m_stuckLow = {0, 0, 0};
    m_stuckHigh = {0, 0, 0};
}

void Ppi::write(int reg, quint8 value) {
    if (reg >= 0 && reg <= 2) {
        m_latch[static_cast<size_t>(reg)] = value;
        return;
    }
    if (reg != 3)
        return;
    if (value & 0x80) {
        m_control = value;
        m_latch = {0, 0, 0};
        return;
    }
    const int bit = (value >> 1) & 7;
    if (value & 1)
        m_latch[2] |= static_cast<quint8>(1u << bit);
    else
        m_latch[2] &= static_cast<quint8>(~(1u << bit));
}

} // namespace sim
