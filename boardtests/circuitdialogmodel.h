#pragma once

#include "circuittable.h"
#include "circuittesthost.h"

#include <QList>
#include <QString>
#include <functional>

namespace kia {

class BenchContext;

/// End codes of the circuit dialog besides row + 9 / row + 10.
enum CircuitDialogEnd : int {
    CircuitDialogDiagnostics = 1,
    CircuitDialogExit = 2,
    CircuitDialogLinkFailure = 124,
};

/// The widget-free half of the circuit dialog "Тест периферии" of one row:
/// its text, progress range, the rows the engineer may switch to, and the run
/// of the row (direct check of every step, cross-check against the later
/// rows, pin scan), which opens the error dialog through the host on every
/// failed check. UI thread; run() blocks while it exchanges frames.
class CircuitDialogModel {
public:
    CircuitDialogModel(BenchContext& ctx, CircuitTestHost& host, int row, bool samePoint);

    int row() const { return m_row; }
    const CircuitRow& circuit() const { return m_table[static_cast<size_t>(m_row)]; }
    /// The same point as the row before: the run starts 20 ms after opening.
    bool autoStart() const { return m_samePoint; }

    /// The instruction text, or after row 27 the final verdict.
    QString text() const { return m_text; }
    int progressMaximum() const { return m_maximum; }
    int progress() const { return m_progress; }
    /// Called with the new position whenever the progress moves.
    std::function<void(int)> onProgress;

    /// "Выбрать другую цепь" is disabled while guided diagnostics run.
    bool otherCircuitEnabled() const;
    /// The rows "Выберите цепь..." lists (present rows in table order) and their names.
    QList<int> selectableRows() const;
    QStringList selectableNames() const;
    /// End code of choosing `row` in that list.
    static int choiceEndCode(int row) { return row + 9; }

    /// Runs the row. Returns the dialog's end code, or 0 when the dialog stays
    /// open (row 27 has run: the verdict is in text(), only "Выход" is left).
    int run();
    bool verdictShown() const { return m_verdictShown; }

private:
    enum class Check { Passed, Failed, Link };
    struct Failure {
        CircuitErrorReport::Kind kind = CircuitErrorReport::Kind::Direct;
        int otherRow = -1;
        int otherStep = -1;
        int pin = -1;
    };
    int runOnce(bool& repeat);
    Check check(int step, const Failure& where, CircuitErrorAnswer& answer);
    bool passes(const CircuitRow& row, int step, quint8 level) const;
    CircuitErrorReport report(int step, quint8 level, const Failure& where) const;
    bool crossExcused(int other) const;
    bool pinExcused(int pin) const;
    void setProgress(int p);
    void advance() { setProgress(m_progress + 1); }

    BenchContext& m_ctx;
    CircuitTestHost& m_host;
    const CircuitTable& m_table;
    int m_row;
    bool m_samePoint;
    QString m_text;
    int m_maximum = 0;
    int m_progress = 0;
    bool m_verdictShown = false;
};

/// Whether row `other` is left out of the cross-check of row `row` on a board type.
bool CircuitCrossExcused(int boardType, int row, int other);
/// Whether pin `pin` is left out of row `row`'s pin scan on board types 0..3
/// (type 4 uses the row's pin set).
bool CircuitPinExcused(int boardType, int row, int pin);

} // namespace kia
