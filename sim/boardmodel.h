#pragma once

#include "eeprom24c256.h"
#include "i2cdevice.h"
#include "indicatorcontroller.h"
#include "keyboardmatrix.h"
#include "memory.h"
#include "ppi.h"
#include "rtcchip.h"

#include <array>
#include <memory>
#include <vector>

namespace sim {

struct BoardFault;

/// The control board behind the test processor (board types 0..3) or behind
/// DD5 running the test program (board type 4): the four ports of the
/// processor socket with their wiring, the external data bus with what hangs
/// on it, and the memories. Plain state with accessors, so that tests can
/// reach and change every part. Owned by the Bench; used under its lock.
///
/// Data bus, board types 0..3: 0x0000..0x1FFF RAM (8 KiB); 0x4000..0x5FFF the
/// 82C55 (A1..A0 decoded, so 0x4003 and 0x5FFF are both its control register);
/// 0x7FFF the main output latch (write only); 0xC000..0xFFFF a 16 KiB bank of
/// the 28С256 EEPROM, bank chosen by port 1 bit 2. Board type 4: 0x0000..0x7FFF
/// RAM (32 KiB); 0x8000..0xFFFF a window onto the device chosen by port 1 bits
/// 0..2: 0 the output latch (readable), 6 the fiscal memory (bank = port 1 bit 5),
/// 7 the data EEPROM (bank = port 1 bits 5..6), 3 and 4 the registers of the
/// cashier's and the customer's indicator (A1 read, A0 data: 0x8000 command,
/// 0x8001 data, 0x8003 data read, 0x8002 status). Types 0..3 have the
/// indicators at 0x8000..0x9FFF and 0xA000..0xBFFF (A9 read, A8 data: 0x8000
/// command, 0x8100 data, 0x8300 data read, 0x8200 status). Everything else
/// reads 0xFF (the other peripherals are not modelled yet).
///
/// Other memories: fiscal memory 64 KiB (types 0..3 reach it with their own
/// commands; on type 4 it is two 32 KiB banks); program memory 128 KiB in two
/// halves of 64 KiB (the board ROM of types 0..3, the program EEPROM of type 4;
/// the ROM half is port 1 bit 0 on types 0..3, port 3 bit 2 on type 4).
/// I²C: types 0..3 a PCF8583-style clock at 0xA0 and a 24С256 at 0xA2; type 4
/// a DS1307-style clock at 0xD0 and 24С256 chips at 0xA0 and 0xA2.
///
/// Port wiring. Each of the 32 lines (numbered port × 8 + bit) runs from the
/// processor pin to the board. The board side of a line carries the pin's
/// latch, pulled low by whatever holds it low: the board's input circuits
/// (types 0..3: port 1 bit 6 and port 3 bit 3; type 4: port 3 bit 3; the
/// older revision of types 0..3 also straps port 3 bit 2 to ground), a line
/// stuck low or shorted to a low line (a low driver wins), and, while port 3
/// bit 7 (the read strobe) is low, the data bus device at the address on ports
/// 2 and 0, which drives port 0 (on types 0..3 the 28С256 only while port 1
/// bit 5, its enable, is low). A line stuck high stays high. The processor
/// reads its pins: the board side of the line, except for a line cut open,
/// where the pin sees only itself: ports 1..3 (quasi-bidirectional, internal
/// pull-ups) read their own latch, port 0 (open drain, no pull-up of its own)
/// floats and reads 0. The board side of a cut line floats high. Selections
/// made by port lines (ROM half, bank, window) follow the board side.
class BoardModel {
public:
    /// Port latch and the faults of the lines (bit masks of the port).
    struct PortLines {
        quint8 latch = 0xFF;
        quint8 stuckLow = 0;
        quint8 stuckHigh = 0;
        quint8 open = 0; ///< cut between the processor pin and the board
    };

    /// A bank of a memory as a window: `size` bytes from `base`.
    struct Bank {
        Memory* memory = nullptr;
        quint32 base = 0;
        quint32 size = 0;
        bool isValid() const { return memory != nullptr; }
    };

    explicit BoardModel(int boardType);

    int boardType() const { return m_boardType; }
    bool isProgrammerBoard() const { return m_boardType == 4; }

    // --- ports (boardports.cpp) ----------------------------------------------
    /// What the processor reads on the port's pins (see the class comment).
    quint8 readPort(int port);
    void writePort(int port, quint8 value, quint8 mask);
    PortLines& port(int port) { return m_ports[static_cast<size_t>(port & 3)]; }
    /// Processor reset: every port latch back to 0xFF.
    void resetPorts();
    /// The board side of the port's lines: what the board's circuits see.
    quint8 boardLevel(int port) const;
    /// Holds a line low from the board (an input circuit, a strap) or lets it go.
    void setLineHeldLow(int port, int bit, bool held);
    /// The lines held low by the board, one bit per line (port × 8 + bit).
    quint32 linesHeldLow() const { return m_heldLow; }
    /// Shorts two lines together (line = port × 8 + bit).
    void addShort(int lineA, int lineB);
    /// The older revision of board types 0..3: port 3 bit 2 strapped to
    /// ground, which the workstation reads as the board-revision flag.
    void setOlderRevision(bool older);
    bool isOlderRevision() const { return m_olderRevision; }

    // --- data bus ------------------------------------------------------------
    quint8 readData(quint16 address, qint64 nowUs);
    void writeData(quint16 address, quint8 value, qint64 nowUs);

