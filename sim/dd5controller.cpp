#include "dd5controller.h"

#include "testprogram.h"

#include <algorithm>

namespace sim {

Dd5Controller::Dd5Controller() {
    load(StartState::CashSoftware);
}

std::array<quint8, Dd5Controller::CodeSize>
Dd5Controller::cashSoftwareImage(const QByteArray& identity) {
    // Recognisable software: an 8051 jump, then varied bytes.
    std::array<quint8, CodeSize> image{};
    quint32 x = 0xC0FFEE11u;
    for (quint8& b : image) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<quint8>(x >> 24);
    }
    image[0] = 0x02; // LJMP 0x0100
    image[1] = 0x01;
    image[2] = 0x00;
    for (int i = 0; i < 12; ++i)
        image[static_cast<size_t>(0x1FF4 + i)] =
            i < identity.size() ? static_cast<quint8>(identity.at(i)) : quint8('0');
    return image;
}

void Dd5Controller::load(StartState state, const QByteArray& identity) {
    switch (state) {
    case StartState::CashSoftware:
        m_code = cashSoftwareImage(identity);
        break;
    case StartState::CashSoftwareNoIdentity:
        m_code = cashSoftwareImage(identity);
        for (int i = 0; i < 12; ++i)
            m_code[static_cast<size_t>(0x1FF4 + i)] = static_cast<quint8>(0xA0 + i);
        break;
    case StartState::TestProgram: {
        m_code.fill(0xFF);
        const QByteArray program = testProgramImage();
        std::copy(program.begin(), program.end(), m_code.begin());
        for (int i = 0; i < 12; ++i)
            m_code[static_cast<size_t>(0x1FF4 + i)] =
                i < identity.size() ? static_cast<quint8>(identity.at(i)) : quint8('0');
        break;
    }
    }
    m_held = false;
    m_enabled = false;
    m_pageMode = PageMode::None;
}

void Dd5Controller::setHeld(bool held) {
    m_held = held;
    m_enabled = false;
    m_pageMode = PageMode::None;
}

bool Dd5Controller::holdsTestProgram() const {
    return std::equal(TestProgramSignature.begin(), TestProgramSignature.end(), m_code.begin());
}

QByteArray Dd5Controller::identity() const {
    QByteArray id;
    for (int i = 0; i < 12; ++i) {
        const quint8 c = m_code[static_cast<size_t>(0x1FF4 + i)];
        if (c < '0' || c > '9')
            return QByteArray();
        id.append(static_cast<char>(c));
    }
    return id;
}

quint16 Dd5Controller::codeSum() const {
    quint16 sum = 0;
    for (quint8 b : m_code)
        sum = static_cast<quint16>(sum + b);
    return sum;
}

void Dd5Controller::transfer(const quint8* send, int nsend, quint8* recv, int nrecv) {
    std::fill(recv, recv + nrecv, quint8(0xFF));
    if (!m_held)
        return;

    if (m_pageMode == PageMode::Write && nrecv == 0 && nsend > 0) {
        const int n = std::min(nsend, m_pageLeft);
        for (int i = 0; i < n; ++i)
            m_code[static_cast<size_t>(m_pagePtr++)] &= send[i];
        m_pageLeft -= n;
        if (m_pageLeft == 0)
            m_pageMode = PageMode::None;
        return;
    }
    if (m_pageMode == PageMode::Read && nsend == 0 && nrecv > 0) {
        const int n = std::min(nrecv, m_pageLeft);
        for (int i = 0; i < n; ++i)
            recv[i] = readCode(m_pagePtr++);
        m_pageLeft -= n;
        if (m_pageLeft == 0)
            m_pageMode = PageMode::None;
        return;
    }
    m_pageMode = PageMode::None;
    if (nsend == 0)
        return;

    const quint8 op = send[0];
    if (op == 0xAC && nsend >= 2 && send[1] == 0x53) {
        m_enabled = true;
        if (nrecv > 0)
            recv[0] = 0x69;
        return;
    }
    if (!m_enabled)
        return;
    auto address = [&](int hi, int lo) {
        return ((send[hi] << 8) | (lo < nsend ? send[lo] : 0)) & (CodeSize - 1);
    };
    switch (op) {
    case 0xAC:
        if (nsend >= 2 && send[1] == 0x80)
            m_code.fill(0xFF);
        break;
    case 0x20:
        if (nsend >= 3 && nrecv > 0)
            recv[0] = readCode(address(1, 2));
        break;
    case 0x40:
        if (nsend >= 4)
            m_code[static_cast<size_t>(address(1, 2))] &= send[3];
        break;
    case 0x30:
        if (nsend >= 2) {
            m_pageMode = PageMode::Read;
            m_pagePtr = (send[1] & 0x1F) << 8;
            m_pageLeft = 256;
            const int n = std::min(nrecv, m_pageLeft);
            for (int i = 0; i < n; ++i)
                recv[i] = readCode(m_pagePtr++);
            m_pageLeft -= n;
            if (m_pageLeft == 0)
                m_pageMode = PageMode::None;
        }
        break;
    case 0x50:
        if (nsend >= 2) {
            m_pageMode = PageMode::Write;
            m_pagePtr = (send[1] & 0x1F) << 8;
            m_pageLeft = 256;
            const int n = std::min(nsend - 2, m_pageLeft);
            for (int i = 0; i < n; ++i)
                m_code[static_cast<size_t>(m_pagePtr++)] &= send[2 + i];
            m_pageLeft -= n;
        }
        break;
    default:
        break;
    }
}

} // namespace sim
