#include "tonebeeper.h"

#include "core/tone.h"

#ifdef KIA_HAVE_ALSA
#include <QDeadlineTimer>
#include <QThread>

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#endif

namespace kia {

#ifdef KIA_HAVE_ALSA

namespace {

// How long past the tone's own length playback may take before we give up.
constexpr int PlaybackMarginMs = 150;
// The device's buffer; the beep fits in it, so writing never waits for room.
constexpr unsigned BufferLatencyUs = 100'000;

// Without a sound card every open would print a few lines of ALSA's complaints
// to stderr; a failed beep is not worth a message, the desktop bell stands in.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using PcmHandle = std::unique_ptr<snd_pcm_t, PcmCloser>;

// One wait for room in the buffer: short, and never past the deadline.
int waitSliceMs(const QDeadlineTimer& deadline) {
    return int(std::clamp<qint64>(deadline.remainingTime(), 1, 10));
}

bool writeAll(snd_pcm_t* pcm, const std::vector<std::int16_t>& samples,
              const QDeadlineTimer& deadline) {
    const std::int16_t* data = samples.data();
    snd_pcm_uframes_t left = samples.size();
    while (left > 0) {
        if (deadline.hasExpired())
            return false;
        const snd_pcm_sframes_t n = snd_pcm_writei(pcm, data, left);
        if (n == -EAGAIN) {
            snd_pcm_wait(pcm, waitSliceMs(deadline));
            continue;
        }
        if (n == -EPIPE) { // underrun: prepare again and write on
            if (snd_pcm_prepare(pcm) < 0)
                return false;
            continue;
        }
        // Suspended devices and everything else: snd_pcm_recover() would
        // sleep in whole seconds waiting for a resume, so give up instead.
        if (n < 0)
            return false;
        data += n;
        left -= snd_pcm_uframes_t(n);
    }
    return true;
}

bool drain(snd_pcm_t* pcm, const QDeadlineTimer& deadline) {
    // Non-blocking: the drain starts (a short buffer has not started playing
    // yet) and returns at once; we watch the state instead.
    const int err = snd_pcm_drain(pcm);
    if (err < 0 && err != -EAGAIN)
        return false;
    while (snd_pcm_state(pcm) == SND_PCM_STATE_DRAINING) {
        if (deadline.hasExpired()) {
            snd_pcm_drop(pcm);
            return false;
        }
        QThread::msleep(2);
    }
    switch (snd_pcm_state(pcm)) {
    case SND_PCM_STATE_XRUN:
    case SND_PCM_STATE_SUSPENDED:
    case SND_PCM_STATE_DISCONNECTED:
        return false;
    default:
        return true;
    }
}

} // namespace

bool playPcm(const std::vector<std::int16_t>& samples, int sampleRate) {
    if (samples.empty() || sampleRate <= 0)
        return false;

    [[maybe_unused]] static const bool quiet = (snd_lib_error_set_handler(&ignoreAlsaError), true);

    const qint64 lengthMs = qint64(samples.size()) * 1000 / sampleRate;
    const QDeadlineTimer deadline(lengthMs + PlaybackMarginMs);

    // Non-blocking open: a device held by another program fails at once
    // instead of waiting for it to be released.
    snd_pcm_t* raw = nullptr;
    if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return false;
    const PcmHandle pcm(raw);

    if (snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                           unsigned(sampleRate), 1, BufferLatencyUs) < 0)
        return false;

    if (!writeAll(pcm.get(), samples, deadline)) {
        snd_pcm_drop(pcm.get());
        return false;
    }
    return drain(pcm.get(), deadline);
}

#else // !KIA_HAVE_ALSA

bool playPcm(const std::vector<std::int16_t>&, int) {
    return false; // built without ALSA: the caller rings the desktop bell
}

#endif

bool playTone(int hz, int ms) {
    return playPcm(renderTone(hz, ms, ToneSampleRate), ToneSampleRate);
}

} // namespace kia
