#include "probe.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "link/linkstatus.h"
#include "link/serialline.h"

namespace kia {

bool ReadProbeLevel(BenchContext& ctx, quint8& level) {
    SerialLine* line = ctx.link.line();
    if (!line || !line->isOpen())
        return false;

    quint8 withRtsLow = 0;
    quint8 withRtsHigh = 0;
    if (!line->setRts(false))
        return false;
    ctx.clock.sleepMs(1);
    if (!line->modemStatus(withRtsLow))
        return false;
    if (!line->setRts(true))
        return false;
    ctx.clock.sleepMs(1);
    if (!line->modemStatus(withRtsHigh))
        return false;

    if ((withRtsLow ^ withRtsHigh) & ModemDsr) {
        level = ProbeOpen;
        return true;
    }
    switch (withRtsHigh & (ModemCts | ModemDsr)) {
    case ModemCts:
        level = ProbeLogic0;
        return true;
    case ModemCts | ModemDsr:
        level = ProbeLogic1;
        return true;
    case ModemDsr:
        level = ProbePlus12V;
        return true;
    default:
        ctx.linkStatus = LinkProbeLineFault;
        return false;
    }
}

QString probeStatusLevelText(quint8 level) {
    switch (level) {
    case ProbeLogic0:
        return QStringLiteral("лог. \"0\".");
    case ProbeLogic1:
        return QStringLiteral("лог. \"1\".");
    case ProbePlus12V:
        return QStringLiteral("\"+12в\".");
    case ProbeOpen:
        return QStringLiteral("ВИС ( обрыв ).");
    default:
        return QString();
    }
}

QString probeStatusText(quint8 level) {
    return QStringLiteral("Уров.на щупе пробника - ") + probeStatusLevelText(level);
}

} // namespace kia
