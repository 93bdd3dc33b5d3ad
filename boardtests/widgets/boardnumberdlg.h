#pragma once

#include <QDialog>

class QLineEdit;

namespace kia {

/// "Номер платы": the number the engineer reads off the board (or his own
/// label), so the repair journal can tell boards apart. Asked once at the
/// first test of a run; "Пропустить" leaves it empty.
class CBoardNumberDlg : public QDialog {
    Q_OBJECT
public:
    explicit CBoardNumberDlg(int boardType, QWidget* parent = nullptr);
    QString number() const;

private:
    QLineEdit* m_edit;
};

} // namespace kia
