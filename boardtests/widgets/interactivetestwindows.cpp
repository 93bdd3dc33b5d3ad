#include "interactivetestwindows.h"

#include "keyboarddlg.h"
#include "segmenttestdlg.h"
#include "sounddlg.h"
#include "windowtestsession.h"

#include "app/mainframe.h"

namespace kia {

WindowInteractiveTests::WindowInteractiveTests(QWidget* window, DialogTimers::Pacing pacing,
                                               QObject* parent)
    : QObject(parent), m_window(window), m_pacing(pacing) {
    setObjectName(QStringLiteral("windowInteractiveTests"));
}

int WindowInteractiveTests::RunSegmentTestDialog(SegmentTest& test) {
    CSegmentTestDlg dlg(test, m_pacing, m_window);
    dlg.setBoardScreenSource(m_boardSource);
    emit dialogOpened(&dlg);
    return dlg.run();
}

int WindowInteractiveTests::RunKeyboardDialog(KeyboardTest& test) {
    CKeyboardDlg dlg(test, m_pacing, m_window);
    emit dialogOpened(&dlg);
    return dlg.run();
}

int WindowInteractiveTests::RunSoundDialog(SoundTest& test) {
    CSoundDlg dlg(test, m_pacing, m_window);
    emit dialogOpened(&dlg);
    return dlg.run();
}

DialogTimers::Pacing dialogPacing(CTestDialog::Pacing pacing) {
    return pacing == CTestDialog::Pacing::RealTime ? DialogTimers::Pacing::RealTime
                                                   : DialogTimers::Pacing::ContextClock;
}

WindowInteractiveTests* InstallInteractiveTestCommands(CMainFrame& frame,
                                                       WindowTestSession& session) {
    auto* dialogs = new WindowInteractiveTests(&frame, dialogPacing(session.pacing()), &session);
    BenchContext* ctx = &frame.context();
    WindowTestSession* host = &session;
    for (int id : interactiveTestCommandIds()) {
        frame.router().setHandler(
            id, [ctx, host, dialogs, id] { RunInteractiveTestCommand(*ctx, *host, *dialogs, id); });
    }
    return dialogs;
}

WindowInteractiveTests* interactiveTestWindows(WindowTestSession& session) {
    return session.findChild<WindowInteractiveTests*>(QStringLiteral("windowInteractiveTests"),
                                                      Qt::FindDirectChildrenOnly);
}

} // namespace kia
