// The four processor ports and the wiring of their 32 lines on the board.

#include "boardmodel.h"

namespace sim {

namespace {

constexpr quint32 kReadStrobe = 1u << 31; // port 3 bit 7
constexpr quint32 kPort0 = 0xFF;
constexpr quint32 kFlashEnable = 1u << 13; // port 1 bit 5, active low

} // namespace

quint32 BoardModel::latches() const {
    quint32 v = 0;
    for (int p = 0; p < 4; ++p)
        v |= static_cast<quint32>(m_ports[static_cast<size_t>(p)].latch) << (8 * p);
    return v;
}

// Stuck lines first, then the shorts (a low line pulls its partner low, also
// through chains of shorts), and stuck lines keep their level in the end.
quint32 BoardModel::settle(quint32 net) const {
    quint32 low = 0;
    quint32 high = 0;
    for (int p = 0; p < 4; ++p) {
        low |= static_cast<quint32>(m_ports[static_cast<size_t>(p)].stuckLow) << (8 * p);
        high |= static_cast<quint32>(m_ports[static_cast<size_t>(p)].stuckHigh) << (8 * p);
    }
    net = (net | high) & ~low;
    for (size_t round = 0; round <= m_shorts.size(); ++round) {
        bool changed = false;
        for (const std::array<quint8, 2>& s : m_shorts) {
            const quint32 a = 1u << s[0];
            const quint32 b = 1u << s[1];
            if (((net & a) == 0) != ((net & b) == 0)) {
                net &= ~(a | b);
                changed = true;
            }
        }
        if (!changed)
            break;
    }
    return (net | high) & ~low;
}

quint32 BoardModel::boardLines() const {
    quint32 open = 0;
    for (int p = 0; p < 4; ++p)
        open |= static_cast<quint32>(m_ports[static_cast<size_t>(p)].open) << (8 * p);
    return settle((latches() | open) & ~m_heldLow);
}

quint8 BoardModel::boardLevel(int port) const {
    return static_cast<quint8>(boardLines() >> (8 * (port & 3)));
}

quint8 BoardModel::readPort(int port) {
    quint32 open = 0;
    for (int p = 0; p < 4; ++p)
        open |= static_cast<quint32>(m_ports[static_cast<size_t>(p)].open) << (8 * p);
    const quint32 latch = latches();
    quint32 net = settle((latch | open) & ~m_heldLow);
    if ((net & kReadStrobe) == 0) {
        // The read strobe is low: the device at the address on ports 2 and 0
        // drives the data lines of port 0 (open drain, so a 0 wins).
        const quint16 address =
            static_cast<quint16>((((net >> 16) & 0xFF) << 8) | m_ports[0].latch);
        // On types 0..3 the 28С256 answers a bare strobe only while port 1
        // bit 5, its enable, is low (the firmware's own accesses enable it).
        const bool flashOff = !isProgrammerBoard() && address >= 0xC000 && (net & kFlashEnable);
        const quint8 data = flashOff ? quint8(0xFF) : busByte(address);
        net = settle((latch | open) & ~(m_heldLow | static_cast<quint8>(~data)));
    }
    // A cut line's pin sees only the processor: its own latch on the ports
    // with pull-ups, nothing (0) on port 0.
    const quint32 pins = (net & ~open) | (latch & open & ~kPort0);
    return static_cast<quint8>(pins >> (8 * (port & 3)));
}

void BoardModel::writePort(int port, quint8 value, quint8 mask) {
    PortLines& p = m_ports[static_cast<size_t>(port & 3)];
    p.latch = static_cast<quint8>((p.latch & ~mask) | (value & mask));
}

void BoardModel::resetPorts() {
    for (PortLines& p : m_ports)
        p.latch = 0xFF;
}

void BoardModel::setLineHeldLow(int port, int bit, bool held) {
    const quint32 line = 1u << ((port & 3) * 8 + (bit & 7));
    m_heldLow = held ? (m_heldLow | line) : (m_heldLow & ~line);
}

void BoardModel::addShort(int lineA, int lineB) {
    m_shorts.push_back({static_cast<quint8>(lineA & 31), static_cast<quint8>(lineB & 31)});
}

void BoardModel::setOlderRevision(bool older) {
    if (isProgrammerBoard())
        return;
    m_olderRevision = older;
    setLineHeldLow(3, 2, older);
}

} // namespace sim
