#include "pointnamedlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kia {

CPointNameDlg::CPointNameDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CPointNameDlg"));
    setWindowTitle(QStringLiteral("Контрольная точка"));

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("pointName"));
    m_edit->setMaxLength(MaxNameLength);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("pointNameButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Наименование:"), m_edit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString CPointNameDlg::name() const {
    return m_edit->text().left(MaxNameLength);
}

} // namespace kia
