#include "diagnosticsrun.h"

#include "core/benchcontext.h"
#include "core/journalsink.h"

#include <QJsonArray>
#include <QJsonObject>

namespace kia {

QString runEndKey(RunEnd end) {
    switch (end) {
    case RunEnd::Path: return QStringLiteral("path");
    case RunEnd::Stopped: return QStringLiteral("stopped");
    case RunEnd::Error: break;
    }
    return QStringLiteral("error");
}

namespace {
// A conclusion is written over several lines; the journal's verdict is one.
QString oneLine(const QString& text) {
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).simplified();
}
} // namespace

void journalDiagnosticsRun(BenchContext& ctx, const DiagnosticsRun& run) {
    if (!ctx.journal || run.pointCheck || run.scenario.isEmpty())
        return;
    JournalEvent e;
    e.kind = JournalEvent::Kind::Diagnostics;
    e.name = run.scenario;
    e.result = int(run.end);
    if (run.concluded()) {
        // Every conclusion of a scenario names what is wrong with the board.
        e.outcome = JournalEvent::Outcome::Failed;
        e.verdict = oneLine(run.conclusion);
    } else if (run.end == RunEnd::Error) {
        e.verdict = QStringLiteral("Ошибка: ") + oneLine(run.message);
    } else {
        e.verdict = QStringLiteral("Прервана до заключения");
    }
    QJsonArray path;
    for (const StepRecord& s : run.path)
        path.append(QJsonArray{s.label, s.scenario, s.node, outcomeWord(s.outcome)});
    e.details.insert(QStringLiteral("kind"), run.kind);
    e.details.insert(QStringLiteral("end"), runEndKey(run.end));
    e.details.insert(QStringLiteral("path"), path);
    if (run.concluded())
        e.details.insert(QStringLiteral("conclusion"), run.conclusion);
    if (!run.message.isEmpty())
        e.details.insert(QStringLiteral("message"), run.message);
    e.details.insert(QStringLiteral("elapsedMs"), run.elapsedMs);
    if (run.started.isValid())
        e.details.insert(QStringLiteral("started"), run.started.toString(Qt::ISODate));
    ctx.journal->record(e);
}

} // namespace kia
