#pragma once

#include "framefinder.h"
#include "reply.h"

#include <QtGlobal>
#include <array>

namespace sim {

class BoardModel;
class I2cDevice;
class PeerLink;

/// The firmware that answers the 7-byte command frames: the test processor in
/// the DD3 socket (board types 0..3, fillers FF 00, 9600 baud) or the test
/// program in DD5 (board type 4, fillers 0F 0F, reached through the programmer).
/// It acknowledges every frame with its byte 6, takes the follow-up data the
/// command carries and answers exactly as the command table fixes it, working
/// on the BoardModel. Owned by the Bench; called under its lock.
///
/// Where the firmware's own algorithm is free, it does this (all fills and
/// checks use expectedByte()):
/// - StartMemoryPass p writes pattern p over the RAM window (memory-map words
///   0/1; the family's RAM when the length word is 0), reads it back and keeps
///   the first bad cell; GetMemoryPassResult p answers it (running pass p first
///   if another pass ran last): status, address, data 1 = byte read, data 2 = byte expected.
/// - CheckBankPattern compares the bank window (words 2/3, or the family's
///   window at 0xC000/16 KiB or 0x8000/32 KiB) through the data bus with the
///   pattern by offset in the window; a failure names the offset, the byte read
///   and the byte expected.
/// - FillBank fills a bank with the pattern by offset (types 0..3: bank 64 or
///   more means the bank chosen by port 1 bit 2; type 4: the device chosen by
///   port 1 bits 0..2) and on type 4 answers 0 twice when every cell reads back,
///   1 twice otherwise (also when no bank memory is selected).
/// - SumMemory n: value = sum of bytes 0..n-3 of the ROM half, data 1/2 = bytes
///   n-2 and n-1. SumMemoryRange s: value = s + sum of 0x2000..0xFFFD of the
///   half, data 1/2 = bytes 0xFFFE and 0xFFFF (25 on types 0..3, 27 on type 4;
///   the other family's code is an unknown command).
/// - SetSerialDevice chooses the I²C chip by p2; a missing chip does not
///   acknowledge: WriteDevice answers result 1 (types 0..3), reads give 0xFF,
///   CheckDevice fails at the start address.
/// - StartMemoryCheck compares the fiscal memory from the start address to
///   0xFFFF and sends the short result 300 ms later (setMemoryCheckDelayMs).
/// - WriteCellPattern writes one fiscal-memory cell and answers 0 twice when it
///   reads back, 1 twice otherwise.
/// - Page writes answer the sum of the 128 bytes received twice, then 1 twice
///   when the page was written and reads back (0 when the PC's sum byte did
///   not match, nothing was written, or the memory did not take it). Program
///   pages go to the program memory half `bank`; data pages to
///   BoardModel::dataBank(bank) at the address within the bank (none selected:
///   writes answer 0, reads give 0xFF).
/// - Passed check results carry the value 0 and data bytes 0.
/// - EraseProgramMemory blanks the program memory and answers 0 twice.
/// - GeneratePulses writes the idle value (valueB) to the address in word 0 at
///   the end; both pulse commands are recorded for the logic probe. Word 1
///   is the pulse's active time (0.2 ms units on types 0..3, 0.1 ms on type
///   4); types 0..3 wait word 3 units before it, type 4 starts at once (the
///   workstation adds 0.3 ms for the part it misses). The probe sees it on a
///   pulse output.
/// - Unused and unknown codes are acknowledged and do nothing.
class TestProcessor {
public:
    struct MemoryMap {
        std::array<quint16, 5> words{};
        quint8 kind = 0;
        int count = 0; ///< how many SetMemoryMap commands came
    };
    struct PulseRequest {
        quint8 valueA = 0;
        quint8 valueB = 0;
        std::array<quint16, 4> words{};
        qint64 atUs = 0;
        int count = 0;
    };
    struct PinPulseRequest {
        quint8 group = 0;
        quint8 pin = 0;
        std::array<quint16, 3> words{};
        qint64 atUs = 0;
        int count = 0;
    };

