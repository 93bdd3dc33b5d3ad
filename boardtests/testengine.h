#pragma once

#include "memoryerrormodel.h"

#include <QObject>
#include <QString>
#include <memory>

namespace kia {

class BenchContext;
class TestEngineHost;
class TestProcedure;

/// The controller of the test dialog: one board test run step by step from a
/// timer. The dialog (or runTestToEnd) owns the timer: it calls start(), then
/// tick() whenever the timer fires, follows timerRestarted()/timerStopped(),
/// shows text(), the progress and "Повтор" from the signals, and closes with
/// the result of finished(). Nested displays go through the TestEngineHost.
/// The engine never sleeps on its own; link operations block for up to their
/// time-outs. Lives on the UI thread; one engine runs one dialog.
///
/// Life: Created → start() → Running (a step per tick) → Completed (the tick
/// after the last step: timer stopped, text "Тест прошел !" or "Тест не прошел !", "Повтор"
/// enabled) → Ended by pressRepeat() (1), pressExit() (2) or by the test itself
/// (121..127). While guided diagnostics run, a completed test presses "Повтор"
/// itself 500 ms later, so it ends with 1; errors end it with 123 at once.
class TestEngine : public QObject {
    Q_OBJECT
public:
    enum class State { Created, Running, Completed, Ended };

    /// `controllerProgram`: the ROM test's controller program file name
    /// ("нет" when the version has none); unused by the other tests.
    TestEngine(BenchContext& ctx, TestEngineHost& host, int testNumber,
               const QString& controllerProgram = QString(), QObject* parent = nullptr);
    ~TestEngine() override;

    /// False for a test number this engine does not run.
    bool isValid() const { return m_procedure != nullptr; }
    int testNumber() const { return m_testNumber; }

    /// Progress range 0..step count, position 0, "Повтор" disabled, timer at 10 ms.
    void start();
    /// One timer tick: one step of the test.
    void tick();
    /// "Повтор" (only while enabled): ends with 1.
    void pressRepeat();
    /// "Выход": ends with 2 whatever the state.
    void pressExit();

    State state() const { return m_state; }
    bool hasEnded() const { return m_state == State::Ended; }
    bool isCompleted() const { return m_state == State::Completed; }
    int result() const { return m_result; }
    /// Set when an error display was opened or a check failed.
    bool failed() const { return m_failure; }
    /// Whether every step was done (the test reached its verdict), whatever came after.
    bool reachedEnd() const { return m_reachedEnd; }

    int progressMaximum() const { return m_stepCount; }
    int progressPosition() const { return m_step; }
    QString text() const { return m_text; }
    QString resultText() const { return m_resultText; }
    bool repeatEnabled() const { return m_repeatEnabled; }
    bool timerRunning() const { return m_timerRunning; }
    int timerInterval() const { return m_interval; }
    /// Milliseconds from now to the next tick on the context's clock.
    int msUntilNextTick() const;

    /// Texts of the dialog itself.
    static QString repeatButton();
    static QString exitButton();
    static QString timerErrorText();

    // --- step API, used by the test procedures ------------------------------
    BenchContext& context() { return m_ctx; }
    TestEngineHost& host() { return m_host; }
    bool diagnosticsActive() const;
    int step() const { return m_step; }
    int stepCount() const { return m_stepCount; }
    /// Sets the step counter (and the progress position with it).
    void setStep(int step);
    /// A new step count: the progress bar gets the new range.
    void setStepCount(int count);
    /// Step counter + 1 and one progress step.
    void advance();
    /// (Re)starts the timer: the next tick comes `ms` after now.
    void restartTimer(int ms);
    void stopTimer();
    void setText(const QString& text);
    void setResultText(const QString& text) { m_resultText = text; }
    void setFailure() { m_failure = true; }
    void playErrorSound();
    /// Closes the dialog with `result`.
    void end(int result);
    /// A link operation failed: ends with 124.
    void linkFailure() { end(124); }

    /// Stops the timer, sets the failure flag and plays the error sound. While
    /// guided diagnostics run it ends with 123 and returns false.
    bool beginErrorDisplay();
    /// Asks "Запустить диагностику ?"-style questions of the failed checks:
    /// 600 Hz beep, Yes/No, stop icon. Ends with `yesResult` (Yes, or at once
    /// while guided diagnostics run) or 2 (No).
    void askDiagnostics(const QString& title, const QString& text, int yesResult);

    /// The error-display loop of the memory tests: from the block of `address`
    /// on, show blocks until the engineer leaves the loop. 1 goes to the next
    /// block up to `lastBlock`, then, like 125, restarts the timer at
    /// `continueMs` and returns true (the test goes on); 2, 123 and 124 end
    /// the dialog and return false.
    bool runMemoryErrorLoop(MemoryErrorKind kind, int pattern, quint32 address, quint32 lastBlock,
                            int continueMs);

signals:
    void progressRangeChanged(int maximum);
    void progressChanged(int position);
    void textChanged(const QString& text);
    void repeatEnabledChanged(bool enabled);
    /// The timer is to fire `intervalMs` from now, then every `intervalMs`.
    void timerRestarted(int intervalMs);
    void timerStopped();
    /// Every step done; the dialog waits for "Повтор" or "Выход".
    void completed(bool failed);
    /// The dialog closes with `result`.
    void finished(int result);

private:
    void complete();

    BenchContext& m_ctx;
    TestEngineHost& m_host;
    int m_testNumber;
    std::unique_ptr<TestProcedure> m_procedure;

    State m_state = State::Created;
    int m_result = 0;
    int m_step = 0;
    int m_stepCount = 0;
    bool m_failure = false;
    bool m_firstTick = true;
    bool m_autoRepeat = false;
    bool m_reachedEnd = false;
    QString m_text;
    QString m_resultText;
    bool m_repeatEnabled = false;

    bool m_timerRunning = false;
    int m_interval = 0;
    qint64 m_nextDueUs = 0;
    bool m_restartedInTick = false;
};

} // namespace kia
