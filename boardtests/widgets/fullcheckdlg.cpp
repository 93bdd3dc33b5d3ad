#include "fullcheckdlg.h"

#include "windowtestsession.h"

#include "boardtests/testdriver.h"
#include "boardtests/testengine.h"
#include "boardtests/testjournal.h"
#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "report/fullcheckreport.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kia {

namespace {
QColor verdictColour(CheckVerdict v) {
    switch (v) {
    case CheckVerdict::Passed:
        return QColor(0, 159, 0);
    case CheckVerdict::Failed:
    case CheckVerdict::LinkFailure:
        return QColor(159, 0, 0);
    default:
        break;
    }
    return QColor(96, 96, 96);
}
} // namespace

CFullCheckDlg::CFullCheckDlg(BenchContext& ctx, WindowTestSession& session, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_session(session) {
    setObjectName(QStringLiteral("fullCheckDlg"));
    setWindowTitle(QStringLiteral("Полная проверка платы"));
    resize(960, 620);

    m_table = new QTableWidget(0, 4, this);
    m_table->setObjectName(QStringLiteral("checkTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Тест"), QStringLiteral("Итог"),
                                        QStringLiteral("Время"), QStringLiteral("Подробности")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    // The details of a failure (the place, the conclusion) wrap in their cell.
    m_table->setWordWrap(true);
    const QList<FullCheckItem> plan = fullCheckPlan(ctx.boardType);
    m_table->setRowCount(int(plan.size()));
    for (int i = 0; i < plan.size(); ++i)
        m_table->setItem(i, 0, new QTableWidgetItem(plan[i].name));
    m_table->resizeColumnToContents(0);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("checkProgress"));
    m_progress->setRange(0, int(plan.size()));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("checkStatus"));
    m_status->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_stopButton = buttons->addButton(QStringLiteral("Стоп"), QDialogButtonBox::ActionRole);
    m_stopButton->setObjectName(QStringLiteral("stop"));
    m_saveButton = buttons->addButton(QStringLiteral("Сохранить отчет..."), QDialogButtonBox::ActionRole);
    m_saveButton->setObjectName(QStringLiteral("saveReport"));
    m_saveButton->setEnabled(false);
    m_closeButton = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    m_closeButton->setObjectName(QStringLiteral("close"));
    connect(m_stopButton, &QPushButton::clicked, this, [this] {
        m_stop = true;
        m_stopButton->setEnabled(false);
        m_status->setText(QStringLiteral("Проверка остановится после текущего теста..."));
    });
    connect(m_saveButton, &QPushButton::clicked, this, &CFullCheckDlg::saveReport);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFullCheckDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
}

void CFullCheckDlg::reject() {
    // Closing while a test runs would leave the board half tested: stop first.
    if (m_running) {
        m_stopButton->click();
        return;
    }
    QDialog::reject();
}

void CFullCheckDlg::runCheck() {
    m_running = true;
    m_closeButton->setEnabled(false);
    m_report = RunFullCheck(m_ctx, *this);
    m_running = false;
    journalFullCheck(m_ctx, m_report);
    showEntries();
    m_progress->setValue(m_progress->maximum());
    const QStringList summary = fullCheckSummary(m_report);
    m_status->setText(summary.mid(summary.size() - 2).join(QLatin1Char('\n')));
    m_stopButton->setEnabled(false);
    m_saveButton->setEnabled(true);
    m_closeButton->setEnabled(true);
}

void CFullCheckDlg::showEntries() {
    for (int i = 0; i < m_report.entries.size() && i < m_table->rowCount(); ++i)
        showEntry(i, m_report.entries[i]);
}

void CFullCheckDlg::entryDone(int index, const FullCheckEntry& entry) {
    if (index >= 0 && index < m_table->rowCount())
        showEntry(index, entry);
}

