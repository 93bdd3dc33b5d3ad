#pragma once

// A test-side host of the peripheral test: the engineer follows the dialog's
// instructions on the simulated bench (the tip goes to the point shown, or to
// the level driver's output on the driver row), presses "Пуск", and answers
// the error dialog from a queue; everything shown is recorded.

#include "circuitdialogmodel.h"
#include "circuittesthost.h"

#include "sim/bench.h"
#include "sim/circuitwiring.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

namespace testhost {

struct ShownDialog {
    int row = 0;
    bool samePoint = false;
    QString text;
    int maximum = 0;
    int end = 0;
    QString verdict; ///< row 27: the text after the run
};

class ScriptedCircuitHost final : public kia::CircuitTestHost {
public:
    explicit ScriptedCircuitHost(sim::Bench& bench) : m_bench(bench) {}

    /// Answers of the error dialog; default "Продолжить".
    QQueue<kia::CircuitErrorAnswer> errorAnswers;
    /// End codes the engineer chooses instead of "Пуск" (row + 9 picks another
    /// row, 2 "Выход"), one per dialog; 0 presses "Пуск".
    QQueue<int> dialogChoices;
    /// Runs when a dialog opens (to change the board under test).
    std::function<void(int row)> beforeRun;

    QList<ShownDialog> dialogs;
    QList<kia::CircuitErrorReport> errors;
    QStringList marks; ///< "name/state" of every ShowPoint
    int clearMarks = 0;

    void ShowPoint(const QString& name, quint16 mark) override {
        marks << QStringLiteral("%1/%2").arg(name).arg(mark);
        m_bench.setProbePoint(name);
    }
    void ClearMarks() override { ++clearMarks; }

    int RunCircuitDialog(kia::CircuitDialogModel& dialog) override {
        ShownDialog d{dialog.row(), dialog.autoStart(), dialog.text(), dialog.progressMaximum(), 0,
                      {}};
        const kia::CircuitRow& c = dialog.circuit();
        // The driver row names no point: the engineer holds the tip on the
        // driver's own output.
        if (c.output.isEmpty() && c.drive == kia::CircuitDrive::LevelDriver)
            m_bench.setProbePoint(sim::driverOutputPoint());
        if (beforeRun)
            beforeRun(dialog.row());
        const int choice = dialogChoices.isEmpty() ? 0 : dialogChoices.dequeue();
        if (choice != 0) {
            d.end = choice;
        } else {
            d.end = dialog.run();
            if (d.end == 0) {
                d.verdict = dialog.text();
                d.end = kia::CircuitDialogExit; // the verdict stays until "Выход"
            }
        }
        dialogs << d;
        return d.end;
    }

    kia::CircuitErrorAnswer ShowCircuitError(const kia::CircuitErrorReport& report) override {
        errors << report;
        return errorAnswers.isEmpty() ? kia::CircuitErrorAnswer::Continue : errorAnswers.dequeue();
    }

private:
    sim::Bench& m_bench;
};

} // namespace testhost
