#pragma once

#include <QString>
#include <array>

namespace kia {

/// Kinds of a scenario step (the node kind).
enum ScenarioStepKind : int {
    StepPoint = 0,        // "P-" only: look at a control point
    StepPointText = 1,    // "P-" and "T-": a point with an instruction
    StepText = 2,         // "T-" only: an instruction or a conclusion
    StepTest = 3,         // "TEST...": run a board test by name
    StepHandOver = 4,     // "ODIAGNOSTIC-": continue in an oscilloscope scenario
};

/// Branches of a step, in link order.
enum ScenarioBranch : int { BranchPass = 0, BranchFail0 = 1, BranchFail1 = 2 };

/// Link values besides a node index.
constexpr int LinkEnd = 0;          // the path ends here
constexpr int LinkOtherScenario = -1; // continue at step 1 of the next scenario

/// One step of a loaded scenario.
struct ScenarioNode {
    int kind = StepText;
    int parent = 0;  // node whose branch made this one (0 for node 1)
    int branch = 0;  // that branch (ScenarioBranch)
    std::array<int, 3> links{0, 0, 0};
    std::array<QString, 3> next; // scenario names of links that are -1
    QString name;
    QString text;
};

} // namespace kia
