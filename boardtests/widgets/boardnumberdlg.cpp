#include "boardnumberdlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

CBoardNumberDlg::CBoardNumberDlg(int boardType, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("boardNumberDlg"));
    setWindowTitle(QStringLiteral("Номер платы"));
    auto* text = new QLabel(
        boardType == 4
            ? QStringLiteral("Номер платы для журнала ремонта\n(без номера плата узнается по номеру DD5):")
            : QStringLiteral("Номер платы для журнала ремонта:"),
        this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("boardNumber"));
    m_edit->setMaxLength(40);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* skip = buttons->addButton(QStringLiteral("Пропустить"), QDialogButtonBox::RejectRole);
    skip->setObjectName(QStringLiteral("skip"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

QString CBoardNumberDlg::number() const {
    return result() == QDialog::Accepted ? m_edit->text().trimmed() : QString();
}

} // namespace kia
