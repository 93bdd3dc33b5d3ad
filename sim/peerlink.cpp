#include "peerlink.h"

#include "faultinjector.h"
#include "outputqueue.h"

namespace sim {

PeerLink::PeerLink(OutputQueue& out, FaultInjector& faults) : m_out(out), m_faults(faults) {}

bool PeerLink::beginExchange(FrameKind kind, int code, int frameLength) {
    m_action = m_faults.onFrame(kind, code);
    m_firstSend = true;
    m_pullCountdown = -1;
    if (!m_action.active)
        return true;
    switch (m_action.kind) {
    case FaultKind::Silence:
        return false;
    case FaultKind::DeviceLost:
        m_deviceLost = true;
        return false;
    case FaultKind::CablePull:
        if (m_action.bytes < frameLength) {
            pullCable();
            return false;
        }
        m_pullCountdown = m_action.bytes - frameLength;
        return true;
    default:
        return true;
    }
}

void PeerLink::send(const Reply& reply, bool final) {
    deliver(reply, final, qMax(m_nowUs, m_lastInOrderUs), true);
}

void PeerLink::sendLater(const Reply& reply, qint64 delayUs) {
    deliver(reply, true, m_nowUs + qMax<qint64>(0, delayUs), false);
}

void PeerLink::deliver(const Reply& reply, bool final, qint64 at, bool inOrder) {
    if (m_pulled)
        return;
    if (!m_action.active) {
        push(reply, at);
        if (inOrder)
            m_lastInOrderUs = at;
        return;
    }

    m_scratch = reply;
    Reply& r = m_scratch;
    const bool first = m_firstSend;
    m_firstSend = false;
    switch (m_action.kind) {
    case FaultKind::WrongAck:
        for (int i = 0; i < r.size(); ++i) {
            if (r.role(i) & RoleAck)
                r.bytes()[i] ^= 0x5A;
        }
        break;
    case FaultKind::BadChecksum:
        for (int i = 0; i < r.size(); ++i) {
            if (r.role(i) & RoleSum)
                r.bytes()[i] = static_cast<quint8>(r.bytes()[i] + 1);
        }
        break;
    case FaultKind::UnequalPair:
        for (int i = 0; i < r.size(); ++i) {
            if (r.role(i) & RolePairSecond) {
                r.bytes()[i] ^= 0xFF;
                break;
            }
        }
        break;
    case FaultKind::ShortReply:
        if (final) {
            Reply cut;
            const int keep = r.size() > m_action.bytes ? r.size() - m_action.bytes : 0;
            for (int i = 0; i < keep; ++i)
                cut.add(r.byte(i), r.role(i));
            r = cut;
        }
        break;
    case FaultKind::Garbage:
        if (m_action.instead) {
            for (int i = 0; i < r.size(); ++i) {
                quint8 g = m_faults.randomByte();
                if (i == 0 && g == r.byte(0))
                    g ^= 0x01;
                r.bytes()[i] = g;
            }
        } else if (first && m_action.bytes > 0) {
            Reply noisy;
            for (int i = 0; i < m_action.bytes; ++i) {
                quint8 g = m_faults.randomByte();
                if (i == 0 && r.size() > 0 && g == r.byte(0))
                    g ^= 0x01; // the noise must never look like the real first byte
                noisy.add(g);
            }
            for (int i = 0; i < r.size(); ++i)
                noisy.add(r.byte(i), r.role(i));
            r = noisy;
        }
        break;
    case FaultKind::SlowPeer:
        at += static_cast<qint64>(m_action.delayMs) * 1000;
        break;
    default:
        break;
    }
    push(r, at);
    if (inOrder)
        m_lastInOrderUs = at;
}

void PeerLink::push(const Reply& reply, qint64 atUs) {
    for (int i = 0; i < reply.size(); ++i)
        m_out.push(reply.byte(i), atUs);
}

void PeerLink::afterByte() {
    if (m_pullCountdown < 0)
        return;
    if (m_pullCountdown == 0) {
        m_pullCountdown = -1;
        pullCable();
    } else {
        --m_pullCountdown;
    }
}

void PeerLink::pullCable() {
    m_pulled = true;
    m_pullCountdown = -1;
    m_out.dropFrom(m_nowUs);
}

void PeerLink::plugCable() {
    m_pulled = false;
    reset();
}

bool PeerLink::takeDeviceLost() {
    const bool lost = m_deviceLost;
    m_deviceLost = false;
    return lost;
}

void PeerLink::reset() {
    m_action = FaultAction();
    m_lastInOrderUs = 0;
    m_pullCountdown = -1;
    m_firstSend = true;
}

} // namespace sim
