#include "partlibrary.h"

#include <algorithm>

namespace kia::art {

namespace {

struct PinRow {
    int number;
    const char* label;
    bool inverted;
    Supply supply;
};

PartDef makePart(const char* function, Package package, int pinCount, int rowSpacing,
                 std::initializer_list<PinRow> rows) {
    PartDef part;
    part.function = QString::fromUtf8(function);
    part.package = package;
    part.pinCount = pinCount;
    part.rowSpacing = rowSpacing;
    part.pins.resize(pinCount);
    for (int n = 1; n <= pinCount; ++n)
        part.pins[n - 1].number = n;
    for (const PinRow& row : rows) {
        PinDef& pin = part.pins.at(row.number - 1);
        pin.label = QString::fromUtf8(row.label);
        pin.inverted = row.inverted;
        pin.supply = row.supply;
    }
    return part;
}

constexpr Supply N = Supply::None;
constexpr Supply V = Supply::Plus5;
constexpr Supply G = Supply::Ground;

} // namespace

bool PartDef::isDrawn(int number) const {
    for (const auto* side : {&leftGroups, &rightGroups})
        for (const auto& group : *side)
            if (std::find(group.begin(), group.end(), number) != group.end())
                return true;
    return false;
}

PartDef microcontroller40() {
    PartDef p = makePart("MCU", Package::Dip, 40, 6,
                         {{1, "P1.0", false, N}, {2, "P1.1", false, N}, {3, "P1.2", false, N},
                          {4, "P1.3", false, N}, {5, "P1.4", false, N}, {6, "P1.5", false, N},
                          {7, "P1.6", false, N}, {8, "P1.7", false, N}, {9, "RST", false, N},
                          {10, "RXD", false, N}, {11, "TXD", false, N}, {12, "INT0", true, N},
                          {13, "INT1", true, N}, {14, "T0", false, N},  {15, "T1", false, N},
                          {16, "WR", true, N},   {17, "RD", true, N},   {18, "X2", false, N},
                          {19, "X1", false, N},  {20, "GND", false, G}, {21, "A8", false, N},
                          {22, "A9", false, N},  {23, "A10", false, N}, {24, "A11", false, N},
                          {25, "A12", false, N}, {26, "A13", false, N}, {27, "A14", false, N},
                          {28, "A15", false, N}, {29, "PSEN", true, N}, {30, "ALE", false, N},
                          {31, "EA", true, N},   {32, "AD7", false, N}, {33, "AD6", false, N},
                          {34, "AD5", false, N}, {35, "AD4", false, N}, {36, "AD3", false, N},
                          {37, "AD2", false, N}, {38, "AD1", false, N}, {39, "AD0", false, N},
                          {40, "VCC", false, V}});
    p.leftGroups = {
        {9, 19, 18, 31}, {1, 2, 3, 4, 5, 6, 7, 8}, {10, 11, 12, 13, 14, 15, 16, 17}, {40, 20}};
    p.rightGroups = {{39, 38, 37, 36, 35, 34, 33, 32}, {21, 22, 23, 24, 25, 26, 27, 28}, {30, 29}};
    return p;
}

PartDef microcontroller44() {
    PartDef p = makePart("MCU", Package::Qfp, 44, 0,
                         {{1, "P1.5", false, N},  {2, "P1.6", false, N},  {3, "P1.7", false, N},
                          {4, "RST", false, N},   {5, "RXD", false, N},   {7, "TXD", false, N},
                          {8, "INT0", true, N},   {9, "INT1", true, N},   {10, "T0", false, N},
                          {11, "T1", false, N},   {12, "WR", true, N},    {13, "RD", true, N},
                          {14, "X2", false, N},   {15, "X1", false, N},   {16, "GND", false, G},
                          {18, "A8", false, N},   {19, "A9", false, N},   {20, "A10", false, N},
                          {21, "A11", false, N},  {22, "A12", false, N},  {23, "A13", false, N},
                          {24, "A14", false, N},  {25, "A15", false, N},  {26, "PSEN", true, N},
                          {27, "ALE", false, N},  {29, "EA", true, N},    {30, "AD7", false, N},
                          {31, "AD6", false, N},  {32, "AD5", false, N},  {33, "AD4", false, N},
                          {34, "AD3", false, N},  {35, "AD2", false, N},  {36, "AD1", false, N},
                          {37, "AD0", false, N},  {38, "VCC", false, V},  {40, "P1.0", false, N},
                          {41, "P1.1", false, N}, {42, "P1.2", false, N}, {43, "P1.3", false, N},
                          {44, "P1.4", false, N}});
    p.leftGroups = {
        {4, 15, 14, 29}, {40, 41, 42, 43, 44, 1, 2, 3}, {5, 7, 8, 9, 10, 11, 12, 13}, {38, 16}};
    p.rightGroups = {{37, 36, 35, 34, 33, 32, 31, 30}, {18, 19, 20, 21, 22, 23, 24, 25}, {27, 26}};
    return p;
}

PartDef peripheralInterface() {
    PartDef p = makePart("PPI", Package::Dip, 40, 6,
                         {{1, "PA3", false, N},  {2, "PA2", false, N},  {3, "PA1", false, N},
                          {4, "PA0", false, N},  {5, "RD", true, N},    {6, "CS", true, N},
                          {7, "GND", false, G},  {8, "A1", false, N},   {9, "A0", false, N},
                          {10, "PC7", false, N}, {11, "PC6", false, N}, {12, "PC5", false, N},
                          {13, "PC4", false, N}, {14, "PC0", false, N}, {15, "PC1", false, N},
                          {16, "PC2", false, N}, {17, "PC3", false, N}, {18, "PB0", false, N},
                          {19, "PB1", false, N}, {20, "PB2", false, N}, {21, "PB3", false, N},
                          {22, "PB4", false, N}, {23, "PB5", false, N}, {24, "PB6", false, N},
                          {25, "PB7", false, N}, {26, "VCC", false, V}, {27, "D7", false, N},
                          {28, "D6", false, N},  {29, "D5", false, N},  {30, "D4", false, N},
                          {31, "D3", false, N},  {32, "D2", false, N},  {33, "D1", false, N},
                          {34, "D0", false, N},  {35, "RES", false, N}, {36, "WR", true, N},
                          {37, "PA7", false, N}, {38, "PA6", false, N}, {39, "PA5", false, N},
                          {40, "PA4", false, N}});
    p.leftGroups = {{34, 33, 32, 31, 30, 29, 28, 27}, {9, 8}, {5, 36, 6, 35}, {26, 7}};
    p.rightGroups = {{4, 3, 2, 1, 40, 39, 38, 37},
                     {18, 19, 20, 21, 22, 23, 24, 25},
                     {14, 15, 16, 17, 13, 12, 11, 10}};
    return p;
}

PartDef octalRegister() {
    PartDef p = makePart(
        "RG", Package::Dip, 20, 3,
        {{1, "OE", true, N},   {2, "Q0", false, N},   {3, "D0", false, N},  {4, "D1", false, N},
         {5, "Q1", false, N},  {6, "Q2", false, N},   {7, "D2", false, N},  {8, "D3", false, N},
         {9, "Q3", false, N},  {10, "GND", false, G}, {11, "C", false, N},  {12, "Q4", false, N},
         {13, "D4", false, N}, {14, "D5", false, N},  {15, "Q5", false, N}, {16, "Q6", false, N},
         {17, "D6", false, N}, {18, "D7", false, N},  {19, "Q7", false, N}, {20, "VCC", false, V}});
    p.leftGroups = {{3, 4, 7, 8, 13, 14, 17, 18}, {11, 1}, {20, 10}};
    p.rightGroups = {{2, 5, 6, 9, 12, 15, 16, 19}};
    return p;
}

PartDef addressLatch() {
    PartDef p = makePart(
        "RG", Package::Dip, 20, 3,
        {{1, "OE", true, N},   {2, "D0", false, N},   {3, "D1", false, N},  {4, "D2", false, N},
         {5, "D3", false, N},  {6, "D4", false, N},   {7, "D5", false, N},  {8, "D6", false, N},
         {9, "D7", false, N},  {10, "GND", false, G}, {11, "LE", false, N}, {12, "Q7", false, N},
         {13, "Q6", false, N}, {14, "Q5", false, N},  {15, "Q4", false, N}, {16, "Q3", false, N},
         {17, "Q2", false, N}, {18, "Q1", false, N},  {19, "Q0", false, N}, {20, "VCC", false, V}});
    p.leftGroups = {{2, 3, 4, 5, 6, 7, 8, 9}, {11, 1}, {20, 10}};
    p.rightGroups = {{19, 18, 17, 16, 15, 14, 13, 12}};
    return p;
}

PartDef decoder3to8() {
    PartDef p = makePart("DC", Package::Dip, 16, 3,
                         {{1, "1", false, N},
                          {2, "2", false, N},
                          {3, "4", false, N},
                          {4, "E1", true, N},
                          {5, "E2", true, N},
                          {6, "E3", false, N},
                          {7, "7", true, N},
                          {8, "GND", false, G},
                          {9, "6", true, N},
                          {10, "5", true, N},
                          {11, "4", true, N},
                          {12, "3", true, N},
                          {13, "2", true, N},
                          {14, "1", true, N},
                          {15, "0", true, N},
                          {16, "VCC", false, V}});
    p.leftGroups = {{1, 2, 3}, {4, 5, 6}, {16, 8}};
    p.rightGroups = {{15, 14, 13, 12, 11, 10, 9, 7}};
    return p;
}

PartDef busBuffer() {
    PartDef p = makePart(
        "BF", Package::Dip, 20, 3,
        {{1, "OE1", true, N},  {2, "A1", false, N},   {3, "A2", false, N},  {4, "A3", false, N},
         {5, "A4", false, N},  {6, "A5", false, N},   {7, "A6", false, N},  {8, "A7", false, N},
         {9, "A8", false, N},  {10, "GND", false, G}, {11, "Y8", false, N}, {12, "Y7", false, N},
         {13, "Y6", false, N}, {14, "Y5", false, N},  {15, "Y4", false, N}, {16, "Y3", false, N},
         {17, "Y2", false, N}, {18, "Y1", false, N},  {19, "OE2", true, N}, {20, "VCC", false, V}});
    p.leftGroups = {{2, 3, 4, 5, 6, 7, 8, 9}, {1, 19}, {20, 10}};
    p.rightGroups = {{18, 17, 16, 15, 14, 13, 12, 11}};
    return p;
}

PartDef hexInverter() {
    PartDef p = makePart("1", Package::Dip, 14, 3,
                         {{1, "1A", false, N},
                          {2, "1Y", true, N},
                          {3, "2A", false, N},
                          {4, "2Y", true, N},
                          {5, "3A", false, N},
                          {6, "3Y", true, N},
                          {7, "GND", false, G},
                          {8, "4Y", true, N},
                          {9, "4A", false, N},
                          {10, "5Y", true, N},
                          {11, "5A", false, N},
                          {12, "6Y", true, N},
                          {13, "6A", false, N},
                          {14, "VCC", false, V}});
    p.leftGroups = {{1, 3, 5, 9, 11, 13}, {14, 7}};
    p.rightGroups = {{2, 4, 6, 8, 10, 12}};
    return p;
}

PartDef driverArray() {
    PartDef p = makePart("KEY", Package::Dip, 16, 3,
                         {{1, "I1", false, N},
                          {2, "I2", false, N},
                          {3, "I3", false, N},
                          {4, "I4", false, N},
                          {5, "I5", false, N},
                          {6, "I6", false, N},
                          {7, "I7", false, N},
                          {8, "GND", false, G},
                          {9, "COM", false, N},
                          {10, "O7", true, N},
                          {11, "O6", true, N},
                          {12, "O5", true, N},
                          {13, "O4", true, N},
                          {14, "O3", true, N},
                          {15, "O2", true, N},
                          {16, "O1", true, N}});
    p.leftGroups = {{1, 2, 3, 4, 5, 6, 7}, {9, 8}};
    p.rightGroups = {{16, 15, 14, 13, 12, 11, 10}};
    return p;
}

PartDef connector(int pinCount, const std::vector<std::pair<int, QString>>& labels) {
    PartDef p;
    p.package = Package::Header;
    p.pinCount = pinCount;
    p.pins.resize(pinCount);
    std::vector<int> all;
    for (int n = 1; n <= pinCount; ++n) {
        p.pins[n - 1].number = n;
        all.push_back(n);
    }
    for (const auto& [number, label] : labels) {
        PinDef& pin = p.pins.at(number - 1);
        pin.label = label;
        if (label == QStringLiteral("+5В"))
            pin.supply = Supply::Plus5;
        else if (label == QStringLiteral("Общ."))
            pin.supply = Supply::Ground;
    }
    p.leftGroups = {all};
    return p;
}

} // namespace kia::art
