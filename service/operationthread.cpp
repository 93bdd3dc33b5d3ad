#include "operationthread.h"

namespace kia {

OperationThread::OperationThread(BenchContext& ctx, int mode, OperationArgument& argument)
    : m_ctx(ctx), m_mode(mode), m_argument(argument) {}

void OperationThread::deleteOnFinish() {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void OperationThread::run() {
    // Caption and range are the dialog's own opening; the worker does the rest.
    const OperationWorker worker = operationWorker(m_mode);
    const int result = worker ? worker(m_ctx, *this, m_argument) : int(OpFileOpen);
    emit finishedWith(result);
}

} // namespace kia
