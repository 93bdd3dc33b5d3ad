#include "probestepdialog.h"

#include "stepplacement.h"

#include "core/benchcontext.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kia {

namespace {

const QString kBackText = QStringLiteral("Назад на выбранный шаг");

QString historyWord(int outcome) {
    switch (outcome) {
    case OutcomeFail0: return QStringLiteral("- FAIL0");
    case OutcomeFail1: return QStringLiteral("- FAIL1");
    default: return QStringLiteral("- PASS");
    }
}

void paintResult(QLabel* cell, const QString& text, const QColor& background) {
    cell->setText(text);
    QPalette p = cell->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, Qt::white);
    cell->setPalette(p);
    cell->setAutoFillBackground(true);
}

} // namespace

void FillStepHistory(QTreeWidget* list, const StepHistory& history, const QString& currentLabel) {
    list->setColumnCount(2);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    for (const StepRecord& h : history)
        list->addTopLevelItem(new QTreeWidgetItem(QStringList{h.label, historyWord(h.outcome)}));
    auto* current = new QTreeWidgetItem(QStringList{currentLabel, QStringLiteral("- ?")});
    list->addTopLevelItem(current);
    list->scrollToItem(current);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
}

int ChosenHistoryRow(const QTreeWidget* list) {
    QTreeWidgetItem* item = list->currentItem();
    const int row = item ? list->indexOfTopLevelItem(item) : -1;
    // The last row is the step now open.
    return row >= 0 && row < list->topLevelItemCount() - 1 ? row : -1;
}

CProbeStepDialog::CProbeStepDialog(BenchContext& ctx, const StepRequest& request, QWidget* parent,
                                   Scheduler scheduler)
    : QDialog(parent), m_ctx(ctx), m_request(request), m_scheduler(std::move(scheduler)) {
    setObjectName(QStringLiteral("probeStepDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Диагностика"));

    StepFile file;
    if (!request.point.isEmpty())
        file.load(StepFile::defaultPath(ctx.workingFolder));
    m_setup = prepareProbeStep(file, request.point, request.text, ctx.boardType);

    auto* layout = new QVBoxLayout(this);
    m_text = new QLabel(m_setup.text, this);
    m_text->setObjectName(QStringLiteral("stepText"));
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(260);
    layout->addWidget(m_text);

    m_result = new QLabel(QStringLiteral("?"), this);
    m_result->setObjectName(QStringLiteral("stepResult"));
    m_result->setAlignment(Qt::AlignCenter);
    m_result->setFrameShape(QFrame::Box);
    m_result->setMinimumHeight(24);
    layout->addWidget(m_result);

    m_history = new QTreeWidget(this);
    m_history->setObjectName(QStringLiteral("stepHistory"));
    FillStepHistory(m_history, request.history, m_setup.name.shown);
    layout->addWidget(m_history);

    m_details = new QTreeWidget(this);
    m_details->setObjectName(QStringLiteral("stepDetails"));
    m_details->setRootIsDecorated(false);
    m_details->hide();
    if (request.singlePoint) {
        m_details->setColumnCount(3);
        m_details->setHeaderLabels({QStringLiteral("Шаг :"), QStringLiteral("Считанное значение:"),
                                    QStringLiteral("Ожидаемое значение:")});
    }
    layout->addWidget(m_details);

    auto* buttons = new QHBoxLayout;
    m_start = new QPushButton(QStringLiteral("Пуск"), this);
    m_start->setObjectName(QStringLiteral("startButton"));
    m_start->setEnabled(m_setup.canStart);
    m_start->setDefault(true);
    m_exit = new QPushButton(QStringLiteral("Выход"), this);
    m_exit->setObjectName(QStringLiteral("exitButton"));
    m_third = new QPushButton(kBackText, this);
    m_third->setObjectName(QStringLiteral("backButton"));
    m_third->setEnabled(!request.singlePoint);
    buttons->addWidget(m_start);
    buttons->addWidget(m_exit);
    buttons->addWidget(m_third);
    layout->addLayout(buttons);

    connect(m_start, &QPushButton::clicked, this, &CProbeStepDialog::OnStart);
    connect(m_exit, &QPushButton::clicked, this, &CProbeStepDialog::OnExit);
    connect(m_third, &QPushButton::clicked, this, &CProbeStepDialog::OnThirdButton);

    if (m_setup.immediateCode >= 0) {
        const int code = m_setup.immediateCode;
        // A point the probe cannot examine must not stop a run.
        const int posted = code == CodeNotForProbe && !request.singlePoint ? int(CodePass) : code;
        schedule(1, [this, posted] { finish(posted, 0); });
    }
}

