#include "expectedbyte.h"

#include <bit>

namespace kia {

quint8 ExpectedByte(int pattern, quint16 address) {
    const quint8 lo = static_cast<quint8>(address & 0xFF);
    const quint8 hi = static_cast<quint8>(address >> 8);
    const bool even = (address & 1) == 0;
    switch (pattern) {
    case 1:
        return even ? 0 : static_cast<quint8>(hi + lo);
    case 2:
        return even ? static_cast<quint8>(hi + lo) : 0;
    case 3:
        return even ? 0 : static_cast<quint8>(0xFF - hi - lo);
    case 4:
        return even ? static_cast<quint8>(0xFF - hi - lo) : 0;
    case 5:
        return even ? 0xAA : 0x55;
    case 6:
        return even ? 0x55 : 0xAA;
    case 7:
        return 0xFF;
    case 8: {
        const int ones = std::popcount(static_cast<unsigned>(address));
        if (ones != 1 && ones != 15)
            return 0xFF;
        if (hi == 0)
            return lo;
        if (lo == 0xFF)
            return hi;
        if (lo == 0)
            return static_cast<quint8>(0xFF - hi);
        if (hi == 0xFF)
            return static_cast<quint8>(0xFF - lo);
        return 0xFF;
    }
    default:
        return static_cast<quint8>(pattern);
    }
}

} // namespace kia
