#pragma once

#include "i2cdevice.h"
#include "memory.h"

namespace sim {

/// 24С256: 32 KiB of I²C EEPROM, blank (0xFF) when new.
class Eeprom24c256 final : public I2cDevice {
public:
    static constexpr int Size = 32768;

    Eeprom24c256() : m_memory(Size, 0xFF) {}

    int size() const override { return Size; }
    quint8 read(quint16 address, qint64) override { return m_memory.read(address); }
    void write(quint16 address, quint8 value, qint64) override { m_memory.write(address, value); }

    Memory& memory() { return m_memory; }

private:
    Memory m_memory;
};

} // namespace sim
