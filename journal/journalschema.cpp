#include "journalschema.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <utility>

namespace kia::journalschema {

namespace {

constexpr int kSchemaVersion = 1;

const char* const kTables[] = {
    "CREATE TABLE IF NOT EXISTS journal_info (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "INSERT OR IGNORE INTO journal_info (key, value) VALUES ('schema', '1')",
    "CREATE TABLE IF NOT EXISTS events ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " at TEXT NOT NULL,"
    " board_type INTEGER NOT NULL,"
    " board_id TEXT NOT NULL DEFAULT '',"
    " kind TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " result INTEGER NOT NULL,"
    " outcome INTEGER NOT NULL DEFAULT 0,"
    " verdict TEXT NOT NULL DEFAULT '',"
    " details TEXT NOT NULL DEFAULT '{}')",
    "CREATE INDEX IF NOT EXISTS events_by_board ON events (board_id, at)",
    "CREATE INDEX IF NOT EXISTS events_by_time ON events (at)",
    // The journal is a record: what went in stays as it went in.
    "CREATE TRIGGER IF NOT EXISTS events_never_rewritten BEFORE UPDATE ON events"
    " BEGIN SELECT RAISE(ABORT, 'journal rows are never rewritten'); END",
    "CREATE TRIGGER IF NOT EXISTS events_never_removed BEFORE DELETE ON events"
    " BEGIN SELECT RAISE(ABORT, 'journal rows are never removed'); END",
};

bool exec(QSqlDatabase& db, const QString& sql, QString* error, QSqlQuery* out = nullptr) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    if (out)
        *out = std::move(q);
    return true;
}

bool checkContents(QSqlDatabase& db, QString* error) {
    // A damaged file must be found before anything is written into it.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
        *error = q.lastError().text();
        return false;
    }
    QStringList problems;
    while (q.next())
        if (q.value(0).toString() != QStringLiteral("ok"))
            problems << q.value(0).toString();
    if (!problems.isEmpty()) {
        *error = QStringLiteral("файл поврежден (%1)").arg(problems.first().left(200));
        return false;
    }
    return true;
}

bool checkVersion(QSqlDatabase& db, QString* error) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT value FROM journal_info WHERE key = 'schema'")))
        return true; // no table yet: a new journal
    if (q.next() && q.value(0).toInt() > kSchemaVersion) {
        *error = QStringLiteral("журнал записан более новой версией программы");
        return false;
    }
    return true;
}

} // namespace

QString newConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("kia-journal-%1").arg(++counter);
}

bool check(QSqlDatabase& db, int busyTimeoutMs, QString* error) {
    QString dummy;
    QString& why = error ? *error : dummy;
    if (!exec(db, QStringLiteral("PRAGMA busy_timeout = %1").arg(busyTimeoutMs), &why))
        return false;
    return checkContents(db, &why) && checkVersion(db, &why);
}

bool prepare(QSqlDatabase& db, int busyTimeoutMs, QString* error) {
    QString dummy;
    QString& why = error ? *error : dummy;
    if (!check(db, busyTimeoutMs, &why))
        return false;
    // The write-ahead log lets the journal window read while tests write. Where
    // a file system cannot hold one, SQLite keeps its rollback journal, which
    // is just as safe against a crash.
    if (!exec(db, QStringLiteral("PRAGMA journal_mode = WAL"), &why))
        return false;
    if (!exec(db, QStringLiteral("PRAGMA synchronous = FULL"), &why))
        return false;
    if (!db.transaction()) {
        why = db.lastError().text();
        return false;
    }
    for (const char* sql : kTables)
        if (!exec(db, QString::fromLatin1(sql), &why)) {
            db.rollback();
            return false;
        }
    if (!db.commit()) {
        why = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

} // namespace kia::journalschema
