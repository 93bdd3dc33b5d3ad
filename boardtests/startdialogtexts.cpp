#include "startdialogtexts.h"

#include "core/board.h"

namespace kia::startdialog {

QString title() {
    return QStringLiteral("Начало тестирования");
}

QString instructionText(int boardType) {
    if (isProgrammerBoard(boardType))
        return QStringLiteral(
            "Перед тестированием отключите разъемы X5,X6, X7, X10 блока управления,\n"
            "подключите COM-порт компьютера через логическй пробник к программатору,\n"
            "а программатор к разъемам X1 и X4 блока управления и включите питание\n"
            "кассы !");
    if (boardType == 3)
        return QStringLiteral(
            "Перед тестированием  установите на блоке управления  тестовый процессор\n"
            "на место DD3,отключите разъемы X5, X6, X7, X8, подключите COM-порт\n"
            "компьютера через логическй пробник к разъему X1 и включите\n"
            "питание кассы !");
    return QStringLiteral(
        "Перед тестированием  установите на блоке управления  тестовый процессор на место DD3, "
        "отключите разъемы X5, X6, X7, подключите  COM-порт компьютера через логическй пробник к "
        "разъему  X1, и включите питание кассы !");
}

int schemePictureId(int boardType) {
    return isProgrammerBoard(boardType) ? 301 : 302;
}

QString continueButton() {
    return QStringLiteral("Продолжить");
}
QString cancelButton() {
    return QStringLiteral("Отменить");
}
QString dontShowCheckBox() {
    return QStringLiteral("Больше не выводить это сообщение.");
}

QString schemeButton(bool expanded) {
    return expanded ? QStringLiteral("Скрыть схему") : QStringLiteral("Схема подключения");
}

int collapsedHeight(int fullHeight, int pictureHeight) {
    return fullHeight - pictureHeight - 20;
}

} // namespace kia::startdialog
