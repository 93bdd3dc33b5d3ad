#pragma once

#include "checkresult.h"
#include "serialline.h"

#include <QString>
#include <array>
#include <memory>
#include <span>

namespace kia {

class BenchContext;

/// Command codes of the 7-byte frames.
enum CommandCode : quint8 {
    CmdSelectMode = 0,
    CmdGeneratePulses = 1,
    CmdReadPort = 2,
    CmdWritePort = 3,
    CmdGeneratePinPulses = 6,
    CmdReadMemory = 7,
    CmdWriteMemory = 8,
    CmdSetMemoryMap = 10,
    CmdStartMemoryPass = 11,
    CmdGetMemoryPassResult = 12,
    CmdCheckBankPattern = 14,
    CmdSumMemory = 15,
    CmdSetSerialDevice = 16,
    CmdFillBank = 17,
    CmdWriteDevice = 18,
    CmdFillDevice = 19,
    CmdReadDevice = 20,
    CmdCheckDevice = 21,
    CmdStartMemoryCheck = 22,
    CmdReadFiscalBlock = 23,
    CmdWriteCellPattern = 24,
    CmdSumMemoryRange = 25,
    CmdSumMemoryRange4 = 27,
    CmdWriteProgramPage = 28,
    CmdReadProgramPage = 29,
    CmdEraseProgramMemory = 30,
    CmdWriteDataPage = 32,
    CmdReadDataPage = 33,
};

/// Long-frame commands of the programmer.
enum LongCommand : quint8 { LongTransfer = 16, LongControl = 32 };

/// Standard time-outs, set at open and before every command frame.
SerialTimeouts standardTimeouts();

/// Builds the 7-byte command frame for a board type.
std::array<quint8, 7> buildCommandFrame(int boardType, quint8 code, quint8 a, quint8 b, quint8 c);
/// Builds a long request: n + 1, command, data, checksum (plain for 16 and 32, inverted otherwise).
QByteArray buildLongRequest(quint8 command, std::span<const quint8> data);

/// What the link has done since it was made (or reset): frames sent (command
/// and long frames), long frames sent again after a failed try, and frames
/// whose exchange failed (no echo, wrong acknowledgement, no reply).
struct LinkStatistics {
    quint64 frames = 0;
    quint64 retries = 0;
    quint64 failures = 0;
};

/// The programmer link: the one open port and every exchange over it.
/// Every operation leaves ctx.linkStatus (long frames return their own code).
/// Used from the UI thread, or from a service worker while the UI waits.
class LinkPort {
public:
    explicit LinkPort(BenchContext& ctx);
    ~LinkPort();

    // --- port ---------------------------------------------------------
    bool OpenLinkPort(int port, qint32 speed);
    bool EnsureLinkPort();
    bool SetLinkSpeed(qint32 speed);
    void CloseLinkPort();
    /// Number of the open port, 0 when none.
    int openPort() const { return m_openPort; }
    SerialLine* line() const { return m_line.get(); }
    /// Attaches an already made line as port `port` (the CLI's explicit device
    /// paths); it is opened and configured like OpenLinkPort does.
    bool attachLine(std::unique_ptr<SerialLine> line, int port, qint32 speed);
    /// Every byte both ways goes to this sink while it is set (the CLI's --trace).
    void setTraceSink(std::function<void(const QString&)> sink);
    const LinkStatistics& statistics() const { return m_stats; }
    void resetStatistics() { m_stats = LinkStatistics(); }

    // --- command frames -------------------------------------------------
    bool SendCommandFrame(quint8 code, quint8 a, quint8 b, quint8 c);

