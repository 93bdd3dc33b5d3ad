#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace kia::art {

/// How a part is built: a dual-in-line chip, a quad flat chip (pins on four
/// sides) or a single-row pin header (the board's connectors).
enum class Package { Dip, Qfp, Header };

/// Supply nets a pin may belong to; supply pins are drawn and named but not
/// wired, the sheet's power table lists them instead.
enum class Supply { None, Plus5, Ground };

struct PinDef {
    int number = 0;
    QString label;         // function name written inside the symbol
    bool inverted = false; // active-low: drawn with a bubble
    Supply supply = Supply::None;
};

/// One kind of part: its pins and how its schematic symbol groups them.
/// Pins absent from both groups lists (not connected inside the chip) are
/// neither drawn on the schematic nor offered as control points.
struct PartDef {
    QString function; // title of the symbol's middle field; empty for connectors
    Package package = Package::Dip;
    int pinCount = 0;
    int rowSpacing = 3;       // DIP: distance between the pin rows in tenths of an inch
    std::vector<PinDef> pins; // indexed by number - 1
    std::vector<std::vector<int>> leftGroups;
    std::vector<std::vector<int>> rightGroups;

    const PinDef& pin(int number) const { return pins.at(number - 1); }
    bool isDrawn(int number) const;
};

PartDef microcontroller40();   // 8051-family controller in DIP-40 (socket of the test processor)
PartDef microcontroller44();   // the same family in a 44-pin quad flat package
PartDef peripheralInterface(); // 82C55 parallel interface, DIP-40
PartDef octalRegister();       // edge-triggered octal register, outputs on pins 2,5,6,9,12,15,16,19
PartDef addressLatch();        // transparent octal latch, D on 2..9, Q on 19..12
PartDef decoder3to8();         // 3-to-8 decoder with three enables, DIP-16
PartDef busBuffer();           // octal buffer, A on 2..9, Y on 18..11, DIP-20
PartDef hexInverter();         // six inverters, DIP-14
PartDef driverArray();         // seven open-collector keys, DIP-16

/// A single-row connector of pinCount contacts; labels names the circuits on
/// some of them (the rest stay blank on the drawing).
PartDef connector(int pinCount, const std::vector<std::pair<int, QString>>& labels);

} // namespace kia::art
