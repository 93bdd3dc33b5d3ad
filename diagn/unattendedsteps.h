#pragma once

#include "diagnosticsrun.h"
#include "stepdialoghost.h"
#include "stepfile.h"

#include <QString>
#include <functional>
#include <optional>

namespace kia {

class BenchContext;
class DiagnosticsEngine;

/// Guided diagnostics without the engineer at the board, where the program
/// itself can put the probe tip on a point (the simulated bench): each probe
/// step's tip goes to its point through `placeTip`, and the step's own check
/// runs there as the dialog's "Пуск" would. The step without a point, the
/// conclusion, ends the run there. An oscilloscope step cannot be taken
/// without the engineer: the run stops at it. UI thread.
class UnattendedProbeSteps final : public StepDialogHost {
public:
    /// Puts the tip on a point, given by its name in the step file.
    using PlaceTip = std::function<void(const QString& stepName)>;
    using PlaceDriver = std::function<void(const QString& point)>;

    UnattendedProbeSteps(BenchContext& ctx, PlaceTip placeTip, PlaceDriver placeDriver = {});

    void OpenStepDialog(const StepRequest& request) override;

    /// The outcome the open step would report; empty when no step is open.
    struct Answer {
        int code;
        int argument;
    };
    std::optional<Answer> takeAnswer();
    /// Steps taken so far: "DD3/40 PASS", …
    const QStringList& steps() const { return m_steps; }

private:
    BenchContext& m_ctx;
    PlaceTip m_placeTip;
    PlaceDriver m_placeDriver;
    StepFile m_file;
    bool m_fileRead = false;
    std::optional<Answer> m_answer;
    QStringList m_steps;
};

/// Runs the scenario of `keyword` as a failed test would start it, with the
/// steps answered by `steps`, and returns how it ended. The engine must have
/// `steps` as its step host. A run that would not end by itself is stopped
/// after `maxSteps` answers.
DiagnosticsRun runUnattended(DiagnosticsEngine& engine, UnattendedProbeSteps& steps,
                             const QString& keyword, int maxSteps = 2000);

} // namespace kia
