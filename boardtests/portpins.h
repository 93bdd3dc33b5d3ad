#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace kia {

/// Pin numbers behind the port images of the bus test and the PPI test.
/// A bus image has bits 0..7 port 0 … bits 24..31 port 3 of the processor
/// socket (DD3 on board types 0..3, DD5 on type 4); a PPI image has bits
/// 0..7 port A, 8..15 port B, 16..23 port C of the 82C55. Pure, any thread.

/// The chip whose pins the bus test walks: "DD3" or "DD5".
QString busChip(int boardType);
/// The PPI chip: "DD15" on board type 3, "DD14" on the others.
QString ppiChip(int boardType);

/// Pin of bit 0..7 of bus port 0..3.
int busPin(int boardType, int port, int bit);
/// Pin of bit 0..7 of PPI port 0..2 (A, B, C).
int ppiPin(int port, int bit);

/// The pins of the set bits of a 32-bit bus mask as "DD3/39,DD3/38"
/// ("DD5/…" on board type 4) in bit order; empty for a zero mask.
QString PinList(quint32 mask, int boardType);

/// Header row of one port in the port-image list:
/// "Порт 0  -  DD3 : 39 38 37 36 35 34 33 32", "Порт A  -  DD14: 4  3  2  1  40 39 38 37".
QString portHeaderText(int port, bool ppi, int boardType);

} // namespace kia
