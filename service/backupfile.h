#pragma once

#include <QDateTime>
#include <QString>

namespace kia {

class BenchContext;

/// Where the contents of a memory go before a destructive write: a
/// time-stamped file in the "backups" folder of the working folder, e.g.
/// "backups/fp-20261208-094312.fp". The folder is made when missing; a name
/// already taken gets "-2", "-3" … Returns an empty text when the folder
/// cannot be made. Any thread.
QString backupPath(const BenchContext& ctx, const QString& kind, const QString& extension,
                   const QDateTime& localTime);

/// Whether `path` lies in the backups folder of the working folder.
bool isBackupPath(const BenchContext& ctx, const QString& path);

} // namespace kia
