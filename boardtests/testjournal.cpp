#include "testjournal.h"

#include "core/benchcontext.h"
#include "core/journalsink.h"
#include "fullcheck.h"
#include "testcommands.h"

#include <QJsonArray>
#include <QJsonObject>

namespace kia {

QString boardTestName(int commandId) {
    for (int type : {0, 4})
        for (const FullCheckItem& item : fullCheckPlan(type))
            if (item.commandId == commandId)
                return item.name;
    return QString();
}

void journalTestCommand(BenchContext& ctx, int commandId, const TestCommandOutcome& o) {
    if (!ctx.journal || !o.known || (o.cancelled && !o.prepared))
        return;
    JournalEvent e;
    e.kind = JournalEvent::Kind::Test;
    e.name = boardTestName(commandId);
    if (e.name.isEmpty())
        e.name = QStringLiteral("Команда %1").arg(commandId);
    e.result = o.result;
    if (o.linkFailure) {
        e.verdict = QStringLiteral("Ошибка связи");
    } else if (o.controllerNotReady) {
        e.verdict = QStringLiteral("Тест-программа в DD5 не отвечает");
    } else if (o.cancelled) {
        e.verdict = QStringLiteral("Отменен");
    } else if (o.completed && !o.failed && o.keyword.isEmpty()) {
        e.outcome = JournalEvent::Outcome::Passed;
        e.verdict = QStringLiteral("Норма");
    } else if (o.failed || !o.keyword.isEmpty()) {
        e.outcome = JournalEvent::Outcome::Failed;
        e.verdict = o.keyword.isEmpty() ? QStringLiteral("Неисправность")
                                        : QStringLiteral("Неисправность: ") + o.keyword;
    } else {
        e.verdict = QStringLiteral("Не завершен");
    }
    e.details.insert(QStringLiteral("runs"), o.runs);
    if (!o.keyword.isEmpty())
        e.details.insert(QStringLiteral("keyword"), o.keyword);
    if (!o.programFile.isEmpty())
        e.details.insert(QStringLiteral("programFile"), o.programFile);
    if (!ctx.reportText.isEmpty() && e.outcome == JournalEvent::Outcome::Failed)
        e.details.insert(QStringLiteral("report"), ctx.reportText);
    ctx.journal->record(e);
}

void journalFullCheck(BenchContext& ctx, const FullCheckReport& r) {
    if (!ctx.journal)
        return;
    JournalEvent e;
    e.kind = JournalEvent::Kind::FullCheck;
    e.name = QStringLiteral("Полная проверка платы");
    e.outcome = r.passed() ? JournalEvent::Outcome::Passed : JournalEvent::Outcome::Failed;
    if (r.interrupted && r.count(CheckVerdict::Failed) == 0)
        e.outcome = JournalEvent::Outcome::None;
    e.verdict = r.passed() ? QStringLiteral("Плата исправна")
                           : (r.interrupted ? QStringLiteral("Проверка ") + r.interruption
                                            : QStringLiteral("Обнаружены неисправности: %1")
                                                  .arg(r.count(CheckVerdict::Failed)));
    QJsonArray tests;
    for (const FullCheckEntry& t : r.entries) {
        QJsonObject o{{QStringLiteral("name"), t.item.name},
                      {QStringLiteral("verdict"), checkVerdictKey(t.verdict)},
                      {QStringLiteral("elapsedMs"), t.elapsedMs}};
        if (!t.keyword.isEmpty())
            o.insert(QStringLiteral("keyword"), t.keyword);
        if (!t.conclusion.isEmpty())
            o.insert(QStringLiteral("conclusion"), t.conclusion);
        tests.append(o);
    }
    e.details.insert(QStringLiteral("tests"), tests);
    e.details.insert(QStringLiteral("elapsedMs"), r.elapsedMs);
    ctx.journal->record(e);
}

} // namespace kia
