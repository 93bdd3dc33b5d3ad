#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace kia {

class BenchContext;

/// The probe level pane of the status bar, as the main window's 500 ms timer
/// drives it: blank while a board operation or diagnostics own the port,
/// untouched while no port is open, otherwise the level read from the probe
/// (blank when the reading fails). Only changes are reported, so the pane is
/// rewritten once per new level. Owned by the main frame; UI thread.
class ProbeStatusDisplay {
public:
    /// Cache value of a blank pane.
    static constexpr quint8 Blank = 255;
    /// Cache value at start: no level, so the first reading is always shown.
    static constexpr quint8 Initial = 85;

    /// One timer tick. Returns the new pane text when the pane must change.
    std::optional<QString> tick(BenchContext& ctx);
    quint8 cachedLevel() const { return m_cached; }

private:
    std::optional<QString> blank();

    quint8 m_cached = Initial;
};

} // namespace kia
