#pragma once

#include "service/servicehost.h"
#include "service/servicejournal.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QDialog;

namespace kia {

class BenchContext;
class CMainFrame;
class ServiceControllerPreparation;
class WindowTestSession;

/// The workstation's side of the service operations: the progress dialog
/// (CExecProgress) and the pre-verification dialog (CPreVer) parented to the
/// main window, the board test session for the preparation and the marks,
/// and the status bar's prompt pane for the backup notes. It also owns the
/// board-type-4 controller preparation and installs it in the context for its
/// lifetime, so every board test of type 4 puts the test program into DD5
/// first. Made by InstallServiceCommands, owned by the main window; the
/// context and the session outlive it. UI thread; every call is modal.
class WindowServiceHost : public QObject, public ServiceHost {
    Q_OBJECT
public:
    WindowServiceHost(CMainFrame& frame, WindowTestSession& session, QObject* parent = nullptr);
    ~WindowServiceHost() override;

    int RunProgress(int mode, OperationArgument& argument) override;
    TestSessionHost& session() override;
    void ClearMarks() override;
    void ShowStatus(const QString& text) override;
    bool ShowPreVerification() override;
    void NoteMessage(PromptIcon icon, const QString& text) override;

    ServiceControllerPreparation& preparation() { return *m_preparation; }
    /// What the running command did so far (operations and boxes), for the
    /// repair journal; the command handlers start and end it.
    ServiceLog& log() { return m_log; }

signals:
    /// A dialog of the service commands is about to run modally (built, not
    /// yet shown); lets a script or a recorder follow the command.
    void dialogOpened(QDialog* dialog);

private:
    BenchContext& m_ctx;
    QPointer<CMainFrame> m_frame;
    WindowTestSession& m_session;
    std::unique_ptr<ServiceControllerPreparation> m_preparation;
    ServiceLog m_log;
};

} // namespace kia
