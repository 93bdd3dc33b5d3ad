#include "faulttypes.h"

#include "core/cp1251.h"

#include <QFile>

namespace kia {

namespace {

QString valueOf(const QString& line, QLatin1StringView keyword) {
    const qsizetype i = line.indexOf(keyword);
    if (i < 0)
        return QString();
    const qsizetype s = i + keyword.size();
    qsizetype e = line.indexOf(QLatin1Char(';'), s);
    return line.mid(s, (e < 0 ? line.size() : e) - s);
}

// Columns 7 and 8 of the line, leading digits only.
int maskOf(const QByteArray& line) {
    int mask = 0;
    for (qsizetype i = 6; i < 8 && i < line.size(); ++i) {
        if (line.at(i) < '0' || line.at(i) > '9')
            break;
        mask = mask * 10 + (line.at(i) - '0');
    }
    return mask;
}

} // namespace

QString faultTypeTitle() { return QStringLiteral("Выберите тип неисправности..."); }

FaultTypeList ReadFaultTypes(QIODevice& device, int boardType) {
    const QByteArray all = device.readAll();
    return ReadFaultTypes(QByteArrayView(all), boardType);
}

FaultTypeList ReadFaultTypes(QByteArrayView text, int boardType) {
    FaultTypeList list;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype nl = text.indexOf('\n', pos);
        if (nl < 0)
            nl = text.size();
        QByteArray raw = text.sliced(pos, nl - pos).toByteArray();
        pos = nl + 1;
        while (!raw.isEmpty() && (raw.endsWith('\n') || raw.endsWith('\r')))
            raw.chop(1);
        if (!raw.contains("DIAGN") || raw.isEmpty())
            continue;
        const bool fits = boardType >= 0 && boardType < 31 && ((maskOf(raw) >> boardType) & 1);
        const char first = raw.at(0);
        if (first == 'C' || first == 'O' || first == 'P') {
            if (fits) {
                list.readable = true;
                return list;
            }
            continue;
        }
        if (first != 'I' || !fits)
            continue;
        const QString line = fromCp1251(raw);
        const QString description = valueOf(line, QLatin1StringView("T-"));
        if (description.isEmpty())
            continue;
        const QString d0 = valueOf(line, QLatin1StringView("D0-"));
        const QString d1 = valueOf(line, QLatin1StringView("D1-"));
        if (d0.isEmpty() == d1.isEmpty()) {
            ++list.skipped; // both or neither: no scenario belongs to this line
            continue;
        }
        list.entries.append({description, d0.isEmpty() ? d1 : d0, d0.isEmpty() ? 1 : 0});
    }
    list.entries.clear();
    return list;
}

FaultTypeList ReadFaultTypes(const QString& fileName, int boardType) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return FaultTypeList();
    return ReadFaultTypes(file, boardType);
}

} // namespace kia
