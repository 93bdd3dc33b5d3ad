#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

/// Windows-style port time-outs, in milliseconds. A read of n bytes returns
/// when n bytes have arrived, when readTotalConstant + n * readTotalMultiplier
/// has passed since the call (0 and 0: no total limit), or when more than
/// readInterval passes between two bytes after the first one (0: no limit).
/// A write may take writeTotalConstant + n * writeTotalMultiplier (0 and 0: no limit).
struct SerialTimeouts {
    quint32 readInterval = 0;
    quint32 readTotalMultiplier = 0;
    quint32 readTotalConstant = 0;
    quint32 writeTotalMultiplier = 0;
    quint32 writeTotalConstant = 0;

    friend bool operator==(const SerialTimeouts&, const SerialTimeouts&) = default;
};

/// Modem-status bits as the link and the probe read them.
enum ModemBits : quint8 { ModemCts = 0x10, ModemDsr = 0x20 };

/// One serial port as the link needs it: exclusive open, 8N1 without flow
/// control at a given speed, time-outs, purge, blocking read and write, and the
/// modem lines (RTS and DTR out, CTS and DSR in).
///
/// Owned by LinkPort; used by one thread at a time (the UI thread, or the
/// worker of a service operation while the UI waits in a modal dialog).
/// Backends: QSerialLine (a real device) and sim::BenchLine (the simulated bench).
class SerialLine {
public:
    virtual ~SerialLine() = default;

    /// Device or peer this line talks to, for traces and messages.
    virtual QString deviceName() const = 0;

    /// Opens the device exclusively for reading and writing; the device must exist.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    /// 8 data bits, no parity, one stop bit, no flow control, DTR and RTS
    /// control disabled (both lines low), at `baud`. Applied on every open.
    virtual bool configure(qint32 baud) = 0;
    virtual bool setBaudRate(qint32 baud) = 0;
    virtual qint32 baudRate() const = 0;

    virtual bool setTimeouts(const SerialTimeouts& t) = 0;
    virtual bool getTimeouts(SerialTimeouts& t) const = 0;

    /// Discards both the transmit and the receive queue.
    virtual bool purge() = 0;

    /// Writes n bytes within the write time-out; returns the count written or -1.
    virtual qint64 write(const quint8* data, qint64 n) = 0;
    /// Reads up to n bytes within the read time-outs; returns the count read
    /// (0 when nothing came) or -1 on a port failure. A read interval of
    /// 0xFFFFFFFF with both totals 0 returns at once with what has arrived.
    virtual qint64 read(quint8* data, qint64 n) = 0;

    virtual bool setRts(bool on) = 0;
    virtual bool setDtr(bool on) = 0;
    /// CTS and DSR as ModemBits.
    virtual bool modemStatus(quint8& bits) = 0;

    /// True once a port call failed in a way that means the device itself is
    /// gone (a USB adapter pulled out), as opposed to a peer that is silent:
    /// the open handle is dead and only a new open can reach the device again.
    virtual bool deviceLost() const { return false; }
};

} // namespace kia
