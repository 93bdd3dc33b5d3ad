#pragma once

#include "link/linkport.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace kia {

class BenchContext;
class TestEngine;

/// One test the full check runs or offers.
struct FullCheckItem {
    int commandId = 0;
    QString name;
    /// Needs the engineer at the board (segments, keys, sound, probe) or
    /// writes into the board (the fiscal-memory write test): offered at the
    /// end, never run on its own.
    bool interactive = false;
};

/// The tests of a board type in the order the full check takes them: the
/// bus first (nothing after it means anything on a broken bus), then the
/// memories, the timer, the PPI and the indicator memories; then those that
/// are offered at the end.
QList<FullCheckItem> fullCheckPlan(int boardType);

enum class CheckVerdict {
    Passed,      // ran to its end and found nothing
    Failed,      // found a fault
    LinkFailure, // the link failed during it
    Skipped,     // not run: an earlier result makes it meaningless, or the engineer declined
    NotRun,      // not run: the preparation did not let it start
};
QString checkVerdictText(CheckVerdict verdict);
/// "passed", "failed", "link-failure", "skipped", "not-run" (the report's JSON).
QString checkVerdictKey(CheckVerdict verdict);

/// What one test of the full check came to.
struct FullCheckEntry {
    FullCheckItem item;
    CheckVerdict verdict = CheckVerdict::NotRun;
    /// Why it was skipped or not run, or the test's last text.
    QString note;
    /// Where it failed: bad blocks with their read and expected rows, the
    /// port image, the bus report, the circuit and pin.
    QStringList places;
    /// The keyword guided diagnostics start from; empty when none.
    QString keyword;
    /// The conclusion diagnostics reached for the keyword, when they ran.
    QString conclusion;
    int result = 0;
    qint64 elapsedMs = 0;
};

/// The whole check, as the summary, the report and the journal show it.
struct FullCheckReport {
    int boardType = 0;
    QString boardDesignation;
    QString boardId;
    QString controllerIdentity; ///< board type 4
    QDateTime started;
    qint64 elapsedMs = 0;
    QString workstationVersion;
    QList<FullCheckEntry> entries;
    LinkStatistics link;
    /// The engineer stopped the check, or the link failed for good.
    bool interrupted = false;
    QString interruption;

    int count(CheckVerdict verdict) const;
    /// Every test that ran passed, and none failed.
    bool passed() const;
};

/// What the full check needs of the program around it. The workstation shows
/// a progress window and asks in boxes; the CLI prints and answers from its
/// flags; tests answer from a script. UI thread.
class FullCheckHost {
public:
    virtual ~FullCheckHost() = default;
    /// The start dialog "Начало тестирования", shown once for the whole check
    /// (as TestSessionHost::ShowStartDialog).
    virtual bool showStartDialog(int boardType, bool& dontShowAgain) = 0;
    /// The version choice of the ROM test, asked once (as
    /// TestSessionHost::ChooseSoftwareVersion).
    virtual bool chooseSoftwareVersion(BenchContext& ctx) = 0;
    /// Clears the board view's marks.
    virtual void clearMarks() {}
    /// Runs one test engine to its end with no "Повтор" (the workstation
    /// keeps its window alive meanwhile); returns the engine's result.
    virtual int runEngine(TestEngine& engine) = 0;
    /// Test `index` of `count` is about to start.
    virtual void progress(int index, int count, const QString& name) { Q_UNUSED(index) Q_UNUSED(count) Q_UNUSED(name) }
    /// Entry `index` of the report (in the plan's order) has its result, or
    /// has got its diagnostics' conclusion.
    virtual void entryDone(int index, const FullCheckEntry& entry) { Q_UNUSED(index) Q_UNUSED(entry) }
    /// Whether the engineer wants to run an interactive test now.
    virtual bool offerInteractive(const FullCheckItem& item) { Q_UNUSED(item) return false; }
    /// Runs an interactive test (its own dialog); fills the entry.
    virtual void runInteractive(const FullCheckItem& item, FullCheckEntry& entry) {
        Q_UNUSED(item)
        entry.verdict = CheckVerdict::Skipped;
    }
    /// Runs guided diagnostics from a keyword to its end; the conclusion
    /// reached, or empty when none was run or reached.
    virtual QString runDiagnostics(const QString& keyword) { Q_UNUSED(keyword) return QString(); }
    /// True when the engineer asked to stop (checked between tests).
    virtual bool stopRequested() { return false; }
};

/// Runs the full check: one start dialog, every automatic test of the plan
/// with its failures recorded and no prompt in between, guided diagnostics
/// for each failure's keyword through the host, then the interactive tests
/// as the host accepts them. A failed bus test skips the tests after it; a
/// link failure ends the automatic tests. Busy flag and the start-dialog
/// setting are as before when it returns.
FullCheckReport RunFullCheck(BenchContext& ctx, FullCheckHost& host);

} // namespace kia
