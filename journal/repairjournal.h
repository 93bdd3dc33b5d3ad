#pragma once

#include "core/journalsink.h"

#include <QList>
#include <QString>

namespace kia {

class BenchContext;

/// The repair journal: one SQLite database in the working folder, one row per
/// event, rows only ever added (triggers refuse an update or a delete). Every
/// event is its own transaction with the database's write-ahead log and full
/// sync, so a crash or a pulled plug leaves every committed row and nothing
/// half-written. Readers (the journal window, kia-bench journal) open their
/// own connection and read while the workstation writes.
///
/// A journal that cannot be opened or written (read-only, locked, corrupt,
/// of a newer format) never stops the bench: the engineer is told once, the
/// events wait in memory (up to a limit) and go in with the next write that
/// succeeds. A damaged database file is never replaced or repaired here.
/// Lives on the UI thread; owned by the program's main (or a test).
class RepairJournal : public JournalSink {
public:
    explicit RepairJournal(BenchContext* context = nullptr);
    ~RepairJournal() override;
    RepairJournal(const RepairJournal&) = delete;
    RepairJournal& operator=(const RepairJournal&) = delete;

    /// The journal of a working folder (with its trailing separator, or empty).
    static QString defaultPath(const QString& workingFolder);

    /// Opens the database, creating it and its tables when missing. False
    /// with the reason in *error; the journal is then unavailable.
    bool open(const QString& path, QString* error = nullptr);
    bool isAvailable() const { return m_available; }
    QString path() const { return m_path; }
    QString lastError() const { return m_lastError; }

    /// Tells the engineer (once a run) when the journal could not be opened.
    void tellIfUnavailable() {
        if (!m_available)
            tellOnce(m_lastError);
    }

    /// Records the event (see the class comment for failures).
    void record(const JournalEvent& event) override;
    /// The plain write without prompts: the new row's id in *id, or false with
    /// the reason. Events still waiting from earlier failures go in first.
    bool append(const JournalEvent& event, qint64* id = nullptr, QString* error = nullptr);
    /// Events that failed to go in and wait for the next successful write.
    int pendingCount() const { return int(m_pending.size()); }

    static constexpr int kMaxPending = 1000;
    static constexpr int kBusyTimeoutMs = 2000;
    static constexpr int kSchemaVersion = 1;

private:
    JournalEvent completed(const JournalEvent& event) const;
    bool writePending(qint64* lastId, QString* error);
    void tellOnce(const QString& reason);

    BenchContext* m_context;
    QString m_connection;
    QString m_path;
    QString m_lastError;
    bool m_available = false;
    bool m_told = false;
    QList<JournalEvent> m_pending;
};

} // namespace kia
