#include "faulttypedlg.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

CFaultTypeDlg::CFaultTypeDlg(const FaultTypeList& list, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("faultTypeDialog"));
    setWindowTitle(faultTypeTitle());
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("faultTypeList"));
    m_list->setSortingEnabled(false);
    for (const FaultTypeEntry& e : list.entries)
        m_list->addItem(e.description);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отменить"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &CFaultTypeDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CFaultTypeDlg::OnOK);
    m_list->setFocus();
    resize(420, 300);
}

int CFaultTypeDlg::chosenRow() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void CFaultTypeDlg::OnOK() {
    if (chosenRow() < 0)
        return;
    accept();
}

} // namespace kia
