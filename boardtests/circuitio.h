#pragma once

#include "circuittable.h"

namespace kia {

class BenchContext;

/// The link side of a circuit row: driving its inputs from the context's
/// input value, measuring its output, and driving one controller pin low for
/// the pin scan. Every function returns false when a link or port call fails
/// (the link status says why). UI thread.

/// Sets the row's inputs from ctx.inputValue (bit j drives input j) and
/// updates the output shadows it writes.
bool DriveCircuitInputs(BenchContext& ctx, const CircuitRow& row);

/// Measures the row's output. Level rows leave the level in *level; pulse
/// rows leave ctx.lastPulse (and its level in *level).
bool ReadCircuitOutput(BenchContext& ctx, const CircuitRow& row, quint8& level);

/// Writes the main output latch from its shadow (type 4 through window 0).
bool WriteMainLatch(BenchContext& ctx);

/// One pin of the pin scan on board types 0..3: drives pin k (0..36) low
/// through the ports and the PPI latches, releasing the ones before it as the
/// scan goes on.
bool DriveScanPin(BenchContext& ctx, int pin);

/// Board type 4: releases `previous` (when >= 0) and drives pin k low.
bool DriveControllerPin(BenchContext& ctx, int previous, int pin);

} // namespace kia
