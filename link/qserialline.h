#pragma once

#include "serialline.h"

#include <QSerialPort>

namespace kia {

/// A real serial device through Qt SerialPort, used in blocking mode by the
/// thread that opened it. Time-outs follow the rules of SerialTimeouts. On a
/// pseudo-terminal the modem-line calls fail (there are no modem lines).
class QSerialLine final : public SerialLine {
public:
    explicit QSerialLine(const QString& device);
    ~QSerialLine() override;

    QString deviceName() const override { return m_device; }
    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool configure(qint32 baud) override;
    bool setBaudRate(qint32 baud) override;
    qint32 baudRate() const override;
    bool setTimeouts(const SerialTimeouts& t) override;
    bool getTimeouts(SerialTimeouts& t) const override;
    bool purge() override;
    qint64 write(const quint8* data, qint64 n) override;
    qint64 read(quint8* data, qint64 n) override;
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    bool modemStatus(quint8& bits) override;
    bool deviceLost() const override { return m_lost; }

private:
    bool portFailed() const;
    /// Clears the port's error, remembering whether it meant a lost device.
    void clearError();
    QString m_device;
    QSerialPort* m_port = nullptr; // made lazily in the thread that opens the line
    SerialTimeouts m_timeouts;
    bool m_lost = false;
};

} // namespace kia
