// The repair journal's record of a service command: what ran behind the
// progress dialog, which files it wrote or read, and how it ended.

#include "servicejournal.h"

#include "backupfile.h"
#include "controllerprogramming.h"
#include "operationmodes.h"

#include "app/commandtable.h"
#include "core/benchcontext.h"
#include "link/linkstatus.h"

#include <QFileInfo>
#include <QJsonArray>

namespace kia {

void ServiceLog::begin() {
    m_active = true;
    m_runs.clear();
    m_lastMessage.clear();
    m_lastIsError = false;
}

void ServiceLog::end() {
    m_active = false;
}

void ServiceLog::noteRun(const BenchContext& ctx, int mode, const OperationArgument& a,
                         int result) {
    if (!m_active)
        return;
    ServiceLogRun run;
    run.mode = mode;
    run.result = result;
    switch (mode) {
    case ModeSaveControllerSoftware:
        run.softwareName = a.text;
        run.file = a.savedAs.isEmpty() ? controllerSoftwarePath(ctx, a.text) : a.savedAs;
        break;
    case ModeWriteTestProgram:
        run.softwareName = a.text;
        run.file = testProgramPath(ctx);
        break;
    default:
        run.file = a.text;
        break;
    }
    run.backup = isBackupPath(ctx, run.file);
    if (!a.backup.isEmpty() && QFileInfo::exists(a.backup))
        run.programBackup = a.backup;
    // Bytes only of what was done: a failed save leaves the previous file.
    const QFileInfo info(run.file);
    if (result != OpDone)
        run.bytes = -1;
    else if (!run.file.isEmpty() && info.isFile())
        run.bytes = info.size();
    else if (!a.image.isEmpty())
        run.bytes = a.image.size();
    m_runs << run;
}

void ServiceLog::noteMessage(PromptIcon icon, const QString& text) {
    if (!m_active)
        return;
    m_lastMessage = text;
    m_lastIsError = icon == PromptIcon::Error || icon == PromptIcon::Stop;
}

QString serviceCommandName(int commandId) {
    QString name = commandText(commandId, 4);
    name.remove(QLatin1Char('&'));
    name = name.simplified();
    if (name.isEmpty()) {
        if (const CommandInfo* c = findCommand(commandId))
            name = c->prompt;
    }
    return name.isEmpty() ? QStringLiteral("Команда %1").arg(commandId) : name;
}

JournalEvent serviceJournalEvent(const BenchContext& ctx, int commandId, int result,
                                 const ServiceLog& log, bool* worthRecording) {
    JournalEvent e;
    e.kind = JournalEvent::Kind::Service;
    e.name = serviceCommandName(commandId);
    e.result = result;
    const QString told = log.lastMessage().simplified();
    bool worth = true;
    if (result == OpDone) {
        e.outcome = JournalEvent::Outcome::Passed;
        e.verdict = told.isEmpty() ? QStringLiteral("Выполнено") : told;
    } else if (log.lastMessageIsError()) {
        e.outcome = JournalEvent::Outcome::Failed;
        e.verdict = told;
    } else if (result >= OpLinkBase) {
        // The failure was shown outside the command (the test preparation's
        // link message): its text is the link status's.
        e.outcome = JournalEvent::Outcome::Failed;
        e.verdict =
            result < OpFileOpen && ctx.linkStatus != LinkOk
                ? LinkStatusText(ctx.linkStatus, ctx.boardType, ctx.selectedPort).text.simplified()
                : QStringLiteral("Ошибка (код %1)").arg(result);
    } else {
        // Stopped by the engineer: an event only when something was done
        // before (DD5's software filed, the test program written).
        worth = !log.runs().isEmpty();
        e.verdict = QStringLiteral("Прервано оператором");
    }
    if (worthRecording)
        *worthRecording = worth;

    QJsonArray operations;
    QJsonArray files;
    QJsonArray backups;
    for (const ServiceLogRun& run : log.runs()) {
        QJsonObject o{{QStringLiteral("mode"), run.mode},
                      {QStringLiteral("caption"), operationCaption(run.mode)},
                      {QStringLiteral("result"), run.result}};
        if (!run.file.isEmpty())
            o.insert(QStringLiteral("file"), run.file);
        if (run.bytes >= 0)
            o.insert(QStringLiteral("bytes"), run.bytes);
        if (!run.softwareName.isEmpty())
            o.insert(QStringLiteral("softwareName"), run.softwareName);
        if (!run.programBackup.isEmpty()) {
            o.insert(QStringLiteral("backup"), run.programBackup);
            backups.append(run.programBackup);
        }
        if (run.backup) {
            o.insert(QStringLiteral("isBackup"), true);
            if (run.result == OpDone)
                backups.append(run.file);
        } else if (!run.file.isEmpty() && !files.contains(run.file)) {
            files.append(run.file);
        }
        operations.append(o);
    }
    if (!operations.isEmpty())
        e.details.insert(QStringLiteral("operations"), operations);
    if (!files.isEmpty())
        e.details.insert(QStringLiteral("files"), files);
    if (!backups.isEmpty())
        e.details.insert(QStringLiteral("backups"), backups);
    if (!ctx.controllerIdentity.isEmpty())
        e.details.insert(QStringLiteral("identity"), ctx.controllerIdentity);
    return e;
}

void journalServiceCommand(BenchContext& ctx, int commandId, int result, const ServiceLog& log) {
    if (!ctx.journal)
        return;
    bool worth = false;
    const JournalEvent e = serviceJournalEvent(ctx, commandId, result, log, &worth);
    if (worth)
        ctx.journal->record(e);
}

} // namespace kia
