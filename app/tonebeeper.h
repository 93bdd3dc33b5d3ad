#pragma once

#include <cstdint>
#include <vector>

namespace kia {

/// The rate tones are rendered at for the sound card.
constexpr int ToneSampleRate = 48000;

/// Plays signed 16-bit mono samples on the "default" ALSA device and waits
/// until they have sounded, for at most the buffer's length plus a short
/// margin; a device that is missing, busy or stalls never holds the caller
/// longer. Returns false when the samples could not be played in full: any
/// ALSA failure, an empty buffer, or a build without ALSA. UI thread only.
bool playPcm(const std::vector<std::int16_t>& samples, int sampleRate);

/// Renders a tone (see renderTone) at ToneSampleRate and plays it.
bool playTone(int hz, int ms);

} // namespace kia
