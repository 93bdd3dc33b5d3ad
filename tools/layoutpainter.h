#pragma once

#include "boardtables.h"
#include "pinspot.h"

#include <QImage>

namespace kia::art {

/// Draws the component layout of one board type: the board outline with its
/// mounting holes, every part's pads (pin 1 square) and body outline with the
/// pin-1 mark, connectors along the edges, designations, and a caption strip.
/// Fills spots with the centre of every pad whose pin is drawn on the
/// schematic. Returns false with a message when two parts overlap or a part
/// leaves the board.
bool paintLayout(const BoardTables& board, QImage* picture, PinSpots* spots, QString* error);

} // namespace kia::art
