// Wire time of the long service operations on the simulated bench: saving
// the ФП, saving the РПЗУ and verifying the cash register's software. The
// bench's virtual clock moves only by bytes on the wire (10 bits a byte at
// the port speed) and by the waits the workstation itself makes, so each
// operation is compared with
//     ideal = bytes on the wire × 10 / baud + the waits the protocol mandates
// and must take at most 1.05 × ideal. Also prints the CPU time of each
// operation (the PC side together with the in-process simulator).
//
//   kia-servicebench            exit 0 when every ratio is at most 1.05

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "service/operationmodes.h"
#include "service/progresssink.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/cashregister.h"
#include "sim/virtualclock.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

// The workstation's clock: counts the waits the PC code makes (protocol
// pauses, time-outs it sleeps through) and passes them to the bench's clock.
class WaitCountingClock final : public kia::Clock {
public:
    explicit WaitCountingClock(sim::VirtualClock& v) : m_v(v) {}
    void sleepMs(int ms) override { sleepUs(qint64(ms) * 1000); }
    void sleepUs(qint64 us) override {
        if (us > 0)
            waitsUs += us;
        m_v.sleepUs(us);
    }
    qint64 nowUs() const override { return m_v.nowUs(); }
    qint64 counter() const override { return m_v.counter(); }
    qint64 counterFrequency() const override { return m_v.counterFrequency(); }
    void wireTimeUs(qint64 us) override { m_v.wireTimeUs(us); }
    qint64 waitsUs = 0;

private:
    sim::VirtualClock& m_v;
};

// A line that counts the bytes it moves and their wire time at its speed.
class CountingLine final : public kia::SerialLine {
public:
    explicit CountingLine(std::unique_ptr<kia::SerialLine> inner) : m_in(std::move(inner)) {}
    QString deviceName() const override { return m_in->deviceName(); }
    bool open() override { return m_in->open(); }
    void close() override { m_in->close(); }
    bool isOpen() const override { return m_in->isOpen(); }
    bool configure(qint32 baud) override { return m_in->configure(baud); }
    bool setBaudRate(qint32 baud) override { return m_in->setBaudRate(baud); }
    qint32 baudRate() const override { return m_in->baudRate(); }
    bool setTimeouts(const kia::SerialTimeouts& t) override { return m_in->setTimeouts(t); }
    bool getTimeouts(kia::SerialTimeouts& t) const override { return m_in->getTimeouts(t); }
    bool purge() override { return m_in->purge(); }
    qint64 write(const quint8* data, qint64 n) override { return count(m_in->write(data, n)); }
    qint64 read(quint8* data, qint64 n) override { return count(m_in->read(data, n)); }
    bool setRts(bool on) override { return m_in->setRts(on); }
    bool setDtr(bool on) override { return m_in->setDtr(on); }
    bool modemStatus(quint8& bits) override { return m_in->modemStatus(bits); }

    qint64 bytes = 0;
    double wireUs = 0;

private:
    qint64 count(qint64 moved) {
        if (moved > 0) {
            bytes += moved;
            wireUs += double(moved) * 10.0 * 1e6 / double(baudRate());
        }
        return moved;
    }
    std::unique_ptr<kia::SerialLine> m_in;
};

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Figures {
    const char* name;
    int result = 0;
    qint64 bytes = 0;
    double wireS = 0, waitsS = 0, elapsedS = 0, cpuS = 0;
    double ratio() const { return elapsedS / (wireS + waitsS); }
};

Figures measure(const char* name, int mode, bool cashRegister, const QString& file) {
    Figures f;
    f.name = name;
    sim::VirtualClock virtualClock;
    WaitCountingClock clock(virtualClock);
    kia::ScriptedPrompts prompts;
    sim::Bench bench(4, virtualClock);
    bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    kia::BenchContext ctx(clock, prompts);
    ctx.boardType = 4;
    auto line = std::make_unique<CountingLine>(std::make_unique<sim::BenchLine>(bench, virtualClock));
    CountingLine* counted = line.get();
    if (cashRegister) {
        bench.setCable(sim::Bench::Cable::CashRegister);
        bench.cashRegister().setSpeed(115200);
    }
    if (!ctx.link.attachLine(std::move(line), 1, 115200)) {
        std::fprintf(stderr, "%s: cannot open the simulated line\n", name);
        return f;
    }
    // The set-up every command does before the operation, outside the figures.
    if (!cashRegister &&
        (!ctx.link.SetMemoryMap({0, 0, 0x8000, 0x8000, 0}, 185) ||
         !ctx.link.WritePort(1, mode == kia::ModeSaveFiscal ? 6 : 7, 7))) {
        std::fprintf(stderr, "%s: set-up failed, link status %d\n", name, ctx.linkStatus);
        return f;
    }
    counted->bytes = 0;
    counted->wireUs = 0;
    clock.waitsUs = 0;
    kia::OperationArgument argument;
    argument.text = file;
    kia::NullProgressSink sink;
    const qint64 t0 = virtualClock.nowUs();
    const double c0 = cpuSeconds();
    f.result = kia::RunOperation(ctx, sink, mode, argument);
    f.cpuS = cpuSeconds() - c0;
    f.elapsedS = double(virtualClock.nowUs() - t0) / 1e6;
    f.bytes = counted->bytes;
    f.wireS = counted->wireUs / 1e6;
    f.waitsS = double(clock.waitsUs) / 1e6;
    ctx.link.CloseLinkPort();
    return f;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString reference = dir.filePath(QStringLiteral("kassa.bin"));
    QFile ref(reference);
    if (!ref.open(QIODevice::WriteOnly) || ref.write(sim::CashRegister::softwareImage()) != 131072) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(reference));
        return 1;
    }
    ref.close();
    const Figures all[] = {
        measure("save ФП", kia::ModeSaveFiscal, false, dir.filePath(QStringLiteral("fp.fp"))),
        measure("save РПЗУ", kia::ModeSaveEeprom, false, dir.filePath(QStringLiteral("e.fls"))),
        measure("verify", kia::ModeVerifySoftware, true, reference),
    };
    std::printf("%-12s %6s %9s %9s %9s %9s %7s %9s\n", "operation", "result", "bytes",
                "wire s", "waits s", "taken s", "ratio", "CPU ms");
    bool ok = true;
    for (const Figures& f : all) {
        std::printf("%-12s %6d %9lld %9.3f %9.3f %9.3f %7.4f %9.1f\n", f.name, f.result,
                    static_cast<long long>(f.bytes), f.wireS, f.waitsS, f.elapsedS, f.ratio(),
                    f.cpuS * 1000);
        ok = ok && f.result == kia::OpDone && f.ratio() <= 1.05;
    }
    std::printf(ok ? "every ratio is at most 1.05\n" : "FAILED: a ratio above 1.05 or a failed operation\n");
    return ok ? 0 : 1;
}
