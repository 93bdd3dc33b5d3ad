#pragma once

#include <QString>
#include <QStringList>

namespace kia {

/// Checks a scenario file as the workstation reads it and lists what would
/// go wrong in a run: scenarios that do not load, unreachable steps, branches
/// to missing steps or scenarios, "END" inside a text, points missing from
/// the points file (`dotPath`; skipped when it cannot be read), error keywords
/// without a scenario, fault-type entries with both or neither of "D0-" and
/// "D1-". One Russian line per finding; empty when the file is sound.
QStringList LintScenarioFile(const QString& dgnPath, const QString& dotPath);

/// Checks the step file against the scenarios that use it, as the step
/// dialogs read it: circuit lines with a bad mask or no points, scenario
/// points (the name a step hands to its dialog) without a circuit or command
/// line for a board type of the scenario, command lines that do not parse
/// (stimulus rows outside the table among them), and points of PDIAGN steps
/// that the probe cannot examine. One Russian line per finding.
QStringList LintStepFile(const QString& dgnPath, const QString& ccrPath);

/// The error keywords the program hands to guided diagnostics, with the
/// board types (bit mask) they occur on and whether they start as
/// oscilloscope scenarios.
struct DiagnosticsKeyword {
    const char* name;
    int boards;
    bool oscilloscope;
};
QList<DiagnosticsKeyword> diagnosticsKeywords();

} // namespace kia
