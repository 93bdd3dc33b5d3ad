#include "testprocessor.h"

#include "boardmodel.h"
#include "peerlink.h"

namespace sim {

TestProcessor::TestProcessor(BoardModel& board, PeerLink& link)
    : m_board(board), m_link(link), m_filler1(board.isProgrammerBoard() ? 0x0F : 0xFF),
      m_filler2(board.isProgrammerBoard() ? 0x0F : 0x00) {
    m_finder.setFillers(m_filler1, m_filler2);
}

qint64 TestProcessor::now() const {
    return m_link.nowUs();
}

void TestProcessor::receiveByte(quint8 byte, qint64 nowUs) {
    if (m_haveLastByte && nowUs - m_lastByteUs >= FrameGapUs)
        resetFraming();
    m_haveLastByte = true;
    m_lastByteUs = nowUs;

    if (inDataPhase()) {
        dataByte(byte);
        return;
    }
    m_finder.push(byte);
    for (;;) {
        int length = 0;
        const FrameFinder::Result r = m_finder.examine(true, false, length);
        if (r == FrameFinder::Result::NeedMore)
            return;
        if (r == FrameFinder::Result::Slide) {
            m_finder.drop(1);
            continue;
        }
        quint8 frame[7];
        std::copy(m_finder.data(), m_finder.data() + 7, frame);
        m_finder.drop(7);
        handleFrame(frame);
        // Bytes that came behind the frame belong to its data phase.
        while (inDataPhase() && m_finder.size() > 0) {
            const quint8 b = m_finder.front();
            m_finder.drop(1);
            dataByte(b);
        }
    }
}

void TestProcessor::resetFraming() {
    m_finder.clear();
    m_phase = Phase::None;
    m_need = m_have = 0;
}

void TestProcessor::reset() {
    resetFraming();
    m_board.resetPorts();
    m_mode = 0;
    m_map = MemoryMap();
    m_deviceParams = {};
    m_deviceAddress = 0;
    m_pass = PassResult();
    m_haveLastByte = false;
}

I2cDevice* TestProcessor::device() const {
    return m_board.i2c().device(m_deviceAddress);
}

void TestProcessor::expect(Phase phase, int count) {
    m_phase = phase;
    m_need = count;
    m_have = 0;
}

void TestProcessor::sendAck() {
    m_reply.clear();
    m_reply.addAck(m_frame[6]);
}

void TestProcessor::send(bool final) {
    m_link.send(m_reply, final);
}

void TestProcessor::addCheckResult(bool passed, quint16 value, quint8 data1, quint8 data2) {
    const quint8 r[5] = {static_cast<quint8>(passed ? 0 : 1), static_cast<quint8>(value & 0xFF),
                         static_cast<quint8>(value >> 8), data1, data2};
    addBlockWithSum(r, 5);
}

void TestProcessor::addShortResult(bool passed, quint16 value) {
    const quint8 r[3] = {static_cast<quint8>(passed ? 0 : 1), static_cast<quint8>(value & 0xFF),
                         static_cast<quint8>(value >> 8)};
    addBlockWithSum(r, 3);
}

void TestProcessor::addBlockWithSum(const quint8* data, int n) {
    quint8 sum = 0;
    for (int i = 0; i < n; ++i) {
        m_reply.add(data[i]);
        sum = static_cast<quint8>(sum + data[i]);
    }
    m_reply.addSum(sum);
}

void TestProcessor::handleFrame(const quint8* frame) {
    const quint8 code = frame[0];
    if (!m_link.beginExchange(FrameKind::Command, code, 7))
        return;
    ++m_frames;
    std::copy(frame, frame + 7, m_frame.begin());
    const quint8 a = frame[1];
    const quint8 b = frame[2];
    const quint8 c = frame[3];
    const bool type4 = m_board.isProgrammerBoard();
    sendAck();

    switch (code) {
    case 0: // SelectMode
        m_mode = a;
        send();
        break;
    case 1: // GeneratePulses: four words follow
        m_pulses.valueA = a;
        m_pulses.valueB = b;
        send(false);
        expect(Phase::PulseWords, 8);
        break;
    case 2: // ReadPort
        m_reply.addPair(a <= 3 ? m_board.readPort(a) : 0xFF);
        send();
        break;
    case 3: // WritePort
        if (a <= 3)
            m_board.writePort(a, b, c);
        send();
        break;
    case 6: // GeneratePinPulses: word 1 and word 2 follow
        m_pinPulses.group = a >> 4;
        m_pinPulses.pin = a & 0x0F;
        m_pinPulses.words[0] = static_cast<quint16>(b | (c << 8));
        send(false);
        expect(Phase::PinPulseWords, 4);
        break;
    case 7:
        readMemory();
        break;
    case 8: // WriteMemory
        if (c == 0) {
            m_reply.addSum(0);
            send();
        } else {
            send(false);
            expect(Phase::MemoryData, c);
        }
        break;
    case 10: // SetMemoryMap: five words follow
        m_map.kind = a;
        send(false);
        expect(Phase::MapWords, 10);
        break;
    case 11:
        startMemoryPass(a);
        send();
        break;
    case 12:
        memoryPassResult(a);
        break;
    case 14:
        checkBankPattern(a);
        break;
    case 15: // length travels high byte first
        sumMemory(static_cast<quint16>((a << 8) | b));
        break;
    case 16: // SetSerialDevice
        m_deviceParams = {a, b, c, 0, 0, 0, 0};
        m_deviceAddress = c;
        if (type4) {
            send(false);
            expect(Phase::DeviceParams, 4);
        } else {
            send();
        }
        break;
    case 17:
        fillBank(a, b);
        break;
    case 18: // WriteDevice
        if (c == 0) {
            finishWriteDevice();
        } else {
            send(false);
            expect(Phase::DeviceData, c);
        }
        break;
    case 19:
        fillDevice(a, static_cast<quint16>(b | (c << 8)));
        send();
        break;
    case 20:
        readDevice();
        break;
    case 21:
        checkDevice(a, static_cast<quint16>(b | (c << 8)));
        break;
    case 22:
        startMemoryCheck(frameAddress(), c);
        break;
    case 23:
        readFiscalBlock();
        break;
    case 24:
        writeCellPattern();
        break;
    case 25:
    case 27:
        // Each family knows only its own code for the ranged sum.
        if ((code == 27) == type4)
            sumMemoryRange(static_cast<quint16>((a << 8) | b));
        else
            send();
        break;
    case 28:
        send(false);
        expect(Phase::ProgramPage, 129);
        break;
    case 29:
        readProgramPage();
        break;
    case 30:
        eraseProgramMemory();
        break;
    case 32:
        send(false);
        expect(Phase::DataPage, 129);
        break;
    case 33:
        readDataPage();
        break;
    default: // 4, 5, 9, 13, 26, 31 and anything unknown
        send();
        break;
    }
}

bool TestProcessor::type4Board() const {
    return m_board.isProgrammerBoard();
}

void TestProcessor::dataByte(quint8 byte) {
    if (!inDataPhase())
        return;
    m_data[static_cast<size_t>(m_have++)] = byte;
    if (m_have >= m_need)
        finishDataPhase();
}

void TestProcessor::finishDataPhase() {
    const Phase phase = m_phase;
    m_phase = Phase::None;
    const quint8* d = m_data.data();
    const int n = m_need;
    quint8 sum = 0;
    for (int i = 0; i < n && phase != Phase::ProgramPage && phase != Phase::DataPage; ++i)
        sum = static_cast<quint8>(sum + d[i]);
    auto word = [d](int i) { return static_cast<quint16>(d[2 * i] | (d[2 * i + 1] << 8)); };

    m_reply.clear();
    switch (phase) {
    case Phase::PulseWords:
        for (int i = 0; i < 4; ++i)
            m_pulses.words[static_cast<size_t>(i)] = word(i);
        m_pulses.atUs = now();
        ++m_pulses.count;
        // The pulse train ends on the idle value.
        m_board.writeData(m_pulses.words[0], m_pulses.valueB, now());
        // Set/reset of port C bit 7 through the 82C55's control register drives the emitter.
        if (!type4Board() && (m_pulses.words[0] == 0x4003 || m_pulses.words[0] == 0x5FFF) &&
            m_pulses.valueA == 0x0E && m_pulses.valueB == 0x0F)
            m_board.sound().drive(m_pulses.words[1], m_pulses.words[2], now());
        m_reply.addSum(sum);
        send();
        break;
    case Phase::PinPulseWords:
        m_pinPulses.words[1] = word(0);
        m_pinPulses.words[2] = word(1);
        m_pinPulses.atUs = now();
        // Pin 7 of group 1 is the emitter of board type 4: half-period 2·a, n periods.
        if (type4Board() && m_pinPulses.group == 1 && m_pinPulses.pin == 7)
            m_board.sound().drive(m_pinPulses.words[0] / 2, m_pinPulses.words[1], now());
        ++m_pinPulses.count;
        m_reply.addSum(sum);
        send();
        break;
    case Phase::MemoryData: {
        const quint16 address = frameAddress();
        for (int i = 0; i < n; ++i)
            m_board.writeData(static_cast<quint16>(address + i), d[i], now());
        m_reply.addSum(sum);
        send();
        break;
    }
    case Phase::MapWords:
        for (int i = 0; i < 5; ++i)
            m_map.words[static_cast<size_t>(i)] = word(i);
        ++m_map.count;
        m_reply.addSum(sum);
        send();
        break;
    case Phase::DeviceParams:
        // They come as p3, p5, p4, p6.
        m_deviceParams[3] = d[0];
        m_deviceParams[5] = d[1];
        m_deviceParams[4] = d[2];
        m_deviceParams[6] = d[3];
        m_reply.addSum(sum);
        send();
        break;
    case Phase::DeviceData:
        finishWriteDevice();
        break;
    case Phase::ProgramPage:
        finishProgramPage();
        break;
    case Phase::DataPage:
        finishDataPage();
        break;
    case Phase::None:
        break;
    }
}

} // namespace sim
