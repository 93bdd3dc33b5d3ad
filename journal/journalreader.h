#pragma once

#include "core/journalsink.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace kia {

/// One row of the journal as read back.
struct JournalRow {
    qint64 id = 0;
    QDateTime at; ///< local time
    int boardType = 0;
    QString boardId;
    JournalEvent::Kind kind = JournalEvent::Kind::Test;
    QString name;
    int result = 0;
    JournalEvent::Outcome outcome = JournalEvent::Outcome::None;
    QString verdict;
    QJsonObject details;
};

/// Which rows to read: a board (empty: every board), a board type (-1: any),
/// the days from and to (invalid: open), oldest first.
struct JournalFilter {
    QString boardId;
    bool anyBoard = true;
    int boardType = -1;
    QDate from;
    QDate to;
};

/// Reads the journal on a connection of its own, alongside a writer in this
/// or another process (the write-ahead log lets readers see every committed
/// row and never a half-written one). A read-only file is read read-only.
/// Used on the thread that opened it.
class JournalReader {
public:
    JournalReader();
    ~JournalReader();
    JournalReader(const JournalReader&) = delete;
    JournalReader& operator=(const JournalReader&) = delete;

    /// False with the reason: no such file, not a journal, damaged, newer format.
    bool open(const QString& path, QString* error = nullptr);
    bool isOpen() const { return m_open; }

    /// The rows the filter selects; false with the reason (locked too long, ...).
    bool events(const JournalFilter& filter, QList<JournalRow>* rows, QString* error = nullptr);
    /// Every board id in the journal (the unknown board as an empty text), sorted.
    QStringList boards(QString* error = nullptr);

private:
    QString m_connection;
    bool m_open = false;
};

/// The rows as CSV (UTF-8 with a byte-order mark, so a spreadsheet shows the
/// Cyrillic right; fields quoted where they need it; CR LF line ends).
QByteArray journalCsv(const QList<JournalRow>& rows);

} // namespace kia
