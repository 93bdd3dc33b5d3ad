#include "simfaultswindow.h"

#include "core/benchcontext.h"
#include "core/journalsink.h"
#include "sim/bench.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace kia {

CSimFaultsWindow::CSimFaultsWindow(BenchContext& ctx, sim::Bench& bench, const QString& startScript,
                                   QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_bench(bench), m_startScript(startScript),
      m_catalogue(sim::faultCatalogue(ctx.boardType)) {
    setObjectName(QStringLiteral("simFaultsWindow"));
    setWindowTitle(QStringLiteral("Неисправности имитатора"));
    resize(520, 420);
    m_on = QList<bool>(m_catalogue.size(), false);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("faultList"));
    for (const sim::CatalogueFault& f : m_catalogue) {
        auto* item = new QListWidgetItem(f.description, m_list);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
        item->setToolTip(f.script);
    }
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = m_list->row(item);
        const bool on = item->checkState() == Qt::Checked;
        if (row >= 0 && row < m_on.size() && m_on[row] != on)
            setFaultOn(row, on);
    });
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("faultStatus"));
    m_status->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* random = buttons->addButton(QStringLiteral("Случайная скрытая"), QDialogButtonBox::ActionRole);
    random->setObjectName(QStringLiteral("hideRandom"));
    QPushButton* show = buttons->addButton(QStringLiteral("Показать скрытую"), QDialogButtonBox::ActionRole);
    show->setObjectName(QStringLiteral("reveal"));
    QPushButton* clear = buttons->addButton(QStringLiteral("Снять все"), QDialogButtonBox::ActionRole);
    clear->setObjectName(QStringLiteral("clearAll"));
    QPushButton* close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    connect(random, &QPushButton::clicked, this, [this] { hideRandomFault(); });
    connect(show, &QPushButton::clicked, this, &CSimFaultsWindow::reveal);
    connect(clear, &QPushButton::clicked, this, &CSimFaultsWindow::clearAll);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Неисправности платы, которые знает имитатор:"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    refreshList();
}

QStringList CSimFaultsWindow::activeIds() const {
    QStringList ids;
    for (int i = 0; i < m_catalogue.size(); ++i)
        if (m_on[i])
            ids << m_catalogue[i].id;
    return ids;
}

bool CSimFaultsWindow::apply() {
    QString script = m_startScript;
    for (int i = 0; i < m_catalogue.size(); ++i)
        if (m_on[i] || m_catalogue[i].id == m_hidden)
            script += QLatin1Char('\n') + m_catalogue[i].script;
    QString error;
    if (!m_bench.loadFaultScript(script, &error)) {
        m_status->setText(QStringLiteral("Неисправность не установлена: ") + error.left(200));
        return false;
    }
    return true;
}

void CSimFaultsWindow::setFaultOn(int row, bool on) {
    if (row < 0 || row >= m_on.size())
        return;
    m_on[row] = on;
    if (!apply())
        m_on[row] = !on;
    refreshList();
}

void CSimFaultsWindow::hideRandomFault(int pick) {
    QList<int> candidates;
    for (int i = 0; i < m_catalogue.size(); ++i)
        if (!m_catalogue[i].interactive)
            candidates << i;
    if (candidates.isEmpty())
        return;
    const int n = int(candidates.size());
    const int chosen = candidates[pick >= 0 ? pick % n : int(QRandomGenerator::global()->bounded(n))];
    m_on.fill(false);
    m_hidden = m_catalogue[chosen].id;
    m_revealed = false;
    apply();
    refreshList();
}

void CSimFaultsWindow::reveal() {
    m_revealed = true;
    refreshList();
}

void CSimFaultsWindow::clearAll() {
    m_on.fill(false);
    m_hidden.clear();
    m_revealed = false;
    apply();
    refreshList();
}

void CSimFaultsWindow::refreshList() {
    const QSignalBlocker block(m_list);
    for (int i = 0; i < m_catalogue.size() && i < m_list->count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        item->setCheckState(m_on[i] ? Qt::Checked : Qt::Unchecked);
        const bool hidden = m_catalogue[i].id == m_hidden;
        item->setText(m_catalogue[i].description +
                      (hidden && m_revealed ? QStringLiteral("   (скрытая)") : QString()));
    }
    if (m_hidden.isEmpty())
        m_status->setText(QStringLiteral("Включено неисправностей: %1").arg(activeIds().size()));
    else
        m_status->setText(m_revealed
                              ? QStringLiteral("Скрытая неисправность показана в списке.")
                              : QStringLiteral("На плате скрытая неисправность. Найдите ее!"));
}

bool CSimFaultsWindow::scoreConclusion(const QString& scenario, const QString& conclusion) {
    const sim::CatalogueFault* fault = sim::findCatalogueFault(m_catalogue, m_hidden);
    if (!fault)
        return false;
    const bool named = sim::conclusionNamesFault(*fault, conclusion);
    if (m_ctx.journal) {
        JournalEvent e;
        e.kind = JournalEvent::Kind::Training;
        e.name = scenario;
        e.outcome = named ? JournalEvent::Outcome::Passed : JournalEvent::Outcome::Failed;
        e.verdict = named ? QStringLiteral("Неисправность найдена: ") + fault->description
                          : QStringLiteral("Неисправность не найдена (была: %1)").arg(fault->description);
        e.details.insert(QStringLiteral("fault"), fault->id);
        e.details.insert(QStringLiteral("script"), fault->script);
        e.details.insert(QStringLiteral("conclusion"), conclusion);
        e.details.insert(QStringLiteral("named"), named);
        m_ctx.journal->record(e);
    }
    m_status->setText(named ? QStringLiteral("Заключение верное.")
                            : QStringLiteral("Заключение не называет скрытую неисправность."));
    return named;
}

} // namespace kia
