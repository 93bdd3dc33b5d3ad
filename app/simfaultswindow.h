#pragma once

#include "sim/faultcatalogue.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace sim {
class Bench;
}

namespace kia {

class BenchContext;

/// "Неисправности имитатора": the faults the simulated board of this type
/// can have (the catalogue), switched on and off while the workstation runs,
/// or one chosen at random and kept hidden for a trainee. What the trainee's
/// diagnostics conclude is scored against the hidden fault and goes into the
/// repair journal. The faults the program started with (--faults) stay on.
/// Modeless, UI thread; the bench outlives it.
class CSimFaultsWindow : public QDialog {
    Q_OBJECT
public:
    CSimFaultsWindow(BenchContext& ctx, sim::Bench& bench, const QString& startScript,
                     QWidget* parent = nullptr);

    const QList<sim::CatalogueFault>& catalogue() const { return m_catalogue; }
    /// Switches entry `row` on or off (as its check box does).
    void setFaultOn(int row, bool on);
    QStringList activeIds() const;
    /// Picks one fault at random (by `pick`, for tests: 0..count-1), puts it
    /// on hidden and switches every shown fault off.
    void hideRandomFault(int pick = -1);
    QString hiddenId() const { return m_hidden; }
    void reveal();
    void clearAll();

    /// Scores a diagnostics conclusion against the hidden fault: records a
    /// training event in the journal and returns whether the conclusion
    /// names it. False and nothing recorded without a hidden fault.
    bool scoreConclusion(const QString& scenario, const QString& conclusion);

private:
    bool apply();
    void refreshList();

    BenchContext& m_ctx;
    sim::Bench& m_bench;
    QString m_startScript;
    QList<sim::CatalogueFault> m_catalogue;
    QList<bool> m_on;
    QString m_hidden;
    bool m_revealed = false;
    QListWidget* m_list;
    QLabel* m_status;
};

} // namespace kia
