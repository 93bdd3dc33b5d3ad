#pragma once

#include "operationmodes.h"
#include "progresssink.h"

#include <QThread>

namespace kia {

/// One service operation on its own thread. The worker's progress calls come
/// out as signals; connected to an object of the UI thread they arrive there
/// queued, in order, with `finishedWith` last. The worker touches only the
/// context (which the UI leaves alone while the busy flag is set) and the
/// argument (which the caller keeps alive and unchanged until finishedWith).
/// Nobody waits for the thread: make it without a parent and it deletes
/// itself once it has ended (deleteOnFinish).
class OperationThread final : public QThread, private ProgressSink {
    Q_OBJECT
public:
    OperationThread(BenchContext& ctx, int mode, OperationArgument& argument);
    /// Runs `worker` instead of the mode's own (a test's stand-in worker).
    OperationThread(BenchContext& ctx, OperationWorker worker, OperationArgument& argument);
    /// The object goes away by itself after the worker has returned.
    void deleteOnFinish();

signals:
    void stepped();
    void positionSet(int position);
    void rangeSet(int maximum);
    void captionSet(const QString& caption);
    void finishedWith(int result);

protected:
    void run() override;

private:
    void step() override { emit stepped(); }
    void setPosition(int position) override { emit positionSet(position); }
    void setRange(int maximum) override { emit rangeSet(maximum); }
    void setCaption(const QString& caption) override { emit captionSet(caption); }

    BenchContext& m_ctx;
    const OperationWorker m_worker;
    OperationArgument& m_argument;
};

} // namespace kia