void CProbeStepDialog::schedule(int ms, std::function<void()> callback) {
    QPointer<CProbeStepDialog> self(this);
    auto guarded = [self, callback = std::move(callback)] {
        if (self)
            callback();
    };
    if (m_scheduler)
        m_scheduler(ms, std::move(guarded));
    else
        QTimer::singleShot(ms, this, std::move(guarded));
}

void CProbeStepDialog::placeAway(const QRect& client, const QRect& avoid) {
    adjustSize();
    move(cornerAwayFrom(client, frameGeometry().size(), avoid));
}

void CProbeStepDialog::OnStart() {
    if (m_done || !m_setup.canStart || m_setup.immediateCode >= 0)
        return;
    m_start->setEnabled(false);
    m_exit->setEnabled(false);
    m_third->setEnabled(false);
    const ProbeCheckResult r = runProbeCheck(m_ctx, m_setup.command, m_request.singlePoint);
    if (r.code != CodePass && r.code != CodeFail) {
        finish(r.code, r.argument);
        return;
    }
    showResult(r);
    schedule(ResultPauseMs, [this, r] { afterPause(r); });
}

void CProbeStepDialog::showResult(const ProbeCheckResult& r) {
    m_result->show();
    if (r.code == CodePass)
        paintResult(m_result, QStringLiteral("PASS"), QColor(0, 159, 0));
    else
        paintResult(m_result, QStringLiteral("FAIL"), r.argument == 1 ? QColor(0, 0, 159) : QColor(159, 0, 0));
}

void CProbeStepDialog::afterPause(const ProbeCheckResult& r) {
    if (m_request.singlePoint && r.code == CodeFail) {
        showDetails(r);
        return;
    }
    finish(r.code, r.argument);
}

void CProbeStepDialog::showDetails(const ProbeCheckResult& r) {
    m_text->hide();
    m_history->hide();
    m_details->clear();
    for (const ProbeCheckRow& row : r.rows) {
        auto* item = new QTreeWidgetItem(QStringList{row.label, row.read, row.expected});
        const QColor colour = row.differs() ? QColor(191, 0, 0) : QColor(Qt::black);
        for (int c = 0; c < 3; ++c)
            item->setForeground(c, colour);
        m_details->addTopLevelItem(item);
    }
    for (int c = 0; c < 3; ++c)
        m_details->resizeColumnToContents(c);
    m_details->show();
    m_exit->setEnabled(true);
    m_third->setText(QStringLiteral("Повторить"));
    m_third->setEnabled(true);
    m_repeatMode = true;
}

void CProbeStepDialog::OnExit() { finish(CodeStop, 0); }

void CProbeStepDialog::OnThirdButton() {
    if (m_done)
        return;
    if (m_repeatMode) {
        m_repeatMode = false;
        m_details->hide();
        m_result->hide();
        m_history->show();
        m_text->show();
        m_third->setText(kBackText);
        OnStart();
        return;
    }
    if (m_request.singlePoint)
        return;
    const int row = ChosenHistoryRow(m_history);
    if (row >= 0)
        finish(CodeBackToStep, row);
}

void CProbeStepDialog::finish(int code, int argument) {
    if (m_done)
        return;
    m_done = true;
    emit outcome(code, argument);
    close();
}

void CProbeStepDialog::reject() { finish(CodeStop, 0); }

void CProbeStepDialog::closeEvent(QCloseEvent* event) {
    if (!m_done) {
        m_done = true;
        emit outcome(CodeStop, 0); // closing the window ends the run
    }
    event->accept();
}

} // namespace kia
