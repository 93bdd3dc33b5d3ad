#pragma once

#include "stephistory.h"

#include <QRect>
#include <QString>

namespace kia {

/// Codes of the step outcome that a step dialog reports.
enum StepOutcomeCode : int {
    CodeStop = 0,        // the engineer ended the run
    CodePass = 1,
    CodeFail = 2,        // argument 0 FAIL0, 1 FAIL1
    CodeLinkFailure = 3, // argument 1: a stimulus routine failed (cash-register text on type 4)
    CodeStepFileError = 4,
    CodeBackToStep = 5,  // argument: history row, oldest = 0
    CodeNotForProbe = 6,
    CodeNoProgrammer = 7,
    CodeNoProgramName = 8,
};

/// What a step dialog is opened with.
struct StepRequest {
    bool oscilloscope = false;
    int mode = 0;        // oscilloscope dialog mode 0..3
    QString point;       // as written in the scenario, suffix included; empty for none
    QString text;        // after "VAR", "###", "$$$" and braces
    StepHistory history; // oldest first
    QRect markRect;
    bool singlePoint = false;
    // Where the step stands (for the CLI's step lines).
    QString scenario;
    int kind = 0;
    int node = 0;
};

/// How a run ended.
enum class RunEnd { Path, Stopped, Error };

/// Where the diagnostics engine opens its step dialogs. The workstation
/// shows a modeless dialog that reports its outcome later through
/// DiagnosticsEngine::HandleOutcome (posted, never from inside the open
/// call); the CLI and tests answer from a script. UI thread.
class StepDialogHost {
public:
    virtual ~StepDialogHost() = default;
    virtual void OpenStepDialog(const StepRequest& request) = 0;
    /// A TEST step ran with the named-test runner's result.
    virtual void TestStepDone(const QString& /*name*/, int /*result*/) {}
    /// The run is over; `message` is the text of the box shown (errors only).
    virtual void RunEnded(RunEnd /*how*/, const QString& /*message*/) {}
};

/// The board view's part of a run: marks, their rectangle and the menus.
/// The board view implements it; the CLI checks names against the points
/// file. UI thread.
class DiagnosticsBoard {
public:
    virtual ~DiagnosticsBoard() = default;
    virtual void ClearMarks() = 0;
    /// Marks a point; false when the points file has no such point.
    virtual bool MarkPoint(const QString& name) = 0;
    /// Marks a point, scrolls it into view and sets MarkRect.
    virtual bool ShowPoint(const QString& name) = 0;
    virtual QRect MarkRect() const = 0;
    virtual void SetMenusLocked(bool locked) = 0;
};

} // namespace kia
