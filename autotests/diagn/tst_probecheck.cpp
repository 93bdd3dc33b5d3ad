// One probe step check on the simulated bench: the tip held on a point by
// hand (a static level, a pulse output, or a circuit whose output follows the
// input value the stimulus row drives), the stimulus rows over the link, and
// the outcome with its detail rows.

#undef QT_NO_CAST_FROM_ASCII

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "diagn/probecheck.h"
#include "diagn/stepdialoghost.h"
#include "link/serialline.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/probe.h"
#include "sim/virtualclock.h"

#include <QTest>
#include <functional>

using namespace kia;

namespace {

/// A serial line that lets the test's circuit model act just before the
/// workstation looks at the probe lines.
class HookedLine final : public SerialLine {
public:
    explicit HookedLine(std::unique_ptr<SerialLine> inner) : m_inner(std::move(inner)) {}
    std::function<void()> beforeStatus;

    QString deviceName() const override { return m_inner->deviceName(); }
    bool open() override { return m_inner->open(); }
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    bool configure(qint32 baud) override { return m_inner->configure(baud); }
    bool setBaudRate(qint32 baud) override { return m_inner->setBaudRate(baud); }
    qint32 baudRate() const override { return m_inner->baudRate(); }
    bool setTimeouts(const SerialTimeouts& t) override { return m_inner->setTimeouts(t); }
    bool getTimeouts(SerialTimeouts& t) const override { return m_inner->getTimeouts(t); }
    bool purge() override { return m_inner->purge(); }
    qint64 write(const quint8* data, qint64 n) override { return m_inner->write(data, n); }
    qint64 read(quint8* data, qint64 n) override { return m_inner->read(data, n); }
    bool setRts(bool on) override { return m_inner->setRts(on); }
    bool setDtr(bool on) override { return m_inner->setDtr(on); }
    bool modemStatus(quint8& bits) override {
        if (beforeStatus)
            beforeStatus();
        return m_inner->modemStatus(bits);
    }

private:
    std::unique_ptr<SerialLine> m_inner;
};

struct Rig {
    explicit Rig(int boardType) : bench(boardType, clock), ctx(clock, prompts) {
        ctx.boardType = boardType;
        auto hooked = std::make_unique<HookedLine>(std::make_unique<sim::BenchLine>(bench, clock));
        line = hooked.get();
        ctx.link.attachLine(std::move(hooked), 1, 0);
        if (boardType == 4)
            bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    }
    ~Rig() { ctx.link.CloseLinkPort(); }

    void pulse(quint8 idle, quint8 active, qint64 minUs, qint64 maxUs) {
        bench.probe().setTipLevel(idle);
        sim::Probe::PulseWiring w;
        w.connected = true;
        w.activeLevel = active;
        w.minUs = minUs;
        w.maxUs = maxUs;
        bench.probe().setPulseWiring(w);
    }

