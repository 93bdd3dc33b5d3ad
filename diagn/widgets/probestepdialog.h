#pragma once

#include "diagn/probecheck.h"
#include "diagn/stepdialoghost.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kia {

class BenchContext;

/// The step history as both instrument dialogs list it: one row per record
/// (label, "- PASS" / "- FAIL0" / "- FAIL1"), then the current step with
/// "- ?", scrolled into view.
void FillStepHistory(QTreeWidget* list, const StepHistory& history, const QString& currentLabel);
/// The history row chosen for going back: -1 when none is selected or the
/// selection is the current step.
int ChosenHistoryRow(const QTreeWidget* list);

/// The probe step ("Диагностика"): asks for the tip on a point, runs the
/// step file's check on "Пуск", shows PASS or FAIL for a moment and reports
/// the outcome once, then closes itself. In single-point mode a FAIL keeps
/// the dialog open with the readings listed and "Повторить". Without a point
/// it shows the instruction (a conclusion) and offers only leaving and going
/// back. Modeless. UI thread; the check blocks it while the probe works.
class CProbeStepDialog : public QDialog {
    Q_OBJECT
public:
    /// Runs `callback` after `ms` milliseconds (a single-shot QTimer by
    /// default; tests take the callback and run it themselves).
    using Scheduler = std::function<void(int ms, std::function<void()> callback)>;

    static constexpr int ResultPauseMs = 500;

    CProbeStepDialog(BenchContext& ctx, const StepRequest& request, QWidget* parent = nullptr,
                     Scheduler scheduler = Scheduler());

    /// Places the dialog in the first corner of `client` (bottom right, top
    /// right, bottom left, top left) where it does not cover `avoid`.
    void placeAway(const QRect& client, const QRect& avoid);

    const ProbeStepSetup& setup() const { return m_setup; }

    /// "Пуск" (and the repeat after "Повторить").
    void OnStart();
    void OnExit();
    /// "Назад на выбранный шаг", or "Повторить" after a failed single-point check.
    void OnThirdButton();

signals:
    void outcome(int code, int argument);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void showResult(const ProbeCheckResult& result);
    void afterPause(const ProbeCheckResult& result);
    void showDetails(const ProbeCheckResult& result);
    void finish(int code, int argument);
    void schedule(int ms, std::function<void()> callback);

    BenchContext& m_ctx;
    StepRequest m_request;
    ProbeStepSetup m_setup;
    Scheduler m_scheduler;
    bool m_done = false;
    bool m_repeatMode = false;

    QLabel* m_text = nullptr;
    QLabel* m_result = nullptr;
    QTreeWidget* m_history = nullptr;
    QTreeWidget* m_details = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_third = nullptr;
};

} // namespace kia
