#include "portimagemodel.h"

#include "portpins.h"

namespace kia {

PortImageModel::PortImageModel(int boardType, quint32 expected, quint32 read, bool ppi)
    : m_boardType(boardType), m_expected(ppi ? expected & 0xFFFFFF : expected),
      m_read(ppi ? read & 0xFFFFFF : read), m_ppi(ppi) {}

QString PortImageModel::title() const {
    return m_ppi ? QStringLiteral("Тест ППИ не прошел !")
                 : QStringLiteral("Тест шин контроллера не прошел !");
}

QString PortImageModel::expectedLabel() {
    return QStringLiteral("Ожидаемый уров.:");
}
QString PortImageModel::readLabel() {
    return QStringLiteral("Считанный уров.:");
}
QString PortImageModel::diagnosticsButton() {
    return QStringLiteral("Диагностика");
}
QString PortImageModel::exitButton() {
    return QStringLiteral("Выход");
}

PortImageModel::Row PortImageModel::row(int index) const {
    Row r;
    r.port = qBound(0, index / 3, portCount() - 1);
    const quint8 expectedBits = static_cast<quint8>(m_expected >> (8 * r.port));
    const quint8 readBits = static_cast<quint8>(m_read >> (8 * r.port));
    switch (index % 3) {
    case 0:
        r.kind = RowKind::Header;
        r.label = portHeaderText(r.port, m_ppi, m_boardType);
        break;
    case 1:
        r.kind = RowKind::Expected;
        r.label = expectedLabel();
        r.bits = expectedBits;
        break;
    default:
        r.kind = RowKind::Read;
        r.label = readLabel();
        r.bits = readBits;
        r.differing = static_cast<quint8>(expectedBits ^ readBits);
        break;
    }
    return r;
}

QString PortImageModel::rowText(int index) const {
    const Row r = row(index);
    if (r.kind == RowKind::Header)
        return r.label;
    QString s = r.label + QLatin1Char(' ');
    for (int bit = 0; bit < 8; ++bit) {
        s += QLatin1Char((r.bits >> bit) & 1 ? '1' : '0');
        if (bit < 7)
            s += QStringLiteral("  ");
    }
    return s;
}

} // namespace kia
