#pragma once

#include "link/serialline.h"

#include <QStringList>
#include <memory>

/// Wraps a serial line and writes down, as hex tokens, every byte the
/// workstation sends and every DTR change ("DTR+" set, "DTR-" clear).
class RecordingLine final : public kia::SerialLine {
public:
    explicit RecordingLine(std::unique_ptr<kia::SerialLine> inner) : m_inner(std::move(inner)) {}

    QStringList tokens;
    bool recording = false;

    QString deviceName() const override { return m_inner->deviceName(); }
    bool open() override { return m_inner->open(); }
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    bool configure(qint32 baud) override { return m_inner->configure(baud); }
    bool setBaudRate(qint32 baud) override { return m_inner->setBaudRate(baud); }
    qint32 baudRate() const override { return m_inner->baudRate(); }
    bool setTimeouts(const kia::SerialTimeouts& t) override { return m_inner->setTimeouts(t); }
    bool getTimeouts(kia::SerialTimeouts& t) const override { return m_inner->getTimeouts(t); }
    bool purge() override { return m_inner->purge(); }
    qint64 write(const quint8* data, qint64 n) override {
        if (recording) {
            for (qint64 i = 0; i < n; ++i)
                tokens << QStringLiteral("%1").arg(data[i], 2, 16, QLatin1Char('0')).toUpper();
        }
        return m_inner->write(data, n);
    }
    qint64 read(quint8* data, qint64 n) override { return m_inner->read(data, n); }
    bool setRts(bool on) override { return m_inner->setRts(on); }
    bool setDtr(bool on) override {
        if (recording)
            tokens << (on ? QStringLiteral("DTR+") : QStringLiteral("DTR-"));
        return m_inner->setDtr(on);
    }
    bool modemStatus(quint8& bits) override { return m_inner->modemStatus(bits); }

private:
    std::unique_ptr<kia::SerialLine> m_inner;
};
