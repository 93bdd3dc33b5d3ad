#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

class BenchContext;

/// Level at the logic probe's tip.
enum ProbeLevel : quint8 {
    ProbeLogic0 = 0,
    ProbeLogic1 = 1,
    ProbePlus12V = 2,
    ProbeOpen = 3, // high impedance, or the tip touches nothing
};

/// Reads the static level at the probe tip over the modem lines of the open
/// port: RTS low then high, 1 ms apart; DSR following RTS means an open tip;
/// otherwise CTS/DSR decode the level. Neither line set is a probe or cable
/// fault: link status 100. A failing port call fails with the status unchanged.
/// Needs an open link port. UI thread (blocks about 2 ms).
bool ReadProbeLevel(BenchContext& ctx, quint8& level);

/// Level as the status bar shows it after "Уров.на щупе пробника - "
/// (empty for values that are no level).
QString probeStatusLevelText(quint8 level);
/// The whole pane text for a level.
QString probeStatusText(quint8 level);

} // namespace kia
