#include "windowdiagnostics.h"

#include "faulttypedlg.h"
#include "oscstepdialog.h"

#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "boardtests/widgets/windowtestsession.h"
#include "core/benchcontext.h"
#include "probe/boardpreparation.h"
#include "view/controlpoint.h"
#include "view/diagnview.h"

#include <QEventLoop>

namespace kia {

namespace {
constexpr quint16 kMarkCheck = 16;
}

WindowDiagnostics::WindowDiagnostics(CMainFrame& frame, WindowTestSession& tests)
    : QObject(&frame), m_frame(frame), m_ctx(frame.context()), m_tests(tests),
      m_engine(std::make_unique<DiagnosticsEngine>(frame.context(), tests, *this, *this)) {
    m_engine->setLogicProbe([this] { return m_frame.settings().logicProbe(); });
    frame.context().scenarios = m_engine.get();
    m_view = frame.view();
    if (m_view)
        m_view->setPointCheckHost(this);
}

WindowDiagnostics::~WindowDiagnostics() {
    if (m_ctx.scenarios == m_engine.get())
        m_ctx.scenarios = nullptr;
    // The frame may be half gone (this object is its child): only the view,
    // watched since the start, is touched, and only while it still exists.
    if (m_view)
        m_view->setPointCheckHost(nullptr);
}

void WindowDiagnostics::OpenStepDialog(const StepRequest& request) {
    // The outcome is handled after the dialog has closed itself.
    auto handle = [this](int code, int argument) { m_engine->HandleOutcome(code, argument); };
    QDialog* opened = nullptr;
    if (!request.oscilloscope) {
        auto* dialog = new CProbeStepDialog(m_frame.context(), request, &m_frame, m_probeScheduler);
        connect(dialog, &CProbeStepDialog::outcome, this, handle, Qt::QueuedConnection);
        dialog->placeAway(m_frame.clientScreenRect(), request.markRect);
        opened = dialog;
    } else {
        auto* dialog = new COscStepDialog(m_frame.context(), request, &m_frame);
        connect(dialog, &COscStepDialog::outcome, this, handle, Qt::QueuedConnection);
        dialog->placeAway(m_frame.clientScreenRect(), request.markRect);
        opened = dialog;
    }
    m_dialog = opened;
    opened->show();
    emit stepDialogOpened(opened);
}

QString WindowDiagnostics::pointCheckOscilloscopeText() {
    return QStringLiteral("\nСигнал в выбранной точке\nдолжен соответствовать образцу !");
}

void WindowDiagnostics::StartPointCheck(const QString& pointName, bool logicProbe, const QRect& markRect) {
    // The check itself shows what is wrong when the preparation did not work.
    PrepareBoardForChecks(m_frame.context());
    m_engine->BeginPointCheck();
    StepRequest r;
    r.singlePoint = true;
    r.point = pointName;
    r.markRect = markRect;
    r.oscilloscope = !logicProbe;
    if (!logicProbe) {
        r.mode = 4;
        r.text = pointCheckOscilloscopeText();
    }
    OpenStepDialog(r);
}

DiagnosticsRun WindowDiagnostics::RunAndWait(const QString& keyword) {
    DiagnosticsRun result;
    result.scenario = keyword;
    result.end = RunEnd::Error;
    if (m_engine->running())
        return result;
    QEventLoop loop;
    bool ended = false;
    const int id = m_engine->addRunObserver([&](const DiagnosticsRun& run) {
        result = run;
        ended = true;
        loop.quit();
    });
    PrepareBoardForChecks(m_ctx);
    if (m_engine->StartScenario(keyword, 1) && !ended)
        loop.exec();
    m_engine->removeRunObserver(id);
    if (!ended)
        result.message = DiagnosticsEngine::loadErrorText();
    return result;
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
