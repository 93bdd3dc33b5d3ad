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
    // An editor that writes a byte-order mark has written UTF-8; without one
    // the file is Windows-1251.
    QByteArrayView bytes(fileBytes);
    const bool utf8 = bytes.startsWith("\xEF\xBB\xBF");
    if (utf8)
        bytes = bytes.sliced(3);
    auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    // The blanks QString::trimmed() removes that are single ASCII bytes.
    auto isAsciiBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };

    QList<VersionEntry> entries;
    qsizetype start = 0;
    while (start < bytes.size()) {
        // CR LF, LF and a lone CR all end a line (the empty line between CR and LF is skipped).
        qsizetype end = start;
        while (end < bytes.size() && !isLineEnd(bytes[end]))
            ++end;
        const QByteArrayView raw = bytes.sliced(start, end - start);
        start = end + 1;

        // Most lines of a long file are no entry: when the first byte after
        // plain blanks is ASCII and not 'V' (or there is none), the trimmed
        // line cannot start with 'V', so the line is skipped undecoded. A
        // first byte above 0x7F may be a blank of its own and is decoded.
        qsizetype first = 0;
        while (first < raw.size() && isAsciiBlank(raw[first]))
            ++first;
        if (first == raw.size() || (uchar(raw[first]) < 0x80 && raw[first] != 'V'))
            continue;

        const QString line = (utf8 ? QString::fromUtf8(raw) : fromCp1251(raw)).trimmed();

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
