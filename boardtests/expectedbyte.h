#pragma once

#include <QtGlobal>

namespace kia {

/// The byte that a cell at a 16-bit address holds after a fill with `pattern`.
/// With lo and hi the bytes of the address (sums modulo 256):
///  1: even 0, odd hi + lo;        2: even hi + lo, odd 0;
///  3: even 0, odd 0xFF - hi - lo; 4: even 0xFF - hi - lo, odd 0;
///  5: even 0xAA, odd 0x55;        6: even 0x55, odd 0xAA;   7: 0xFF;
///  8: walking bit: an address with exactly one bit set or one bit clear gives
///     lo (hi 0), hi (lo 0xFF), 0xFF - hi (lo 0), 0xFF - lo (hi 0xFF); others 0xFF;
///  any other pattern: the pattern number itself.
/// The peers fill and check with the same rule. Pure, any thread.
quint8 ExpectedByte(int pattern, quint16 address);

} // namespace kia
