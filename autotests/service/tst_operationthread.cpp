#include "servicerig.h"

#include "service/operationthread.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace kia;
using namespace testhost;

// The worker on its own thread: progress arrives queued on this thread, the
// result last, and the thread object goes away by itself.
class TestOperationThread : public QObject {
    Q_OBJECT
private slots:
    void progressArrivesQueuedAndResultLast();
};

void TestOperationThread::progressArrivesQueuedAndResultLast() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    OperationArgument a{s.folder() + QStringLiteral("t.fp"), {}, {}, {}};
    auto* thread = new OperationThread(s.rig.ctx, ModeSaveFiscal, a);
    thread->deleteOnFinish();
    int steps = 0;
    int stepsAtEnd = -1;
    int result = 0;
    QObject receiver;
    connect(thread, &OperationThread::stepped, &receiver, [&] {
        QCOMPARE(QThread::currentThread(), receiver.thread());
        ++steps;
    });
    connect(thread, &OperationThread::finishedWith, &receiver, [&](int r) {
        stepsAtEnd = steps;
        result = r;
    });
    QSignalSpy destroyed(thread, &QObject::destroyed);
    s.rig.ctx.busy = true;
    thread->start();
    QTRY_VERIFY_WITH_TIMEOUT(destroyed.count() == 1, 60000);
    QCOMPARE(result, int(OpDone));
    QCOMPARE(stepsAtEnd, 512);
    QCOMPARE(QFileInfo(a.text).size(), 65536);
}

QTEST_GUILESS_MAIN(TestOperationThread)
#include "tst_operationthread.moc"
