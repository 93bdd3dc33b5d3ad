#include "rtcchip.h"

#include <algorithm>

namespace sim {

namespace {

int fromBcd(quint8 v) {
    return (v >> 4) * 10 + (v & 0x0F);
}

quint8 toBcd(int n) {
    return static_cast<quint8>((((n / 10) % 10) << 4) | (n % 10));
}

constexpr qint64 kMaxDays = 366 * 100; // far beyond any test; keeps a runaway clock bounded

} // namespace

RtcChip::RtcChip(Model model)
    : m_model(model), m_regs(model == Model::Pcf8583 ? 256 : 64, 0), m_stuckLow(m_regs.size(), 0),
      m_stuckHigh(m_regs.size(), 0) {
    // Saturday 23 June 2007, 09:14:05, counting.
    if (m_model == Model::Pcf8583) {
        m_regs[2] = 0x05;
        m_regs[3] = 0x14;
        m_regs[4] = 0x09;
        m_regs[5] = static_cast<quint8>((3 << 6) | 0x23);
        m_regs[6] = static_cast<quint8>((6 << 5) | 0x06);
    } else {
        m_regs[0] = 0x05;
        m_regs[1] = 0x14;
        m_regs[2] = 0x09;
        m_regs[3] = 0x07;
        m_regs[4] = 0x23;
        m_regs[5] = 0x06;
        m_regs[6] = 0x07;
    }
}

quint8 RtcChip::mask(int reg) const {
    if (m_model == Model::Pcf8583)
        return 0xFF;
    static constexpr quint8 masks[8] = {0xFF, 0x7F, 0x7F, 0x07, 0x3F, 0x1F, 0xFF, 0x93};
    return reg < 8 ? masks[reg] : 0xFF;
}

bool RtcChip::isRunning() const {
    if (m_oscillatorStopped)
        return false;
    if (m_model == Model::Pcf8583)
        return (m_regs[0] & 0x80) == 0 && (m_regs[0] & 0x30) == 0;
    return (m_regs[0] & 0x80) == 0;
}

quint8 RtcChip::read(quint16 address, qint64 nowUs) {
    sync(nowUs);
    const size_t reg = address % m_regs.size();
    return static_cast<quint8>((m_regs[reg] | m_stuckHigh[reg]) & ~m_stuckLow[reg]);
}

void RtcChip::addRegisterFault(int reg, quint8 stuckLow, quint8 stuckHigh) {
    const size_t r = static_cast<size_t>(reg) % m_regs.size();
    m_stuckLow[r] |= stuckLow;
    m_stuckHigh[r] |= stuckHigh;
}

void RtcChip::clearFaults() {
    m_oscillatorStopped = false;
    std::fill(m_stuckLow.begin(), m_stuckLow.end(), quint8(0));
    std::fill(m_stuckHigh.begin(), m_stuckHigh.end(), quint8(0));
}

void RtcChip::write(quint16 address, quint8 value, qint64 nowUs) {
    sync(nowUs);
    const int reg = static_cast<int>(address % m_regs.size());
    m_regs[static_cast<size_t>(reg)] = value & mask(reg);
    if (reg <= 6)
        m_fracUs = 0;
}

void RtcChip::sync(qint64 nowUs) {
    if (!m_synced) {
        m_synced = true;
        m_lastUs = nowUs;
        return;
    }
    const qint64 elapsed = nowUs - m_lastUs;
    m_lastUs = nowUs;
    if (elapsed <= 0 || !isRunning())
        return;
    m_fracUs += elapsed;
    if (m_model == Model::Pcf8583) {
        const qint64 n = m_fracUs / 10000;
        m_fracUs %= 10000;
        if (n > 0)
            addHundredths(n);
    } else {
        const qint64 n = m_fracUs / 1000000;
        m_fracUs %= 1000000;
        if (n > 0)
            addSeconds(n);
    }
}

void RtcChip::addHundredths(qint64 n) {
    const qint64 h = fromBcd(m_regs[1]) + n;
    m_regs[1] = toBcd(static_cast<int>(h % 100));
    addSeconds(h / 100);
}

void RtcChip::addSeconds(qint64 n) {
    const bool pcf = m_model == Model::Pcf8583;
    quint8& secReg = m_regs[pcf ? 2 : 0];
    quint8& minReg = m_regs[pcf ? 3 : 1];
    quint8& hourReg = m_regs[pcf ? 4 : 2];
    // 12-hour mode is not used by the firmware; the hour counts as 24-hour.
    const quint8 secFlags = pcf ? 0 : (secReg & 0x80);
    const quint8 hourFlags = hourReg & (pcf ? 0xC0 : 0x40);
    qint64 total =
        (static_cast<qint64>(fromBcd(hourReg & 0x3F)) * 60 + fromBcd(minReg & 0x7F)) * 60 +
        fromBcd(secReg & 0x7F) + n;
    qint64 days = total / 86400;
    total %= 86400;
    secReg = static_cast<quint8>(secFlags | toBcd(static_cast<int>(total % 60)));
    minReg = toBcd(static_cast<int>((total / 60) % 60));
    hourReg = static_cast<quint8>(hourFlags | toBcd(static_cast<int>(total / 3600)));
    if (days > kMaxDays)
        days = kMaxDays;
    for (qint64 d = 0; d < days; ++d)
        addDay();
}

int RtcChip::daysInMonth(int month, int year) const {
    switch (month) {
    case 2:
        return year % 4 == 0 ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

void RtcChip::addDay() {
    if (m_model == Model::Pcf8583) {
        int year = m_regs[5] >> 6;
        int date = fromBcd(m_regs[5] & 0x3F);
        int weekday = m_regs[6] >> 5;
        int month = fromBcd(m_regs[6] & 0x1F);
        weekday = (weekday + 1) % 7;
        if (++date > daysInMonth(month, year)) {
            date = 1;
            if (++month > 12) {
                month = 1;
                year = (year + 1) & 3;
            }
        }
        m_regs[5] = static_cast<quint8>((year << 6) | toBcd(date));
        m_regs[6] = static_cast<quint8>((weekday << 5) | toBcd(month));
        return;
    }
    int day = m_regs[3] & 0x07;
    int date = fromBcd(m_regs[4]);
    int month = fromBcd(m_regs[5]);
    int year = fromBcd(m_regs[6]);
    day = day >= 7 ? 1 : day + 1;
    if (++date > daysInMonth(month, year)) {
        date = 1;
        if (++month > 12) {
            month = 1;
            year = (year + 1) % 100;
        }
    }
    m_regs[3] = static_cast<quint8>(day);
    m_regs[4] = toBcd(date);
    m_regs[5] = toBcd(month);
    m_regs[6] = toBcd(year);
}

} // namespace sim
