#pragma once

#include <QDialog>

class QLineEdit;

namespace kia {

/// "Контрольная точка": asks for the name of a control point (at most 31
/// characters) to mark and check. Modal, UI thread.
class CPointNameDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxNameLength = 31;

    explicit CPointNameDlg(QWidget* parent = nullptr);
    QString name() const;
    QLineEdit* nameEdit() const { return m_edit; }

private:
    QLineEdit* m_edit = nullptr;
};

} // namespace kia
