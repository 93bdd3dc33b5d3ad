#pragma once

#include <QString>

class QSqlDatabase;

namespace kia {

/// The journal's tables, shared by the writer and the readers.
namespace journalschema {

/// Sets the connection up (write-ahead log, full sync, busy time-out) and
/// creates the tables when missing. False with the reason in *error: not a
/// database, damaged, read-only, locked, or written by a newer workstation.
bool prepare(QSqlDatabase& db, int busyTimeoutMs, QString* error);
/// For a read-only connection: the busy time-out and the checks of prepare(),
/// nothing created.
bool check(QSqlDatabase& db, int busyTimeoutMs, QString* error);

/// A unique connection name for one user of the journal.
QString newConnectionName();

} // namespace journalschema
} // namespace kia
