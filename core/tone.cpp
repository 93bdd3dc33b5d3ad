#include "tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kia {

std::vector<std::int16_t> renderTone(int hz, int ms, int sampleRate, double amplitude) {
    if (hz <= 0 || ms <= 0 || sampleRate <= 0 || 2LL * hz >= sampleRate)
        return {};

    const auto count = static_cast<std::size_t>(std::int64_t{sampleRate} * ms / 1000);
    if (count == 0)
        return {};

    // NaN fails both comparisons of clamp's contract; treat it as silence.
    const double level = std::isnan(amplitude) ? 0.0 : std::clamp(amplitude, 0.0, 1.0);
    const double peak = level * INT16_MAX;
    const double step = 2.0 * std::numbers::pi * hz / sampleRate;

    // The gain climbs from 0 at the first sample to 1 after `fade` samples and
    // falls back to 0 at the last one; a tone shorter than two fades peaks lower.
    const double fade =
        std::max(1.0, std::min(double(sampleRate) * ToneFadeMs / 1000.0, double(count - 1) / 2.0));
    const double last = double(count - 1);

    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double x = double(i);
        const double gain = std::min({1.0, x / fade, (last - x) / fade});
        // |value| <= peak <= INT16_MAX, so the rounding cannot leave the range.
        samples[i] = static_cast<std::int16_t>(std::lround(peak * gain * std::sin(step * x)));
    }
    return samples;
}

} // namespace kia
