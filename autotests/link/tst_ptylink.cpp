// The real serial backend against the simulated bench over a pseudo-terminal
// pair: frames only (a pty has no modem lines), in real time.

#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/scriptedprompts.h"
#include "link/linkstatus.h"
#include "link/qserialline.h"
#include "sim/fault.h"
#include "sim/ptybench.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

class TestPtyLink : public QObject {
    Q_OBJECT

private slots:
    void commandFramesBothFamilies_data();
    void commandFramesBothFamilies();
    void silentPeerGivesStatus2AfterOneSecond();
    void garbageThenResync();
    void identificationOverPty();
    void missingDeviceGivesStatus4();
    void busyDeviceGivesStatus4();
    void vanishedAdapterIsOpenedAgain();
};

namespace {
struct PtyRig {
    RealClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx{clock, prompts};
    sim::PtyBench pty;
    explicit PtyRig(int boardType) : pty(boardType) { ctx.boardType = boardType; }
    bool open()
    {
        QString error;
        if (!pty.start(&error)) {
            qWarning("pty: %s", qPrintable(error));
            return false;
        }
        return ctx.link.attachLine(std::make_unique<QSerialLine>(pty.slavePath()), 1, 0);
    }
};
} // namespace

void TestPtyLink::commandFramesBothFamilies_data()
{
    QTest::addColumn<int>("boardType");
    QTest::newRow("test processor") << 0;
    QTest::newRow("test program in DD5") << 4;
}

void TestPtyLink::commandFramesBothFamilies()
{
    QFETCH(int, boardType);
    PtyRig rig(boardType);
    if (boardType == 4) {
        auto lock = rig.pty.bench().lock();
        rig.pty.bench().dd5().load(sim::Dd5Controller::StartState::TestProgram);
    }
    QVERIFY(rig.open());
    QVERIFY(rig.ctx.link.PeerPresent());
    const quint8 data[5] = {0x11, 0x22, 0x33, 0x44, 0x55};
    QVERIFY(rig.ctx.link.WriteMemory(0x0100, data));
    quint8 back[5] = {};
    QVERIFY(rig.ctx.link.ReadMemory(0x0100, back));
    QCOMPARE(QByteArray(reinterpret_cast<char*>(back), 5), QByteArray(reinterpret_cast<const char*>(data), 5));
    QVERIFY(rig.ctx.link.SetMemoryMap({0, 0x2000, 0, 0, 0xFFFF}, 200));
    QCOMPARE(rig.ctx.linkStatus, quint8(0));
}

void TestPtyLink::silentPeerGivesStatus2AfterOneSecond()
{
    PtyRig rig(0);
    QVERIFY(rig.open());
    rig.pty.bench().addFault(sim::Fault::silence().once());
    QElapsedTimer t;
    t.start();
    QCOMPARE(rig.ctx.link.ReadPort(0), quint16(0xFFFF));
    const qint64 ms = t.elapsed();
    QCOMPARE(int(rig.ctx.linkStatus), int(LinkReadError));
    // The read time-out itself is checked exactly on the virtual clock; here the
    // real backend must wait for it and then give up. The upper bound only
    // catches a hang, so that a busy machine cannot fail the test.
    QVERIFY2(ms >= 950 && ms < 10000, qPrintable(QString::number(ms)));
    // The next frame finds the peer again.
    QVERIFY(rig.ctx.link.ReadPort(0) <= 0xFF);
}

void TestPtyLink::garbageThenResync()
{
    PtyRig rig(0);
    QVERIFY(rig.open());
    rig.pty.bench().addFault(sim::Fault::garbage(3, true).onCommand(2).once());
    QCOMPARE(rig.ctx.link.ReadPort(1), quint16(0xFFFF));
    QVERIFY(rig.ctx.linkStatus == LinkCheckError || rig.ctx.linkStatus == LinkReadError);
    QVERIFY(rig.ctx.link.ReadPort(1) <= 0xFF);
    QCOMPARE(rig.ctx.linkStatus, quint8(0));
}

void TestPtyLink::identificationOverPty()
{
    PtyRig rig(4);
    QVERIFY(rig.open());
    QString identity;
    QCOMPARE(int(rig.ctx.link.ReadControllerIdentity(identity)), 0);
    QCOMPARE(identity, QString::fromLatin1(sim::Dd5Controller::defaultIdentity()));
}

void TestPtyLink::missingDeviceGivesStatus4()
{
    RealClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    ctx.ports.setOverride(2, QStringLiteral("/dev/kia-no-such-device"));
    ctx.selectedPort = 2;
    QVERIFY(!ctx.link.EnsureLinkPort());
    QCOMPARE(int(ctx.linkStatus), int(LinkPortError));
    QCOMPARE(ctx.link.openPort(), 0);
}

void TestPtyLink::busyDeviceGivesStatus4()
{
    PtyRig rig(0);
    QVERIFY(rig.open());
    RealClock clock;
    ScriptedPrompts prompts;
    BenchContext other(clock, prompts);
    other.ports.setOverride(1, rig.pty.slavePath());
    QVERIFY(!other.link.OpenLinkPort(1, 0));
    QCOMPARE(int(other.linkStatus), int(LinkPortError));
}

void TestPtyLink::vanishedAdapterIsOpenedAgain()
{
    // The port names a fixed path (as udev gives an adapter); behind it the
    // first pty is pulled out and a second one plugged in.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ttyUSB0"));
    auto first = std::make_unique<sim::PtyBench>(0);
    sim::PtyBench second(0);
    QVERIFY(first->start());
    QVERIFY(QFile::link(first->slavePath(), path));

    RealClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    ctx.ports.setOverride(1, path);
    ctx.selectedPort = 1;
    QVERIFY(ctx.link.EnsureLinkPort());
    QVERIFY(ctx.link.ReadPort(0) <= 0xFF);

    first.reset();
    QCOMPARE(ctx.link.ReadPort(0), quint16(0xFFFF));
    QVERIFY(ctx.linkStatus != LinkOk);

    QVERIFY(second.start());
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::link(second.slavePath(), path));
    QVERIFY(ctx.link.EnsureLinkPort());
    QVERIFY(ctx.link.ReadPort(0) <= 0xFF);
    QCOMPARE(ctx.linkStatus, quint8(LinkOk));

    // A silent peer is no lost device: the handle stays.
    second.bench().addFault(sim::Fault::silence().once());
    QCOMPARE(ctx.link.ReadPort(0), quint16(0xFFFF));
    QVERIFY(ctx.link.EnsureLinkPort());
    QVERIFY(ctx.link.ReadPort(0) <= 0xFF);
}

QTEST_GUILESS_MAIN(TestPtyLink)
#include "tst_ptylink.moc"
