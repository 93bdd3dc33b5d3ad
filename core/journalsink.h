#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace kia {

/// One thing that happened at the bench and belongs in the board's repair
/// history: a board test, a diagnostics run, a service operation, a full check.
struct JournalEvent {
    enum class Kind { Test, Diagnostics, Service, FullCheck, Training };
    /// Whether the board (or the operation) came through: a passed test, a
    /// completed save; Failed for a fault found or an operation that failed;
    /// None where neither applies (a run the engineer stopped).
    enum class Outcome { None = 0, Passed = 1, Failed = 2 };

    Kind kind = Kind::Test;
    /// What ran: the test's, scenario's or operation's name as the menu shows it.
    QString name;
    /// The result code of the engine or worker (its own meaning per kind).
    int result = 0;
    Outcome outcome = Outcome::None;
    /// Whether it passed, in one short Russian line ("Тест пройден", the
    /// conclusion of a diagnostics run, the worker's result text).
    QString verdict;
    /// Whatever else is worth keeping: the failing place, the step path,
    /// files and backups. Stored as JSON text.
    QJsonObject details;
    /// Filled by the journal when left invalid.
    QDateTime at;
    /// Board type and board identity; the journal fills them from the bench
    /// context when left at -1 / empty.
    int boardType = -1;
    QString boardId;
};

/// Where the workstation hands its events. Installed in the bench context by
/// the programs (null: nothing is recorded). A sink never fails its caller:
/// when it cannot record, it says so itself, once. Called on the UI thread.
class JournalSink {
public:
    virtual ~JournalSink() = default;
    virtual void record(const JournalEvent& event) = 0;
};

QString journalKindName(JournalEvent::Kind kind);
bool journalKindFromName(const QString& name, JournalEvent::Kind* kind);
/// Russian label of a kind as the journal window shows it.
QString journalKindLabel(JournalEvent::Kind kind);
/// "норма", "неисправность" or empty.
QString journalOutcomeLabel(JournalEvent::Outcome outcome);

} // namespace kia
