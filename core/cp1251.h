#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kia {

/// The Windows Cyrillic code page of the data files (version list, points
/// names, scenario and step files). A table of our own rather than a system
/// codec, so that every machine decodes and encodes the same bytes the same way.
/// Pure functions, any thread.

/// Decodes single-byte text. The one byte without a character (0x98) becomes U+FFFD.
QString fromCp1251(QByteArrayView bytes);
/// Encodes text; a character the code page lacks becomes '?'.
QByteArray toCp1251(QStringView text);

} // namespace kia
