#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

/// What the bus fault analysis concludes from one failed walk step: the
/// report text that names the pins, and the error keyword for guided
/// diagnostics. Pure, any thread; the bus test stores both in the context.

/// The report text for an expected and a read 32-bit port image.
QString busFaultReport(int boardType, quint32 expected, quint32 read);

/// "BUS_ERROR", refined: "DATABUS_ERROR" on board type 4 when only port 0
/// differs; on types 0..3, when the read port 0 is not 0xFF, "BUS_ROM" at
/// steps 0..8, "BUS_FLASH" at step 14 and "BUS_READ" when the expected image
/// is 0x7FFFFFFF.
QString busFaultKeyword(int boardType, int step, quint32 expected, quint32 read);

} // namespace kia
