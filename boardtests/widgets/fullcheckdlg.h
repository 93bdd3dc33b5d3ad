#pragma once

#include "boardtests/fullcheck.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kia {

class BenchContext;
class WindowTestSession;

/// "Полная проверка платы": the tests of the board type in a list that fills
/// in as they run (verdict, time, where it failed), a progress bar, "Стоп"
/// between tests, and at the end the summary with "Сохранить отчет...". The
/// tests run without their own windows; the start dialog, the version choice
/// and the questions for the interactive tests come from the window's test
/// session. The finished check goes into the repair journal. UI thread.
class CFullCheckDlg : public QDialog, public FullCheckHost {
    Q_OBJECT
public:
    /// Runs an interactive test by its menu command and fills the entry;
    /// unset: the interactive tests are not offered.
    using InteractiveRunner = std::function<void(int commandId, FullCheckEntry& entry)>;
    /// Runs guided diagnostics for a keyword to its end; the conclusion.
    using DiagnosticsRunner = std::function<QString(const QString& keyword)>;

    CFullCheckDlg(BenchContext& ctx, WindowTestSession& session, QWidget* parent = nullptr);

    void setInteractiveRunner(InteractiveRunner runner) { m_interactive = std::move(runner); }
    void setDiagnosticsRunner(DiagnosticsRunner runner) { m_diagnostics = std::move(runner); }

    /// Runs the check with the dialog on screen; returns when it has ended
    /// (the dialog stays open with the summary).
    void runCheck();
    const FullCheckReport& report() const { return m_report; }
    bool isRunning() const { return m_running; }
    /// Writes the report to a file the engineer chooses (PDF, HTML or JSON).
    bool saveReport();

    // FullCheckHost
    bool showStartDialog(int boardType, bool& dontShowAgain) override;
    bool chooseSoftwareVersion(BenchContext& ctx) override;
    void clearMarks() override;
    int runEngine(TestEngine& engine) override;
    void progress(int index, int count, const QString& name) override;
    void entryDone(int index, const FullCheckEntry& entry) override;
    bool offerInteractive(const FullCheckItem& item) override;
    void runInteractive(const FullCheckItem& item, FullCheckEntry& entry) override;
    QString runDiagnostics(const QString& keyword) override;
    bool stopRequested() override { return m_stop; }

protected:
    void reject() override;

private:
    void showEntries();
    void showEntry(int row, const FullCheckEntry& e);

    BenchContext& m_ctx;
    WindowTestSession& m_session;
    InteractiveRunner m_interactive;
    DiagnosticsRunner m_diagnostics;
    FullCheckReport m_report;
    QTableWidget* m_table;
    QProgressBar* m_progress;
    QLabel* m_status;
    QPushButton* m_stopButton;
    QPushButton* m_saveButton;
    QPushButton* m_closeButton;
    bool m_running = false;
    bool m_stop = false;
};

} // namespace kia
