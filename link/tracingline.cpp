#include "tracingline.h"

#include "core/clock.h"

namespace kia {

QString hexBytes(const quint8* data, qint64 n)
{
    static const char digits[] = "0123456789ABCDEF";
    QString s;
    s.reserve(static_cast<int>(n * 3));
    for (qint64 i = 0; i < n; ++i) {
        if (i)
            s.append(QLatin1Char(' '));
        s.append(QLatin1Char(digits[data[i] >> 4]));
        s.append(QLatin1Char(digits[data[i] & 0x0F]));
    }
    return s;
}

TracingLine::TracingLine(std::unique_ptr<SerialLine> inner, Clock& clock,
                         std::function<void(const QString&)> sink)
    : m_inner(std::move(inner)), m_clock(clock), m_sink(std::move(sink)), m_startUs(clock.nowUs())
{
}

void TracingLine::emitLine(const QString& what) const
{
    const double ms = static_cast<double>(m_clock.nowUs() - m_startUs) / 1000.0;
    m_sink(QStringLiteral("%1 ms  %2").arg(ms, 11, 'f', 3).arg(what));
}

bool TracingLine::open()
{
    const bool ok = m_inner->open();
    emitLine(QStringLiteral("open %1%2").arg(m_inner->deviceName(),
                                              ok ? QString() : QStringLiteral(" FAILED")));
    return ok;
}

void TracingLine::close()
{
    if (m_inner->isOpen())
        emitLine(QStringLiteral("close"));
    m_inner->close();
}

bool TracingLine::configure(qint32 baud)
{
    const bool ok = m_inner->configure(baud);
    emitLine(QStringLiteral("%1 baud 8N1%2").arg(baud).arg(ok ? QString() : QStringLiteral(" FAILED")));
    return ok;
}

bool TracingLine::setBaudRate(qint32 baud)
{
    const bool ok = m_inner->setBaudRate(baud);
    emitLine(QStringLiteral("%1 baud%2").arg(baud).arg(ok ? QString() : QStringLiteral(" FAILED")));
    return ok;
}

bool TracingLine::setTimeouts(const SerialTimeouts& t)
{
    const bool ok = m_inner->setTimeouts(t);
    // The same time-outs go out before every frame; only changes are worth a line.
    if (!ok || !(t == m_lastTimeouts))
        emitLine(QStringLiteral("time-outs read %1/%2/%3 write %4/%5%6")
                     .arg(t.readInterval)
                     .arg(t.readTotalMultiplier)
                     .arg(t.readTotalConstant)
                     .arg(t.writeTotalMultiplier)
                     .arg(t.writeTotalConstant)
                     .arg(ok ? QString() : QStringLiteral(" FAILED")));
    m_lastTimeouts = t;
    return ok;
}

bool TracingLine::purge()
{
    const bool ok = m_inner->purge();
    if (!ok)
        emitLine(QStringLiteral("purge FAILED"));
    return ok;
}

qint64 TracingLine::write(const quint8* data, qint64 n)
{
    const qint64 got = m_inner->write(data, n);
    emitLine(QStringLiteral("PC>  %1%2").arg(hexBytes(data, got > 0 ? got : 0),
                                             got == n ? QString()
                                                      : QStringLiteral("  (write %1 of %2)")
                                                            .arg(got)
                                                            .arg(n)));
    return got;
}

qint64 TracingLine::read(quint8* data, qint64 n)
{
    const qint64 got = m_inner->read(data, n);
    emitLine(QStringLiteral(" <PC %1%2").arg(hexBytes(data, got > 0 ? got : 0),
                                             got == n ? QString()
                                                      : QStringLiteral("  (read %1 of %2)")
                                                            .arg(got)
                                                            .arg(n)));
    return got;
}

bool TracingLine::setRts(bool on)
{
    const bool ok = m_inner->setRts(on);
    emitLine(QStringLiteral("RTS %1%2").arg(on ? 1 : 0).arg(ok ? QString() : QStringLiteral(" FAILED")));
    return ok;
}

bool TracingLine::setDtr(bool on)
{
    const bool ok = m_inner->setDtr(on);
    emitLine(QStringLiteral("DTR %1%2").arg(on ? 1 : 0).arg(ok ? QString() : QStringLiteral(" FAILED")));
    return ok;
}

bool TracingLine::modemStatus(quint8& bits)
{
    const bool ok = m_inner->modemStatus(bits);
    emitLine(ok ? QStringLiteral("CTS %1 DSR %2").arg((bits & ModemCts) ? 1 : 0).arg((bits & ModemDsr) ? 1 : 0)
                : QStringLiteral("modem status FAILED"));
    return ok;
}

} // namespace kia
