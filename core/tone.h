#pragma once

#include <cstdint>
#include <vector>

namespace kia {

/// Length of the linear fade at each end of a tone, so that it starts and
/// stops without a click.
constexpr int ToneFadeMs = 2;

/// Renders a sine tone as signed 16-bit mono PCM: sampleRate * ms / 1000
/// samples, starting at phase 0, peaking at `amplitude` (0..1, clamped) of full
/// scale and faded in and out over ToneFadeMs (or half the tone when shorter).
/// Returns no samples when the frequency, duration or rate is not positive, or
/// when the frequency reaches half the sample rate (it cannot be represented).
/// Pure function, any thread.
std::vector<std::int16_t> renderTone(int hz, int ms, int sampleRate, double amplitude = 0.5);

} // namespace kia
