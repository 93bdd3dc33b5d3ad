#include "probe.h"

#include "link/serialline.h"

#include <algorithm>

namespace sim {

quint8 Probe::modemStatus() const {
    return statusOf(m_level);
}

quint8 Probe::modemStatusAt(qint64 nowUs, qint64 startUs, qint64 widthUs) const {
    if (!m_pulse.connected || widthUs <= 0 || m_level == Open)
        return statusOf(m_level);
    const qint64 width = std::clamp(widthUs, m_pulse.minUs, m_pulse.maxUs);
    const qint64 t = nowUs - startUs;
    bool on = t >= 0 && t < width;
    // A split pulse falls back to the idle level in the middle fifth.
    if (on && m_pulse.split && t >= 2 * width / 5 && t < 3 * width / 5)
        on = false;
    return statusOf(on ? m_pulse.activeLevel : m_level);
}

quint8 Probe::statusOf(quint8 level) const {
    if (m_broken)
        return 0;
    switch (level) {
    case Low:
        return kia::ModemCts;
    case High:
        return kia::ModemCts | kia::ModemDsr;
    case Plus12V:
        return kia::ModemDsr;
    default:
        return static_cast<quint8>(kia::ModemCts | (m_rts ? kia::ModemDsr : 0));
    }
}

} // namespace sim
