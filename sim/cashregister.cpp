#include "cashregister.h"

#include <QByteArray>

#include "framefinder.h"
#include "peerlink.h"

#include <cstring>

namespace sim {

namespace {
constexpr qint32 kSpeeds[4] = {9600, 19200, 57600, 115200};
} // namespace

QByteArray CashRegister::softwareImage() {
    // Recognisable register memory, different in every 64-byte block.
    QByteArray image(MemorySize, Qt::Uninitialized);
    quint32 x = 0x5EED1234u;
    for (int i = 0; i < MemorySize; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        image[i] = static_cast<char>(x >> 24);
    }
    return image;
}

CashRegister::CashRegister(PeerLink& link) : m_link(link), m_memory(MemorySize, 0xFF) {
    const QByteArray image = softwareImage();
    std::copy(image.begin(), image.end(), reinterpret_cast<char*>(m_memory.data()));
}

void CashRegister::drop(int n) {
    if (n >= m_len) {
        m_len = 0;
        return;
    }
    std::memmove(m_buf.data(), m_buf.data() + n, static_cast<size_t>(m_len - n));
    m_len -= n;
}

bool CashRegister::isFrame(const quint8* f, int available, int& length) {
    if (available < 2 || f[0] != 0x00 || f[1] < 2)
        return false;
    const int total = f[1] + 2;
    if (available < total)
        return false;
    quint8 sum = 0;
    for (int i = 2; i < total - 1; ++i)
        sum = static_cast<quint8>(sum + f[i]);
    if (sum != f[total - 1])
        return false;
    length = total;
    return true;
}

CashRegister::Scan CashRegister::examine(int& length) const {
    if (m_len == 0)
        return Scan::NeedMore;
    if (m_buf[0] != 0x00)
        return Scan::Slide;
    if (m_len < 2)
        return Scan::NeedMore;
    if (m_buf[1] < 2)
        return Scan::Slide;
    if (m_len >= m_buf[1] + 2)
        return isFrame(m_buf.data(), m_len, length) ? Scan::Frame : Scan::Slide;
    return frameEndsLater() ? Scan::Slide : Scan::NeedMore;
}

bool CashRegister::frameEndsLater() const {
    // Only a frame this register could answer counts: its payload starts with
    // 00 and a command byte. Shorter look-alikes occur inside real frames
    // (the read of bank 0 at 0x0240 ends in 00 02 40 40).
    for (int start = 1; start + 4 <= m_len; ++start) {
        int len = 0;
        if (m_buf[start + 1] >= 3 && m_buf[start + 2] == 0x00 &&
            m_buf[start + 1] + 2 == m_len - start &&
            isFrame(m_buf.data() + start, m_len - start, len))
            return true;
    }
    return false;
}

void CashRegister::receiveByte(quint8 byte, qint64 nowUs) {
    if (m_haveLastByte && nowUs - m_lastByteUs >= FrameGapUs)
        m_len = 0;
    m_haveLastByte = true;
    m_lastByteUs = nowUs;
    if (m_len == static_cast<int>(m_buf.size()))
        drop(1);
    m_buf[m_len++] = byte;
    for (;;) {
        int length = 0;
        const Scan s = examine(length);
        if (s == Scan::NeedMore)
            return;
        if (s == Scan::Slide) {
            drop(1);
            continue;
        }
        quint8 frame[264];
        std::memcpy(frame, m_buf.data(), static_cast<size_t>(length));
        drop(length);
        handleFrame(frame, length);
    }
}

void CashRegister::handleFrame(const quint8* f, int length) {
    const quint8* p = f + 2;  // payload
    const int n = length - 3; // payload bytes
    const int command = n >= 2 ? p[1] : -1;
    if (!m_link.beginExchange(FrameKind::Cash, command, length))
        return;
    ++m_frames;

    quint8 out[3 + 255];
    int size = 0;
    qint32 newSpeed = 0;
    if (command == 0x40 && n >= 6) {
        const quint32 base = static_cast<quint32>(p[2] & 1) * 0x10000;
        const quint16 address = static_cast<quint16>((p[3] << 8) | p[4]);
        const int count = qMin<int>(p[5], 250);
        out[size++] = 0x00;
        out[size++] = 0x40;
        for (int i = 0; i < count; ++i)
            out[size++] = m_memory.read(base + static_cast<quint16>(address + i));
    } else if (command == 0x0B && n >= 4) {
        quint8 status = 2;
        if (p[2] == 0x08) {
            status = p[3] < 4 ? 0 : 1;
            if (status == 0)
                newSpeed = kSpeeds[p[3]];
        }
        out[size++] = 0x00;
        out[size++] = 0x0B;
        out[size++] = status;
    } else {
        return; // not a command of this register
    }

    m_reply.clear();
    m_reply.add(0x00);
    m_reply.add(static_cast<quint8>(size + 1));
    quint8 sum = 0;
    for (int i = 0; i < size; ++i) {
        m_reply.add(out[i]);
        sum = static_cast<quint8>(sum + out[i]);
    }
    m_reply.addSum(sum);
    m_link.send(m_reply);
    if (newSpeed)
        m_speed = newSpeed;
}

} // namespace sim
