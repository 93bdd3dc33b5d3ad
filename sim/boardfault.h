#pragma once

#include <QString>
#include <QtGlobal>

namespace sim {

/// What is wrong with the board itself (as opposed to the link faults of
/// fault.h, which spoil exchanges). Each kind is a fault a repair engineer
/// meets, placed where the board tests look: the bus walk, the memory
/// passes and checks, the ROM sums, the I²C chips, the fiscal memory, the PPI.
enum class BoardFaultKind {
    PortStuckLow,       ///< a port line held at 0 on the board (short to ground)
    PortStuckHigh,      ///< a port line held at 1 on the board (short to the supply)
    PortOpen,           ///< a port line cut between the processor pin and the board
    PortShort,          ///< two port lines shorted together (a low driver wins)
    RamCell,            ///< a RAM cell with stuck bits
    BankCell,           ///< a 28С256 (types 0..3) or 29С010 (type 4) cell with stuck bits
    RomStoredSum,       ///< both checksums stored in the ROM are wrong
    RomByte,            ///< one ROM byte differs from what was programmed
    ClockStopped,       ///< the clock chip answers but its oscillator does not run
    ClockSilent,        ///< the clock chip does not answer on the I²C bus
    ClockRegister,      ///< a clock register with stuck bits
    SerialEepromCell,   ///< a 24С256 cell with stuck bits
    SerialEepromSilent, ///< the 24С256 does not answer on the I²C bus
    FiscalNotBlank,     ///< a fiscal-memory cell that holds a programmed value
    FiscalNoWrite,      ///< a fiscal-memory cell that does not take a write (stays blank)
    PpiStuckLow,        ///< a data line of the 82C55 held at 0
    PpiStuckHigh,       ///< a data line of the 82C55 held at 1
    IndicatorCell,      ///< a display-memory cell of an indicator controller with stuck bits
    IndicatorCharacter, ///< a character-generator cell of an indicator controller with stuck bits
    IndicatorDead,      ///< an indicator controller that takes nothing and reads 0xFF
    KeyStuck,           ///< a key whose contact is always closed
    KeyDead,            ///< a key whose contact never closes
    KeyPress,           ///< not a fault: the engineer presses a key (scripted, from the first scan)
    EmitterSilent,      ///< the sound emitter gives no sound
    CircuitStuckLow,    ///< a peripheral circuit output (`key`, a point name) held at logic 0
    CircuitStuckHigh,   ///< a circuit output held at logic 1
    CircuitOpen,        ///< a circuit output cut off: the point floats
    CircuitCoupled,     ///< circuit output `key` pulled low while circuit output `key2` is low
    PinShorted,         ///< a controller pin (`key2`, pin-list name) shorted to circuit output `key`
    PulseSplit,         ///< the pulse at circuit output `key` drops out in its middle
    ProbeBroken,        ///< the probe or its cable gives neither CTS nor DSR
    SelectDead,         ///< an address decoder output that never goes active (its device is deaf)
    ReadFlip,           ///< type 4: a byte of a memory that reads back with bits inverted
};

/// One named board fault. Made in tests with the static constructors (or read
/// from a fault script, FaultScript) and handed to Bench::addBoardFault; the
/// bench keeps the list and applies it to every board it puts on the bench.
/// A plain value, any thread.
///
/// Port lines are numbered port.bit (0.0 .. 3.7); the PPI's ports are 0, 1, 2
/// for A, B, C. Cell addresses count within their chip, except the bank cell
/// (address within the bank) and the ROM byte (address within the 64 KiB half).
struct BoardFault {
    BoardFaultKind kind = BoardFaultKind::PortStuckLow;
    int port = 0; ///< port lines and PPI lines
    int bit = 0;
    int port2 = 0; ///< the second line of a short
    int bit2 = 0;
    int bank = 0;         ///< BankCell: bank; RomByte: half; indicator faults: the indicator; SelectDead: the output
    quint32 address = 0;  ///< cells; ClockRegister: the register
    quint8 stuckLow = 0;  ///< bits that read 0
    quint8 stuckHigh = 0; ///< bits that read 1
    quint8 value = 0;     ///< FiscalNotBlank: what the cell holds; RomByte: the bits that flip
    QString key;          ///< key faults: the key's name ("7", "ИТОГ", "T1" …); circuit faults: the output point
    QString key2;         ///< CircuitCoupled: the other output; PinShorted: the controller pin
    int atMs = 0;         ///< KeyPress: when, after the first keyboard scan
    int holdMs = 0;       ///< KeyPress: how long

