#pragma once

#include "diagn/diagnosticsengine.h"
#include "diagn/faulttypes.h"
#include "view/pointcheckhost.h"
#include "oscstepdialog.h"
#include "probestepdialog.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include "view/diagnview.h"
#include <memory>

namespace kia {

class CDiagnView;

class BenchContext;
class CMainFrame;

class WindowTestSession;

/// Guided diagnostics in the workstation: the engine installed as the
/// context's scenario host, its step dialogs (modeless, placed away from the
/// marked point, outcomes posted back to the engine), the board view's marks
/// and menus, and the fault-type command. Owned by the main frame; UI thread.
class WindowDiagnostics final : public QObject,
                                public StepDialogHost,
                                public DiagnosticsBoard,
                                public FaultTypeChooser,
                                public PointCheckHost {
    Q_OBJECT
public:
    WindowDiagnostics(CMainFrame& frame, WindowTestSession& tests);
    ~WindowDiagnostics() override;

    DiagnosticsEngine& engine() { return *m_engine; }
    /// The step dialog now open, if any: the probe or the oscilloscope step.
    QDialog* stepDialog() const { return m_dialog; }
    void OnFaultTypes();
    /// How the probe step dialogs wait their result pause (default: a timer
    /// of the real length; tests and demonstrations may hurry it).
    void setProbeStepScheduler(CProbeStepDialog::Scheduler scheduler) {
        m_probeScheduler = std::move(scheduler);
    }
    /// Starts guided diagnostics from a keyword as a failed test does, the
    /// board's outputs put at rest first, and waits with the windows alive
    /// until the engineer has taken the run to its end; how it ended.
    DiagnosticsRun RunAndWait(const QString& keyword);

    // StepDialogHost
    void OpenStepDialog(const StepRequest& request) override;
    // DiagnosticsBoard
    void ClearMarks() override;
    bool MarkPoint(const QString& name) override;
    bool ShowPoint(const QString& name) override;
    QRect MarkRect() const override;
    void SetMenusLocked(bool locked) override;
    // FaultTypeChooser
    int ChooseFaultType(const FaultTypeList& list, int& row) override;
    // PointCheckHost: the board view's single-point check.
    void StartPointCheck(const QString& pointName, bool logicProbe, const QRect& markRect) override;

    static QString pointCheckOscilloscopeText();

signals:
    /// A step dialog was opened (tests and screenshots follow the run).
    void stepDialogOpened(QDialog* dialog);
    /// The fault-type list is about to run modally.
    void faultTypeDialogOpened(QDialog* dialog);

private:
    CMainFrame& m_frame;
    // The frame's context, kept apart: the frame deletes this object as a
    // child once its own destructor has run, when it may no longer be asked.
    BenchContext& m_ctx;
    WindowTestSession& m_tests;
    std::unique_ptr<DiagnosticsEngine> m_engine;
    QPointer<QDialog> m_dialog;
    QPointer<CDiagnView> m_view;
    CProbeStepDialog::Scheduler m_probeScheduler;
};

/// Makes the frame's guided diagnostics and registers the fault-type
/// command. Call once, after InstallTestCommands. The frame owns the result.
WindowDiagnostics* InstallDiagnostics(CMainFrame& frame, WindowTestSession* tests);

} // namespace kia
