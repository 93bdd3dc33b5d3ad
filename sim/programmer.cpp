#include "programmer.h"

#include "dd5controller.h"
#include "peerlink.h"
#include "testprocessor.h"

#include <algorithm>

namespace sim {

namespace {
constexpr int kMaxReceive = 252;
} // namespace

Programmer::Programmer(Dd5Controller& dd5, TestProcessor& testProgram, PeerLink& link)
    : m_dd5(dd5), m_testProgram(testProgram), m_link(link) {
    m_finder.setFillers(testProgram.filler1(), testProgram.filler2());
}

void Programmer::resetFraming() {
    m_finder.clear();
    m_testProgram.resetFraming();
}

void Programmer::receiveByte(quint8 byte, qint64 nowUs) {
    if (m_haveLastByte && nowUs - m_lastByteUs >= FrameGapUs)
        resetFraming();
    m_haveLastByte = true;
    m_lastByteUs = nowUs;

    if (m_dd5.runsTestProgram() && m_testProgram.inDataPhase()) {
        m_testProgram.dataByte(byte);
        return;
    }
    m_finder.push(byte);
    for (;;) {
        int length = 0;
        const FrameFinder::Result r = m_finder.examine(m_dd5.runsTestProgram(), true, length);
        if (r == FrameFinder::Result::NeedMore)
            return;
        if (r == FrameFinder::Result::Slide) {
            m_finder.drop(1);
            continue;
        }
        quint8 frame[FrameFinder::Capacity];
        std::copy(m_finder.data(), m_finder.data() + length, frame);
        m_finder.drop(length);
        if (r == FrameFinder::Result::CommandFrame) {
            m_testProgram.handleFrame(frame);
            while (m_testProgram.inDataPhase() && m_finder.size() > 0) {
                const quint8 b = m_finder.front();
                m_finder.drop(1);
                m_testProgram.dataByte(b);
            }
        } else {
            handleLongFrame(frame, length);
        }
    }
}

void Programmer::handleLongFrame(const quint8* frame, int length) {
    const quint8 command = frame[1];
    if (!m_link.beginExchange(FrameKind::Long, command, length))
        return;
    ++m_longFrames;
    const int n = frame[0] - 1;
    const quint8* data = frame + 2;

    quint8 payload[3 + kMaxReceive];
    int size = 0;
    if (command == 32) {
        if (n >= 1) {
            const bool hold = data[0] == 0;
            const bool wasHeld = m_dd5.isHeld();
            m_dd5.setHeld(hold);
            if (hold)
                m_testProgram.resetFraming();
            else if (wasHeld)
                m_testProgram.reset(); // DD5 comes out of reset and starts over
        }
        payload[size++] = 0x20;
        payload[size++] = n >= 1 ? data[0] : quint8(m_dd5.isHeld() ? 0 : 1);
    } else {
        const int carried = std::max(0, n - 2);
        const int nsend = std::min<int>(n >= 1 ? data[0] : 0, carried);
        const int nrecv = std::min<int>(n >= 2 ? data[1] : 0, kMaxReceive);
        payload[size++] = 0x10;
        payload[size++] = n >= 1 ? data[0] : 0;
        payload[size++] = static_cast<quint8>(nrecv);
        m_dd5.transfer(data + 2, nsend, payload + size, nrecv);
        size += nrecv;
    }

    m_reply.clear();
    m_reply.addAck(frame[length - 1]);
    quint8 sum = static_cast<quint8>(size);
    m_reply.add(static_cast<quint8>(size));
    for (int i = 0; i < size; ++i) {
        m_reply.add(payload[i]);
        sum = static_cast<quint8>(sum + payload[i]);
    }
    m_reply.addSum(static_cast<quint8>(~sum));
    m_link.send(m_reply);
}

} // namespace sim
