#pragma once

#include "core/journalsink.h"
#include "core/userprompts.h"

#include <QList>
#include <QString>

namespace kia {

class BenchContext;
struct OperationArgument;

/// One operation that ran behind the progress dialog during a command.
struct ServiceLogRun {
    int mode = 0;
    int result = 0;
    /// The file the operation wrote or read (empty: none, e.g. a clear).
    QString file;
    /// Whether `file` is a backup of what the board held before a write.
    bool backup = false;
    /// Mode 9: the backup of the program EEPROM made before the erase.
    QString programBackup;
    /// Mode 0: the name DD5's software is filed under.
    QString softwareName;
    /// Bytes of the file or image the operation moved (-1: not known, or
    /// the operation did not succeed).
    qint64 bytes = -1;
};

/// What one service command did, gathered while it runs: the operations
/// behind the progress dialog and the last box the engineer read. The host
/// notes them; the command handler starts the log before the command and
/// turns it into one journal event after it. UI thread.
class ServiceLog {
public:
    void begin();
    void end();
    bool active() const { return m_active; }

    /// An operation has returned `result` (the argument as it came back).
    void noteRun(const BenchContext& ctx, int mode, const OperationArgument& argument, int result);
    /// A box the command showed, or the link text of a question that offered
    /// diagnostics after a failure (which counts as an error box).
    void noteMessage(PromptIcon icon, const QString& text);

    const QList<ServiceLogRun>& runs() const { return m_runs; }
    const QString& lastMessage() const { return m_lastMessage; }
    /// Whether the last box told of a failure (error or stop icon).
    bool lastMessageIsError() const { return m_lastIsError; }
    /// Whether anything reached the engineer or the board.
    bool empty() const { return m_runs.isEmpty() && m_lastMessage.isEmpty(); }

private:
    bool m_active = false;
    QList<ServiceLogRun> m_runs;
    QString m_lastMessage;
    bool m_lastIsError = false;
};

/// The name of a service command as the menu shows it (without the
/// mnemonic); the status-bar prompt for a command without a menu item.
QString serviceCommandName(int commandId);

/// The journal event of a finished command: Passed when it ended with the
/// operation done, None when the engineer stopped it after something was
/// already done (e.g. the test program put into DD5), Failed otherwise; the
/// verdict is the last box's text. `worthRecording` is false for a command
/// the engineer declined or cancelled before anything happened.
JournalEvent serviceJournalEvent(const BenchContext& ctx, int commandId, int result,
                                 const ServiceLog& log, bool* worthRecording);

/// Puts the finished command into the context's journal (none: nothing
/// happens; a command stopped before anything happened is not an event).
void journalServiceCommand(BenchContext& ctx, int commandId, int result, const ServiceLog& log);

} // namespace kia
