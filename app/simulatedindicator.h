#pragma once

#include "boardtests/indicatortext.h"

namespace sim {
class Bench;
}

namespace kia {

/// What an indicator of the simulated board shows now, as the on-screen
/// indicator (CIndicatorWidget) draws it: the controller's 16 display cells
/// (codes 0..15 are its user characters 0..7, twice) and the dot rows its
/// character generator holds. A display switched off shows blanks. Unlike the
/// workstation's own copy this is what the board made of the writes, so a
/// faulty cell shows as it would on the glass. `cursor` (optional) gets the
/// cursor's position, −1 when the cursor is off. UI thread.
IndicatorScreen simulatedIndicatorScreen(sim::Bench& bench, int indicator, int* cursor = nullptr);

} // namespace kia
