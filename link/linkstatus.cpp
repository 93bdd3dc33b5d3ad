#include "linkstatus.h"

#include "core/board.h"

namespace kia {

namespace {
QString unknownError() { return QStringLiteral("Неизвестная ошибка !   "); }

// Rows shared by the programmer and cash-register variants; status 2 and 100 differ.
QString commonText(quint8 status)
{
    switch (status) {
    case LinkOk: return QStringLiteral("Нет ошибки !   ");
    case LinkWriteError: return QStringLiteral("Ошибка передачи !    ");
    case LinkCheckError: return QStringLiteral("Ошибка приема/передачи !    ");
    case LinkPortError: return QStringLiteral("Ошибка инициализации !    ");
    default: return unknownError();
    }
}
} // namespace

QString linkMessageTitle(int selectedPort)
{
    return QStringLiteral("Com") + QString::number(selectedPort);
}

StatusMessage LinkStatusText(quint8 status, int boardType, int selectedPort)
{
    StatusMessage m;
    m.title = linkMessageTitle(selectedPort);
    if (status == LinkReadError)
        m.text = isProgrammerBoard(boardType)
                     ? QStringLiteral("Нет связи с контроллером БУ !    ")
                     : QStringLiteral("Нет связи с тестовым процессором !    ");
    else if (status == LinkProbeLineFault)
        m.text = QStringLiteral("Неисправна линия DSR или CTS порта\nили неисправен логический "
                                "пробник !\n( проверьте также наличие +5в на X1/1.)");
    else
        m.text = commonText(status);
    return m;
}

StatusMessage CashLinkStatusText(quint8 status, int selectedPort)
{
    StatusMessage m;
    m.title = linkMessageTitle(selectedPort);
    if (status == LinkReadError)
        m.text = QStringLiteral(
            "Нет связи с кассой !  Возможные причины: \n1. Касса не включена.\n2. Неисправен "
            "кабель \"ПК - Пробник\".\n3. Неисправен пробник.\n4. Неисправен канал RS232 "
            "ККМ.\n5. В программе выбран не тот СОМ порт.\n6. Неисправен СОМ порт ПК.");
    else
        m.text = commonText(status);
    return m;
}

QString identificationText(quint8 result)
{
    switch (result) {
    case 1: return QStringLiteral("COM порт не инициализирован!      ");
    case 2: return QStringLiteral("Ошибка инициализации COM порта!      ");
    case 3: return QStringLiteral("Нет связи с программатором!      ");
    case 4: return QStringLiteral("Ошибка передачи COM порта!      ");
    case 5: return QStringLiteral("Нет доступа к контроллеру БУ!      ");
    default: return QStringLiteral("Неизвестная ошибка!     ");
    }
}

QString diagnosticsOfferSuffix() { return QStringLiteral("\n\n      Запустить диагностику?"); }

} // namespace kia
