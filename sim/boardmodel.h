#pragma once

#include "eeprom24c256.h"
#include "i2cdevice.h"
#include "memory.h"
#include "ppi.h"
#include "rtcchip.h"

#include <array>
#include <memory>

namespace sim {

/// The control board behind the test processor (board types 0..3) or behind
/// DD5 running the test program (board type 4): the four ports of the
/// processor socket, the external data bus with what hangs on it, and the
/// memories. Plain state with accessors, so that tests and the later
/// full-board model can reach and change every part. Owned by the Bench;
/// used under its lock.
///
/// Data bus, board types 0..3: 0x0000..0x1FFF RAM (8 KiB); 0x4000..0x5FFF the
/// 82C55 (A1..A0 decoded, so 0x4003 and 0x5FFF are both its control register);
/// 0x7FFF the main output latch (write only); 0xC000..0xFFFF a 16 KiB bank of
/// the 28С256 EEPROM, bank chosen by port 1 bit 2. Board type 4: 0x0000..0x7FFF
/// RAM (32 KiB); 0x8000..0xFFFF a window onto the device chosen by port 1 bits
/// 0..2: 0 the output latch (readable), 6 the fiscal memory (bank = port 1 bit 5),
/// 7 the data EEPROM (bank = port 1 bits 5..6). Everything else reads 0xFF
/// (indicator controllers and the other peripherals are not modelled yet).
///
/// Other memories: fiscal memory 64 KiB (types 0..3 reach it with their own
/// commands; on type 4 it is two 32 KiB banks); program memory 128 KiB in two
/// halves of 64 KiB (the board ROM of types 0..3, the program EEPROM of type 4;
/// the ROM half is port 1 bit 0 on types 0..3, port 3 bit 2 on type 4).
/// I²C: types 0..3 a PCF8583-style clock at 0xA0 and a 24С256 at 0xA2; type 4
/// a DS1307-style clock at 0xD0 and 24С256 chips at 0xA0 and 0xA2.
class BoardModel {
public:
    /// Port pins: the processor's output latch, and lines stuck by a board fault.
    struct PortLines {
        quint8 latch = 0xFF;
        quint8 stuckLow = 0;
        quint8 stuckHigh = 0;
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

    // --- ports -------------------------------------------------------------
    /// The levels on the port's pins (quasi-bidirectional: the latch, unless a line is stuck).
    quint8 readPort(int port) const;
    void writePort(int port, quint8 value, quint8 mask);
    PortLines& port(int port) { return m_ports[static_cast<size_t>(port & 3)]; }
    /// Processor reset: every port latch back to 0xFF.
    void resetPorts();

    // --- data bus ------------------------------------------------------------
    quint8 readData(quint16 address, qint64 nowUs);
    void writeData(quint16 address, quint8 value, qint64 nowUs);

    // --- memories and chips --------------------------------------------------
    Memory& ram() { return m_ram; }
    Memory& dataEeprom() { return m_dataEeprom; }
    Memory& fiscalMemory() { return m_fiscal; }
    Memory& programMemory() { return m_program; }
    Ppi& ppi() { return m_ppi; }
    quint8 outputLatch() const { return m_latch; }
    I2cBus& i2c() { return m_i2c; }
    Eeprom24c256& serialEeprom() { return *m_serialEeprom; }
    RtcChip& rtc() { return *m_rtc; }

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
    /// The bank that the port lines select now.
    int selectedBank() const;
    /// The program memory half that the port lines select now (0 or 1).
    int romHalf() const;

    /// Stores the checksums in the program memory so that a ROM test passes:
    /// the sum over the first 8 KiB of both halves at half 1 0x1FFE..0x1FFF, and
    /// `controllerSum` plus the sum over 0x2000..0xFFFF of both halves at half
    /// 1 0xFFFE..0xFFFF (high byte first; see TestProcessor for the sum commands).
    void sealProgramChecksum(quint16 controllerSum);

private:
    int m_boardType;
    std::array<PortLines, 4> m_ports{};
    Memory m_ram;
    Memory m_dataEeprom;
    Memory m_fiscal;
    Memory m_program;
    Ppi m_ppi;
    quint8 m_latch = 0xFF;
    I2cBus m_i2c;
    std::unique_ptr<Eeprom24c256> m_serialEeprom;
    std::unique_ptr<Eeprom24c256> m_secondEeprom;
    std::unique_ptr<RtcChip> m_rtc;
};

} // namespace sim