    // --- memories and chips --------------------------------------------------
    Memory& ram() { return m_ram; }
    Memory& dataEeprom() { return m_dataEeprom; }
    Memory& fiscalMemory() { return m_fiscal; }
    Memory& programMemory() { return m_program; }
    Ppi& ppi() { return m_ppi; }
    /// Indicator controller 0 (the cashier's) or 1 (the customer's).
    IndicatorController& indicator(int i) { return m_indicators[static_cast<size_t>(i & 1)]; }
    /// The keyboard: types 0..3 columns on PPI port C bits 0..5 (active low),
    /// rows on port B bits 0..6; type 4 columns on the low address byte of a
    /// read in window 0 (active low), rows on data bits 0..4.
    KeyboardMatrix& keyboard() { return m_keyboard; }
    /// The sound emitter (port C bit 7 on types 0..3, pin 7 of group 1 on type 4).
    SoundEmitter& sound() { return m_sound; }
    quint8 outputLatch() const { return m_latch; }
    /// Type 4: the input buffer DD11 that window 0 reads in bits 5..7 (the
    /// paper sensor, the scanner's ready line, the mains signal); high while
    /// nothing drives them.
    void setControllerInputs(quint8 bits5to7) { m_controllerInputs = bits5to7 | 0x1F; }
    quint8 controllerInputs() const { return m_controllerInputs; }
    I2cBus& i2c() { return m_i2c; }
    Eeprom24c256& serialEeprom() { return *m_serialEeprom; }
    RtcChip& rtc() { return *m_rtc; }
    /// Bus addresses of the clock chip and of the 24С256 the board tests use.
    quint8 rtcAddress() const { return isProgrammerBoard() ? 0xD0 : 0xA0; }
    quint8 serialEepromAddress() const { return 0xA2; }

    /// Default RAM window (start, length) of the family.
    quint16 ramStart() const { return 0; }
    quint32 ramLength() const { return isProgrammerBoard() ? 0x8000 : 0x2000; }
    /// Size of one bank of the banked memories: 16 KiB (types 0..3) or 32 KiB (type 4).
    quint32 bankSize() const { return isProgrammerBoard() ? 0x8000 : 0x4000; }
    /// Where the bank window appears on the data bus: 0xC000 or 0x8000.
    quint16 bankWindowStart() const { return isProgrammerBoard() ? 0x8000 : 0xC000; }
    /// Bank `bank` of the banked memory in use: on type 4 the device chosen by
    /// port 1 bits 0..2 (6 fiscal memory, 7 data EEPROM; anything else: none),
    /// on types 0..3 the 28С256.
    Bank dataBank(int bank);
    /// The bank memory behind the data-bus addresses [address, address +
    /// length) when all of them lie in the bank window and the port lines
    /// select a bank memory there; *offset gets the offset of `address` in
    /// the bank. Invalid otherwise (read through readData then).
    Bank windowBank(quint16 address, quint32 length, quint32* offset);
    /// The bank that the port lines select now.
    int selectedBank() const;
    /// The program memory half that the port lines select now (0 or 1).
    int romHalf() const;

    /// Stores the checksums in the program memory so that a ROM test passes:
    /// the sum over the first 8 KiB of both halves at half 1 0x1FFE..0x1FFF, and
    /// `controllerSum` plus the sum over 0x2000..0xFFFF of both halves at half
    /// 1 0xFFFE..0xFFFF (high byte first; see TestProcessor for the sum commands).
    void sealProgramChecksum(quint16 controllerSum);

    // --- board faults (boardfaults.cpp) ----------------------------------------
    /// Puts a board fault on this board (see BoardFault for the kinds).
    void applyFault(const BoardFault& fault);
    /// Takes every board fault off: line faults and shorts, stuck cells of
    /// every memory, the clock's faults, chips back on the I²C bus, PPI lines,
    /// and ROM bytes changed by a fault back to what they were.
    void clearFaults();
    /// Whether output 0..7 of the address decoder is dead (SelectDead).
    bool isSelectDead(int output) const { return (m_deadSelects >> (output & 7)) & 1; }

private:
    struct RomPatch {
        quint32 address;
        quint8 original;
    };
    quint32 latches() const;
    quint32 settle(quint32 net) const;
    quint32 boardLines() const;
    quint8 busByte(quint16 address);
    /// The indicator register an access reaches, or -1: *ind, *reg (A1/A9 read, A0/A8 data).
    bool indicatorRegister(quint16 address, int* ind, int* reg) const;
    void patchRom(quint32 address, quint8 flip);

    int m_boardType;
    std::array<PortLines, 4> m_ports{};
    quint32 m_heldLow = 0;
    std::vector<std::array<quint8, 2>> m_shorts;
    bool m_olderRevision = false;
    Memory m_ram;
    Memory m_dataEeprom;
    Memory m_fiscal;
    Memory m_program;
    Ppi m_ppi;
    std::array<IndicatorController, 2> m_indicators{};
    KeyboardMatrix m_keyboard;
    SoundEmitter m_sound;
    quint8 m_latch = 0xFF;
    quint8 m_controllerInputs = 0xFF;
    I2cBus m_i2c;
    std::unique_ptr<Eeprom24c256> m_serialEeprom;
    std::unique_ptr<Eeprom24c256> m_secondEeprom;
    std::unique_ptr<RtcChip> m_rtc;
    std::vector<RomPatch> m_romPatches;
    quint8 m_deadSelects = 0;
    /// The device at `address` hangs on a dead decoder output.
    bool deafAt(quint16 address) const;
};

} // namespace sim
