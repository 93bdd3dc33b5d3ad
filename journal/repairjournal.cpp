#include "repairjournal.h"

#include "journalschema.h"

#include "core/benchcontext.h"
#include "core/userprompts.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace kia {

namespace {
const QString kFileName = QStringLiteral("kia_nelta2-journal.sqlite");

// A null text binds as SQL NULL; the journal's columns hold empty texts instead.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}
} // namespace

RepairJournal::RepairJournal(BenchContext* context)
    : m_context(context), m_connection(journalschema::newConnectionName()) {}

RepairJournal::~RepairJournal() {
    if (m_available && !m_pending.isEmpty()) {
        QString ignored;
        writePending(nullptr, &ignored);
    }
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QString RepairJournal::defaultPath(const QString& workingFolder) {
    return workingFolder + kFileName;
}

bool RepairJournal::open(const QString& path, QString* error) {
    m_path = path;
    m_available = false;
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    QString why;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        why = QStringLiteral("%1 не является файлом").arg(QDir::toNativeSeparators(path));
    } else if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        why = QStringLiteral("нет драйвера SQLite (пакет libqt6sql6-sqlite)");
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
        if (!db.open())
            why = db.lastError().text();
        else if (journalschema::prepare(db, kBusyTimeoutMs, &why))
            m_available = true;
        else
            db.close();
    }
    m_lastError = why;
    if (error)
        *error = why;
    return m_available;
}

JournalEvent RepairJournal::completed(const JournalEvent& event) const {
    JournalEvent e = event;
    if (!e.at.isValid())
        e.at = QDateTime::currentDateTime();
    if (e.boardType < 0)
        e.boardType = m_context ? m_context->boardType : 0;
    if (e.boardId.isEmpty() && m_context)
        e.boardId = m_context->boardId.isEmpty() && e.boardType == 4
                        ? m_context->controllerIdentity
                        : m_context->boardId;
    return e;
}

bool RepairJournal::append(const JournalEvent& event, qint64* id, QString* error) {
    if (m_pending.size() >= kMaxPending)
        m_pending.removeFirst(); // the oldest waiting event gives way to the newest
    m_pending.append(completed(event));
    // A journal that was locked or missing a folder may have come back.
    if (!m_available && !m_path.isEmpty())
        open(m_path);
    if (!m_available) {
        if (error)
            *error = m_lastError;
        return false;
    }
    QString why;
    const bool ok = writePending(id, &why);
    if (!ok) {
        m_lastError = why;
        if (error)
            *error = why;
    }
    return ok;
}

bool RepairJournal::writePending(qint64* lastId, QString* error) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen()) {
        *error = QStringLiteral("журнал не открыт");
        return false;
    }
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO events (at, board_type, board_id, kind, name, result, outcome, verdict,"
        " details) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    qint64 id = -1;
    for (const JournalEvent& e : std::as_const(m_pending)) {
        q.addBindValue(e.at.toUTC().toString(Qt::ISODateWithMs));
        q.addBindValue(e.boardType);
        q.addBindValue(text(e.boardId));
        q.addBindValue(journalKindName(e.kind));
        q.addBindValue(text(e.name));
        q.addBindValue(e.result);
        q.addBindValue(int(e.outcome));
        q.addBindValue(text(e.verdict));
        q.addBindValue(QString::fromUtf8(QJsonDocument(e.details).toJson(QJsonDocument::Compact)));
        if (!q.exec()) {
            *error = q.lastError().text();
            db.rollback();
            return false;
        }
        id = q.lastInsertId().toLongLong();
    }
    if (!db.commit()) {
        *error = db.lastError().text();
        db.rollback();
        return false;
    }
    m_pending.clear();
    if (lastId)
        *lastId = id;
    return true;
}

void RepairJournal::record(const JournalEvent& event) {
    QString why;
    if (!append(event, nullptr, &why))
        tellOnce(why);
}

void RepairJournal::tellOnce(const QString& reason) {
    if (m_told || !m_context)
        return;
    m_told = true;
    m_context->prompts.message(
        PromptIcon::Exclamation, QStringLiteral("Журнал ремонта"),
        QStringLiteral("Журнал ремонта %1 недоступен !  \n%2\n"
                       "Работа продолжается, результаты на экране не затронуты; "
                       "записи сохранятся в журнал, когда он станет доступен.")
            .arg(QDir::toNativeSeparators(m_path), reason.left(200)));
}

} // namespace kia
