#pragma once

#include "boardtables.h"
#include "pinspot.h"

#include <QImage>

namespace kia::art {

/// Draws the circuit diagram of one board type as a black-on-white line
/// drawing: chips as function blocks with numbered pins, connectors as
/// contact tables, the wiring as numbered lines of a group line, a title
/// block and a power table. Fills spots with the outer end of every drawn
/// pin. Returns false with a message when the tables do not fit the sheet
/// or name a pin that is not drawn.
bool paintSchematic(const BoardTables& board, QImage* picture, PinSpots* spots, QString* error);

} // namespace kia::art
