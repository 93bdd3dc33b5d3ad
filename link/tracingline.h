#pragma once

#include "serialline.h"

#include <functional>
#include <memory>

namespace kia {

class Clock;

/// Wraps a line and reports every byte both ways, in hex, with the direction
/// and the time since the line was made: "   12.345 ms  PC>  02 00 00 00 FF 00 FE".
/// Port actions (open, speed, purge, time-outs, modem lines) are reported too.
class TracingLine final : public SerialLine {
public:
    TracingLine(std::unique_ptr<SerialLine> inner, Clock& clock,
                std::function<void(const QString&)> sink);

    QString deviceName() const override { return m_inner->deviceName(); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_inner->isOpen(); }
    bool configure(qint32 baud) override;
    bool setBaudRate(qint32 baud) override;
    qint32 baudRate() const override { return m_inner->baudRate(); }
    bool setTimeouts(const SerialTimeouts& t) override;
    bool getTimeouts(SerialTimeouts& t) const override { return m_inner->getTimeouts(t); }
    bool purge() override;
    qint64 write(const quint8* data, qint64 n) override;
    qint64 read(quint8* data, qint64 n) override;
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    bool modemStatus(quint8& bits) override;
    bool deviceLost() const override { return m_inner->deviceLost(); }

private:
    void emitLine(const QString& what) const;
    std::unique_ptr<SerialLine> m_inner;
    Clock& m_clock;
    std::function<void(const QString&)> m_sink;
    qint64 m_startUs;
    SerialTimeouts m_lastTimeouts;
};

/// "02 00 FF" for the bytes given.
QString hexBytes(const quint8* data, qint64 n);

} // namespace kia