    static BoardFault portStuckLow(int port, int bit);
    static BoardFault portStuckHigh(int port, int bit);
    static BoardFault portOpen(int port, int bit);
    static BoardFault portShort(int portA, int bitA, int portB, int bitB);
    static BoardFault ramCell(quint32 address, quint8 stuckLow, quint8 stuckHigh = 0);
    static BoardFault bankCell(int bank, quint32 address, quint8 stuckLow, quint8 stuckHigh = 0);
    static BoardFault romStoredSum();
    static BoardFault romByte(int half, quint32 address, quint8 flip = 0x01);
    static BoardFault clockStopped();
    static BoardFault clockSilent();
    static BoardFault clockRegister(int reg, quint8 stuckLow, quint8 stuckHigh = 0);
    static BoardFault serialEepromCell(quint32 address, quint8 stuckLow, quint8 stuckHigh = 0);
    static BoardFault serialEepromSilent();
    static BoardFault fiscalNotBlank(quint32 address, quint8 value = 0x00);
    static BoardFault fiscalNoWrite(quint32 address);
    static BoardFault ppiStuck(int port, int bit, bool high);
    /// `position` 0..15 of the screen (display memory 0x80..0x87, 0xC0..0xC7).
    static BoardFault indicatorCell(int indicator, int position, quint8 stuckLow,
                                    quint8 stuckHigh = 0);
    /// `address` 0..63 of the character generator.
    static BoardFault indicatorCharacter(int indicator, int address, quint8 stuckLow,
                                         quint8 stuckHigh = 0);
    static BoardFault indicatorDead(int indicator);
    static BoardFault keyStuck(const QString& key);
    static BoardFault keyDead(const QString& key);
    static BoardFault keyPress(const QString& key, int atMs, int holdMs = 200);
    static BoardFault emitterSilent();
    static BoardFault circuitStuck(const QString& point, bool high);
    static BoardFault circuitOpen(const QString& point);
    static BoardFault circuitCoupled(const QString& point, const QString& other);
    static BoardFault pinShorted(const QString& pin, const QString& point);
    static BoardFault pulseSplit(const QString& point);
    static BoardFault probeBroken();
    /// Output `output` 0..7 of the address decoder (DD11 on types 0..3, DD8 on type 4).
    static BoardFault selectDead(int output);
    /// The memories a ReadFlip can sit in (its `bank`): the fiscal memory
    /// (0..0xFFFF, bank 1 from 0x8000), the data EEPROM (0..0x1FFFF), the
    /// program EEPROM (0..0x1FFFF, half 1 from 0x10000), DD5's code memory
    /// (0..0x1FFF) and the assembled cash register's memory (0..0x1FFFF).
    enum FlipMemory { FlipFiscal, FlipDataEeprom, FlipProgram, FlipDd5, FlipRegister };
    static BoardFault readFlip(FlipMemory memory, quint32 address, quint8 flip = 0x01);
    /// The script name of a FlipMemory ("fp", "eeprom", "program", "dd5", "register").
    static QString flipMemoryName(int memory);

    /// The fault as a line of the fault script ("port-low 2.3",
    /// "ram-cell addr=0x1235 low=0x04", ...); also its name in test reports.
    QString scriptLine() const;
    /// The script keyword of a kind ("port-low", "ram-cell", ...).
    static QString keyword(BoardFaultKind kind);

    /// Empty when the fault fits a board of that type, else the reason in
    /// the words of the fault script ("адрес 0x2000 вне ОЗУ (0..0x1FFF)").
    QString checkFor(int boardType) const;

    bool operator==(const BoardFault& o) const = default;
};

} // namespace sim
