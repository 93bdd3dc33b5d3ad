#include "probe.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "link/linkstatus.h"
#include "link/serialline.h"

namespace kia {

bool SampleProbeLines(BenchContext& ctx, quint8& withRtsHigh, bool& open) {
    SerialLine* line = ctx.link.line();
    if (!line || !line->isOpen())
        return false;

    quint8 withRtsLow = 0;
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
    // An open tip passes the RTS stimulus through to DSR.
    open = ((withRtsLow ^ withRtsHigh) & ModemDsr) != 0;
    return true;
}

bool ReadProbeLevel(BenchContext& ctx, quint8& level) {
    quint8 status = 0;
    bool open = false;
    if (!SampleProbeLines(ctx, status, open))
        return false;

    if (open) {
        level = ProbeOpen;
        ctx.probeLevel = level;
        return true;
    }
    switch (status & (ModemCts | ModemDsr)) {
    case ModemCts:
        level = ProbeLogic0;
        break;
    case ModemCts | ModemDsr:
        level = ProbeLogic1;
        break;
    case ModemDsr:
        level = ProbePlus12V;
        break;
    default:
        ctx.linkStatus = LinkProbeLineFault;
        return false;
    }
    ctx.probeLevel = level;
    return true;
}

bool SetLevelDriver(BenchContext& ctx) {
    SerialLine* line = ctx.link.line();
    if (!line || !line->isOpen())
        return false;
    ctx.clock.sleepMs(1);
    // The driver inverts DTR: DTR clear gives logic 1 at its output.
    return line->setDtr(ctx.inputValue == 0);
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
