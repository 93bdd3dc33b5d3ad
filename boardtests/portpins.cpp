#include "portpins.h"

#include "core/board.h"

#include <QStringList>

namespace kia {

namespace {
using PinRow = std::array<int, 8>;

constexpr std::array<PinRow, 4> kDd3Pins{{
    {39, 38, 37, 36, 35, 34, 33, 32},
    {1, 2, 3, 4, 5, 6, 7, 8},
    {21, 22, 23, 24, 25, 26, 27, 28},
    {10, 11, 12, 13, 14, 15, 16, 17},
}};

constexpr std::array<PinRow, 4> kDd5Pins{{
    {37, 36, 35, 34, 33, 32, 31, 30},
    {40, 41, 42, 43, 44, 1, 2, 3},
    {18, 19, 20, 21, 22, 23, 24, 25},
    {5, 7, 8, 9, 10, 11, 12, 13},
}};

constexpr std::array<PinRow, 3> kPpiPins{{
    {4, 3, 2, 1, 40, 39, 38, 37},
    {18, 19, 20, 21, 22, 23, 24, 25},
    {14, 15, 16, 17, 13, 12, 11, 10},
}};

// Numbers in columns three characters wide, without blanks after the last.
QString pinColumns(const PinRow& pins) {
    QString s;
    for (int pin : pins)
        s += QString::number(pin).leftJustified(3, QLatin1Char(' '));
    return s.trimmed();
}
} // namespace

QString busChip(int boardType) {
    return isProgrammerBoard(boardType) ? QStringLiteral("DD5") : QStringLiteral("DD3");
}

QString ppiChip(int boardType) {
    return boardType == 3 ? QStringLiteral("DD15") : QStringLiteral("DD14");
}

int busPin(int boardType, int port, int bit) {
    const auto& table = isProgrammerBoard(boardType) ? kDd5Pins : kDd3Pins;
    return table[static_cast<size_t>(port & 3)][static_cast<size_t>(bit & 7)];
}

int ppiPin(int port, int bit) {
    return kPpiPins[static_cast<size_t>(port % 3)][static_cast<size_t>(bit & 7)];
}

QString PinList(quint32 mask, int boardType) {
    const QString prefix = busChip(boardType) + QLatin1Char('/');
    QStringList pins;
    for (int bit = 0; bit < 32; ++bit) {
        if (mask & (quint32(1) << bit))
            pins << prefix + QString::number(busPin(boardType, bit / 8, bit % 8));
    }
    return pins.join(QLatin1Char(','));
}

QString portHeaderText(int port, bool ppi, int boardType) {
    const QString name =
        ppi ? QString(QLatin1Char(char('A' + port % 3))) : QString::number(port & 3);
    // The pin columns start one place after the chip designation: "DD3 : ", "DD14: ".
    const QString chip =
        (ppi ? ppiChip(boardType) : busChip(boardType)).leftJustified(4, QLatin1Char(' '));
    PinRow pins{};
    for (int bit = 0; bit < 8; ++bit)
        pins[static_cast<size_t>(bit)] = ppi ? ppiPin(port, bit) : busPin(boardType, port, bit);
    return QStringLiteral("Порт ") + name + QStringLiteral("  -  ") + chip + QStringLiteral(": ") +
           pinColumns(pins);
}

} // namespace kia
