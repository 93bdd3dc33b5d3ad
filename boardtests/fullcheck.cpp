#include "fullcheck.h"

#include "app/commandtable.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/scenariohost.h"
#include "memoryerrormodel.h"
#include "portimagemodel.h"
#include "testcommands.h"
#include "testengine.h"
#include "testresults.h"
#include "testenginehost.h"
#include "testsessionhost.h"

namespace kia {

namespace {

struct PlanRow {
    int id;
    const char* name;
    bool interactive;
    bool programmerBoard; // available on board type 4
    bool testProcessorBoards; // available on board types 0..3
};

// The order of the check. The bus test comes first; the fiscal-memory write
// test writes into the board and is only offered.
constexpr PlanRow kPlan[] = {
    {cmd::BusTest, "Тест шин контроллера", false, true, true},
    {cmd::RomTest, "Тест ПЗУ", false, true, true},
    {cmd::RamTest, "Тест ОЗУ", false, true, true},
    {cmd::TimerTest, "Тест таймера", false, true, true},
    {cmd::EepromTest, "Тест РПЗУ", false, true, true},
    {cmd::SerialEepromTest, "Тест РПЗУ ( 24C256 )", false, false, true},
    {cmd::FiscalBlankCheck, "Проверка чистоты ФП", false, true, true},
    {cmd::PpiTest, "Тест ППИ ( 82С55 )", false, false, true},
    {cmd::CashierIndicatorReadWrite, "Тест записи/чтения индикатора кассира", false, true, true},
    {cmd::CustomerIndicatorReadWrite, "Тест записи/чтения индикатора покупателя", false, true, true},
    {cmd::FiscalWriteTest, "Тест записи ФП", true, false, true},
    {cmd::CashierIndicatorCells, "Тест ж/к ячеек индикатора кассира", true, true, true},
    {cmd::CustomerIndicatorCells, "Тест ж/к ячеек индикатора покупателя", true, true, true},
    {cmd::KeyboardTest, "Тест клавиатуры", true, true, true},
    {cmd::SoundTest, "Тест звукового излучателя", true, true, true},
    {cmd::PeripheryTest, "Тест цепей периферии", true, true, true},
};

QString hex(quint32 v) {
    return QStringLiteral("0x") + QString::number(v, 16).toUpper().rightJustified(5, QLatin1Char('0'));
}

// The windows of one test as the full check wants them: the start dialog and
// the version choice once for the whole check, the test run without its
// dialog, the first bad block and the port image written down.
class CheckSession final : public TestSessionHost, public TestEngineHost {
public:
    CheckSession(BenchContext& ctx, FullCheckHost& host) : m_ctx(ctx), m_host(host) {}

    FullCheckEntry* entry = nullptr;
    bool startShown = false;
    bool startConfirmed = false;
    bool versionChosen = false;

    bool ShowStartDialog(int boardType, bool& dontShowAgain) override {
        if (startShown)
            return startConfirmed;
        startShown = true;
        startConfirmed = m_host.showStartDialog(boardType, dontShowAgain);
        return startConfirmed;
    }
    bool ChooseSoftwareVersion(BenchContext& ctx) override {
        if (versionChosen)
            return true; // ctx.chosenVersion holds the first choice
        versionChosen = m_host.chooseSoftwareVersion(ctx);
        return versionChosen;
    }
    int RunTestDialog(TestEngine& engine) override {
        const int r = m_host.runEngine(engine);
        if (entry && !engine.text().isEmpty())
            entry->note = engine.text().simplified();
        return r;
    }
    TestEngineHost& engineHost() override { return *this; }
    void ClearMarks() override { m_host.clearMarks(); }

