#pragma once

#include <QtGlobal>

namespace kia {

/// Colours of the test windows as 0xRRGGBB values (the widgets turn them into
/// QColor). Shared by the test dialog, the memory-error display and the
/// port-image list; no widget code here.
namespace testcolour {
constexpr quint32 ProgressBackground = 0xFFFFBE; // light yellow behind the progress bar
constexpr quint32 Address = 0x005F00;            // dark green address column
constexpr quint32 Matching = 0x0000BF;           // blue: the byte or bit is as expected
constexpr quint32 Differing = 0xBF0000;          // red: a read byte or bit that differs
constexpr quint32 ExpectedDiffering = 0x000000;  // black: an expected byte where the read differs
constexpr quint32 PortHeader = 0x0000BF;         // blue pin header rows
constexpr quint32 PortLabel = 0x008F00;          // green row labels
constexpr quint32 PortBit = 0x000000;            // black bits
} // namespace testcolour

} // namespace kia
