#include "busfault.h"

#include "core/board.h"
#include "portpins.h"

#include <bit>

namespace kia {

QString busFaultReport(int boardType, quint32 expected, quint32 read) {
    const quint32 differing = expected ^ read;
    const QString d = PinList(differing, boardType);
    const QString z = PinList(~expected, boardType);
    const bool several = std::popcount(differing) > 1;

    const bool dd5 = isProgrammerBoard(boardType);
    const QString checkEnd =
        dd5 ? QStringLiteral(
                  "\nна отсутствие к.з. Если все нормально,\nто вероятно неисправна м/с DD5 !")
            : QStringLiteral("\nна отсутствие к.з. Если все нормально,\nто вероятно неисправен "
                             "тестовый процессор !");
    const QString shortEnd =
        dd5 ? QStringLiteral(" !\nЕсли замыкания нет,то вероятно неисправна\nм/с DD5 !")
            : QStringLiteral(" !\nЕсли замыкания нет,то вероятно неисправен\nтестовый процессор !");

    if (d == z || (z.isEmpty() && !several))
        return QStringLiteral("Проверте цепь контакта ") + d + checkEnd;
    if (z.isEmpty())
        return QStringLiteral("Проверте цепь контактов ") + d + checkEnd;
    return QStringLiteral("Найдите и устраните замыкание цепи \nконтакта ") + z +
           (several ? QStringLiteral(" c  цепями контактов ")
                    : QStringLiteral(" c  цепью контакта ")) +
           d + shortEnd;
}

QString busFaultKeyword(int boardType, int step, quint32 expected, quint32 read) {
    const quint32 differing = expected ^ read;
    if (isProgrammerBoard(boardType)) {
        if ((differing & 0xFF) != 0 && (differing & 0xFFFFFF00u) == 0)
            return QStringLiteral("DATABUS_ERROR");
        return QStringLiteral("BUS_ERROR");
    }
    QString keyword = QStringLiteral("BUS_ERROR");
    if ((read & 0xFF) != 0xFF) {
        if (step >= 0 && step <= 8)
            keyword = QStringLiteral("BUS_ROM");
        else if (step == 14)
            keyword = QStringLiteral("BUS_FLASH");
        if (expected == 0x7FFFFFFFu)
            keyword = QStringLiteral("BUS_READ");
    }
    return keyword;
}

} // namespace kia
