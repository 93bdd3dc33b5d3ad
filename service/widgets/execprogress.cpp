#include "execprogress.h"

#include "service/operationthread.h"

#include "core/benchcontext.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kia {

CExecProgress::CExecProgress(BenchContext& ctx, int mode, OperationArgument& argument,
                             QWidget* parent)
    : CExecProgress(ctx, mode, operationWorker(mode), argument, parent) {}

CExecProgress::CExecProgress(BenchContext& ctx, int mode, OperationWorker worker,
                             OperationArgument& argument, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_mode(mode), m_worker(worker), m_argument(argument) {
    setObjectName(QStringLiteral("CExecProgress"));
    setModal(true);
    // Opening: caption and range by mode, the bar at 0, one unit a step.
    setWindowTitle(operationCaption(mode));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, operationRange(mode));
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_bar->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_bar);
    setFixedSize(sizeHint());
}

CExecProgress::~CExecProgress() {
    if (m_thread && !m_finished)
        m_thread->wait();
}

int CExecProgress::run() {
    // The port belongs to the worker until the result is in: the busy flag
    // keeps the probe display away from it whoever called.
    const bool wasBusy = m_ctx.busy;
    m_ctx.busy = true;
    const int result = exec();
    m_ctx.busy = wasBusy;
    return result;
}

void CExecProgress::reject() {}

void CExecProgress::closeEvent(QCloseEvent* event) {
    if (!m_finished)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void CExecProgress::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The worker starts from the event loop, after the dialog is on screen.
    if (!m_started)
        QMetaObject::invokeMethod(this, &CExecProgress::startWorker, Qt::QueuedConnection);
}

void CExecProgress::startWorker() {
    if (m_started)
        return;
    m_started = true;
    auto* thread = new OperationThread(m_ctx, m_worker, m_argument);
    thread->deleteOnFinish();
    m_thread = thread;
    connect(thread, &OperationThread::stepped, this, &CExecProgress::onStep, Qt::QueuedConnection);
    connect(thread, &OperationThread::positionSet, m_bar, &QProgressBar::setValue,
            Qt::QueuedConnection);
    connect(thread, &OperationThread::rangeSet, this,
            [this](int maximum) { m_bar->setRange(0, maximum); }, Qt::QueuedConnection);
    connect(thread, &OperationThread::captionSet, this, &QWidget::setWindowTitle,
            Qt::QueuedConnection);
    connect(thread, &OperationThread::finishedWith, this, &CExecProgress::onFinished,
            Qt::QueuedConnection);
    thread->start(QThread::NormalPriority);
}

void CExecProgress::onStep() {
    if (m_bar->value() < m_bar->maximum())
        m_bar->setValue(m_bar->value() + 1);
}

void CExecProgress::onFinished(int result) {
    m_finished = true;
    done(result);
}

} // namespace kia
