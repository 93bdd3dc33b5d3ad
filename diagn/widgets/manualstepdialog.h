#pragma once

#include "diagn/stepdialoghost.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace kia {

/// The step dialog of the workstation until the instrument dialogs exist:
/// the point, the instruction, the step history and the engineer's verdict
/// (PASS, FAIL0, FAIL1) after he has looked with his own probe or
/// oscilloscope; "Вернуться к шагу" goes back to the selected history row,
/// "Завершить" (or closing the window) ends the run. At the end of a path
/// (mode 3) only going back and ending are offered. Modeless; it emits its
/// outcome once and closes itself. UI thread.
class CManualStepDialog : public QDialog {
    Q_OBJECT
public:
    CManualStepDialog(const StepRequest& request, QWidget* parent = nullptr);

    /// Places the dialog in the first corner of `client` (bottom right, top
    /// right, bottom left, top left) where it does not cover `avoid`.
    void placeAway(const QRect& client, const QRect& avoid);

signals:
    void outcome(int code, int argument);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void finish(int code, int argument);

    QListWidget* m_history = nullptr;
    QPushButton* m_back = nullptr;
    bool m_done = false;
};

/// Corner placement shared by the dialogs that point at the board.
QPoint cornerAwayFrom(const QRect& client, const QSize& size, const QRect& avoid);

} // namespace kia
