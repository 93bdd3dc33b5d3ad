#include "windowtestsession.h"

#include "circuitdialog.h"
#include "boardnumberdlg.h"

#include "memoryerrordlg.h"
#include "portimagedlg.h"
#include "teststartdlg.h"

#include "app/selversiondlg.h"
#include "core/benchcontext.h"
#include "boardtests/circuitdialogmodel.h"
#include "boardtests/memoryerrormodel.h"
#include "view/diagnview.h"

namespace kia {

WindowTestSession::WindowTestSession(BenchContext& ctx, QWidget* window, CDiagnView* view,
                                     CTestDialog::Pacing pacing, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_window(window), m_view(view), m_pacing(pacing) {
    setObjectName(QStringLiteral("windowTestSession"));
}

int WindowTestSession::runModal(QDialog& dialog) {
    emit dialogOpened(&dialog);
    return dialog.exec();
}

bool WindowTestSession::ShowStartDialog(int boardType, bool& dontShowAgain) {
    CTestStartDlg dlg(boardType, m_window);
    const bool proceed = runModal(dlg) == QDialog::Accepted;
    dontShowAgain = dlg.dontShowAgain();
    return proceed;
}

bool WindowTestSession::ChooseSoftwareVersion(BenchContext& ctx) {
    CSelVersionDlg dlg(ctx, m_window);
    return runModal(dlg) == CSelVersionDlg::ResultOk;
}

int WindowTestSession::RunTestDialog(TestEngine& engine) {
    CTestDialog dlg(engine, m_pacing, m_window);
    emit dialogOpened(&dlg);
    return dlg.run();
}

QString WindowTestSession::AskBoardNumber(int boardType) {
    CBoardNumberDlg dlg(boardType, m_window);
    runModal(dlg);
    return dlg.number();
}

void WindowTestSession::ClearMarks() {
    if (m_view)
        m_view->ClearMarks();
}

int WindowTestSession::ShowMemoryError(MemoryErrorKind kind, int pattern, quint32 blockStart) {
    MemoryErrorModel model(m_ctx, kind, pattern, blockStart);
    return showMemoryErrorWith(model, [this](MemoryErrorModel& m) {
        CMemoryErrorDlg dlg(m, m_window);
        return runModal(dlg);
    });
}

int WindowTestSession::ShowPortImageError(const PortImageModel& image) {
    CPortImageDlg dlg(image, m_window);
    return runModal(dlg);
}

} // namespace kia

namespace kia {

void WindowTestSession::ShowPoint(const QString& name, quint16 mark) {
    if (m_view && !name.isEmpty())
        m_view->ShowPoint(name, mark);
}

int WindowTestSession::RunCircuitDialog(CircuitDialogModel& model) {
    if (circuitDialogOpening)
        circuitDialogOpening(model);
    CCircuitDialog dlg(model, m_window);
    const QRect client = clientArea ? clientArea()
                         : m_window ? QRect(m_window->mapToGlobal(QPoint(0, 0)), m_window->size())
                                    : QRect();
    dlg.placeAway(client, m_view ? m_view->MarkRect() : QRect());
    return runModal(dlg);
}

CircuitErrorAnswer WindowTestSession::ShowCircuitError(const CircuitErrorReport& report) {
    CCircuitErrorDialog dlg(report, true, m_window);
    return static_cast<CircuitErrorAnswer>(runModal(dlg));
}

} // namespace kia
