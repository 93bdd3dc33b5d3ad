#include "hexdump.h"

namespace kia {

QStringList hexDump(quint32 address, const QByteArray& data)
{
    QStringList rows;
    for (int off = 0; off < data.size(); off += 16) {
        QString row = QStringLiteral("%1 ").arg(address + quint32(off), 4, 16, QLatin1Char('0')).toUpper();
        QString text;
        for (int i = 0; i < 16; ++i) {
            if (i == 8)
                row += QStringLiteral(" -");
            if (off + i < data.size()) {
                const quint8 b = quint8(data[off + i]);
                row += QStringLiteral(" %1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
                text += (b >= 0x20 && b < 0x7F) ? QLatin1Char(char(b)) : QLatin1Char('.');
            } else {
                row += QStringLiteral("   ");
            }
        }
        rows << row + QStringLiteral("  |") + text + QLatin1Char('|');
    }
    return rows;
}

bool parseNumber(const QString& text, quint32 maxValue, quint32& value)
{
    QString t = text.trimmed();
    int base = 10;
    if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        t = t.mid(2);
        base = 16;
    } else if (t.startsWith(QLatin1Char('$'))) {
        t = t.mid(1);
        base = 16;
    } else if (t.endsWith(QLatin1Char('h'), Qt::CaseInsensitive)) {
        t.chop(1);
        base = 16;
    }
    if (t.isEmpty())
        return false;
    // Digits only: no second prefix ("0x0x10"), sign or blank inside.
    for (const QChar c : std::as_const(t)) {
        const bool digit = c >= u'0' && c <= u'9';
        const bool hexLetter = (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!digit && !(base == 16 && hexLetter))
            return false;
    }
    bool ok = false;
    const qulonglong v = t.toULongLong(&ok, base);
    if (!ok || v > maxValue)
        return false;
    value = quint32(v);
    return true;
}

} // namespace kia
