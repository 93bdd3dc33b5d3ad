#pragma once

#include <QtGlobal>
#include <array>

namespace sim {

/// A chip on the board's I²C bus as the peer's firmware uses it: bytes at
/// addresses within the chip, wrapping at its size. `nowUs` is the bench
/// clock, for chips that keep time. Owned by the BoardModel.
class I2cDevice {
public:
    virtual ~I2cDevice() = default;
    virtual int size() const = 0;
    virtual quint8 read(quint16 address, qint64 nowUs) = 0;
    virtual void write(quint16 address, quint8 value, qint64 nowUs) = 0;
};

/// Bus addresses (the 8-bit write address, 0xA0, 0xA2, 0xD0 ...) to chips.
/// A missing chip does not acknowledge; its reads give 0xFF (pulled-up bus).
class I2cBus {
public:
    void attach(quint8 address, I2cDevice* device) { m_devices[address >> 1] = device; }
    I2cDevice* device(quint8 address) const { return m_devices[address >> 1]; }

private:
    std::array<I2cDevice*, 128> m_devices{};
};

} // namespace sim
