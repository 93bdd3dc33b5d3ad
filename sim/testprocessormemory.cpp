// The commands of the test firmware that fill, check, sum and move memory.

#include "boardmodel.h"
#include "patterns.h"
#include "peerlink.h"
#include "testprocessor.h"

namespace sim {

namespace {

constexpr quint32 kHalf = 0x10000;

} // namespace

void TestProcessor::readMemory() {
    const quint16 address = frameAddress();
    const int n = m_frame[3];
    quint8 sum = 0;
    for (int i = 0; i < n; ++i) {
        const quint8 v = m_board.readData(static_cast<quint16>(address + i), now());
        m_reply.add(v);
        sum = static_cast<quint8>(sum + v);
    }
    m_reply.addSum(sum);
    send();
}

void TestProcessor::startMemoryPass(quint8 pass) {
    const bool mapped = m_map.words[1] != 0;
    const quint16 start = mapped ? m_map.words[0] : m_board.ramStart();
    const quint32 length = mapped ? m_map.words[1] : m_board.ramLength();
    for (quint32 i = 0; i < length; ++i) {
        const quint16 a = static_cast<quint16>(start + i);
        m_board.writeData(a, expectedByte(pass, a), now());
    }
    m_pass = PassResult();
    m_pass.pass = pass;
    for (quint32 i = 0; i < length; ++i) {
        const quint16 a = static_cast<quint16>(start + i);
        const quint8 want = expectedByte(pass, a);
        const quint8 got = m_board.readData(a, now());
        if (got != want) {
            m_pass.passed = false;
            m_pass.address = a;
            m_pass.read = got;
            m_pass.expected = want;
            break;
        }
    }
}

void TestProcessor::memoryPassResult(quint8 pass) {
    if (m_pass.pass != pass)
        startMemoryPass(pass);
    if (m_pass.passed)
        addCheckResult(true, 0, 0, 0);
    else
        addCheckResult(false, m_pass.address, m_pass.read, m_pass.expected);
    send();
}

void TestProcessor::checkBankPattern(quint8 pattern) {
    const bool mapped = m_map.words[3] != 0;
    const quint16 start = mapped ? m_map.words[2] : m_board.bankWindowStart();
    const quint32 length = mapped ? m_map.words[3] : m_board.bankSize();
    // The selection does not change during the check: look it up once.
    quint32 bankOffset = 0;
    const BoardModel::Bank bank = m_board.windowBank(start, length, &bankOffset);
    for (quint32 offset = 0; offset < length; ++offset) {
        const quint8 want = expectedByte(pattern, static_cast<quint16>(offset));
        const quint8 got = bank.isValid()
                               ? bank.memory->read(bank.base + bankOffset + offset)
                               : m_board.readData(static_cast<quint16>(start + offset), now());
        if (got != want) {
            addCheckResult(false, static_cast<quint16>(offset), got, want);
            send();
            return;
        }
    }
    addCheckResult(true, 0, 0, 0);
    send();
}

void TestProcessor::fillBank(quint8 pattern, quint8 bank) {
    const bool type4 = m_board.isProgrammerBoard();
    const int which = (!type4 && bank >= 64) ? m_board.selectedBank() : bank;
    const BoardModel::Bank b = m_board.dataBank(which);
    bool ok = b.isValid();
    if (ok) {
        for (quint32 offset = 0; offset < b.size; ++offset)
            b.memory->write(b.base + offset, expectedByte(pattern, static_cast<quint16>(offset)));
        for (quint32 offset = 0; offset < b.size && ok; ++offset)
            ok = b.memory->read(b.base + offset) ==
                 expectedByte(pattern, static_cast<quint16>(offset));
    }
    if (type4)
        m_reply.addPair(ok ? 0 : 1);
    send();
}

void TestProcessor::sumMemory(quint16 length) {
    const quint32 base = static_cast<quint32>(m_board.romHalf()) * kHalf;
    const Memory& rom = m_board.programMemory();
    quint16 sum = 0;
    for (quint32 a = 0; a + 2 < length; ++a)
        sum = static_cast<quint16>(sum + rom.read(base + a));
    const quint8 d1 = rom.read(base + static_cast<quint16>(length - 2));
    const quint8 d2 = rom.read(base + static_cast<quint16>(length - 1));
    addCheckResult(true, sum, d1, d2);
    send();
}

void TestProcessor::sumMemoryRange(quint16 seed) {
    const quint32 base = static_cast<quint32>(m_board.romHalf()) * kHalf;
    const Memory& rom = m_board.programMemory();
    quint16 sum = seed;
    for (quint32 a = 0x2000; a < 0xFFFE; ++a)
        sum = static_cast<quint16>(sum + rom.read(base + a));
    addCheckResult(true, sum, rom.read(base + 0xFFFE), rom.read(base + 0xFFFF));
    send();
}

void TestProcessor::finishWriteDevice() {
    const quint16 address = frameAddress();
    const int n = m_frame[3];
    I2cDevice* dev = device();
    quint8 sum = 0;
    for (int i = 0; i < n; ++i) {
        sum = static_cast<quint8>(sum + m_data[static_cast<size_t>(i)]);
        if (dev)
            dev->write(static_cast<quint16>((address + i) % dev->size()),
                       m_data[static_cast<size_t>(i)], now());
    }
    m_reply.addSum(sum);
    if (!m_board.isProgrammerBoard())
        m_reply.addPair(dev ? 0 : 1); // 1: the chip did not acknowledge
    send();
}

void TestProcessor::readDevice() {
    const quint16 address = frameAddress();
    const int n = m_frame[3];
    I2cDevice* dev = device();
    quint8 sum = 0;
    for (int i = 0; i < n; ++i) {
        const quint8 v = dev ? dev->read(static_cast<quint16>((address + i) % dev->size()), now())
                             : quint8(0xFF);
        m_reply.add(v);
        sum = static_cast<quint8>(sum + v);
    }
    m_reply.addSum(sum);
    send();
}

void TestProcessor::fillDevice(quint8 pattern, quint16 last) {
    I2cDevice* dev = device();
    if (!dev)
        return;
    const int end = qMin<int>(last, dev->size() - 1);
    for (int a = 0; a <= end; ++a)
        dev->write(static_cast<quint16>(a), expectedByte(pattern, static_cast<quint16>(a)), now());
}

void TestProcessor::checkDevice(quint8 pattern, quint16 start) {
    I2cDevice* dev = device();
    if (!dev) {
        addShortResult(false, start);
        send();
        return;
    }
    for (int a = start; a < dev->size(); ++a) {
        const quint16 addr = static_cast<quint16>(a);
        if (dev->read(addr, now()) != expectedByte(pattern, addr)) {
            addShortResult(false, addr);
            send();
            return;
        }
    }
    addShortResult(true, 0);
    send();
}

void TestProcessor::startMemoryCheck(quint16 start, quint8 pattern) {
    send(false); // the acknowledge now, the result when the check is done
    const Memory& fp = m_board.fiscalMemory();
    m_reply.clear();
    bool passed = true;
    quint16 failing = 0;
    for (quint32 a = start; a <= 0xFFFF; ++a) {
        if (fp.read(a) != expectedByte(pattern, static_cast<quint16>(a))) {
            passed = false;
            failing = static_cast<quint16>(a);
            break;
        }
    }
    addShortResult(passed, passed ? 0 : failing);
    m_link.sendLater(m_reply, m_checkDelayUs);
}

void TestProcessor::readFiscalBlock() {
    const quint16 address = frameAddress();
    const int n = m_frame[3];
    const Memory& fp = m_board.fiscalMemory();
    quint8 sum = 0;
    for (int i = 0; i < n; ++i) {
        const quint8 v = fp.read(static_cast<quint16>(address + i));
        m_reply.add(v);
        sum = static_cast<quint8>(sum + v);
    }
    m_reply.addSum(sum);
    send();
}

void TestProcessor::writeCellPattern() {
    const quint16 address = frameAddress();
    const quint8 value = m_frame[3];
    Memory& fp = m_board.fiscalMemory();
    fp.write(address, value);
    m_reply.addPair(fp.read(address) == value ? 0 : 1);
    send();
}

void TestProcessor::finishProgramPage() {
    const quint16 address = frameAddress();
    const quint32 base = static_cast<quint32>(m_frame[3] & 1) * kHalf;
    Memory& pm = m_board.programMemory();
    quint8 sum = 0;
    for (int i = 0; i < 128; ++i)
        sum = static_cast<quint8>(sum + m_data[static_cast<size_t>(i)]);
    m_reply.addPair(sum, RoleSum);
    bool ok = sum == m_data[128];
    if (ok) {
        for (int i = 0; i < 128; ++i)
            pm.write(base + static_cast<quint16>(address + i), m_data[static_cast<size_t>(i)]);
        for (int i = 0; i < 128 && ok; ++i)
            ok =
                pm.read(base + static_cast<quint16>(address + i)) == m_data[static_cast<size_t>(i)];
    }
    m_reply.addPair(ok ? 1 : 0);
    send();
}

void TestProcessor::readProgramPage() {
    const quint16 address = frameAddress();
    const quint32 base = static_cast<quint32>(m_frame[3] & 1) * kHalf;
    const Memory& pm = m_board.programMemory();
    quint8 page[128];
    for (int i = 0; i < 128; ++i)
        page[i] = pm.read(base + static_cast<quint16>(address + i));
    addBlockWithSum(page, 128);
    send();
}

void TestProcessor::eraseProgramMemory() {
    m_board.programMemory().fill(0xFF);
    m_reply.add(0);
    m_reply.add(0);
    send();
}

void TestProcessor::finishDataPage() {
    const BoardModel::Bank b = m_board.dataBank(m_frame[3]);
    const quint32 offset = frameAddress() & (b.size ? b.size - 1 : 0);
    quint8 sum = 0;
    for (int i = 0; i < 128; ++i)
        sum = static_cast<quint8>(sum + m_data[static_cast<size_t>(i)]);
    m_reply.addPair(sum, RoleSum);
    bool ok = b.isValid() && sum == m_data[128];
    if (ok) {
        for (int i = 0; i < 128; ++i)
            b.memory->write(b.base + ((offset + i) % b.size), m_data[static_cast<size_t>(i)]);
        for (int i = 0; i < 128 && ok; ++i)
            ok = b.memory->read(b.base + ((offset + i) % b.size)) == m_data[static_cast<size_t>(i)];
    }
    m_reply.addPair(ok ? 1 : 0);
    send();
}

void TestProcessor::readDataPage() {
    const BoardModel::Bank b = m_board.dataBank(m_frame[3]);
    const quint32 offset = frameAddress() & (b.size ? b.size - 1 : 0);
    quint8 page[128];
    for (int i = 0; i < 128; ++i)
        page[i] = b.isValid() ? b.memory->read(b.base + ((offset + i) % b.size)) : quint8(0xFF);
    addBlockWithSum(page, 128);
    send();
}

} // namespace sim
