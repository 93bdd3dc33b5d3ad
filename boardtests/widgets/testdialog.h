#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kia {

class TestEngine;

/// The modal test dialog: a thin window over a TestEngine. It shows the
/// progress bar (on its light yellow background), the text line and the
/// buttons "Повтор" (enabled once the test has ended) and "Выход", and owns
/// the timer that drives the engine: the first tick 10 ms after start, then
/// whatever interval the engine asks for, stopped while it says so. The
/// dialog ends with the engine's result; closing the window is "Выход".
/// The engine outlives the dialog. UI thread only.
class CTestDialog : public QDialog {
    Q_OBJECT
public:
    /// How the timer waits for the next tick. RealTime: a Qt timer of the
    /// engine's interval (the workstation). ContextClock: the tick comes at
    /// once and the context's clock is moved on by the interval, for a
    /// virtual clock that does not run by itself (tests, scripted demos).
    enum class Pacing { RealTime, ContextClock };

    CTestDialog(TestEngine& engine, Pacing pacing, QWidget* parent = nullptr);

    /// Starts the engine and runs the dialog modally; returns the result
    /// (1 "Повтор", 2 "Выход", 121..127 as the test ended itself).
    int run();

    TestEngine& engine() const { return m_engine; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* textLine() const { return m_text; }
    QPushButton* repeatButton() const { return m_repeat; }
    QPushButton* exitButton() const { return m_exit; }
    QTimer* timer() { return &m_timer; }

    /// Esc and the close box press "Выход".
    void reject() override;

private:
    void schedule();
    void onTimeout();
    void onFinished(int result);

    TestEngine& m_engine;
    Pacing m_pacing;
    QProgressBar* m_progress = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_repeat = nullptr;
    QPushButton* m_exit = nullptr;
    QTimer m_timer;
};

} // namespace kia
