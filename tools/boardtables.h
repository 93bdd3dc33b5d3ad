#pragma once

#include "partlibrary.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <vector>

namespace kia::art {

/// Direction of a part on the component layout. Dip: Horizontal has the pin
/// rows along x with pin 1 at the lower left and the notch on the left;
/// Vertical has pin 1 at the upper left, counting down, notch on top.
/// Header: Horizontal counts pins left to right, Vertical top to bottom.
/// Qfp parts ignore it (pin 1 is the top pin of the left side).
enum class Orient { Horizontal, Vertical };

/// Where a part sits. The schematic position is a column: the painter stacks
/// the parts of a column in table order. The layout position is the centre
/// of a reference pad: pin 1 for headers and vertical DIPs, the top-left pad
/// (the last pin) for horizontal DIPs, the body's top-left corner for Qfp.
struct PlacedPart {
    QString ref;
    PartDef def;
    int column = 0;
    QPoint layoutAt;
    Orient orient = Orient::Horizontal;
};

/// Small parts drawn on the component layout only (no control points on them).
struct Decoration {
    enum Kind { Resistor, Capacitor, Electrolytic, Crystal, Transistor, Diode, MountingHole };
    Kind kind = Resistor;
    QString ref;
    QPoint at;
    bool vertical = false;
};

/// Everything that the two pictures of one board type show. Control point
/// names come from these tables only: "<ref>/<pin>" for every drawn pin.
struct BoardTables {
    int boardType = 0;
    QString designation; // as printed on the board
    int schematicBitmap = 0;
    int layoutBitmap = 0;
    QSize schematicSize;
    QSize layoutSize;
    std::vector<PlacedPart> parts;
    std::vector<std::vector<QString>> nets; // each: the pin names joined by one wire
    std::vector<Decoration> decorations;
};

/// The five board types, in board-type order.
std::vector<BoardTables> allBoards();

} // namespace kia::art
