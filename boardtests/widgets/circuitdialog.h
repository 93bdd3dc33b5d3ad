#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kia {

class CircuitDialogModel;
struct CircuitErrorReport;

/// The circuit dialog "Тест периферии" over a CircuitDialogModel: progress
/// bar, the instruction text, "Пуск", "Выбрать другую цепь" and "Выход". Its
/// exec() result is the model's end code. Placed in the first corner of the
/// main window's client area that does not cover the marked point. UI thread.
class CCircuitDialog : public QDialog {
    Q_OBJECT
public:
    CCircuitDialog(CircuitDialogModel& model, QWidget* parent = nullptr);

    /// Moves the dialog to the first corner of `client` (screen coordinates)
    /// that keeps it off `markRect`.
    void placeAway(const QRect& client, const QRect& markRect);

    /// "Пуск" (also 20 ms after opening when the point is the same as before).
    void start();
    /// Esc and the close box are "Выход".
    void reject() override;

private:
    void chooseOther();

    CircuitDialogModel& m_model;
    QLabel* m_text;
    QProgressBar* m_progress;
    QPushButton* m_start;
    QPushButton* m_other;
    QPushButton* m_exit;
};

/// "Выберите цепь...": the present rows by name; exec() returns the chosen
/// row + 9 on OK, 0 on cancel.
class CCircuitChoiceDialog : public QDialog {
    Q_OBJECT
public:
    CCircuitChoiceDialog(const CircuitDialogModel& model, QWidget* parent = nullptr);
};

/// "Ошибка теста периферии": the fields of a failed check and the buttons
/// "Повтор", "Продолжить", "Диагностика", "Выход"; exec() returns the
/// CircuitErrorAnswer as an int.
class CCircuitErrorDialog : public QDialog {
    Q_OBJECT
public:
    CCircuitErrorDialog(const CircuitErrorReport& report, bool diagnosticsEnabled,
                        QWidget* parent = nullptr);
};

} // namespace kia
