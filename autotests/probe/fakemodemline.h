#pragma once

#include "link/serialline.h"

#include <functional>

/// A serial line with modem lines only: the probe tests' stand-in for a port
/// with a logic probe in its cable. `probe` gives CTS/DSR for the current RTS
/// state; `failAt` makes one kind of call fail. Bytes written are dropped and
/// reads return nothing.
class FakeModemLine final : public kia::SerialLine {
public:
    enum Failure { NoFailure, FailOpen, FailRts, FailModemStatus };

    std::function<quint8(bool rts)> probe = [](bool) { return quint8(kia::ModemCts); };
    Failure failAt = NoFailure;
    bool rts = false;
    bool dtr = false;
    int modemReads = 0;

    QString deviceName() const override { return QStringLiteral("fake"); }
    bool open() override { return m_open = failAt != FailOpen; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool configure(qint32 baud) override { return setBaudRate(baud); }
    bool setBaudRate(qint32 baud) override {
        m_baud = baud;
        return true;
    }
    qint32 baudRate() const override { return m_baud; }
    bool setTimeouts(const kia::SerialTimeouts& t) override {
        m_timeouts = t;
        return true;
    }
    bool getTimeouts(kia::SerialTimeouts& t) const override {
        t = m_timeouts;
        return true;
    }
    bool purge() override { return true; }
    qint64 write(const quint8*, qint64 n) override { return n; }
    qint64 read(quint8*, qint64) override { return 0; }
    bool setRts(bool on) override {
        rts = on;
        return failAt != FailRts;
    }
    bool setDtr(bool on) override {
        dtr = on;
        return true;
    }
    bool modemStatus(quint8& bits) override {
        ++modemReads;
        if (failAt == FailModemStatus)
            return false;
        bits = probe(rts);
        return true;
    }

private:
    bool m_open = false;
    qint32 m_baud = 9600;
    kia::SerialTimeouts m_timeouts;
};
