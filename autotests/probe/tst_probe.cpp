#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "fakemodemline.h"
#include "link/linkstatus.h"
#include "probe/probe.h"
#include "probe/probestatus.h"
#include "sim/virtualclock.h"

#include <QTest>

using namespace kia;

namespace {

constexpr quint8 Cts = ModemCts;
constexpr quint8 Dsr = ModemDsr;

struct Bench {
    sim::VirtualClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx{clock, prompts};
    FakeModemLine* line = nullptr;

    /// Opens a fake port whose probe shows `low` with RTS clear and `high` with RTS set.
    void open(quint8 low, quint8 high) {
        auto fake = std::make_unique<FakeModemLine>();
        line = fake.get();
        line->probe = [low, high](bool rts) { return rts ? high : low; };
        QVERIFY(ctx.link.attachLine(std::move(fake), 1, 0));
    }
};

} // namespace

class TestProbe : public QObject {
    Q_OBJECT
private slots:
    void readLevel_data();
    void readLevel();
    void portFailureKeepsStatus_data();
    void portFailureKeepsStatus();
    void readingTakesTwoMilliseconds();
    void statusText_data();
    void statusText();
    void displayShowsOnlyChanges();
    void displayBlanksWhileBoardIsBusy_data();
    void displayBlanksWhileBoardIsBusy();
    void displayLeavesPaneWithoutOpenPort();
    void displayBlanksOnFailedReading();
};

void TestProbe::readLevel_data() {
    QTest::addColumn<quint8>("rtsLow");
    QTest::addColumn<quint8>("rtsHigh");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint8>("level");

    QTest::newRow("CTS only: logic 0") << Cts << Cts << true << quint8(ProbeLogic0);
    QTest::newRow("CTS and DSR: logic 1")
        << quint8(Cts | Dsr) << quint8(Cts | Dsr) << true << quint8(ProbeLogic1);
    QTest::newRow("DSR only: +12 V") << Dsr << Dsr << true << quint8(ProbePlus12V);
    QTest::newRow("DSR follows RTS: open tip") << quint8(0) << Dsr << true << quint8(ProbeOpen);
    QTest::newRow("DSR follows RTS with CTS set: still open")
        << Cts << quint8(Cts | Dsr) << true << quint8(ProbeOpen);
    QTest::newRow("DSR against RTS: open") << Dsr << quint8(0) << true << quint8(ProbeOpen);
    // The level is decoded from the reading taken with RTS set.
    QTest::newRow("CTS changes with RTS: second reading counts")
        << quint8(0) << Cts << true << quint8(ProbeLogic0);
}

void TestProbe::readLevel() {
    QFETCH(quint8, rtsLow);
    QFETCH(quint8, rtsHigh);
    QFETCH(bool, ok);
    QFETCH(quint8, level);

    Bench b;
    b.open(rtsLow, rtsHigh);
    quint8 got = 0xEE;
    QCOMPARE(ReadProbeLevel(b.ctx, got), ok);
    QCOMPARE(got, level);
    QCOMPARE(b.ctx.linkStatus, quint8(LinkOk));
    QVERIFY(b.line->rts); // left set
}

void TestProbe::portFailureKeepsStatus_data() {
    QTest::addColumn<int>("failure");
    QTest::addColumn<quint8>("rtsLow");
    QTest::addColumn<quint8>("rtsHigh");
    QTest::addColumn<quint8>("status");

    QTest::newRow("no line on CTS or DSR: probe fault")
        << int(FakeModemLine::NoFailure) << quint8(0) << quint8(0) << quint8(LinkProbeLineFault);
    QTest::newRow("RTS call fails") << int(FakeModemLine::FailRts) << Cts << Cts << quint8(7);
    QTest::newRow("modem status fails")
        << int(FakeModemLine::FailModemStatus) << Cts << Cts << quint8(7);
}

void TestProbe::portFailureKeepsStatus() {
    QFETCH(int, failure);
    QFETCH(quint8, rtsLow);
    QFETCH(quint8, rtsHigh);
    QFETCH(quint8, status);

    Bench b;
    b.open(rtsLow, rtsHigh);
    b.line->failAt = FakeModemLine::Failure(failure);
    b.ctx.linkStatus = 7;
    quint8 level = 0xEE;
    QVERIFY(!ReadProbeLevel(b.ctx, level));
    QCOMPARE(level, quint8(0xEE));
    QCOMPARE(b.ctx.linkStatus, status);
}

