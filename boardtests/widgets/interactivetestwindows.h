#pragma once

#include "dialogtimers.h"
#include "testdialog.h"

#include "boardtests/indicatortext.h"
#include "boardtests/interactivetests.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QDialog;
class QWidget;

namespace kia {

class CMainFrame;
class WindowTestSession;

/// The workstation's dialogs of the segment, keyboard and sound tests,
/// parented to the main window. Made by InstallTestCommands as a child of the
/// window's test session (find it with interactiveTestWindows()). UI thread;
/// every call is modal.
class WindowInteractiveTests : public QObject, public InteractiveTestHost {
    Q_OBJECT
public:
    WindowInteractiveTests(QWidget* window, DialogTimers::Pacing pacing, QObject* parent = nullptr);

    int RunSegmentTestDialog(SegmentTest& test) override;
    int RunKeyboardDialog(KeyboardTest& test) override;
    int RunSoundDialog(SoundTest& test) override;

    DialogTimers::Pacing pacing() const { return m_pacing; }
    /// The board's own indicator for the segment-test dialog (the simulated
    /// bench installs it); none by default.
    void setBoardScreenSource(std::function<bool(int, IndicatorScreen&, int&)> source) {
        m_boardSource = std::move(source);
    }

signals:
    /// A dialog is about to run modally (built, its engine not yet opened).
    void dialogOpened(QDialog* dialog);

private:
    QPointer<QWidget> m_window;
    DialogTimers::Pacing m_pacing;
    std::function<bool(int, IndicatorScreen&, int&)> m_boardSource;
};

/// The dialogs' pacing that goes with the test dialog's.
DialogTimers::Pacing dialogPacing(CTestDialog::Pacing pacing);

/// Registers the handlers of interactiveTestCommandIds() with the frame's
/// router, with the session for the preparation. Called by InstallTestCommands.
WindowInteractiveTests* InstallInteractiveTestCommands(CMainFrame& frame,
                                                       WindowTestSession& session);
/// The dialogs installed with the session, or null.
WindowInteractiveTests* interactiveTestWindows(WindowTestSession& session);

} // namespace kia
