// ReadPort exchanges per second through the link, on the two paths the
// workstation has without hardware:
//   in-process  - LinkPort -> sim::BenchLine -> sim::Bench, real clock;
//   pty         - LinkPort -> QSerialLine -> pseudo-terminal -> sim::PtyBench.
// Also watches the resident memory over a long in-process run.
//
//   kia-linkbench [--exchanges N] [--pty-exchanges N] [--board T]

#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/scriptedprompts.h"
#include "link/qserialline.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/ptybench.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : -1;
}

bool exchanges(kia::BenchContext& ctx, long n, double& perSecond)
{
    QElapsedTimer t;
    t.start();
    for (long i = 0; i < n; ++i) {
        if (ctx.link.ReadPort(quint8(i & 3)) > 0xFF) {
            std::fprintf(stderr, "exchange %ld failed, link status %d\n", i, ctx.linkStatus);
            return false;
        }
    }
    perSecond = double(n) * 1e9 / double(t.nsecsElapsed());
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    long inProcess = 1000000;
    long overPty = 20000;
    int board = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--exchanges"))
            inProcess = args[i + 1].toLong();
        else if (args[i] == QStringLiteral("--pty-exchanges"))
            overPty = args[i + 1].toLong();
        else if (args[i] == QStringLiteral("--board"))
            board = args[i + 1].toInt();
    }

    kia::RealClock clock;
    kia::ScriptedPrompts prompts;

    {
        sim::Bench bench(board, clock);
        // On board type 4 the frames are answered by the test program in DD5.
        bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
        kia::BenchContext ctx(clock, prompts);
        ctx.boardType = board;
        if (!ctx.link.attachLine(std::make_unique<sim::BenchLine>(bench), 1, 0)) {
            std::fprintf(stderr, "cannot open the simulated line\n");
            return 1;
        }
        double warm = 0, rate = 0;
        if (!exchanges(ctx, 10000, warm))
            return 1;
        const long before = residentKiB();
        if (!exchanges(ctx, inProcess, rate))
            return 1;
        const long after = residentKiB();
        std::printf("in-process: %ld ReadPort exchanges, %.0f per second\n", inProcess, rate);
        std::printf("in-process: resident memory %ld KiB before, %ld KiB after (%+ld KiB)\n",
                    before, after, after - before);
    }

    {
        sim::PtyBench pty(board);
        pty.bench().setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
        if (!pty.start()) {
            std::fprintf(stderr, "cannot open a pseudo-terminal\n");
            return 1;
        }
        kia::BenchContext ctx(clock, prompts);
        ctx.boardType = board;
        if (!ctx.link.attachLine(std::make_unique<kia::QSerialLine>(pty.slavePath()), 1, 0)) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(pty.slavePath()));
            return 1;
        }
        double rate = 0;
        if (!exchanges(ctx, overPty, rate))
            return 1;
        std::printf("pseudo-terminal: %ld ReadPort exchanges, %.0f per second\n", overPty, rate);
        ctx.link.CloseLinkPort();
        pty.stop();
    }
    return 0;
}
