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

    quint32 size() const { return static_cast<quint32>(m_bytes.size()); }
    quint8 read(quint32 address) const;
    void write(quint32 address, quint8 value);
    void fill(quint8 value);

    quint8* data() { return m_bytes.data(); }
    const quint8* data() const { return m_bytes.data(); }

    /// A bad cell: bits in stuckLow always read 0, bits in stuckHigh always read 1.
    void setCellFault(quint32 address, quint8 stuckLow, quint8 stuckHigh);
    void clearCellFaults() { m_faults.clear(); }
    bool hasCellFaults() const { return !m_faults.empty(); }

private:
    struct CellFault {
        quint32 address;
        quint8 stuckLow;
        quint8 stuckHigh;
    };
    quint32 wrap(quint32 address) const { return m_bytes.empty() ? 0 : address % size(); }

    std::vector<quint8> m_bytes;
    std::vector<CellFault> m_faults;
};

} // namespace sim
