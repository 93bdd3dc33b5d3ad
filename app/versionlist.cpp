#include "versionlist.h"

#include "core/cp1251.h"

namespace kia {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

} // namespace

VersionEntry oldestVersionEntry() {
    return {QStringLiteral("меньше 2.10"), QStringLiteral("нет")};
}

QList<VersionEntry> parseVersionList(const QByteArray& fileBytes) {
    QList<VersionEntry> entries;
    qsizetype start = 0;
    while (start < fileBytes.size()) {
        qsizetype end = fileBytes.indexOf('\n', start);
        if (end < 0)
            end = fileBytes.size();
        const QString line =
            fromCp1251(QByteArrayView(fileBytes).sliced(start, end - start)).trimmed();
        start = end + 1;

        if (!line.startsWith(u'V'))
            continue;
        qsizetype blank = -1;
        for (qsizetype i = 1; i < line.size(); ++i) {
            if (isBlank(line[i])) {
                blank = i;
                break;
            }
        }
        if (blank < 0)
            break; // a version without its file name closes the list
        VersionEntry e;
        e.name = line.mid(1, blank - 1);
        if (line.size() >= 7)
            e.value = line.mid(blank + 1).trimmed();
        entries.append(e);
    }
    return entries;
}

QList<VersionEntry> versionChoices(const QList<VersionEntry>& fromFile) {
    QList<VersionEntry> all{oldestVersionEntry()};
    all.append(fromFile);
    return all;
}

} // namespace kia
