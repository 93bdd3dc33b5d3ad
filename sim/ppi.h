#pragma once

#include <QtGlobal>
#include <array>

namespace sim {

/// The board's 82C55 as the data bus sees it: registers A, B, C and control
/// at offsets 0..3. A mode word (bit 7 set) sets the port directions and
/// clears the output latches; a word with bit 7 clear sets or resets one bit
/// of port C. Output ports read back their latch; input ports read the
/// external lines (`inputs`, pulled up to 0xFF until something drives them);
/// either way a read sees the levels on the pins, so a stuck line shows.
/// Owned by the BoardModel; used under the bench lock.
class Ppi {
public:
    quint8 read(int reg) const;
    void write(int reg, quint8 value);

    quint8 latch(int port) const { return m_latch[static_cast<size_t>(port)]; }
    quint8 control() const { return m_control; }
    /// Levels that the board drives into the ports set as inputs.
    void setInputs(int port, quint8 levels) { m_inputs[static_cast<size_t>(port)] = levels; }
    bool isOutput(int port, int bit) const;
    /// Data lines held by a fault (added to those already held): bits of `stuckLow` read 0, of
    /// `stuckHigh` read 1, whichever way the port is set.
    void addLineFault(int port, quint8 stuckLow, quint8 stuckHigh);
    void clearFaults();

private:
    std::array<quint8, 3> m_latch{0xFF, 0xFF, 0xFF};
    std::array<quint8, 3> m_inputs{0xFF, 0xFF, 0xFF};
    std::array<quint8, 3> m_stuckLow{};
    std::array<quint8, 3> m_stuckHigh{};
    quint8 m_control = 0x9B; // after reset every port is an input
};

} // namespace sim
