#pragma once

#include "indicatorfont.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace kia {

class BenchContext;

/// What the workstation last wrote to one indicator: the 16 screen codes, the
/// eight user characters' dot rows, how many are in use and which indicator
/// code each stands for. The on-screen indicator draws from it. Plain value.
struct IndicatorScreen {
    std::array<quint8, 16> codes{};
    std::array<IndicatorGlyph, 8> userRows{};
    std::array<int, 8> userFor{};
    int userCount = 0;

    IndicatorScreen() { codes.fill(0x20); }
    /// Dot rows of screen position i: a user character's rows or the font's.
    IndicatorGlyph glyphAt(int position) const;
};

/// The text prepared for the indicator: one code per position (0..7 for a
/// user character) and the user characters it needs, in slot order.
struct IndicatorText {
    std::array<quint8, 16> codes{};
    std::array<int, 8> userFor{}; ///< indicator code each slot shows
    int userCount = 0;
    /// Characters that needed a ninth user character: shown as "?".
    int refused = 0;
};

/// A character of the program's single-byte Cyrillic text in the indicator's
/// order, Latin look-alikes of the capitals already replaced: 192..239 − 64,
/// 240..255 − 16, 128..191 "?", 127 "o".
quint8 indicatorCode(quint8 cp1251);
/// Whether the indicator code must be shown through a user character (it is
/// 128 or above, or "<" / ">", which the controller's own set draws otherwise).
bool needsUserCharacter(quint8 code);
/// The text cut or padded with blanks to 16 characters and converted; user
/// characters are handed out from slot 0. Past the eighth distinct one there
/// is no slot, so such characters show "?" and no ninth slot is ever written.
IndicatorText prepareIndicatorText(const QString& text);

/// Writes the text to the indicator: the user characters' dot rows first
/// (command 0x40 + 8 × slot, 8 rows), then every position with its cursor
/// command and its code. `screen` (may be null) becomes the copy of what the
/// indicator shows. False at the first failed link operation.
bool ShowIndicatorText(BenchContext& ctx, int indicator, const QString& text,
                       IndicatorScreen* screen = nullptr);

} // namespace kia
