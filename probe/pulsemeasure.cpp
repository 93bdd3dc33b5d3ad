#include "pulsemeasure.h"

#include "core/benchcontext.h"
#include "core/board.h"
#include "core/clock.h"
#include "link/serialline.h"
#include "probe.h"

namespace kia {

namespace {
constexpr quint16 kTestProcessorLatch = 0x7FFF;
constexpr quint16 kControllerLatch = 0x8000;

quint8 levelAfterEdge(quint8 status) {
    if (!(status & ModemDsr))
        return ProbeLogic0;
    return (status & ModemCts) ? ProbeLogic1 : ProbePlus12V;
}
} // namespace

bool SendLatchPulses(BenchContext& ctx, quint16 w1, quint16 w3) {
    const quint8 shadow = ctx.mainLatchShadow;
    if (isProgrammerBoard(ctx.boardType))
        return ctx.link.GeneratePulses(shadow | 0x04, shadow & ~0x04 & 0xFF, kControllerLatch, w1,
                                       1, w3);
    return ctx.link.GeneratePulses(shadow & ~0x10 & 0xFF, shadow | 0x10, kTestProcessorLatch, w1,
                                   1, w3);
}

bool MeasurePulse(BenchContext& ctx, int windowMs, const CircuitValues& values) {
    if (windowMs <= 0)
        return false;
    PulseReading& reading = ctx.lastPulse;
    quint8 status = 0;
    bool open = false;
    if (!SampleProbeLines(ctx, status, open))
        return false;
    if (open) {
        reading.level = ProbeOpen;
        reading.duration = 0;
        reading.edges = 0;
        return true;
    }

    Clock& clock = ctx.clock;
    const qint64 before = clock.counter();
    clock.sleepMs(windowMs);
    const qint64 window = clock.counter() - before;

    SerialLine* line = ctx.link.line();
    if (!line->modemStatus(status))
        return false;
    bool previousDsr = (status & ModemDsr) != 0;
    reading.edges = 0;
    const qint64 start = clock.counter();

    const int p = inputPulseLength(values) / 2;
    if (isProgrammerBoard(ctx.boardType)) {
        if (!ctx.link.WritePort(1, 0, 7) || !SendLatchPulses(ctx, static_cast<quint16>(2 * p), 1))
            return false;
    } else if (!SendLatchPulses(ctx, static_cast<quint16>(p), 50)) {
        return false;
    }

    reading.level = ProbeLogic0;
    qint64 firstEdge = 0;
    qint64 secondEdge = 0;
    int edges = 0;
    while (clock.counter() - start <= window) {
        if (!line->modemStatus(status))
            return false;
        const bool dsr = (status & ModemDsr) != 0;
        if (dsr == previousDsr)
            continue;
        const qint64 at = clock.counter();
        if (edges == 0) {
            firstEdge = at;
            reading.level = levelAfterEdge(status);
        } else if (edges == 1) {
            secondEdge = at;
        }
        if (edges < 255)
            ++edges;
        previousDsr = dsr;
    }
    reading.edges = static_cast<quint8>(edges);

    reading.duration = 0;
    if (edges >= 2) {
        // Counts per 0.1 ms; a counter slower than 10 kHz cannot time a pulse
        // at all, so the division is kept away from zero.
        const qint64 perTenth = qMax<qint64>(1, window / (qint64(windowMs) * 10));
        qint64 tenths = (secondEdge - firstEdge) / perTenth;
        if (isProgrammerBoard(ctx.boardType))
            tenths += 3;
        reading.duration = static_cast<quint16>(qMin<qint64>(tenths, 0xFFFF));
    }
    return true;
}

} // namespace kia
