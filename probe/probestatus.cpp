#include "probestatus.h"

#include "core/benchcontext.h"
#include "probe.h"

namespace kia {

std::optional<QString> ProbeStatusDisplay::blank() {
    if (m_cached == Blank)
        return std::nullopt;
    m_cached = Blank;
    return QString();
}

std::optional<QString> ProbeStatusDisplay::tick(BenchContext& ctx) {
    if (ctx.diagnosticsActive || ctx.busy)
        return blank();
    if (ctx.link.openPort() == 0)
        return std::nullopt;

    // A failed reading must not leave its status behind for the next command.
    const quint8 status = ctx.linkStatus;
    quint8 level = 0;
    const bool ok = ReadProbeLevel(ctx, level);
    ctx.linkStatus = status;
    if (!ok)
        return blank();
    if (level == m_cached)
        return std::nullopt;
    m_cached = level;
    return probeStatusText(level);
}

} // namespace kia