    bool SelectMode(quint8 mode);
    bool GeneratePulses(quint8 valueA, quint8 valueB, quint16 w0, quint16 w1, quint16 w2,
                        quint16 w3);
    /// 0..255, or 0xFFFF on any failure.
    quint16 ReadPort(quint8 port);
    bool WritePort(quint8 port, quint8 value, quint8 mask);
    bool GeneratePinPulses(quint8 group, quint8 pin, quint16 word0, quint16 word1, quint16 word2);
    bool ReadMemory(quint16 address, std::span<quint8> buffer);
    bool WriteMemory(quint16 address, std::span<const quint8> buffer);
    bool WriteMemoryByte(quint16 address, quint8 value);
    /// 0..255, or 0xFFFF on any failure.
    quint16 ReadMemoryByte(quint16 address);
    bool SetMemoryMap(const std::array<quint16, 5>& words, quint8 kind);
    bool StartMemoryPass(quint8 pass);
    bool GetMemoryPassResult(quint8 pass, CheckResult& result);
    bool CheckBankPattern(quint8 pattern, CheckResult& result);
    bool SumMemory(quint16 length, CheckResult& result);
    bool SetSerialDevice(const std::array<quint8, 7>& p);
    bool FillBank(quint8 pattern, quint8 bank, bool& failed);
    bool WriteDevice(quint16 address, std::span<const quint8> buffer);
    bool FillDevice(quint8 pattern, quint16 lastAddress);
    bool ReadDevice(quint16 address, std::span<quint8> buffer);
    bool CheckDevice(quint8 pattern, quint16 startAddress, ShortResult& result);
    bool StartMemoryCheck(quint16 startAddress, quint8 pattern);
    /// Collects the short result that the peer sends after StartMemoryCheck (no frame).
    bool ReadCheckResult(ShortResult& result);
    bool ReadFiscalBlock(quint16 address, std::span<quint8> buffer);
    bool WriteCellPattern(quint16 address, quint8 value, quint8& result);
    /// Code 25 on board types 0..3, 27 on board type 4.
    bool SumMemoryRange(quint16 value, CheckResult& result);
    bool WriteProgramPage(quint16 address, quint8 bank, std::span<const quint8, 128> page,
                          quint8& result);
    bool ReadProgramPage(quint16 address, quint8 bank, std::span<quint8, 128> page);
    bool EraseProgramMemory();
    bool WriteDataPage(quint16 address, quint8 bank, std::span<const quint8, 128> page,
                       quint8& result);
    bool ReadDataPage(quint16 address, quint8 bank, std::span<quint8, 128> page);
    /// ReadPort(0); sets the peer-answered flag when it answers.
    bool PeerPresent();

    // --- long frames (programmer, board type 4) --------------------------
    /// Sends n data bytes from the shared buffer; on success the buffer holds
    /// the reply (length byte, data). Returns a LongFrameResult.
    quint8 SendLongFrame(quint8 command, int n, int timeoutMs);
    quint8 ControlLine(quint8 value);
    quint8 ProgrammingEnable(bool& accepted);
    quint8 ChipErase();
    quint8 BeginPageWrite(quint16 address);
    quint8 BeginPageRead(quint16 address, quint8 count);
    quint8 SendChunk(std::span<const quint8> data, quint8 count);
    quint8 ReceiveChunk(quint8 count);
    quint8 ReadControllerIdentity(QString& identity);

    // --- cash register frames --------------------------------------------
    bool CashRegisterPing();
    /// Reads the 69-byte reply into buffer (at least 69 bytes).
    bool CashRegisterRead(quint8 kind, quint16 address, std::span<quint8> buffer);
    bool CashRegisterSetSpeed(qint32 speed);

private:
    bool sendCommandFrame(quint8 code, quint8 a, quint8 b, quint8 c);
    quint8 sendLongFrame(quint8 command, int n, int timeoutMs);
    bool setStatus(quint8 status);
    bool writeExact(const quint8* data, qint64 n);
    bool readExact(quint8* data, qint64 n);
    bool writeWord(quint16 w);
    bool readSumAnswer(quint8 expected);
    bool readCheckReply(CheckResult& result);
    bool readShortReply(ShortResult& result);
    bool readBlockWithSum(std::span<quint8> buffer);
    bool writePage(quint8 code, quint16 address, quint8 bank, std::span<const quint8, 128> page,
                   quint8& result, quint8 mismatchStatus);
    bool readPage(quint8 code, quint16 address, quint8 bank, std::span<quint8, 128> page);
    bool bankOrPassResult(quint8 code, quint8 number, CheckResult& result);
    quint8 transferWithRetries(int n, int pauseMs);
    quint8 controlLineTries(quint8 dataByte);
    bool purgeQueues();

    BenchContext& m_ctx;
    std::unique_ptr<SerialLine> m_line;
    int m_openPort = 0;
    std::function<void(const QString&)> m_trace;
    LinkStatistics m_stats;
};

} // namespace kia
