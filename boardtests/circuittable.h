#pragma once

#include "probe/circuitvalues.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>

namespace kia {

/// What a circuit row is on one board type.
enum class CircuitKind : int { Level = 0, Pulse = 1, Absent = 2 };

/// How a row's inputs are driven from the current input value (bit j drives
/// input j). Latch means the main output latch; aux n the PPI port latch
/// 0x5FFC + n.
enum class CircuitDrive {
    None,
    LevelDriver,      ///< the probe's level driver
    LatchBits,        ///< shadow bits bits[0] (input 0) and bits[1] (input 1, if set); write the latch
    AuxBit,           ///< aux latch `aux` bit bits[0] := input 0
    PortBit,          ///< WritePort(port, input 0 at bit, 1 << bit)
    WindowStrobe,     ///< port 1 bits 0..2 := value & 7, port 2 bit 7 := value bit 3
    WindowStrobePort3 ///< as WindowStrobe, then port 3 bit 6 := value bit 4
};

/// How a row's output is measured.
enum class CircuitRead {
    Probe,      ///< ReadProbeLevel
    PortBit,    ///< ReadPort(port), the bit
    LatchInput, ///< type 4: the byte at 0x8000 in window 0, the bit
    Pulse       ///< MeasurePulse over `pulseWindowMs`
};

/// One row of the peripheral circuit table.
struct CircuitRow {
    CircuitKind kind = CircuitKind::Absent;
    QStringList inputs; ///< control point names of the inputs (may be empty)
    QString output;     ///< control point name of the output (a text for port reads)
    int steps = 1;
    CircuitValues values{};
    CircuitDrive drive = CircuitDrive::None;
    std::array<quint8, 2> bits{}; ///< latch / aux bit masks of the drive
    quint8 aux = 0;               ///< aux latch index of CircuitDrive::AuxBit
    quint8 drivePort = 0;
    quint8 driveBit = 0;
    CircuitRead read = CircuitRead::Probe;
    quint8 readPort = 0;
    quint8 readBit = 0;
    int pulseWindowMs = 0;
    QString name;
    /// Board type 4: crossFlags[r] == 0 excuses this row while row r is tested.
    std::array<quint8, 28> crossFlags;
    /// Board type 4: bit k set = pin k takes part in this row's pin scan.
    quint32 pins = 0;

    CircuitRow() { crossFlags.fill(1); }
    bool isPresent() const { return kind != CircuitKind::Absent; }
    QString firstInput() const { return inputs.isEmpty() ? QString() : inputs.first(); }
    /// Expected level of step i (level rows).
    quint8 expected(int step) const { return values[static_cast<size_t>(8 + step)]; }
};

constexpr int CircuitRowCount = 28;
using CircuitTable = std::array<CircuitRow, CircuitRowCount>;

/// The circuit table of a board type, made once per type from the type-0
/// table and that type's differences (type 4 has a table of its own). Types
/// outside 0..4 get the type-0 table.
const CircuitTable& circuitTable(int boardType);

/// The controller pins of the pin scan (index → control point name): 37 on
/// board types 0..3, 32 on type 4.
const QStringList& circuitPinNames(int boardType);

} // namespace kia
