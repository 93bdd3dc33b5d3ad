#pragma once

#include <QtGlobal>
#include <vector>

namespace sim {

/// One memory chip of the simulated board: plain bytes plus injectable bad
/// cells (bits stuck at 0 or 1). Addresses wrap at the chip size. Reads see the
/// stuck bits; data() is the raw content as written, for tests and loaders.
/// Owned by the BoardModel (or a peer); used under the bench lock.
class Memory {
public:
    explicit Memory(quint32 size = 0, quint8 fill = 0xFF);

    quint32 size() const { return m_size; }
    // Inline: the peers' fills and checks go through here byte by byte.
    quint8 read(quint32 address) const {
        if (m_size == 0)
            return 0xFF;
        const quint32 a = wrap(address);
        const quint8 v = m_bytes.data()[a];
        return m_faults.empty() ? v : withFaults(a, v);
    }
    void write(quint32 address, quint8 value) {
        if (m_size != 0)
            m_bytes.data()[wrap(address)] = value;
    }
    void fill(quint8 value);

    quint8* data() { return m_bytes.data(); }
    const quint8* data() const { return m_bytes.data(); }

    /// A bad cell: bits in stuckLow always read 0, bits in stuckHigh always read 1.
    void setCellFault(quint32 address, quint8 stuckLow, quint8 stuckHigh);
    /// A cell that stores what is written but reads back with the bits of
    /// `flip` inverted (a weak cell or a bad data line on read).
    void setReadFlip(quint32 address, quint8 flip);
    void clearCellFaults() { m_faults.clear(); }
    bool hasCellFaults() const { return !m_faults.empty(); }

private:
    struct CellFault {
        quint32 address;
        quint8 stuckLow;
        quint8 stuckHigh;
        quint8 flip = 0;
    };
    quint32 wrap(quint32 address) const {
        return (m_size & (m_size - 1)) == 0 ? (address & (m_size - 1)) : address % m_size;
    }
    quint8 withFaults(quint32 address, quint8 value) const;

    std::vector<quint8> m_bytes;
    quint32 m_size = 0;
    std::vector<CellFault> m_faults;
};

} // namespace sim
