#include "indicatortext.h"

#include "core/cp1251.h"
#include "indicatoraccess.h"

namespace kia {

namespace {
// Capitals of the indicator's order (А = 128) that the controller's Latin
// letters draw well enough.
struct LookAlike {
    quint8 cyrillic;
    char latin;
};
constexpr LookAlike kLookAlikes[] = {
    {128, 'A'}, {130, 'B'}, {133, 'E'}, {138, 'K'}, {140, 'M'}, {141, 'H'},
    {142, 'O'}, {144, 'P'}, {145, 'C'}, {146, 'T'}, {149, 'X'},
};
} // namespace

IndicatorGlyph IndicatorScreen::glyphAt(int position) const {
    const quint8 code = codes[static_cast<size_t>(position & 15)];
    if (code < 8)
        return userRows[code];
    return indicatorGlyph(code);
}

quint8 indicatorCode(quint8 c) {
    quint8 code = c;
    if (c >= 192 && c <= 239)
        code = static_cast<quint8>(c - 64);
    else if (c >= 240)
        code = static_cast<quint8>(c - 16);
    else if (c >= 128)
        code = '?';
    else if (c == 127)
        code = 111;
    for (const LookAlike& l : kLookAlikes) {
        if (l.cyrillic == code)
            return static_cast<quint8>(l.latin);
    }
    return code;
}

bool needsUserCharacter(quint8 code) {
    return code >= 128 || code == '<' || code == '>';
}

IndicatorText prepareIndicatorText(const QString& text) {
    QByteArray bytes = toCp1251(text).left(indicator::Positions);
    while (bytes.size() < indicator::Positions)
        bytes.append(' ');
    IndicatorText out;
    for (int i = 0; i < indicator::Positions; ++i) {
        const quint8 code = indicatorCode(static_cast<quint8>(bytes[i]));
        quint8 shown = code;
        if (needsUserCharacter(code)) {
            int slot = -1;
            for (int n = 0; n < out.userCount; ++n) {
                if (out.userFor[static_cast<size_t>(n)] == code)
                    slot = n;
            }
            if (slot < 0 && out.userCount < indicator::UserCharacters) {
                slot = out.userCount++;
                out.userFor[static_cast<size_t>(slot)] = code;
            }
            if (slot >= 0) {
                shown = static_cast<quint8>(slot);
            } else {
                shown = '?';
                ++out.refused;
            }
        }
        out.codes[static_cast<size_t>(i)] = shown;
    }
    return out;
}

bool ShowIndicatorText(BenchContext& ctx, int ind, const QString& text, IndicatorScreen* screen) {
    const IndicatorText t = prepareIndicatorText(text);
    if (screen)
        screen->userCount = 0;
    for (int n = 0; n < t.userCount; ++n) {
        const IndicatorGlyph& rows = indicatorGlyph(t.userFor[static_cast<size_t>(n)]);
        if (!IndicatorCommand(ctx, ind, static_cast<quint8>(indicator::CharacterAddress + 8 * n)))
            return false;
        for (quint8 row : rows) {
            if (!IndicatorWrite(ctx, ind, row))
                return false;
        }
        if (screen) {
            screen->userRows[static_cast<size_t>(n)] = rows;
            screen->userFor[static_cast<size_t>(n)] = t.userFor[static_cast<size_t>(n)];
            screen->userCount = n + 1;
        }
    }
    for (int i = 0; i < indicator::Positions; ++i) {
        if (!IndicatorCommand(ctx, ind, indicator::positionCommand(i)) ||
            !IndicatorWrite(ctx, ind, t.codes[static_cast<size_t>(i)]))
            return false;
        if (screen)
            screen->codes[static_cast<size_t>(i)] = t.codes[static_cast<size_t>(i)];
    }
    return true;
}

} // namespace kia