    int ShowMemoryError(MemoryErrorKind kind, int pattern, quint32 blockStart) override {
        MemoryErrorModel model(m_ctx, kind, pattern, blockStart);
        return showMemoryErrorWith(model, [this](MemoryErrorModel& m) {
            if (entry) {
                entry->places << m.title() + QStringLiteral(", блок ") + hex(m.blockStart());
                for (int row = 0; row < m.rowCount(); ++row)
                    entry->places << QStringLiteral("  считано:  ") + m.rowText(row, true) +
                                         QStringLiteral("\n  ожидалось: ") + m.rowText(row, false);
            }
            // The first bad block names the place; diagnostics take it from there.
            return MemoryErrorModel::DiagnosticsResult;
        });
    }
    int ShowPortImageError(const PortImageModel& image) override {
        if (entry) {
            entry->places << image.title();
            for (int i = 0; i < image.rowCount(); ++i)
                entry->places << QStringLiteral("  ") + image.rowText(i);
        }
        return 1; // "Диагностика": the fault analysis names the pins and the keyword
    }

private:
    BenchContext& m_ctx;
    FullCheckHost& m_host;
};

// Keeps the keyword a test hands over instead of starting a run in the
// middle of the check.
class KeywordRecorder final : public ScenarioHost {
public:
    QString keyword;
    bool StartScenario(const QString& k, int) override {
        keyword = k;
        return true;
    }
    bool StartOscilloscopeScenario(const QString& k) override {
        keyword = k;
        return true;
    }
};

CheckVerdict verdictOf(const TestCommandOutcome& o, FullCheckEntry& e) {
    if (o.linkFailure)
        return CheckVerdict::LinkFailure;
    if (!o.prepared || o.cancelled || o.controllerNotReady) {
        if (e.note.isEmpty())
            e.note = o.cancelled ? QStringLiteral("отменен")
                                 : QStringLiteral("тест-программа в DD5 не отвечает");
        return CheckVerdict::NotRun;
    }
    if (isProgramFileResult(o.result)) {
        // Not the board's fault: the ROM has nothing to be compared with.
        e.note = QStringLiteral("нет файла программы контроллера для выбранной версии ПО");
        return CheckVerdict::NotRun;
    }
    if (o.failed || !o.keyword.isEmpty() || !o.completed)
        return CheckVerdict::Failed;
    return CheckVerdict::Passed;
}

} // namespace

QList<FullCheckItem> fullCheckPlan(int boardType) {
    QList<FullCheckItem> plan;
    const bool four = isProgrammerBoard(boardType);
    for (const PlanRow& r : kPlan)
        if (four ? r.programmerBoard : r.testProcessorBoards)
            plan.append({r.id, QString::fromUtf8(r.name), r.interactive});
    return plan;
}

QString checkVerdictText(CheckVerdict verdict) {
    switch (verdict) {
    case CheckVerdict::Passed:
        return QStringLiteral("норма");
    case CheckVerdict::Failed:
        return QStringLiteral("неисправность");
    case CheckVerdict::LinkFailure:
        return QStringLiteral("ошибка связи");
    case CheckVerdict::Skipped:
        return QStringLiteral("пропущен");
    case CheckVerdict::NotRun:
        break;
    }
    return QStringLiteral("не выполнен");
}

QString checkVerdictKey(CheckVerdict verdict) {
    switch (verdict) {
    case CheckVerdict::Passed:
        return QStringLiteral("passed");
    case CheckVerdict::Failed:
        return QStringLiteral("failed");
    case CheckVerdict::LinkFailure:
        return QStringLiteral("link-failure");
    case CheckVerdict::Skipped:
        return QStringLiteral("skipped");
    case CheckVerdict::NotRun:
        break;
    }
    return QStringLiteral("not-run");
}

int FullCheckReport::count(CheckVerdict verdict) const {
    int n = 0;
    for (const FullCheckEntry& e : entries)
        n += e.verdict == verdict ? 1 : 0;
    return n;
}

bool FullCheckReport::passed() const {
    return !interrupted && count(CheckVerdict::Passed) > 0 && count(CheckVerdict::Failed) == 0 &&
           count(CheckVerdict::LinkFailure) == 0 && count(CheckVerdict::NotRun) == 0;
}

FullCheckReport RunFullCheck(BenchContext& ctx, FullCheckHost& host) {
    FullCheckReport report;
    report.boardType = ctx.boardType;
    report.boardDesignation = boardDesignation(ctx.boardType);
    report.started = QDateTime::currentDateTime();
    report.workstationVersion = QStringLiteral("2.00");
    const qint64 startUs = ctx.clock.nowUs();
    const LinkStatistics linkBefore = ctx.link.statistics();

    const QList<FullCheckItem> plan = fullCheckPlan(ctx.boardType);
    const bool dontShowBefore = ctx.dontShowStartDialog;
    ScenarioHost* const scenariosBefore = ctx.scenarios;
    KeywordRecorder recorder;
    CheckSession session(ctx, host);

    QString skipReason;
    int index = 0;
    ctx.fullCheckRunning = true;
    for (const FullCheckItem& item : plan) {
        if (item.interactive)
            continue;
        FullCheckEntry entry;
        entry.item = item;
        if (!skipReason.isEmpty() || report.interrupted) {
            entry.verdict = CheckVerdict::Skipped;
            entry.note = report.interrupted ? report.interruption : skipReason;
            report.entries.append(entry);
            host.entryDone(int(report.entries.size()) - 1, report.entries.last());
            continue;
        }
        if (host.stopRequested()) {
            report.interrupted = true;
            report.interruption = QStringLiteral("проверка остановлена");
            entry.verdict = CheckVerdict::Skipped;
            entry.note = report.interruption;
            report.entries.append(entry);
            host.entryDone(int(report.entries.size()) - 1, report.entries.last());
            continue;
        }
        host.progress(index++, int(plan.size()), item.name);
        // One start dialog for the whole check: after the first test the
        // preparation goes by without it.
        if (session.startShown)
            ctx.dontShowStartDialog = true;
        recorder.keyword.clear();
        ctx.scenarios = &recorder;
        ctx.reportText.clear();
        session.entry = &entry;
        const qint64 t0 = ctx.clock.nowUs();
        const TestCommandOutcome outcome = RunTestCommand(ctx, session, item.commandId);
        entry.elapsedMs = (ctx.clock.nowUs() - t0) / 1000;
        session.entry = nullptr;
        ctx.scenarios = scenariosBefore;
        entry.result = outcome.result;
        entry.keyword = outcome.keyword.isEmpty() ? recorder.keyword : outcome.keyword;
        // A failure that handed nothing over still has its test's keyword,
        // except the timer's, which depends on the check that failed.
        if (entry.keyword.isEmpty() && !outcome.linkFailure && outcome.prepared &&
            (outcome.failed || !outcome.completed) && item.commandId != cmd::TimerTest &&
            !isProgramFileResult(outcome.result))
            entry.keyword = failureKeyword(ctx, item.commandId, ResultDiagnostics);
        entry.verdict = verdictOf(outcome, entry);
        if (!ctx.reportText.isEmpty())
            entry.places << ctx.reportText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (entry.verdict == CheckVerdict::Passed)
            entry.note.clear();
        report.entries.append(entry);
        host.entryDone(int(report.entries.size()) - 1, report.entries.last());

        if (outcome.cancelled && !session.startConfirmed) {
            report.interrupted = true;
            report.interruption = QStringLiteral("проверка отменена");
        } else if (entry.verdict == CheckVerdict::LinkFailure) {
            report.interrupted = true;
            report.interruption = QStringLiteral("прервана: ошибка связи");
        } else if (outcome.controllerNotReady) {
            // Every further test would try to load the test program again.
            report.interrupted = true;
            report.interruption = QStringLiteral("прервана: тест-программа в DD5 не отвечает");
        } else if (item.commandId == cmd::BusTest && entry.verdict == CheckVerdict::Failed) {
            skipReason = QStringLiteral("не имеет смысла при неисправной шине контроллера");
        }
    }
    ctx.dontShowStartDialog = dontShowBefore;
    ctx.fullCheckRunning = false;

    // Diagnostics for what failed, in the order found.
    for (int i = 0; i < report.entries.size(); ++i) {
        FullCheckEntry& e = report.entries[i];
        if (e.verdict == CheckVerdict::Failed && !e.keyword.isEmpty() && !report.interrupted) {
            e.conclusion = host.runDiagnostics(e.keyword);
            host.entryDone(i, e);
        }
    }

    // The tests that need the engineer, each his to take or leave.
    for (const FullCheckItem& item : plan) {
        if (!item.interactive)
            continue;
        FullCheckEntry entry;
        entry.item = item;
        if (report.interrupted || !skipReason.isEmpty()) {
            entry.verdict = CheckVerdict::Skipped;
            entry.note = report.interrupted ? report.interruption : skipReason;
        } else if (!host.offerInteractive(item)) {
            entry.verdict = CheckVerdict::Skipped;
            entry.note = QStringLiteral("не выбран");
        } else {
            const qint64 t0 = ctx.clock.nowUs();
            recorder.keyword.clear();
            ctx.scenarios = &recorder;
            host.runInteractive(item, entry);
            ctx.scenarios = scenariosBefore;
            if (entry.keyword.isEmpty())
                entry.keyword = recorder.keyword;
            if (!entry.keyword.isEmpty() && entry.verdict == CheckVerdict::Passed)
                entry.verdict = CheckVerdict::Failed;
            entry.elapsedMs = (ctx.clock.nowUs() - t0) / 1000;
            if (entry.verdict == CheckVerdict::Failed && !entry.keyword.isEmpty())
                entry.conclusion = host.runDiagnostics(entry.keyword);
        }
        report.entries.append(entry);
        host.entryDone(int(report.entries.size()) - 1, report.entries.last());
    }

    report.elapsedMs = (ctx.clock.nowUs() - startUs) / 1000;
    const LinkStatistics& after = ctx.link.statistics();
    report.link.frames = after.frames - linkBefore.frames;
    report.link.retries = after.retries - linkBefore.retries;
    report.link.failures = after.failures - linkBefore.failures;
    report.boardId = ctx.boardId;
    report.controllerIdentity = ctx.controllerIdentity;
    ctx.busy = false;
    return report;
}

} // namespace kia
