#pragma once

#include "testdialog.h"

#include "boardtests/circuittesthost.h"
#include "boardtests/testenginehost.h"
#include "boardtests/testsessionhost.h"

#include <QObject>
#include <QRect>
#include <functional>
#include <QPointer>

class QDialog;
class QWidget;

namespace kia {

class CDiagnView;

/// The workstation's side of a board test: the start dialog, the version
/// choice, the modal test dialog and the displays the engine opens (the
/// memory-error display, the port-image list), all parented to the main
/// window, and the board view's marks. Made by InstallTestCommands and owned
/// by the main window; the context outlives it. UI thread; every call is modal.
class WindowTestSession : public QObject,
                          public TestSessionHost,
                          public TestEngineHost,
                          public CircuitTestHost {
    Q_OBJECT
public:
    WindowTestSession(BenchContext& ctx, QWidget* window, CDiagnView* view,
                      CTestDialog::Pacing pacing = CTestDialog::Pacing::RealTime,
                      QObject* parent = nullptr);

    // TestSessionHost
    bool ShowStartDialog(int boardType, bool& dontShowAgain) override;
    bool ChooseSoftwareVersion(BenchContext& ctx) override;
    int RunTestDialog(TestEngine& engine) override;
    TestEngineHost& engineHost() override { return *this; }
    void ClearMarks() override;
    CircuitTestHost* circuitHost() override { return this; }

    // CircuitTestHost: the board view's marks, the circuit and error dialogs
    void ShowPoint(const QString& name, quint16 mark) override;
    int RunCircuitDialog(CircuitDialogModel& dialog) override;
    CircuitErrorAnswer ShowCircuitError(const CircuitErrorReport& report) override;

    /// The main window's client area in screen coordinates (the circuit
    /// dialog keeps to its corners); the window's whole rectangle until set.
    std::function<QRect()> clientArea;
    /// Runs as each circuit dialog opens (the simulated bench places the
    /// probe tip for rows that name no point).
    std::function<void(const CircuitDialogModel&)> circuitDialogOpening;
    QString AskBoardNumber(int boardType) override;

    // TestEngineHost
    int ShowMemoryError(MemoryErrorKind kind, int pattern, quint32 blockStart) override;
    int ShowPortImageError(const PortImageModel& image) override;

    CTestDialog::Pacing pacing() const { return m_pacing; }

signals:
    /// A dialog of the session is about to run modally (already built, not
    /// yet shown). Lets a script or a recorder follow the session.
    void dialogOpened(QDialog* dialog);

private:
    int runModal(QDialog& dialog);

    BenchContext& m_ctx;
    QPointer<QWidget> m_window;
    QPointer<CDiagnView> m_view;
    CTestDialog::Pacing m_pacing;
};

} // namespace kia
