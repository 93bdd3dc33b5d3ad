#pragma once

#include "stepdialoghost.h"
#include "stephistory.h"

#include <QDateTime>
#include <QString>

namespace kia {

class BenchContext;

/// One guided-diagnostics run as it ended: what it started from, the steps
/// the engineer answered, and the conclusion it came to. Handed to the
/// engine's run observers and written into the repair journal.
struct DiagnosticsRun {
    /// The scenario the run started from (the keyword) and its kind.
    QString scenario;
    int kind = 0;
    /// A single-point check from the board view rather than a scenario.
    bool pointCheck = false;
    /// Every answered step, oldest first, the one that ended the path included.
    StepHistory path;
    /// The text of the end-of-path step on screen when the run ended (the
    /// scenario's conclusion); empty when the run ended before one.
    QString conclusion;
    RunEnd end = RunEnd::Stopped;
    /// The text of the box shown when the run ended on an error.
    QString message;
    QDateTime started;
    qint64 elapsedMs = 0;

    /// A conclusion was reached.
    bool concluded() const { return !conclusion.isEmpty(); }
};

/// "path", "stopped" or "error".
QString runEndKey(RunEnd end);

/// The run as a repair-journal event of kind Diagnostics (nothing when the
/// context has no journal). A single-point check is not a scenario run and
/// is not recorded.
void journalDiagnosticsRun(BenchContext& ctx, const DiagnosticsRun& run);

} // namespace kia
