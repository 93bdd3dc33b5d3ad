#pragma once

#include "core/scenariohost.h"
#include "core/userprompts.h"
#include "diagnosticsrun.h"
#include "scenario.h"
#include "stepdialoghost.h"

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>

namespace kia {

class BenchContext;
class TestSessionHost;

/// Guided diagnostics: walks a loaded scenario one step at a time, marks the
/// step's points on the board, opens one step dialog through the host and
/// goes on when the dialog's outcome arrives (HandleOutcome). TEST steps run
/// the named test, ODIAGNOSTIC steps hand over without a dialog. Installed as
/// the context's ScenarioHost. Node indices are not cut to 8 bits: every node
/// of a table can be reached. UI thread; never re-entered from the host.
class DiagnosticsEngine final : public ScenarioHost {
public:
    DiagnosticsEngine(BenchContext& ctx, TestSessionHost& tests, StepDialogHost& dialogs,
                      DiagnosticsBoard& board);

    /// The signal instrument: true for the logic probe (the default).
    void setLogicProbe(std::function<bool()> logicProbe) { m_logicProbe = std::move(logicProbe); }
    /// The scenario file; default: kia_nelta2.dgn in the working folder.
    void setScenarioFile(const QString& path) { m_file = path; }
    QString scenarioFile() const;

    bool StartScenario(const QString& name, int commonFlag) override;
    bool StartOscilloscopeScenario(const QString& name) override;
    bool StartProbeScenario(const QString& name);

    /// A single-point check from the board view: menus locked, the
    /// diagnostics-active flag set, history and step state cleared (every
    /// target 0), so the check dialog's outcome ends it through HandleOutcome
    /// like the last step of a run.
    void BeginPointCheck();

    /// The outcome of the open step dialog (the code table of the step dialogs).
    void HandleOutcome(int code, int argument = 0);

    bool running() const;
    int currentNode() const { return m_node; }
    QString currentScenario() const { return m_current; }
    const StepHistory& history() const { return m_history; }
    const Scenario& scenario() const { return m_scenario; }

    /// Steps without the engineer in a row after which a run is stopped as a
    /// loop (tests passing into themselves, hand-overs in a circle).
    static constexpr int kMaxUnattendedSteps = 256;

    /// Called on the UI thread each time a run ends, after the journal has
    /// it: the path, the conclusion, how it ended. An observer may start the
    /// next run. Returns an id for removeRunObserver.
    using RunObserver = std::function<void(const DiagnosticsRun&)>;
    int addRunObserver(RunObserver observer);
    void removeRunObserver(int id);
    /// The run that ended last (empty before the first).
    const DiagnosticsRun& lastRun() const { return m_lastRun; }

    static QString loadErrorText();
    static QString stepFileErrorText();
    static QString notForProbeText();
    static QString noProgrammerText();
    static QString noProgramNameText();
    static QString loopText();
    static QString missingPointText(const QString& point);

private:
    struct Outcome {
        int code;
        int argument;
    };
    bool start(const QString& name, int kind);
    bool load(const QString& name, int kind);
    void drive(std::optional<Outcome> first);
    std::optional<Outcome> runStep();
    // Applies one outcome; true when RunStep should follow.
    bool apply(const Outcome& o);
    bool backToStep(int row);
    void beginRun(const QString& name, int kind, bool pointCheck);
    // `lastStepAnswered`: the outcome that ended the path belongs to the path.
    void endRun(RunEnd how, const QString& message = QString(), bool lastStepAnswered = false);
    void fail(const QString& title, const QString& text, PromptIcon icon = PromptIcon::Error);
    QString substitute(QString text, bool oscilloscope) const;

    BenchContext& m_ctx;
    TestSessionHost& m_tests;
    StepDialogHost& m_dialogs;
    DiagnosticsBoard& m_board;
    std::function<bool()> m_logicProbe;
    QString m_file;

    Scenario m_scenario;
    QString m_current;
    int m_node = 0;
    int m_previousNode = 0;
    std::array<int, 3> m_target{0, 0, 0};
    std::array<QString, 3> m_targetScenario;
    int m_returnNode = 0;
    QString m_returnScenario;
    int m_returnKind = 0;
    StepRecord m_pending;
    StepHistory m_history;
    bool m_active = false;
    bool m_inRun = false; // inside drive(): outcomes are not taken re-entrantly
    int m_unattended = 0;

    DiagnosticsRun m_run;     // the run in progress
    DiagnosticsRun m_lastRun; // the run that ended last
    qint64 m_runStartUs = 0;
    // The end-of-path text on screen, while the dialog showing it is open.
    QString m_openConclusion;
    std::map<int, RunObserver> m_observers;
    int m_nextObserver = 1;
};

} // namespace kia
