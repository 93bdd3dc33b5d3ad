#pragma once

#include <QtGlobal>

namespace kia {

/// Decoded 6-byte check-result reply.
struct CheckResult {
    bool passed = false;
    quint16 value = 0;
    quint8 data1 = 0;
    quint8 data2 = 0;
};

/// Decoded 4-byte short result reply.
struct ShortResult {
    bool passed = false;
    quint16 value = 0;
};

} // namespace kia
