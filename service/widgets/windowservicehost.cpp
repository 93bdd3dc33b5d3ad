#include "windowservicehost.h"

#include "execprogress.h"
#include "prever.h"

#include "app/mainframe.h"
#include "boardtests/widgets/windowtestsession.h"
#include "core/benchcontext.h"
#include "service/controllersoftware.h"

#include <QLabel>

namespace kia {

WindowServiceHost::WindowServiceHost(CMainFrame& frame, WindowTestSession& session,
                                     QObject* parent)
    : QObject(parent), m_ctx(frame.context()), m_frame(&frame), m_session(session),
      m_preparation(std::make_unique<ServiceControllerPreparation>(*this)) {
    setObjectName(QStringLiteral("windowServiceHost"));
    m_ctx.controllerPreparation = m_preparation.get();
}

WindowServiceHost::~WindowServiceHost() {
    if (m_ctx.controllerPreparation == m_preparation.get())
        m_ctx.controllerPreparation = nullptr;
}

int WindowServiceHost::RunProgress(int mode, OperationArgument& argument) {
    CExecProgress dlg(m_ctx, mode, argument, m_frame);
    emit dialogOpened(&dlg);
    const int result = dlg.run();
    m_log.noteRun(m_ctx, mode, argument, result);
    return result;
}

TestSessionHost& WindowServiceHost::session() { return m_session; }

void WindowServiceHost::ClearMarks() { m_session.ClearMarks(); }

void WindowServiceHost::ShowStatus(const QString& text) {
    // The prompt pane keeps it until the next note; menu tips show over it
    // and give it back.
    if (m_frame && m_frame->pane(0)) {
        m_frame->pane(0)->setText(text);
        m_frame->pane(0)->setToolTip(text);
    }
}

void WindowServiceHost::NoteMessage(PromptIcon icon, const QString& text) {
    m_log.noteMessage(icon, text);
}

bool WindowServiceHost::ShowPreVerification() {
    CPreVer dlg(m_frame);
    emit dialogOpened(&dlg);
    return dlg.exec() == QDialog::Accepted;
}

} // namespace kia
