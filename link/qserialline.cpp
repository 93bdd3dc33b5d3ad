#include "qserialline.h"

#include <QElapsedTimer>

namespace kia {

namespace {
// A read or write with no time-out at all still ends, so that no caller hangs.
constexpr qint64 kNoLimitMs = 60000;
} // namespace

QSerialLine::QSerialLine(const QString& device) : m_device(device) {}

QSerialLine::~QSerialLine()
{
    close();
    delete m_port;
}

bool QSerialLine::portFailed() const
{
    if (!m_port)
        return true;
    const QSerialPort::SerialPortError e = m_port->error();
    return e != QSerialPort::NoError && e != QSerialPort::TimeoutError;
}

void QSerialLine::clearError()
{
    switch (m_port->error()) {
    case QSerialPort::ResourceError:       // read/write failed: the device went away
    case QSerialPort::DeviceNotFoundError: // it is no longer there
    case QSerialPort::PermissionError:     // taken from us
        m_lost = true;
        break;
    default:
        break;
    }
    m_port->clearError();
}

bool QSerialLine::open()
{
    if (!m_port)
        m_port = new QSerialPort;
    if (m_port->isOpen())
        return true;
    m_lost = false;
    m_port->setPortName(m_device);
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_port->clearError();
        return false;
    }
    return true;
}

void QSerialLine::close()
{
    if (m_port && m_port->isOpen())
        m_port->close();
}

bool QSerialLine::isOpen() const { return m_port && m_port->isOpen(); }

bool QSerialLine::configure(qint32 baud)
{
    if (!isOpen())
        return false;
    const bool ok = m_port->setBaudRate(baud) && m_port->setDataBits(QSerialPort::Data8) &&
                    m_port->setParity(QSerialPort::NoParity) &&
                    m_port->setStopBits(QSerialPort::OneStop) &&
                    m_port->setFlowControl(QSerialPort::NoFlowControl);
    clearError();
    // DTR and RTS control disabled: the system raises both when it opens a
    // tty, and DTR drives the probe's level driver. A pseudo-terminal has no
    // modem lines, so a refusal here is not a port failure.
    m_port->setDataTerminalReady(false);
    m_port->setRequestToSend(false);
    clearError();
    return ok;
}

bool QSerialLine::setBaudRate(qint32 baud)
{
    if (!isOpen())
        return false;
    const bool ok = m_port->setBaudRate(baud);
    clearError();
    return ok;
}

qint32 QSerialLine::baudRate() const { return m_port ? m_port->baudRate() : 0; }

bool QSerialLine::setTimeouts(const SerialTimeouts& t)
{
    if (!isOpen())
        return false;
    m_timeouts = t;
    return true;
}

bool QSerialLine::getTimeouts(SerialTimeouts& t) const
{
    if (!isOpen())
        return false;
    t = m_timeouts;
    return true;
}

bool QSerialLine::purge()
{
    if (!isOpen())
        return false;
    const bool ok = m_port->clear(QSerialPort::AllDirections);
    clearError();
    return ok;
}

qint64 QSerialLine::write(const quint8* data, qint64 n)
{
    if (!isOpen())
        return -1;
    qint64 limit = static_cast<qint64>(m_timeouts.writeTotalMultiplier) * n +
                   m_timeouts.writeTotalConstant;
    if (limit <= 0)
        limit = kNoLimitMs;
    const qint64 queued = m_port->write(reinterpret_cast<const char*>(data), n);
    if (queued < 0) {
        clearError();
        return -1;
    }
    QElapsedTimer timer;
    timer.start();
    while (m_port->bytesToWrite() > 0) {
        const qint64 left = limit - timer.elapsed();
        if (left <= 0)
            break;
        if (!m_port->waitForBytesWritten(static_cast<int>(left))) {
            if (portFailed()) {
                clearError();
                return -1;
            }
            clearError();
        }
    }
    return queued - m_port->bytesToWrite();
}

qint64 QSerialLine::read(quint8* data, qint64 n)
{
    if (!isOpen())
        return -1;
    // Interval 0xFFFFFFFF with both totals 0: take what has arrived and return.
    if (m_timeouts.readInterval == 0xFFFFFFFFu && m_timeouts.readTotalMultiplier == 0 &&
        m_timeouts.readTotalConstant == 0) {
        m_port->waitForReadyRead(0);
        clearError();
        const qint64 r = m_port->read(reinterpret_cast<char*>(data), n);
        return r < 0 ? -1 : r;
    }
    const qint64 total =
        static_cast<qint64>(m_timeouts.readTotalMultiplier) * n + m_timeouts.readTotalConstant;
    const qint64 interval = m_timeouts.readInterval;
    QElapsedTimer timer;
    timer.start();
    qint64 got = 0;
    qint64 lastByteAt = 0;
    while (got < n) {
        if (m_port->bytesAvailable() > 0) {
            const qint64 r = m_port->read(reinterpret_cast<char*>(data + got), n - got);
            if (r < 0) {
                clearError();
                return got > 0 ? got : -1;
            }
            got += r;
            lastByteAt = timer.elapsed();
            continue;
        }
        const qint64 now = timer.elapsed();
        qint64 wait = total > 0 ? total - now : kNoLimitMs - now;
        if (got > 0 && interval > 0)
            wait = std::min(wait, interval - (now - lastByteAt));
        if (wait <= 0)
            break;
        if (!m_port->waitForReadyRead(static_cast<int>(wait))) {
            if (portFailed()) {
                clearError();
                return got > 0 ? got : -1;
            }
            clearError();
        }
    }
    return got;
}

bool QSerialLine::setRts(bool on)
{
    if (!isOpen())
        return false;
    const bool ok = m_port->setRequestToSend(on);
    clearError();
    return ok;
}

bool QSerialLine::setDtr(bool on)
{
    if (!isOpen())
        return false;
    const bool ok = m_port->setDataTerminalReady(on);
    clearError();
    return ok;
}

bool QSerialLine::modemStatus(quint8& bits)
{
    if (!isOpen())
        return false;
    const QSerialPort::PinoutSignals s = m_port->pinoutSignals();
    if (m_port->error() != QSerialPort::NoError) {
        clearError();
        return false;
    }
    bits = 0;
    if (s & QSerialPort::ClearToSendSignal)
        bits |= ModemCts;
    if (s & QSerialPort::DataSetReadySignal)
        bits |= ModemDsr;
    return true;
}

} // namespace kia
