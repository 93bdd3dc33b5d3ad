#pragma once

#include "service/operationmodes.h"

#include <QDialog>
#include <QPointer>

class QProgressBar;

namespace kia {
class OperationThread;
}

namespace kia {

class BenchContext;

/// The modal progress dialog of one service operation: its caption and range
/// by mode, one bar, no buttons. Once the dialog is on screen it starts the
/// mode's worker on its own OperationThread; the worker's step, position,
/// range and caption arrive queued and move the bar, and its result, also
/// queued, closes the dialog with that result. Esc and the close box do
/// nothing: an operation cannot be cancelled. While it runs the busy flag is
/// held, so the main window's probe timer stays off the port. The context and
/// the argument outlive the modal run; the worker thread is not waited for
/// (it ends and deletes itself). UI thread only.
class CExecProgress : public QDialog {
    Q_OBJECT
public:
    CExecProgress(BenchContext& ctx, int mode, OperationArgument& argument,
                  QWidget* parent = nullptr);
    /// The same with another worker in place of the mode's (tests).
    CExecProgress(BenchContext& ctx, int mode, OperationWorker worker,
                  OperationArgument& argument, QWidget* parent = nullptr);
    /// Normally the worker has posted its result before this. Should the
    /// dialog go while it still runs (the program ends), the worker is waited
    /// for, because it uses the caller's argument and the context.
    ~CExecProgress() override;

    /// Runs the dialog modally; returns the operation result.
    int run();

    int mode() const { return m_mode; }
    QProgressBar* progressBar() const { return m_bar; }
    /// Whether the worker has been started (it is, once the dialog shows).
    bool workerStarted() const { return m_started; }

    /// Esc and the close box: ignored.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void startWorker();
    void onStep();
    void onFinished(int result);

    BenchContext& m_ctx;
    const int m_mode;
    OperationWorker m_worker;
    OperationArgument& m_argument;
    QProgressBar* m_bar = nullptr;
    QPointer<OperationThread> m_thread;
    bool m_started = false;
    bool m_finished = false;
};

} // namespace kia
