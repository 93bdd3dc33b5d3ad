#include "probe.h"

#include "link/serialline.h"

namespace sim {

quint8 Probe::modemStatus() const {
    switch (m_level) {
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