void CFullCheckDlg::showEntry(int i, const FullCheckEntry& e) {
    {
        auto* verdict = new QTableWidgetItem(checkVerdictText(e.verdict));
        verdict->setForeground(verdictColour(e.verdict));
        m_table->setItem(i, 0, new QTableWidgetItem(e.item.name));
        m_table->setItem(i, 1, verdict);
        const bool ran = e.verdict != CheckVerdict::Skipped && e.verdict != CheckVerdict::NotRun;
        m_table->setItem(i, 2, new QTableWidgetItem(
                                   ran ? QString::number(double(e.elapsedMs) / 1000.0, 'f', 1) +
                                             QStringLiteral(" с")
                                       : QString()));
        QStringList details;
        if (!e.note.isEmpty() && e.verdict != CheckVerdict::Passed)
            details << e.note;
        if (!e.places.isEmpty())
            details << e.places.first().simplified();
        if (!e.keyword.isEmpty())
            details << QStringLiteral("Диагностика: ") + e.keyword;
        if (!e.conclusion.isEmpty())
            details << QStringLiteral("Заключение: ") + e.conclusion.simplified();
        auto* item = new QTableWidgetItem(details.join(QStringLiteral("; ")));
        item->setToolTip((e.places + QStringList{e.conclusion}).join(QLatin1Char('\n')).trimmed());
        m_table->setItem(i, 3, item);
    }
    m_table->resizeColumnToContents(1);
    m_table->resizeColumnToContents(2);
    m_table->resizeRowToContents(i);
}

bool CFullCheckDlg::saveReport() {
    const QString path = m_ctx.prompts.saveFile(
        QStringLiteral("Сохранение отчета"),
        {{QStringLiteral("Отчет PDF (*.pdf)"), QStringLiteral("*.pdf")},
         {QStringLiteral("Страница HTML (*.html)"), QStringLiteral("*.html")},
         {QStringLiteral("Данные JSON (*.json)"), QStringLiteral("*.json")}},
        m_ctx.workingFolder,
        QStringLiteral("проверка-%1.pdf").arg(m_report.started.toString(QStringLiteral("yyyyMMdd-HHmm"))));
    if (path.isEmpty())
        return false;
    QString error;
    if (!writeFullCheckReport(m_report, path, &error)) {
        m_ctx.prompts.message(PromptIcon::Error, QStringLiteral("Полная проверка платы"),
                              QStringLiteral("Отчет не записан !  \n") + error);
        return false;
    }
    m_status->setText(QStringLiteral("Отчет записан: ") + path);
    return true;
}

bool CFullCheckDlg::showStartDialog(int boardType, bool& dontShowAgain) {
    return m_session.ShowStartDialog(boardType, dontShowAgain);
}

bool CFullCheckDlg::chooseSoftwareVersion(BenchContext& ctx) {
    return m_session.ChooseSoftwareVersion(ctx);
}

void CFullCheckDlg::clearMarks() {
    m_session.ClearMarks();
}

int CFullCheckDlg::runEngine(TestEngine& engine) {
    if (m_session.pacing() == CTestDialog::Pacing::ContextClock)
        return runTestToEnd(engine, m_ctx.clock);
    // On the real clock the window stays alive between the engine's ticks.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, [&] {
        engine.tick();
        if (engine.hasEnded() || !engine.timerRunning())
            loop.quit();
        else
            timer.start(engine.msUntilNextTick());
    });
    connect(&engine, &TestEngine::textChanged, m_status, &QLabel::setText);
    engine.start();
    while (!engine.hasEnded()) {
        if (engine.timerRunning()) {
            timer.start(engine.msUntilNextTick());
            loop.exec();
            continue;
        }
        engine.pressExit();
    }
    return engine.result();
}

void CFullCheckDlg::progress(int index, int, const QString& name) {
    m_progress->setValue(index);
    m_status->setText(name + QStringLiteral("..."));
    for (int i = 0; i < m_table->rowCount(); ++i)
        if (m_table->item(i, 0) && m_table->item(i, 0)->text() == name)
            m_table->setItem(i, 1, new QTableWidgetItem(QStringLiteral("идет...")));
}

bool CFullCheckDlg::offerInteractive(const FullCheckItem& item) {
    if (!m_interactive)
        return false;
    return m_ctx.prompts.question(PromptIcon::Question, QStringLiteral("Полная проверка платы"),
                                  QStringLiteral("Провести тест \"%1\" ?").arg(item.name),
                                  PromptAnswer::Yes) == PromptAnswer::Yes;
}

void CFullCheckDlg::runInteractive(const FullCheckItem& item, FullCheckEntry& entry) {
    if (m_interactive)
        m_interactive(item.commandId, entry);
    else
        entry.verdict = CheckVerdict::Skipped;
}

QString CFullCheckDlg::runDiagnostics(const QString& keyword) {
    if (!m_diagnostics)
        return QString();
    return m_diagnostics(keyword);
}

} // namespace kia
