// Frames of the assembled cash register (software verification): they travel
// over the same port and leave the link status like the command frames do.

#include "core/benchcontext.h"
#include "core/clock.h"
#include "linkport.h"
#include "linkstatus.h"

namespace kia {

namespace {
quint8 sumOf(const quint8* p, int n)
{
    unsigned s = 0;
    for (int i = 0; i < n; ++i)
        s += p[i];
    return static_cast<quint8>(s);
}

int speedCode(qint32 speed)
{
    switch (speed) {
    case 9600: return 0;
    case 19200: return 1;
    case 57600: return 2;
    case 115200: return 3;
    default: return -1;
    }
}
} // namespace

bool LinkPort::CashRegisterPing()
{
    static constexpr quint8 kPing[9] = {0x00, 0x07, 0x00, 0x40, 0x00, 0x00, 0x00, 0x01, 0x41};
    m_ctx.linkStatus = LinkWriteError;
    if (!purgeQueues())
        return false;
    if (!writeExact(kPing, 9))
        return false;
    quint8 r[6];
    if (!readExact(r, 6))
        return false;
    m_ctx.linkStatus = LinkCheckError;
    if (sumOf(r + 2, 3) != r[5])
        return false;
    return setStatus(LinkOk);
}

bool LinkPort::CashRegisterRead(quint8 kind, quint16 address, std::span<quint8> buffer)
{
    if (buffer.size() < 69)
        return setStatus(LinkWriteError);
    const quint8 h = static_cast<quint8>(address >> 8);
    const quint8 l = static_cast<quint8>(address & 0xFF);
    const quint8 frame[9] = {0x00, 0x07, 0x00, 0x40, kind, h, l, 0x40,
                             static_cast<quint8>(kind + h + l + 0x80)};
    m_ctx.linkStatus = LinkWriteError;
    if (!purgeQueues())
        return false;
    if (!writeExact(frame, 9))
        return false;
    if (!readExact(buffer.data(), 69))
        return false;
    m_ctx.linkStatus = LinkCheckError;
    if (sumOf(buffer.data() + 2, 66) != buffer[68])
        return false;
    return setStatus(LinkOk);
}

bool LinkPort::CashRegisterSetSpeed(qint32 speed)
{
    const int code = speedCode(speed);
    if (code < 0)
        return setStatus(LinkPortError);
    const quint8 frame[7] = {0x00, 0x05, 0x00, 0x0B, 0x08, static_cast<quint8>(code),
                             static_cast<quint8>(code + 0x13)};
    m_ctx.linkStatus = LinkWriteError;
    if (!purgeQueues())
        return false;
    if (!writeExact(frame, 7))
        return false;
    m_ctx.clock.sleepMs(100);
    if (!SetLinkSpeed(speed))
        return false;
    m_ctx.clock.sleepMs(100);
    return CashRegisterPing();
}

} // namespace kia
