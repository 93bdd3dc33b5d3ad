#include "windowdiagnostics.h"

#include "faulttypedlg.h"
#include "manualstepdialog.h"

#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "boardtests/widgets/windowtestsession.h"
#include "core/benchcontext.h"
#include "view/controlpoint.h"
#include "view/diagnview.h"

namespace kia {

namespace {
constexpr quint16 kMarkCheck = 16;
}

WindowDiagnostics::WindowDiagnostics(CMainFrame& frame, WindowTestSession& tests)
    : QObject(&frame), m_frame(frame), m_ctx(frame.context()), m_tests(tests),
      m_engine(std::make_unique<DiagnosticsEngine>(frame.context(), tests, *this, *this)) {
    m_engine->setLogicProbe([this] { return m_frame.settings().logicProbe(); });
    frame.context().scenarios = m_engine.get();
}

WindowDiagnostics::~WindowDiagnostics() {
    if (m_ctx.scenarios == m_engine.get())
        m_ctx.scenarios = nullptr;
}

void WindowDiagnostics::OpenStepDialog(const StepRequest& request) {
    auto* dialog = new CManualStepDialog(request, &m_frame);
    m_dialog = dialog;
    // The outcome is handled after the dialog has closed itself.
    connect(dialog, &CManualStepDialog::outcome, this,
            [this](int code, int argument) { m_engine->HandleOutcome(code, argument); },
            Qt::QueuedConnection);
    dialog->placeAway(m_frame.clientScreenRect(), request.markRect);
    dialog->show();
    emit stepDialogOpened(dialog);
}

void WindowDiagnostics::ClearMarks() {
    if (CDiagnView* v = m_frame.view())
        v->ClearMarks();
}

bool WindowDiagnostics::MarkPoint(const QString& name) {
    CDiagnView* v = m_frame.view();
    return v && v->MarkPoint(name, kMarkCheck);
}

bool WindowDiagnostics::ShowPoint(const QString& name) {
    CDiagnView* v = m_frame.view();
    return v && v->ShowPoint(name, kMarkCheck);
}

QRect WindowDiagnostics::MarkRect() const {
    CDiagnView* v = m_frame.view();
    return v ? v->MarkRect() : QRect();
}

void WindowDiagnostics::SetMenusLocked(bool locked) {
    if (CDiagnView* v = m_frame.view())
        v->SetMenusLocked(locked);
}

int WindowDiagnostics::ChooseFaultType(const FaultTypeList& list, int& row) {
    CFaultTypeDlg dialog(list, &m_frame);
    emit faultTypeDialogOpened(&dialog);
    const int r = dialog.exec();
    row = dialog.chosenRow();
    return r == QDialog::Accepted ? FaultTypeOk : FaultTypeCancel;
}

void WindowDiagnostics::OnFaultTypes() {
    RunFaultTypeCommand(m_frame.context(), m_tests, *this, *m_engine);
}

WindowDiagnostics* InstallDiagnostics(CMainFrame& frame, WindowTestSession* tests) {
    auto* diagnostics = new WindowDiagnostics(frame, *tests);
    frame.router().setHandler(cmd::FaultTypes, [diagnostics] { diagnostics->OnFaultTypes(); });
    return diagnostics;
}

} // namespace kia
