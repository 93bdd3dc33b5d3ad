#pragma once

#include <QtGlobal>
#include <array>

namespace kia {

/// The 16-byte value record of a circuit row. Level rows: bytes 0..7 the input
/// value of each step, bytes 8..15 the expected ProbeLevel of each step.
/// Pulse rows: byte 0 input pulse level, bytes 1..2 input pulse length
/// (byte 1 + 100 × byte 2, in 0.1 ms), byte 8 expected level, bytes 9 and 10
/// the shortest and longest expected duration (0.1 ms).
using CircuitValues = std::array<quint8, 16>;

/// Input pulse length of a pulse row in 0.1 ms.
inline int inputPulseLength(const CircuitValues& v) { return v[1] + 100 * v[2]; }

} // namespace kia
