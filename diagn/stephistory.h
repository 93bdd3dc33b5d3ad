#pragma once

#include <QList>
#include <QString>

namespace kia {

/// Outcomes recorded in the step history.
enum StepOutcome : int { OutcomeFail0 = 0, OutcomeFail1 = 1, OutcomePass = 2 };

/// One visited step as both step dialogs list it.
struct StepRecord {
    QString label;    // the point or test examined (may be empty)
    QString scenario; // scenario name
    int node = 0;
    int outcome = OutcomePass;
    int kind = 0; // scenario kind
};

using StepHistory = QList<StepRecord>;

/// "PASS", "FAIL0" or "FAIL1".
QString outcomeWord(int outcome);

} // namespace kia
