#pragma once

#include <QPainter>

namespace kia::art {

/// Pictograms of the workstation's commands. Each is drawn in a 32 x 32 unit
/// box (the painter scales it for 16 x 16 menu icons); the small form leaves
/// out what cannot be read at 16 pixels, such as the chip inscriptions.
enum class Glyph {
    BusTest,
    Rom,
    Ram,
    Chip,
    Timer,
    Eeprom,
    SerialEeprom,
    FiscalBlank,
    FiscalWrite,
    Ppi,
    CashierDisplay,
    CashierCells,
    CustomerDisplay,
    CustomerCells,
    Sound,
    Keyboard,
    Peripherals,
    RestoreSoftware,
    ScanBus,
    ScanControl,
    ScanRegister,
    ScanDecoder,
    ScanPpi,
    ScanChip,
    FiscalPulse,
    FaultTypes,
    LogicProbe,
    Oscilloscope,
    ProbeCheck,
    Schematic,
    Layout,
};

/// Draws glyph g with the painter's transform mapping 32 units to the icon.
void paintGlyph(QPainter& p, Glyph g, bool small);

} // namespace kia::art
