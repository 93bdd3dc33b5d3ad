#pragma once

#include <QString>
#include <QStringList>

namespace kia {

/// Classic 16-bytes-a-row dump: "1230  01 02 ... 08 - 09 ... 10  |........|".
QStringList hexDump(quint32 address, const QByteArray& data);

/// Parses a number written in decimal, or hex with 0x / h suffix / $ prefix.
bool parseNumber(const QString& text, quint32 maxValue, quint32& value);

} // namespace kia
