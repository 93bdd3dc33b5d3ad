#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace kia {

class CircuitDialogModel;

/// What the failed check of a circuit shows in "Ошибка теста периферии".
struct CircuitErrorReport {
    enum class Kind { Direct, Cross, Pin };
    Kind kind = Kind::Direct;
    int row = 0;
    int step = 0;
    int otherRow = -1;  ///< cross kind: the later row whose inputs were driven
    int otherStep = -1; ///< cross kind: its step
    int pin = -1;       ///< pin kind: the pin index
    QString circuit;    ///< "Цепь :"
    QStringList inputs; ///< "Вход(ы) :"
    QStringList inputValues; ///< "Значение входов :", one per input
    QString output;     ///< "Выход :"
    QString measured;   ///< "Считанное значение выхода :"
    QString expected;   ///< "Ожидаемое значение выхода :"
    QString bottomLine; ///< the "ВНИМАНИЕ !" line of cross and pin failures, else empty
};

/// The engineer's answer in the error dialog.
enum class CircuitErrorAnswer { Exit, Repeat, Continue, Diagnostics };

/// What the peripheral test needs from the windows: the board view's marks,
/// the modal circuit dialog "Тест периферии" and the error dialog it opens.
/// The workstation implements it with its dialogs, kia-bench with the
/// console, tests with a script. UI thread; RunCircuitDialog and
/// ShowCircuitError are modal.
class CircuitTestHost {
public:
    virtual ~CircuitTestHost() = default;

    /// Marks a point (MarkCheck 16, MarkDriver 64); an empty name marks nothing.
    virtual void ShowPoint(const QString& name, quint16 mark) = 0;
    virtual void ClearMarks() = 0;

    /// Shows the circuit dialog over `dialog` until it ends; returns its end
    /// code (2 "Выход", 1 diagnostics, 124 link failure, another row + 9, or
    /// the row + 10 when the run ended). The dialog calls dialog.run() on
    /// "Пуск" (or by itself 20 ms after opening when dialog.autoStart()).
    virtual int RunCircuitDialog(CircuitDialogModel& dialog) = 0;

    /// The error dialog "Ошибка теста периферии" (called from inside run()).
    virtual CircuitErrorAnswer ShowCircuitError(const CircuitErrorReport& report) = 0;
};

} // namespace kia
