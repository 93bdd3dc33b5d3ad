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
/// On success the level is also kept as the context's last static level.
bool ReadProbeLevel(BenchContext& ctx, quint8& level);

/// Steps 1 to 3 of a reading: RTS low, 1 ms, status; RTS high, 1 ms, status.
/// `withRtsHigh` gets the second status; `open` tells whether DSR followed RTS.
/// False only when a port call fails (or no port is open).
bool SampleProbeLines(BenchContext& ctx, quint8& withRtsHigh, bool& open);

/// Drives the probe's level driver from the context's input value: after
/// 1 ms, DTR clear for a non-zero value (driver output logic 1), DTR set for
/// zero (logic 0). Fails only when the port call fails or no port is open.
bool SetLevelDriver(BenchContext& ctx);

/// Level as the status bar shows it after "Уров.на щупе пробника - "
/// (empty for values that are no level).
QString probeStatusLevelText(quint8 level);
/// The whole pane text for a level.
QString probeStatusText(quint8 level);

} // namespace kia
