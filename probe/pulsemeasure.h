#pragma once

#include "circuitvalues.h"

#include <QtGlobal>

namespace kia {

class BenchContext;

/// Sends the pulse train on the main output latch that a pulse circuit is fed
/// from: board types 0..3 pulse bit 4 low (active) from the shadow, type 4
/// pulse bit 2 high; words (latch address, w1, 1, w3). Type 4 needs latch
/// window 0 on port 1 beforehand (the callers see to it).
bool SendLatchPulses(BenchContext& ctx, quint16 w1, quint16 w3);

/// Times one pulse at the probe tip: an open tip ends at once with level 3;
/// otherwise the counter is calibrated against a sleep of `windowMs`, the
/// stimulus pulse of `values` is sent and DSR is polled without sleeping for
/// one window. Leaves ctx.lastPulse (level at the first edge, duration between
/// the first two edges in 0.1 ms, +3 on board type 4, and the edge count).
/// False when a port or programmer call fails or the window is not positive.
/// UI thread; blocks about 2 × windowMs.
bool MeasurePulse(BenchContext& ctx, int windowMs, const CircuitValues& values);

} // namespace kia
