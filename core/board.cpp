#include "board.h"

namespace kia {

QString boardDesignation(int boardType)
{
    switch (boardType) {
    case 0: return QStringLiteral("402615.123");
    case 1: return QStringLiteral("402615.148 LIT.- LIT.2");
    case 2: return QStringLiteral("402615.148 LIT.3");
    case 3: return QStringLiteral("402615.174 LIT.");
    case 4: return QStringLiteral("402615.276");
    default: return QString();
    }
}

QString titlePrefix()
{
    return QStringLiteral(" КИА ККМ \"Нельта-02Ф\" и \"Нельта-02К\" плата ");
}

QString productCaption()
{
    return QStringLiteral("КИА ККМ \"Нельта-02Ф\" и \"Нельта-02К\"");
}

QString mainWindowTitle(int boardType)
{
    return titlePrefix() + boardDesignation(boardType) + QStringLiteral(" - ") + applicationTitle();
}

} // namespace kia
