#include "statuspanes.h"

namespace kia {

QString idlePromptText() {
    return QStringLiteral("Для помощи нажми F1");
}

QString selectionPaneText(int comPort, quint8 instrument) {
    return QStringLiteral("Выбор: COM") + QString::number(comPort) + QStringLiteral(" и ") +
           (instrument == 1 ? QStringLiteral("лог. пробник.") : QStringLiteral("осциллограф."));
}

} // namespace kia
