#include "linkport.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "linkstatus.h"
#include "tracingline.h"

namespace kia {

SerialTimeouts standardTimeouts()
{
    SerialTimeouts t;
    t.readInterval = 1000;
    t.readTotalMultiplier = 0;
    t.readTotalConstant = 1000;
    t.writeTotalMultiplier = 2000;
    t.writeTotalConstant = 0;
    return t;
}

std::array<quint8, 7> buildCommandFrame(int boardType, quint8 code, quint8 a, quint8 b, quint8 c)
{
    std::array<quint8, 7> f{code, a, b, c, frameFiller1(boardType), frameFiller2(boardType), 0};
    unsigned sum = 0;
    for (int i = 0; i < 6; ++i)
        sum += f[i];
    f[6] = static_cast<quint8>(~sum);
    return f;
}

LinkPort::LinkPort(BenchContext& ctx) : m_ctx(ctx) {}

LinkPort::~LinkPort() { CloseLinkPort(); }

bool LinkPort::setStatus(quint8 status)
{
    m_ctx.linkStatus = status;
    return status == LinkOk;
}

void LinkPort::setTraceSink(std::function<void(const QString&)> sink)
{
    m_trace = std::move(sink);
}

void LinkPort::CloseLinkPort()
{
    if (m_line)
        m_line->close();
    m_line.reset();
    m_openPort = 0;
}

bool LinkPort::attachLine(std::unique_ptr<SerialLine> line, int port, qint32 speed)
{
    CloseLinkPort();
    m_ctx.linkStatus = LinkPortError;
    if (!line)
        return false;
    if (m_trace)
        line = std::make_unique<TracingLine>(std::move(line), m_ctx.clock, m_trace);
    if (!line->open())
        return false;
    const qint32 baud = speed != 0 ? speed : defaultLinkSpeed(m_ctx.boardType);
    if (!line->setTimeouts(standardTimeouts()) || !line->configure(baud)) {
        line->close();
        return false;
    }
    m_line = std::move(line);
    m_openPort = port;
    return setStatus(LinkOk);
}

bool LinkPort::OpenLinkPort(int port, qint32 speed)
{
    // A number outside 1..8 never reaches the system.
    if (port < 1 || port > 8) {
        m_ctx.linkStatus = LinkPortError;
        return false;
    }
    return attachLine(m_ctx.ports.makeLine(port), port, speed);
}

bool LinkPort::EnsureLinkPort()
{
    // A handle whose device went away (an adapter pulled and plugged back)
    // is let go, so that the device is opened afresh at its path.
    if (m_line && m_openPort == m_ctx.selectedPort && !m_line->deviceLost())
        return true;
    CloseLinkPort();
    return OpenLinkPort(m_ctx.selectedPort, 0);
}

bool LinkPort::SetLinkSpeed(qint32 speed)
{
    m_ctx.linkStatus = LinkPortError;
    if (!m_line)
        return false;
    const qint32 baud = speed != 0 ? speed : defaultLinkSpeed(m_ctx.boardType);
    if (!m_line->setBaudRate(baud))
        return false;
    return setStatus(LinkOk);
}

bool LinkPort::purgeQueues() { return m_line && m_line->purge(); }

bool LinkPort::writeExact(const quint8* data, qint64 n)
{
    m_ctx.linkStatus = LinkWriteError;
    if (!m_line)
        return false;
    return m_line->write(data, n) == n;
}

bool LinkPort::readExact(quint8* data, qint64 n)
{
    m_ctx.linkStatus = LinkReadError;
    if (!m_line)
        return false;
    return m_line->read(data, n) == n;
}

bool LinkPort::SendCommandFrame(quint8 code, quint8 a, quint8 b, quint8 c)
{
    ++m_stats.frames;
    const bool ok = sendCommandFrame(code, a, b, c);
    if (!ok)
        ++m_stats.failures;
    return ok;
}

bool LinkPort::sendCommandFrame(quint8 code, quint8 a, quint8 b, quint8 c)
{
    const std::array<quint8, 7> frame = buildCommandFrame(m_ctx.boardType, code, a, b, c);

    m_ctx.linkStatus = LinkPortError;
    if (!m_line || !m_line->setTimeouts(standardTimeouts()))
        return false;

    m_ctx.linkStatus = LinkWriteError;
    if (!purgeQueues())
        return false;
    if (!writeExact(frame.data(), 7))
        return false;

    quint8 ack = 0;
    if (!readExact(&ack, 1))
        return false;

    m_ctx.linkStatus = LinkCheckError;
    if (ack != frame[6])
        return false;
    return setStatus(LinkOk);
}

} // namespace kia
