// The command operations of the 7-byte frame protocol. Each sends its frame,
// then moves exactly the bytes its command fixes, setting the link status to
// the phase it is in (1 before a write, 2 before a read, 3 before a check) and
// to 0 only when the whole command has succeeded.

#include "core/benchcontext.h"
#include "core/clock.h"
#include "linkport.h"
#include "linkstatus.h"

namespace kia {

namespace {
quint8 byteSum(const quint8* data, qint64 n)
{
    unsigned sum = 0;
    for (qint64 i = 0; i < n; ++i)
        sum += data[i];
    return static_cast<quint8>(sum);
}
quint8 lo(quint16 w) { return static_cast<quint8>(w & 0xFF); }
quint8 hi(quint16 w) { return static_cast<quint8>(w >> 8); }
} // namespace

bool LinkPort::writeWord(quint16 w)
{
    const quint8 bytes[2] = {lo(w), hi(w)};
    return writeExact(bytes, 2);
}

bool LinkPort::readSumAnswer(quint8 expected)
{
    quint8 answer = 0;
    if (!readExact(&answer, 1))
        return false;
    m_ctx.linkStatus = LinkCheckError;
    return answer == expected;
}

bool LinkPort::readCheckReply(CheckResult& result)
{
    quint8 r[6];
    if (!readExact(r, 6))
        return false;
    m_ctx.linkStatus = LinkCheckError;
    if (byteSum(r, 5) != r[5])
        return false;
    result.passed = r[0] == 0;
    result.value = static_cast<quint16>(r[1] | (r[2] << 8));
    result.data1 = r[3];
    result.data2 = r[4];
    return setStatus(LinkOk);
}

bool LinkPort::readShortReply(ShortResult& result)
{
    quint8 r[4];
    if (!readExact(r, 4))
        return false;
    m_ctx.linkStatus = LinkCheckError;
    if (byteSum(r, 3) != r[3])
        return false;
    result.passed = r[0] == 0;
    result.value = static_cast<quint16>(r[1] | (r[2] << 8));
    return setStatus(LinkOk);
}

// Reads length data bytes and their plain sum into a caller's buffer.
bool LinkPort::readBlockWithSum(std::span<quint8> buffer)
{
    quint8 block[256];
    const qint64 n = static_cast<qint64>(buffer.size());
    if (!readExact(block, n + 1))
        return false;
    m_ctx.linkStatus = LinkCheckError;
    if (byteSum(block, n) != block[n])
        return false;
    std::copy(block, block + n, buffer.begin());
    return setStatus(LinkOk);
}

bool LinkPort::SelectMode(quint8 mode) { return SendCommandFrame(CmdSelectMode, mode, 0, 0); }

bool LinkPort::GeneratePulses(quint8 valueA, quint8 valueB, quint16 w0, quint16 w1, quint16 w2,
                              quint16 w3)
{
    if (!SendCommandFrame(CmdGeneratePulses, valueA, valueB, 0))
        return false;
    const quint16 words[4] = {w0, w1, w2, w3};
    unsigned sum = 0;
    for (quint16 w : words) {
        if (!writeWord(w))
            return false;
        sum += lo(w) + hi(w);
    }
    return readSumAnswer(static_cast<quint8>(sum)) && setStatus(LinkOk);
}

quint16 LinkPort::ReadPort(quint8 port)
{
    if (!SendCommandFrame(CmdReadPort, port, 0, 0))
        return 0xFFFF;
    quint8 r[2];
    if (!readExact(r, 2))
        return 0xFFFF;
    m_ctx.linkStatus = LinkCheckError;
    if (r[0] != r[1])
        return 0xFFFF;
    setStatus(LinkOk);
    return r[0];
}

bool LinkPort::WritePort(quint8 port, quint8 value, quint8 mask)
{
    if (!SendCommandFrame(CmdWritePort, port, value, mask))
        return false;
    if (port == 1)
        m_ctx.port1Shadow = static_cast<quint8>((m_ctx.port1Shadow & ~mask) | (value & mask));
    return true;
}

bool LinkPort::GeneratePinPulses(quint8 group, quint8 pin, quint16 word0, quint16 word1,
                                 quint16 word2)
{
    const quint8 a = static_cast<quint8>(group * 16 + (pin & 0x0F));
    if (!SendCommandFrame(CmdGeneratePinPulses, a, lo(word0), hi(word0)))
        return false;
    if (!writeWord(word1) || !writeWord(word2))
        return false;
    const quint8 sum = static_cast<quint8>(lo(word1) + hi(word1) + lo(word2) + hi(word2));
    return readSumAnswer(sum) && setStatus(LinkOk);
}

bool LinkPort::ReadMemory(quint16 address, std::span<quint8> buffer)
{
    // The length travels in one byte: 1..255 bytes a frame.
    if (buffer.empty() || buffer.size() > 255)
        return setStatus(LinkWriteError);
    if (!SendCommandFrame(CmdReadMemory, lo(address), hi(address),
                          static_cast<quint8>(buffer.size())))
        return false;
    return readBlockWithSum(buffer);
}

bool LinkPort::WriteMemory(quint16 address, std::span<const quint8> buffer)
{
    if (buffer.empty() || buffer.size() > 255)
        return setStatus(LinkWriteError);
    const qint64 n = static_cast<qint64>(buffer.size());
    if (!SendCommandFrame(CmdWriteMemory, lo(address), hi(address), static_cast<quint8>(n)))
        return false;
    if (!writeExact(buffer.data(), n))
        return false;
    return readSumAnswer(byteSum(buffer.data(), n)) && setStatus(LinkOk);
}

bool LinkPort::WriteMemoryByte(quint16 address, quint8 value)
{
    const quint8 b[1] = {value};
    return WriteMemory(address, b);
}

quint16 LinkPort::ReadMemoryByte(quint16 address)
{
    quint8 b[1] = {0};
    if (!ReadMemory(address, b))
        return 0xFFFF;
    return b[0];
}

bool LinkPort::SetMemoryMap(const std::array<quint16, 5>& words, quint8 kind)
{
    if (!SendCommandFrame(CmdSetMemoryMap, kind, 0, 0))
        return false;
    unsigned sum = 0;
    for (quint16 w : words) {
        if (!writeWord(w))
            return false;
        sum += lo(w) + hi(w);
    }
    return readSumAnswer(static_cast<quint8>(sum)) && setStatus(LinkOk);
}

bool LinkPort::StartMemoryPass(quint8 pass)
{
    return SendCommandFrame(CmdStartMemoryPass, pass, 0, 0);
}

// Codes 12 and 14: the peer may think for up to two seconds before it answers;
// the longer read stays in force until the next frame restores the standard one.
bool LinkPort::bankOrPassResult(quint8 code, quint8 number, CheckResult& result)
{
    if (!SendCommandFrame(code, number, 0, 0))
        return false;
    SerialTimeouts t = standardTimeouts();
    t.readTotalConstant = 2000;
    m_ctx.linkStatus = LinkPortError;
    if (!m_line->setTimeouts(t))
        return false;
    return readCheckReply(result);
}

bool LinkPort::GetMemoryPassResult(quint8 pass, CheckResult& result)
{
    return bankOrPassResult(CmdGetMemoryPassResult, pass, result);
}

bool LinkPort::CheckBankPattern(quint8 pattern, CheckResult& result)
{
    return bankOrPassResult(CmdCheckBankPattern, pattern, result);
}

bool LinkPort::SumMemory(quint16 length, CheckResult& result)
{
    if (!SendCommandFrame(CmdSumMemory, hi(length), lo(length), 0))
        return false;
    return readCheckReply(result);
}

bool LinkPort::SetSerialDevice(const std::array<quint8, 7>& p)
{
    if (!SendCommandFrame(CmdSetSerialDevice, p[0], p[1], p[2]))
        return false;
    if (!isProgrammerBoard(m_ctx.boardType))
        return true;
    const quint8 more[4] = {p[3], p[5], p[4], p[6]};
    if (!writeExact(more, 4))
        return false;
    return readSumAnswer(static_cast<quint8>(p[3] + p[4] + p[5] + p[6])) && setStatus(LinkOk);
}

bool LinkPort::FillBank(quint8 pattern, quint8 bank, bool& failed)
{
    failed = false;
    if (!SendCommandFrame(CmdFillBank, pattern, bank, 0))
        return false;
    if (!isProgrammerBoard(m_ctx.boardType))
        return true;
    m_ctx.clock.sleepMs(2000);
    quint8 r[2];
    if (!readExact(r, 2))
        return false;
    m_ctx.linkStatus = LinkEraseMismatch;
    if (r[0] != r[1])
        return false;
    failed = r[0] != 0;
    return setStatus(LinkOk);
}

bool LinkPort::WriteDevice(quint16 address, std::span<const quint8> buffer)
{
    if (buffer.empty() || buffer.size() > 255)
        return setStatus(LinkWriteError);
    if (!SendCommandFrame(CmdWriteDevice, lo(address), hi(address),
                          static_cast<quint8>(buffer.size())))
        return false;
    // The peer writes each byte into the serial memory before it takes the next.
    for (quint8 b : buffer) {
        if (!writeExact(&b, 1))
            return false;
        m_ctx.clock.sleepMs(15);
    }
    if (!readSumAnswer(byteSum(buffer.data(), static_cast<qint64>(buffer.size()))))
        return false;
    if (isProgrammerBoard(m_ctx.boardType)) {
        m_ctx.deviceResult = 0;
        return setStatus(LinkOk);
    }
    quint8 r[2];
    if (!readExact(r, 2))
        return false;
    m_ctx.linkStatus = LinkCheckError;
    if (r[0] != r[1])
        return false;
    m_ctx.deviceResult = r[0];
    return setStatus(LinkOk);
}

bool LinkPort::FillDevice(quint8 pattern, quint16 lastAddress)
{
    return SendCommandFrame(CmdFillDevice, pattern, lo(lastAddress), hi(lastAddress));
}

bool LinkPort::ReadDevice(quint16 address, std::span<quint8> buffer)
{
    if (buffer.empty() || buffer.size() > 255)
        return setStatus(LinkWriteError);
    if (!SendCommandFrame(CmdReadDevice, lo(address), hi(address),
                          static_cast<quint8>(buffer.size())))
        return false;
    return readBlockWithSum(buffer);
}

bool LinkPort::CheckDevice(quint8 pattern, quint16 startAddress, ShortResult& result)
{
    if (!SendCommandFrame(CmdCheckDevice, pattern, lo(startAddress), hi(startAddress)))
        return false;
    m_ctx.clock.sleepMs(6500);
    return readShortReply(result);
}

bool LinkPort::StartMemoryCheck(quint16 startAddress, quint8 pattern)
{
    return SendCommandFrame(CmdStartMemoryCheck, lo(startAddress), hi(startAddress), pattern);
}

bool LinkPort::ReadCheckResult(ShortResult& result) { return readShortReply(result); }

bool LinkPort::ReadFiscalBlock(quint16 address, std::span<quint8> buffer)
{
    if (buffer.empty() || buffer.size() > 255)
        return setStatus(LinkWriteError);
    if (!SendCommandFrame(CmdReadFiscalBlock, lo(address), hi(address),
                          static_cast<quint8>(buffer.size())))
        return false;
    return readBlockWithSum(buffer);
}

bool LinkPort::WriteCellPattern(quint16 address, quint8 value, quint8& result)
{
    if (!SendCommandFrame(CmdWriteCellPattern, lo(address), hi(address), value))
        return false;
    quint8 r[2];
    if (!readExact(r, 2))
        return false;
    m_ctx.linkStatus = LinkCheckError;
    if (r[0] != r[1])
        return false;
    result = 0;
    return setStatus(LinkOk);
}

bool LinkPort::SumMemoryRange(quint16 value, CheckResult& result)
{
    const quint8 code = isProgrammerBoard(m_ctx.boardType) ? CmdSumMemoryRange4 : CmdSumMemoryRange;
    if (!SendCommandFrame(code, hi(value), lo(value), 0))
        return false;
    return readCheckReply(result);
}

// Codes 28 and 32. The page goes out with its sum in one write; the peer echoes
// the sum twice and then a doubled result byte. The write count is checked like
// every other write: a page that left only in part must not pass as written.
bool LinkPort::writePage(quint8 code, quint16 address, quint8 bank,
                         std::span<const quint8, 128> page, quint8& result, quint8 mismatchStatus)
{
    if (!SendCommandFrame(code, lo(address), hi(address), bank))
        return false;
    quint8 out[129];
    std::copy(page.begin(), page.end(), out);
    out[128] = byteSum(page.data(), 128);
    if (!writeExact(out, 129))
        return false;
    quint8 echo[2];
    if (!readExact(echo, 2))
        return false;
    m_ctx.linkStatus = mismatchStatus;
    if (echo[0] != echo[1] || echo[0] != out[128])
        return false;
    quint8 r[2];
    if (!readExact(r, 2))
        return false;
    m_ctx.linkStatus = mismatchStatus;
    if (r[0] != r[1])
        return false;
    result = r[0];
    return setStatus(LinkOk);
}

bool LinkPort::readPage(quint8 code, quint16 address, quint8 bank, std::span<quint8, 128> page)
{
    if (!SendCommandFrame(code, lo(address), hi(address), bank))
        return false;
    return readBlockWithSum(page);
}

bool LinkPort::WriteProgramPage(quint16 address, quint8 bank, std::span<const quint8, 128> page,
                                quint8& result)
{
    return writePage(CmdWriteProgramPage, address, bank, page, result, LinkCheckError);
}

bool LinkPort::ReadProgramPage(quint16 address, quint8 bank, std::span<quint8, 128> page)
{
    return readPage(CmdReadProgramPage, address, bank, page);
}

bool LinkPort::EraseProgramMemory()
{
    if (!SendCommandFrame(CmdEraseProgramMemory, 0, 0, 0))
        return false;
    quint8 r[2];
    if (!readExact(r, 2))
        return false;
    return setStatus(LinkOk);
}

bool LinkPort::WriteDataPage(quint16 address, quint8 bank, std::span<const quint8, 128> page,
                             quint8& result)
{
    return writePage(CmdWriteDataPage, address, bank, page, result, LinkReadError);
}

bool LinkPort::ReadDataPage(quint16 address, quint8 bank, std::span<quint8, 128> page)
{
    return readPage(CmdReadDataPage, address, bank, page);
}

bool LinkPort::PeerPresent()
{
    if (ReadPort(0) > 0xFF)
        return false;
    m_ctx.peerAnswered = 1;
    return true;
}

} // namespace kia
