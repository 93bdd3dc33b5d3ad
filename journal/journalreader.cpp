#include "journalreader.h"

#include "journalschema.h"
#include "repairjournal.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace kia {

JournalReader::JournalReader() : m_connection(journalschema::newConnectionName()) {}

JournalReader::~JournalReader() {
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

bool JournalReader::open(const QString& path, QString* error) {
    QString why;
    m_open = false;
    const QFileInfo info(path);
    if (!info.exists()) {
        why = QStringLiteral("журнал %1 не найден").arg(QDir::toNativeSeparators(path));
    } else if (!info.isFile()) {
        why = QStringLiteral("%1 не является файлом").arg(QDir::toNativeSeparators(path));
    } else {
        QSqlDatabase db = QSqlDatabase::contains(m_connection)
                              ? QSqlDatabase::database(m_connection, false)
                              : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.close();
        db.setDatabaseName(path);
        db.setConnectOptions(info.isWritable() ? QString()
                                               : QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            why = db.lastError().text();
        else if (journalschema::check(db, RepairJournal::kBusyTimeoutMs, &why))
            m_open = true;
        else
            db.close();
    }
    if (error)
        *error = why;
    return m_open;
}

bool JournalReader::events(const JournalFilter& filter, QList<JournalRow>* rows, QString* error) {
    rows->clear();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!m_open || !db.isOpen()) {
        if (error)
            *error = QStringLiteral("журнал не открыт");
        return false;
    }
    QString sql = QStringLiteral("SELECT id, at, board_type, board_id, kind, name, result, verdict,"
                                 " details, outcome FROM events WHERE 1 = 1");
    QVariantList binds;
    if (!filter.anyBoard) {
        sql += QStringLiteral(" AND board_id = ?");
        binds << (filter.boardId.isNull() ? QStringLiteral("") : filter.boardId); // NULL would match nothing
    }
    if (filter.boardType >= 0) {
        sql += QStringLiteral(" AND board_type = ?");
        binds << filter.boardType;
    }
    // Times are stored in UTC; the days of the filter are the engineer's own.
    if (filter.from.isValid()) {
        sql += QStringLiteral(" AND at >= ?");
        binds << filter.from.startOfDay().toUTC().toString(Qt::ISODateWithMs);
    }
    if (filter.to.isValid()) {
        sql += QStringLiteral(" AND at < ?");
        binds << filter.to.addDays(1).startOfDay().toUTC().toString(Qt::ISODateWithMs);
    }
    sql += QStringLiteral(" ORDER BY at, id");
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& v : std::as_const(binds))
        q.addBindValue(v);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    while (q.next()) {
        JournalRow r;
        r.id = q.value(0).toLongLong();
        r.at = QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs).toLocalTime();
        r.boardType = q.value(2).toInt();
        r.boardId = q.value(3).toString();
        if (!journalKindFromName(q.value(4).toString(), &r.kind))
            continue; // a kind this workstation does not know: a newer writer's row
        r.name = q.value(5).toString();
        r.result = q.value(6).toInt();
        r.verdict = q.value(7).toString();
        r.details = QJsonDocument::fromJson(q.value(8).toString().toUtf8()).object();
        const int outcome = q.value(9).toInt();
        r.outcome = outcome == 1   ? JournalEvent::Outcome::Passed
                    : outcome == 2 ? JournalEvent::Outcome::Failed
                                   : JournalEvent::Outcome::None;
        rows->append(r);
    }
    return true;
}

QStringList JournalReader::boards(QString* error) {
    QStringList ids;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    if (!m_open || !q.exec(QStringLiteral("SELECT DISTINCT board_id FROM events ORDER BY board_id"))) {
        if (error)
            *error = m_open ? q.lastError().text() : QStringLiteral("журнал не открыт");
        return ids;
    }
    while (q.next())
        ids << q.value(0).toString();
    return ids;
}

namespace {
QByteArray csvField(const QString& text) {
    QByteArray f = text.toUtf8();
    // Quoted when it holds a separator, a quote or a line end, or could be
    // taken for a formula by a spreadsheet.
    const bool formula = !f.isEmpty() && QByteArray("=+-@").contains(f.front());
    if (formula || f.contains(',') || f.contains('"') || f.contains('\n') || f.contains('\r')) {
        f.replace("\"", "\"\"");
        if (formula)
            f.prepend('\'');
        return '"' + f + '"';
    }
    return f;
}
} // namespace

QByteArray journalCsv(const QList<JournalRow>& rows) {
    QByteArray out("\xEF\xBB\xBF");
    out += "id,время,тип платы,плата,вид,что,результат,исход,итог,подробности\r\n";
    for (const JournalRow& r : rows) {
        const QStringList fields{
            QString::number(r.id),
            r.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            QString::number(r.boardType),
            r.boardId,
            journalKindLabel(r.kind),
            r.name,
            QString::number(r.result),
            journalOutcomeLabel(r.outcome),
            r.verdict,
            QString::fromUtf8(QJsonDocument(r.details).toJson(QJsonDocument::Compact)),
        };
        for (int i = 0; i < fields.size(); ++i) {
            if (i)
                out += ',';
            out += csvField(fields[i]);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace kia