void TestProbe::readingTakesTwoMilliseconds() {
    Bench b;
    b.open(Cts, Cts);
    const qint64 start = b.clock.nowUs();
    quint8 level = 0;
    QVERIFY(ReadProbeLevel(b.ctx, level));
    QCOMPARE(b.clock.nowUs() - start, qint64(2000));
    QCOMPARE(b.line->modemReads, 2);
}

void TestProbe::statusText_data() {
    QTest::addColumn<quint8>("level");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << quint8(0) << QStringLiteral("Уров.на щупе пробника - лог. \"0\".");
    QTest::newRow("1") << quint8(1) << QStringLiteral("Уров.на щупе пробника - лог. \"1\".");
    QTest::newRow("2") << quint8(2) << QStringLiteral("Уров.на щупе пробника - \"+12в\".");
    QTest::newRow("3") << quint8(3) << QStringLiteral("Уров.на щупе пробника - ВИС ( обрыв ).");
    QTest::newRow("no level") << quint8(4) << QStringLiteral("Уров.на щупе пробника - ");
}

void TestProbe::statusText() {
    QFETCH(quint8, level);
    QFETCH(QString, text);
    QCOMPARE(probeStatusText(level), text);
}

void TestProbe::displayShowsOnlyChanges() {
    Bench b;
    quint8 tip = Cts;
    b.open(0, 0);
    b.line->probe = [&tip](bool) { return tip; };
    ProbeStatusDisplay display;

    QCOMPARE(display.tick(b.ctx), std::optional<QString>(probeStatusText(0)));
    QCOMPARE(display.tick(b.ctx), std::nullopt);
    tip = Cts | Dsr;
    QCOMPARE(display.tick(b.ctx), std::optional<QString>(probeStatusText(1)));
    QCOMPARE(display.cachedLevel(), quint8(1));
}

void TestProbe::displayBlanksWhileBoardIsBusy_data() {
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("diagnostics");
    QTest::newRow("busy flag") << true << false;
    QTest::newRow("diagnostics running") << false << true;
}

void TestProbe::displayBlanksWhileBoardIsBusy() {
    QFETCH(bool, busy);
    QFETCH(bool, diagnostics);

    Bench b;
    b.open(Cts, Cts);
    ProbeStatusDisplay display;
    QVERIFY(display.tick(b.ctx).has_value());
    const int readsBefore = b.line->modemReads;

    b.ctx.busy = busy;
    b.ctx.diagnosticsActive = diagnostics;
    QCOMPARE(display.tick(b.ctx), std::optional<QString>(QString()));
    QCOMPARE(display.tick(b.ctx), std::nullopt); // blank once
    QCOMPARE(b.line->modemReads, readsBefore);   // the port is not touched

    b.ctx.busy = false;
    b.ctx.diagnosticsActive = false;
    QCOMPARE(display.tick(b.ctx), std::optional<QString>(probeStatusText(0)));
}

void TestProbe::displayLeavesPaneWithoutOpenPort() {
    Bench b;
    ProbeStatusDisplay display;
    QCOMPARE(display.tick(b.ctx), std::nullopt);
    QCOMPARE(display.cachedLevel(), ProbeStatusDisplay::Initial);
}

void TestProbe::displayBlanksOnFailedReading() {
    Bench b;
    b.open(Cts, Cts);
    ProbeStatusDisplay display;
    QVERIFY(display.tick(b.ctx).has_value());
    b.line->failAt = FakeModemLine::FailModemStatus;
    b.ctx.linkStatus = 0;
    QCOMPARE(display.tick(b.ctx), std::optional<QString>(QString()));
    QCOMPARE(display.tick(b.ctx), std::nullopt);
    // A probe fault seen by the status bar is not left for the next command.
    b.line->failAt = FakeModemLine::NoFailure;
    b.line->probe = [](bool) { return quint8(0); };
    QCOMPARE(display.tick(b.ctx), std::nullopt);
    QCOMPARE(b.ctx.linkStatus, quint8(LinkOk));
}

QTEST_GUILESS_MAIN(TestProbe)
#include "tst_probe.moc"
