#include "simulatedindicator.h"

#include "sim/bench.h"
#include "sim/boardmodel.h"

namespace kia {

IndicatorScreen simulatedIndicatorScreen(sim::Bench& bench, int indicator, int* cursor) {
    const sim::IndicatorController& c = bench.board().indicator(indicator & 1);
    IndicatorScreen screen;
    if (cursor)
        *cursor = c.displayOn() && c.cursorOn() ? c.cursorPosition() : -1;
    if (!c.displayOn())
        return screen;
    for (int slot = 0; slot < 8; ++slot) {
        screen.userRows[static_cast<size_t>(slot)] = c.userCharacter(slot);
        screen.userFor[static_cast<size_t>(slot)] = 0;
    }
    screen.userCount = 8;
    for (int p = 0; p < 16; ++p) {
        const quint8 code = c.screenCode(p);
        screen.codes[static_cast<size_t>(p)] = code < 16 ? quint8(code & 7) : code;
    }
    return screen;
}

} // namespace kia
