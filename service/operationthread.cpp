#include "operationthread.h"

namespace kia {

OperationThread::OperationThread(BenchContext& ctx, int mode, OperationArgument& argument)
    : OperationThread(ctx, operationWorker(mode), argument) {}

OperationThread::OperationThread(BenchContext& ctx, OperationWorker worker,
                                 OperationArgument& argument)
    : m_ctx(ctx), m_worker(worker), m_argument(argument) {}

void OperationThread::deleteOnFinish() {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void OperationThread::run() {
    // Caption and range are the dialog's own opening; the worker does the rest.
    const int result = m_worker ? m_worker(m_ctx, *this, m_argument) : int(OpFileOpen);
    emit finishedWith(result);
}

} // namespace kia
