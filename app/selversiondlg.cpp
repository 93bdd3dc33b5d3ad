#include "selversiondlg.h"

#include "core/benchcontext.h"
#include "core/board.h"
#include "core/userprompts.h"

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kia {

CSelVersionDlg::CSelVersionDlg(BenchContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("CSelVersionDlg"));
    setWindowTitle(QStringLiteral("Выберите версию ПО ККМ..."));

    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("versionList"));
    m_list->setMinimumWidth(220);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отменить"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(ok, &QPushButton::clicked, this, &CSelVersionDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSelVersionDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    QList<VersionEntry> fromFile;
    QFile file(m_ctx.workingFolder + QStringLiteral("versions.txt"));
    if (file.open(QIODevice::ReadOnly)) {
        fromFile = parseVersionList(file.readAll());
    } else {
        m_ctx.prompts.beep(600, 30);
        m_ctx.prompts.message(PromptIcon::Error, applicationTitle(),
                              QStringLiteral("Ошибка чтения файла \"versions.txt\" !"));
    }
    m_entries = versionChoices(fromFile);
    for (const VersionEntry& e : m_entries)
        m_list->addItem(e.name);
    m_list->setCurrentIndex(0);
}

void CSelVersionDlg::accept() {
    const int i = m_list->currentIndex();
    if (i >= 0 && i < m_entries.size())
        m_ctx.chosenVersion = m_entries[i].value;
    done(ResultOk);
}

void CSelVersionDlg::reject() {
    done(ResultCancel);
}

} // namespace kia
