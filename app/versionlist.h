#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kia {

/// One software version of the cash register: the name shown in the choice
/// list and the value, the name of the controller program file that the ROM
/// test compares with the board.
struct VersionEntry {
    QString name;
    QString value;
    friend bool operator==(const VersionEntry&, const VersionEntry&) = default;
};

/// The entry that every version list starts with: software older than 2.10.
VersionEntry oldestVersionEntry();

/// Reads the lines of "versions.txt" (Windows-1251, or UTF-8 after a
/// byte-order mark; lines end in LF, CR LF or CR). Each line is trimmed;
/// a line that does not start with 'V' is skipped; "V<name> <value>" gives
/// an entry whose value is empty when the trimmed line is shorter than 7
/// characters; a 'V' line without a blank ends the list. Any bytes are read
/// safely, with or without line ends. Pure function, any thread.
QList<VersionEntry> parseVersionList(const QByteArray& fileBytes);

/// The whole choice list: the oldest-version entry, then the file's entries.
QList<VersionEntry> versionChoices(const QList<VersionEntry>& fromFile);

} // namespace kia