    sim::VirtualClock clock;
    sim::Bench bench;
    ScriptedPrompts prompts;
    BenchContext ctx;
    HookedLine* line = nullptr;
};

/// What sits under the tip in a case.
enum class Tip { Low, High, Open, Follows, Inverts, PulseHigh2ms, PulseHigh3ms, PulseLow2ms, Broken };

void wire(Rig& rig, Tip tip) {
    sim::Probe& probe = rig.bench.probe();
    switch (tip) {
    case Tip::Low: probe.setTipLevel(sim::Probe::Low); break;
    case Tip::High: probe.setTipLevel(sim::Probe::High); break;
    case Tip::Open: probe.setTipLevel(sim::Probe::Open); break;
    case Tip::Broken: probe.setBroken(true); break;
    case Tip::Follows:
    case Tip::Inverts: {
        const bool invert = tip == Tip::Inverts;
        rig.line->beforeStatus = [&rig, invert] {
            rig.bench.probe().setTipLevel(((rig.ctx.inputValue & 1) != 0) != invert ? sim::Probe::High
                                                                                   : sim::Probe::Low);
        };
        break;
    }
    case Tip::PulseHigh2ms: rig.pulse(sim::Probe::Low, sim::Probe::High, 2000, 2000); break;
    case Tip::PulseHigh3ms: rig.pulse(sim::Probe::Low, sim::Probe::High, 3000, 3000); break;
    case Tip::PulseLow2ms: rig.pulse(sim::Probe::High, sim::Probe::Low, 2000, 2000); break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Tip)

class TestProbeCheck : public QObject {
    Q_OBJECT
private slots:
    void check_data() {
        QTest::addColumn<int>("boardType");
        QTest::addColumn<QString>("line");
        QTest::addColumn<Tip>("tip");
        QTest::addColumn<bool>("singlePoint");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("argument");
        QTest::addColumn<QStringList>("rows"); // "read|expected" per row
        const QString l0 = stepLevelText(0), l1 = stepLevelText(1), open = stepLevelText(3);
        QTest::newRow("HI expects open") << 0 << "OUT-HI;" << Tip::Open << false << int(CodePass) << 0
                                         << QStringList{open + "|" + open};
        QTest::newRow("HI but driven low") << 0 << "OUT-HI;" << Tip::Low << false << int(CodeFail) << 0
                                           << QStringList{l0 + "|" + open};
        QTest::newRow("low expected, open tip") << 0 << "OUT-5;" << Tip::Open << false << int(CodeFail) << 1
                                                << QStringList{open + "|" + l0};
        QTest::newRow("high as expected") << 2 << "OUT-50;" << Tip::High << false << int(CodePass) << 0
                                          << QStringList{l1 + "|" + l1};
        QTest::newRow("static with a row") << 0 << "OUT-50;SET-0;" << Tip::High << false << int(CodePass) << 0
                                           << QStringList{l1 + "|" + l1};
        QTest::newRow("0 then 1 follows") << 0 << "OUT-5,50;IN-0,1;SET-0;" << Tip::Follows << false
                                          << int(CodePass) << 0 << QStringList{l0 + "|" + l0, l1 + "|" + l1};
        QTest::newRow("0 then 1 inverted") << 0 << "OUT-5,50;IN-0,1;SET-0;" << Tip::Inverts << false
                                           << int(CodeFail) << 0 << QStringList{l1 + "|" + l0, l0 + "|" + l1};
        QTest::newRow("inputs, open output") << 0 << "OUT-5,50;IN-0,1;SET-0;" << Tip::Open << false
                                             << int(CodeFail) << 1
                                             << QStringList{open + "|" + l0, open + "|" + l1};
        QTest::newRow("only the last differs") << 1 << "OUT-5,50,50;IN-0,1,0;SET-0;" << Tip::Follows << false
                                               << int(CodeFail) << 0
                                               << QStringList{l0 + "|" + l0, l1 + "|" + l1, l0 + "|" + l1};
        QTest::newRow("type 4 inputs") << 4 << "OUT-5,50;IN-0,1;SET-0;" << Tip::Follows << false
                                       << int(CodePass) << 0 << QStringList{l0 + "|" + l0, l1 + "|" + l1};
        const QString want = stepExpectedPulseText(1, 15, 25);
        QTest::newRow("pulse 2ms in 1.5..2.5") << 0 << "GET-1;OUT-1,15,25;" << Tip::PulseHigh2ms << false
                                               << int(CodePass) << 0
                                               << QStringList{stepMeasuredPulseText(1, 20, true) + "|" + want};
        QTest::newRow("pulse type 4") << 4 << "GET-1;OUT-1,15,25;" << Tip::PulseHigh2ms << false
                                      << int(CodePass) << 0
                                      << QStringList{stepMeasuredPulseText(1, 20, true) + "|" + want};
        QTest::newRow("pulse too long") << 0 << "GET-1;OUT-1,15,25;" << Tip::PulseHigh3ms << false
                                        << int(CodeFail) << 0
                                        << QStringList{stepMeasuredPulseText(1, 30, true) + "|" + want};
        QTest::newRow("pulse wrong level") << 0 << "GET-1;OUT-1,15,25;" << Tip::PulseLow2ms << false
                                           << int(CodeFail) << 0
                                           << QStringList{stepMeasuredPulseText(0, 20, true) + "|" + want};
        QTest::newRow("pulse, open tip") << 0 << "GET-1;OUT-1,15,25;" << Tip::Open << false << int(CodeFail) << 1
                                         << QStringList{open + "|" + want};
        QTest::newRow("pulse, none comes") << 0 << "GET-2;OUT-1,15,25;" << Tip::High << true << int(CodeFail)
                                           << 0 << QStringList{l1 + "|" + want};
        QTest::newRow("inputs without a row") << 0 << "OUT-5,50;IN-0,1;" << Tip::Follows << false
                                              << int(CodeStepFileError) << 0 << QStringList{};
        QTest::newRow("inputs with a pulse") << 0 << "GET-1;OUT-1,15,25;IN-1;SET-0;" << Tip::PulseHigh2ms
                                             << false << int(CodeStepFileError) << 0 << QStringList{};
        QTest::newRow("probe gives nothing") << 0 << "OUT-5;" << Tip::Broken << false << int(CodeLinkFailure)
                                             << 0 << QStringList{};
    }
    void check() {
        QFETCH(int, boardType);
        QFETCH(QString, line);
        QFETCH(Tip, tip);
        QFETCH(bool, singlePoint);
        QFETCH(int, code);
        QFETCH(int, argument);
        QFETCH(QStringList, rows);
        Rig rig(boardType);
        wire(rig, tip);
        StepCommand command;
        QVERIFY(parseStepCommand(line, command));
        const ProbeCheckResult r = runProbeCheck(rig.ctx, command, singlePoint);
        QCOMPARE(r.code, code);
        QCOMPARE(r.argument, argument);
        QStringList got;
        for (const ProbeCheckRow& row : r.rows)
            got << row.read + "|" + row.expected;
        if (code != int(CodeLinkFailure) && code != int(CodeStepFileError))
            QCOMPARE(got, rows);
    }

    // A link that is gone before the check: the stimulus row's start fails.
    void startRoutineFails() {
        Rig rig(0);
        rig.bench.addFault(sim::Fault::silence());
        StepCommand command;
        QVERIFY(parseStepCommand("OUT-5,50;IN-0,1;SET-0;", command));
        const ProbeCheckResult r = runProbeCheck(rig.ctx, command, false);
        QCOMPARE(r.code, int(CodeLinkFailure));
        QCOMPARE(r.argument, 1);
    }

    // The readings pass, then the link goes: the finish routine's failure
    // must not be reported as a pass.
    void finishRoutineFails() {
        Rig rig(0);
        int readings = 0;
        rig.line->beforeStatus = [&] {
            rig.bench.probe().setTipLevel((rig.ctx.inputValue & 1) ? sim::Probe::High : sim::Probe::Low);
            if (++readings == 4) // two status reads per reading: after the second reading
                rig.bench.addFault(sim::Fault::silence());
        };
        StepCommand command;
        QVERIFY(parseStepCommand("OUT-5,50;IN-0,1;SET-0;", command));
        const ProbeCheckResult r = runProbeCheck(rig.ctx, command, false);
        QCOMPARE(readings, 4);
        QCOMPARE(r.code, int(CodeLinkFailure));
        QCOMPARE(r.argument, 1);
    }

    // From the point as the scenario writes it to the reported outcome.
    void wholeStep_data() {
        QTest::addColumn<QString>("point");
        QTest::addColumn<bool>("singlePoint");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("argument");
        QTest::newRow("first line passes") << "DD3.20" << false << int(CodePass) << 0;
        QTest::newRow("star: second line fails") << "DD3.20*" << false << int(CodeFail) << 0;
        QTest::newRow("not for the probe, in a run") << "DD3.20**" << false << int(CodePass) << 0;
        QTest::newRow("not for the probe, single") << "DD3.20**" << true << int(CodeNotForProbe) << 0;
        QTest::newRow("unknown circuit") << "DD7.1" << false << int(CodeStepFileError) << 0;
        QTest::newRow("no point") << "" << false << int(CodeStop) << 0;
    }
    void wholeStep() {
        QFETCH(QString, point);
        QFETCH(bool, singlePoint);
        Rig rig(0);
        rig.bench.probe().setTipLevel(sim::Probe::Low);
        StepFile file;
        file.loadFromBytes("CIR31-DD3.20;\nOUT-5;\nOUT-50;\nOUT-5;LOG-0;\n");
        const ProbeCheckResult r = runProbeStep(rig.ctx, file, point, singlePoint);
        QTEST(r.code, "code");
        QTEST(r.argument, "argument");
    }

    void measurementTable_data() {
        QTest::addColumn<int>("measurement");
        QTest::addColumn<int>("boardType");
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("length");
        QTest::newRow("0 on 0..3") << 0 << 3 << 200 << 0 << 400;
        QTest::newRow("0 on 4") << 0 << 4 << 200 << 1 << 400;
        QTest::newRow("1 on 0..3") << 1 << 0 << 100 << 0 << 80;
        QTest::newRow("1 on 4") << 1 << 4 << 100 << 1 << 20;
        QTest::newRow("2 on 0..3") << 2 << 1 << 50 << 0 << 10;
        QTest::newRow("2 on 4") << 2 << 4 << 50 << 1 << 5;
    }
    void measurementTable() {
        QFETCH(int, measurement);
        QFETCH(int, boardType);
        const PulseMeasurement m = pulseMeasurementFor(measurement, boardType);
        QTEST(m.windowMs, "window");
        QTEST(m.inputLevel, "level");
        QTEST(m.inputTenths, "length");
    }
};

QTEST_GUILESS_MAIN(TestProbeCheck)
#include "tst_probecheck.moc"
