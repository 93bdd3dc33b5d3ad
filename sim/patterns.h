#pragma once

#include <QtGlobal>

namespace sim {

/// The byte a cell at a 16-bit address holds after a fill with `pattern`.
/// The peers fill and check memories with the same rule the workstation uses
/// to display what a cell should hold:
///  1: even 0, odd hi + lo;  2: even hi + lo, odd 0;
///  3: even 0, odd 0xFF - hi - lo;  4: even 0xFF - hi - lo, odd 0;
///  5: even 0xAA, odd 0x55;  6: even 0x55, odd 0xAA;  7: 0xFF (erase);
///  8: walking bit: addresses with exactly one bit set or clear give
///     lo (hi == 0), hi (lo == 0xFF), 0xFF - hi (lo == 0), 0xFF - lo (hi == 0xFF),
///     every other address 0xFF;
///  any other pattern: the pattern number itself.
quint8 expectedByte(quint8 pattern, quint16 address);

} // namespace sim
