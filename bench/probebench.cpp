// Modem-status polls per second, the rate that bounds the resolution of the
// pulse measurement (it needs 20,000 a second for 0.1 ms, twice over):
//   in-process - MeasurePulse's own loop over sim::BenchLine, real clock,
//                polls counted by a wrapper line;
//   pty        - QSerialLine over a pseudo-terminal, when the backend allows
//                the modem-status call there at all.
//
//   kia-probebench [--window MS]

#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/scriptedprompts.h"
#include "link/qserialline.h"
#include "probe/pulsemeasure.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/probe.h"
#include "sim/ptybench.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

/// Forwards to a line and counts the modem-status calls.
class CountingLine final : public kia::SerialLine {
public:
    explicit CountingLine(std::unique_ptr<kia::SerialLine> inner) : m_inner(std::move(inner)) {}
    long polls = 0;

    QString deviceName() const override { return m_inner->deviceName(); }
    bool open() override { return m_inner->open(); }
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    bool configure(qint32 baud) override { return m_inner->configure(baud); }
    bool setBaudRate(qint32 baud) override { return m_inner->setBaudRate(baud); }
    qint32 baudRate() const override { return m_inner->baudRate(); }
    bool setTimeouts(const kia::SerialTimeouts& t) override { return m_inner->setTimeouts(t); }
    bool getTimeouts(kia::SerialTimeouts& t) const override { return m_inner->getTimeouts(t); }
    bool purge() override { return m_inner->purge(); }
    qint64 write(const quint8* d, qint64 n) override { return m_inner->write(d, n); }
    qint64 read(quint8* d, qint64 n) override { return m_inner->read(d, n); }
    bool setRts(bool on) override { return m_inner->setRts(on); }
    bool setDtr(bool on) override { return m_inner->setDtr(on); }
    bool modemStatus(quint8& bits) override {
        ++polls;
        return m_inner->modemStatus(bits);
    }

private:
    std::unique_ptr<kia::SerialLine> m_inner;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int windowMs = 200;
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--window"))
        windowMs = qMax(1, args[2].toInt());

    kia::RealClock clock;
    kia::ScriptedPrompts prompts;
    {
        sim::Bench bench(0, clock);
        bench.probe().setTipLevel(1);
        kia::BenchContext ctx(clock, prompts);
        auto counting = std::make_unique<CountingLine>(std::make_unique<sim::BenchLine>(bench));
        CountingLine* line = counting.get();
        if (!ctx.link.attachLine(std::move(counting), 1, 0)) {
            std::fprintf(stderr, "cannot open the simulated line\n");
            return 1;
        }
        kia::CircuitValues values{};
        values[1] = 10;
        line->polls = 0;
        if (!kia::MeasurePulse(ctx, windowMs, values)) {
            std::fprintf(stderr, "pulse measurement failed, link status %d\n", ctx.linkStatus);
            return 1;
        }
        std::printf("in-process: %ld modem-status polls in a %d ms window, %.0f per second\n",
                    line->polls, windowMs, double(line->polls) * 1000.0 / windowMs);
    }
    {
        sim::PtyBench pty(0);
        if (!pty.start()) {
            std::fprintf(stderr, "cannot open a pseudo-terminal\n");
            return 1;
        }
        kia::QSerialLine line(pty.slavePath());
        if (!line.open()) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(pty.slavePath()));
            return 1;
        }
        quint8 bits = 0;
        if (!line.modemStatus(bits)) {
            std::printf("pseudo-terminal: the backend refuses the modem-status call there\n");
        } else {
            QElapsedTimer t;
            t.start();
            long n = 0;
            while (t.elapsed() < windowMs && line.modemStatus(bits))
                ++n;
            std::printf("pseudo-terminal: %ld modem-status polls, %.0f per second\n", n,
                        double(n) * 1e9 / double(t.nsecsElapsed()));
        }
        line.close();
        pty.stop();
    }
    return 0;
}