    TestProcessor(BoardModel& board, PeerLink& link);

    /// Board types 0..3: a byte straight from the cable.
    void receiveByte(quint8 byte, qint64 nowUs);
    /// Drops a partial frame and a data phase in progress.
    void resetFraming();
    /// Processor restart: ports back to 0xFF and the firmware's state cleared.
    void reset();

    // --- used by the programmer on board type 4 -----------------------------
    bool inDataPhase() const { return m_phase != Phase::None; }
    /// A frame already validated by the caller's frame finder.
    void handleFrame(const quint8* frame);
    void dataByte(quint8 byte);

    quint8 filler1() const { return m_filler1; }
    quint8 filler2() const { return m_filler2; }

    // --- what the firmware was asked, for tests and the instruments ----------
    quint8 mode() const { return m_mode; }
    const MemoryMap& memoryMap() const { return m_map; }
    const PulseRequest& lastPulses() const { return m_pulses; }
    const PinPulseRequest& lastPinPulses() const { return m_pinPulses; }
    const std::array<quint8, 7>& serialDeviceParams() const { return m_deviceParams; }
    quint64 frameCount() const { return m_frames; }
    void setMemoryCheckDelayMs(int ms) { m_checkDelayUs = static_cast<qint64>(ms) * 1000; }

private:
    bool type4Board() const;
    enum class Phase {
        None,
        PulseWords,
        PinPulseWords,
        MemoryData,
        MapWords,
        DeviceParams,
        DeviceData,
        ProgramPage,
        DataPage
    };
    struct PassResult {
        int pass = -1;
        bool passed = true;
        quint16 address = 0;
        quint8 read = 0;
        quint8 expected = 0;
    };

    void expect(Phase phase, int count);
    void finishDataPhase();
    void sendAck();
    void send(bool final = true);
    void addCheckResult(bool passed, quint16 value, quint8 data1, quint8 data2);
    void addShortResult(bool passed, quint16 value);
    void addBlockWithSum(const quint8* data, int n);
    quint16 frameAddress() const { return static_cast<quint16>(m_frame[1] | (m_frame[2] << 8)); }
    qint64 now() const;
    I2cDevice* device() const;

    // commands that work on the memories (testprocessormemory.cpp)
    void readMemory();
    void startMemoryPass(quint8 pass);
    void memoryPassResult(quint8 pass);
    void checkBankPattern(quint8 pattern);
    void fillBank(quint8 pattern, quint8 bank);
    void sumMemory(quint16 length);
    void sumMemoryRange(quint16 seed);
    void finishWriteDevice();
    void readDevice();
    void fillDevice(quint8 pattern, quint16 last);
    void checkDevice(quint8 pattern, quint16 start);
    void startMemoryCheck(quint16 start, quint8 pattern);
    void readFiscalBlock();
    void writeCellPattern();
    void finishProgramPage();
    void readProgramPage();
    void eraseProgramMemory();
    void finishDataPage();
    void readDataPage();

    BoardModel& m_board;
    PeerLink& m_link;
    FrameFinder m_finder;
    Reply m_reply;
    quint8 m_filler1;
    quint8 m_filler2;

    Phase m_phase = Phase::None;
    int m_need = 0;
    int m_have = 0;
    std::array<quint8, 260> m_data{};
    std::array<quint8, 7> m_frame{};
    qint64 m_lastByteUs = 0;
    bool m_haveLastByte = false;

    quint8 m_mode = 0;
    MemoryMap m_map;
    PulseRequest m_pulses;
    PinPulseRequest m_pinPulses;
    std::array<quint8, 7> m_deviceParams{};
    quint8 m_deviceAddress = 0;
    PassResult m_pass;
    qint64 m_checkDelayUs = 300'000;
    quint64 m_frames = 0;
};

} // namespace sim
