#pragma once

#include "operationmodes.h"

#include <QString>

namespace kia {

class TestSessionHost;
enum class PromptIcon;

/// What the service commands need from the workstation's windows besides the
/// prompts: the modal progress dialog, the test preparation's host, the board
/// view's marks and the status bar. The main window implements it with
/// CExecProgress, the CLI with a bar on the terminal, tests with a recorder.
/// UI thread only.
class ServiceHost {
public:
    virtual ~ServiceHost() = default;

    /// Runs an operation behind the progress dialog (modal) and returns its
    /// result; `argument` stays alive and unchanged until it returns.
    virtual int RunProgress(int mode, OperationArgument& argument) = 0;
    /// The host of the test preparation (start dialog, marks).
    virtual TestSessionHost& session() = 0;
    /// Clears the control-point marks of the board view.
    virtual void ClearMarks() = 0;
    /// A line for the engineer that is no box (the workstation's status bar,
    /// a line on stderr): where a backup went.
    virtual void ShowStatus(const QString& text) = 0;
    /// The pre-verification dialog (connection picture and instructions);
    /// true on "Продолжить". The caller has beeped already.
    virtual bool ShowPreVerification() = 0;
    /// The command has just told the engineer `text` (the box went through
    /// the prompts): a host that journals the command keeps the last one as
    /// its verdict. Nothing by default.
    virtual void NoteMessage(PromptIcon icon, const QString& text) {
        Q_UNUSED(icon);
        Q_UNUSED(text);
    }
};

} // namespace kia
