#pragma once

#include <QtGlobal>
#include <array>

namespace kia {

/// The program's 5 × 8 dot font of the indicator's character set (codes 32..255
/// in the indicator's order: Latin as ASCII, Cyrillic capitals from 128,
/// small letters from 160 and 224). One byte per dot row, top row first, the
/// low 5 bits used (bit 4 the leftmost dot); row 7 is the cursor line and stays
/// dark except for the letters with a descender. It draws the on-screen
/// indicator and gives the dot rows of the user characters. Codes below 32
/// (the user characters' own codes on the board) have no glyph here: they are
/// blank. Plain data, any thread.
using IndicatorGlyph = std::array<quint8, 8>;

const IndicatorGlyph& indicatorGlyph(int code);

} // namespace kia
