// Injected faults, from the C++ API and from the fault script.

#include "simtestutil.h"

#include "sim/boardmodel.h"
#include "sim/faultinjector.h"
#include "sim/faultscript.h"
#include "sim/testprocessor.h"

#include <QTest>

using namespace simtest;

Q_DECLARE_METATYPE(sim::Fault)

namespace {

Rig* makeRig() {
    auto* rig = new Rig(0);
    rig->bench.board().port(0).latch = 0x3C;
    rig->bench.board().ram().write(0x40, 0x11);
    rig->bench.board().ram().write(0x41, 0x22);
    return rig;
}

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    void spoiledReplies_data();
    void spoiledReplies();
    void garbageBeforeTheReply();
    void silenceLeavesTheCommandUndone();
    void slowPeerAnswersLate();
    void cablePulledInsideAFrame();
    void cablePulledInsideTheData();
    void deviceLost();
    void whenRulesFire_data();
    void whenRulesFire();
    void scriptGood_data();
    void scriptGood();
    void scriptBad_data();
    void scriptBad();
    void badScriptKeepsTheRules();
    void documentedExample();
};

void FaultsTest::spoiledReplies_data() {
    QTest::addColumn<sim::Fault>("fault");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply"); // after the acknowledge, or all of it

    const QByteArray readPort = commandFrame(0, 2, 0);
    const QByteArray readMem = commandFrame(0, 7, 0x40, 0x00, 2);
    const quint8 ackPort = ackOf(readPort);
    const quint8 ackMem = ackOf(readMem);
    QTest::newRow("no fault") << sim::Fault::silence().onCommand(99) << readPort
                              << (char(ackPort) + hex("3c3c"));
    QTest::newRow("wrong ack") << sim::Fault::wrongAck() << readPort
                               << (char(ackPort ^ 0x5A) + hex("3c3c"));
    QTest::newRow("bad checksum") << sim::Fault::badChecksum() << readMem
                                  << (char(ackMem) + hex("112234"));
    QTest::newRow("bad checksum, none in the reply")
        << sim::Fault::badChecksum() << readPort << (char(ackPort) + hex("3c3c"));
    QTest::newRow("unequal pair") << sim::Fault::unequalPair() << readPort
                                  << (char(ackPort) + hex("3cc3"));
    QTest::newRow("short by 1") << sim::Fault::shortReply() << readPort
                                << (char(ackPort) + hex("3c"));
    QTest::newRow("short by 3") << sim::Fault::shortReply(3) << readMem
                                << QByteArray(1, char(ackMem));
    QTest::newRow("short: only the ack")
        << sim::Fault::shortReply(1) << commandFrame(0, 3, 1, 0, 0) << QByteArray();
}

void FaultsTest::spoiledReplies() {
    QFETCH(sim::Fault, fault);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    std::unique_ptr<Rig> rig(makeRig());
    rig->bench.addFault(fault);
    QCOMPARE(rig->exchange(frame, 8).toHex(), reply.toHex());
}

void FaultsTest::garbageBeforeTheReply() {
    std::unique_ptr<Rig> rig(makeRig());
    rig->bench.faults().setSeed(7);
    rig->bench.addFault(sim::Fault::garbage(5).onCommand(2).once());
    const QByteArray frame = commandFrame(0, 2, 0);
    const QByteArray r = rig->exchange(frame, 8);
    QCOMPARE(r.size(), 8);
    QVERIFY(quint8(r.at(0)) != ackOf(frame));
    QCOMPARE(r.right(3).toHex(), (char(ackOf(frame)) + hex("3c3c")).toHex());

    // Instead of the reply: as many random bytes as the reply had.
    rig->bench.clearFaults();
    rig->bench.addFault(sim::Fault::garbage(0, true));
    const QByteArray g = rig->exchange(frame, 8);
    QCOMPARE(g.size(), 3);
    QVERIFY(quint8(g.at(0)) != ackOf(frame));
}

void FaultsTest::silenceLeavesTheCommandUndone() {
    std::unique_ptr<Rig> rig(makeRig());
    rig->bench.addFault(sim::Fault::silence().onCommand(3).once());
    const QByteArray write = commandFrame(0, 3, 2, 0x00, 0xFF);
    QCOMPARE(rig->exchange(write, 1), QByteArray());
    QCOMPARE(rig->bench.board().port(2).latch, quint8(0xFF));
    // The PC sends the frame again: now it is done.
    QCOMPARE(rig->exchange(write, 1), QByteArray(1, char(ackOf(write))));
    QCOMPARE(rig->bench.board().port(2).latch, quint8(0x00));
}

void FaultsTest::slowPeerAnswersLate() {
    std::unique_ptr<Rig> rig(makeRig());
    rig->bench.addFault(sim::Fault::slowPeer(1500).once());
    const QByteArray frame = commandFrame(0, 2, 0);
    const qint64 t0 = rig->clock.nowUs();
    QCOMPARE(rig->exchange(frame, 3), QByteArray()); // 1 s time-out
    // The next frame purges only what has come; the late reply of the first
    // frame still arrives and is read where the new acknowledge was expected.
    const QByteArray again = rig->exchange(frame, 3);
    QCOMPARE(again.toHex(), (char(ackOf(frame)) + hex("3c3c")).toHex());
    QVERIFY(rig->clock.nowUs() - t0 >= 1'500'000);
    QCOMPARE(rig->receive(3).toHex(), (char(ackOf(frame)) + hex("3c3c")).toHex());
}

void FaultsTest::cablePulledInsideAFrame() {
    std::unique_ptr<Rig> rig(makeRig());
    rig->bench.addFault(sim::Fault::cablePull(3).onCommand(3));
    const QByteArray write = commandFrame(0, 3, 2, 0x00, 0xFF);
    QCOMPARE(rig->exchange(write, 1), QByteArray());
    QVERIFY(rig->bench.isCablePulled());
    QCOMPARE(rig->exchange(commandFrame(0, 2, 0), 3), QByteArray());
    QCOMPARE(rig->bench.board().port(2).latch, quint8(0xFF));

    rig->bench.plugCable();
    QCOMPARE(rig->exchange(commandFrame(0, 2, 0), 3).size(), 3);
}

void FaultsTest::cablePulledInsideTheData() {
    std::unique_ptr<Rig> rig(makeRig());
    // The frame and two of its three data bytes get through.
    rig->bench.addFault(sim::Fault::cablePull(9).onCommand(8));
    const QByteArray write = commandFrame(0, 8, 0x40, 0x00, 3);
    QCOMPARE(rig->exchange(write, 1), QByteArray(1, char(ackOf(write))));
    rig->send(hex("aabbcc"));
    QCOMPARE(rig->receive(1), QByteArray());
    QCOMPARE(rig->bench.board().ram().read(0x40), quint8(0x11));

    // Pulled exactly at the end of the frame: not even the acknowledge comes back.
    rig->bench.plugCable();
    rig->bench.clearFaults();
    rig->bench.addFault(sim::Fault::cablePull(7).onCommand(2));
    QCOMPARE(rig->exchange(commandFrame(0, 2, 0), 3), QByteArray());
}

void FaultsTest::deviceLost() {
    std::unique_ptr<Rig> rig(makeRig());
    rig->bench.addFault(sim::Fault::deviceLost().onCommand(2).after(1));
    const QByteArray frame = commandFrame(0, 2, 0);
    QCOMPARE(rig->exchange(frame, 3).size(), 3);
    rig->line.purge();
    rig->send(frame);
    quint8 b[3];
    QCOMPARE(rig->line.read(b, 3), qint64(-1));
    QCOMPARE(rig->line.write(b, 1), qint64(-1));
    QVERIFY(!rig->line.purge());
    QVERIFY(rig->bench.isUnplugged());

    sim::BenchLine other(rig->bench);
    QVERIFY(!other.open());
    rig->bench.setUnplugged(false);
    // The old handle stays dead; a fresh open works.
    QCOMPARE(rig->line.write(b, 1), qint64(-1));
    QVERIFY(other.open());
}

void FaultsTest::whenRulesFire_data() {
    QTest::addColumn<sim::Fault>("fault");
    QTest::addColumn<QString>("outcome"); // per ReadPort frame: '.' answered, 'X' silent

    QTest::newRow("always") << sim::Fault::silence().onCommand(2) << "XXXXXX";
    QTest::newRow("once") << sim::Fault::silence().onCommand(2).once() << "X.....";
    QTest::newRow("once after 1") << sim::Fault::silence().onCommand(2).once().after(1) << ".X....";
    QTest::newRow("2 times after 2")
        << sim::Fault::silence().onCommand(2).times(2).after(2) << "..XX..";
    QTest::newRow("always after 4") << sim::Fault::silence().onCommand(2).after(4) << "....XX";
    QTest::newRow("other command") << sim::Fault::silence().onCommand(7) << "......";
    QTest::newRow("long frames only") << sim::Fault::silence().onLong(16) << "......";
    QTest::newRow("any frame, after 5") << sim::Fault::silence().after(5) << ".....X";
}

void FaultsTest::whenRulesFire() {
    QFETCH(sim::Fault, fault);
    QFETCH(QString, outcome);
    std::unique_ptr<Rig> rig(makeRig());
    rig->bench.addFault(fault);
    QString seen;
    for (int i = 0; i < outcome.size(); ++i) {
        seen +=
            rig->exchange(commandFrame(0, 2, 0), 3).isEmpty() ? QLatin1Char('X') : QLatin1Char('.');
        // WritePort frames in between count for rules on any frame only.
        if (fault.frame != sim::FrameKind::Any)
            rig->exchange(commandFrame(0, 3, 1, 0, 0), 1);
    }
    QCOMPARE(seen, outcome);
}

void FaultsTest::scriptGood_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<bool>("instead");

    using K = sim::FaultKind;
    using F = sim::FrameKind;
    QTest::newRow("bare") << "silence" << int(K::Silence) << int(F::Any) << -1 << 0 << -1 << 0 << 0
                          << false;
    QTest::newRow("filter and once") << "wrong-ack cmd=2 once" << int(K::WrongAck)
                                     << int(F::Command) << 2 << 0 << 1 << 0 << 0 << false;
    QTest::newRow("hex, after, times")
        << "short missing=2 cmd=0x07 after=3 times=4" << int(K::ShortReply) << int(F::Command) << 7
        << 3 << 4 << 2 << 0 << false;
    QTest::newRow("garbage instead") << "garbage bytes=5 instead long=16" << int(K::Garbage)
                                     << int(F::Long) << 16 << 0 << -1 << 5 << 0 << true;
    QTest::newRow("slow on the register")
        << "  slow ms=1500   cash=0x40 always  " << int(K::SlowPeer) << int(F::Cash) << 0x40 << 0
        << -1 << 0 << 1500 << false;
    QTest::newRow("pull, defaults")
        << "pull-cable" << int(K::CablePull) << int(F::Any) << -1 << 0 << -1 << 3 << 0 << false;
    QTest::newRow("pull at once") << "pull-cable through=0 # cut" << int(K::CablePull)
                                  << int(F::Any) << -1 << 0 << -1 << 0 << 0 << false;
    QTest::newRow("comments around")
        << "# faults\n\n  # none yet\ndevice-lost after=10\n"
        << int(K::DeviceLost) << int(F::Any) << -1 << 10 << -1 << 0 << 0 << false;
    QTest::newRow("bad checksum") << "bad-checksum cmd=12" << int(K::BadChecksum) << int(F::Command)
                                  << 12 << 0 << -1 << 0 << 0 << false;
    QTest::newRow("unequal pair") << "unequal-pair times=2" << int(K::UnequalPair) << int(F::Any)
                                  << -1 << 0 << 2 << 0 << 0 << false;
}

void FaultsTest::scriptGood() {
    QFETCH(QString, script);
    QString error = QStringLiteral("not cleared");
    const QList<sim::Fault> rules = sim::FaultScript::parse(script, &error);
    QCOMPARE(error, QString());
    QCOMPARE(rules.size(), 1);
    const sim::Fault& f = rules.first();
    QTEST(int(f.kind), "kind");
    QTEST(int(f.frame), "frame");
    QTEST(f.code, "code");
    QTEST(f.skip, "skip");
    QTEST(f.limit, "limit");
    QTEST(f.bytes, "bytes");
    QTEST(f.delayMs, "delayMs");
    QTEST(f.instead, "instead");
}

void FaultsTest::scriptBad_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown kind") << "bogus"
                                  << "Строка 1: неизвестная неисправность \"bogus\".";
    QTest::newRow("code too big, line 3")
        << "silence\n# ok\nsilence cmd=300"
        << "Строка 3: неверное значение \"300\" параметра \"cmd\" (допустимо 0..255).";
    QTest::newRow("not a number") << "silence after=x"
                                  << "Строка 1: неверное значение \"x\" параметра \"after\" "
                                     "(допустимо 0..1000000000).";
    QTest::newRow("times 0") << "silence times=0"
                             << "Строка 1: неверное значение \"0\" параметра \"times\" "
                                "(допустимо 1..1000000000).";
    QTest::newRow("slow without ms") << "slow"
                                     << "Строка 1: для \"slow\" нужна задержка: ms=N.";
    QTest::newRow("two counts") << "silence once always"
                                << "Строка 1: можно указать только одно из once, times=N, always.";
    QTest::newRow("two filters") << "silence cmd=1 long=16"
                                 << "Строка 1: можно указать только один фильтр кадров "
                                    "(cmd, long или cash).";
    QTest::newRow("foreign parameter")
        << "wrong-ack ms=5"
        << "Строка 1: параметр \"ms\" не относится к неисправности \"wrong-ack\".";
    QTest::newRow("instead on short")
        << "short instead"
        << "Строка 1: параметр \"instead\" не относится к неисправности \"short\".";
    QTest::newRow("twice") << "garbage bytes=2 bytes=3"
                           << "Строка 1: параметр \"bytes\" задан дважды.";
    QTest::newRow("unknown word") << "silence loud"
                                  << "Строка 1: неизвестный параметр \"loud\".";
    QTest::newRow("unknown key") << "silence volume=3"
                                 << "Строка 1: неизвестный параметр \"volume\".";
    QTest::newRow("value on once") << "silence once=2"
                                   << "Строка 1: у слова \"once\" не бывает значения.";
}

void FaultsTest::scriptBad() {
    QFETCH(QString, script);
    QFETCH(QString, error);
    QString message;
    const QList<sim::Fault> rules = sim::FaultScript::parse(script, &message);
    QCOMPARE(message, error);
    QVERIFY(rules.isEmpty());
}

void FaultsTest::badScriptKeepsTheRules() {
    std::unique_ptr<Rig> rig(makeRig());
    QString error;
    QVERIFY(rig->bench.loadFaultScript(QStringLiteral("silence cmd=2\nwrong-ack cmd=3 once\n"),
                                       &error));
    QCOMPARE(rig->bench.faults().ruleCount(), 2);
    QVERIFY(!rig->bench.loadFaultScript(QStringLiteral("silence\nslow ms=0\n"), &error));
    QCOMPARE(error, QStringLiteral("Строка 2: неверное значение \"0\" параметра \"ms\" "
                                   "(допустимо 1..600000)."));
    QCOMPARE(rig->bench.faults().ruleCount(), 2);
    QCOMPARE(rig->exchange(commandFrame(0, 2, 0), 3), QByteArray());
}

// The example of sim/README.md, with Windows line ends.
void FaultsTest::documentedExample() {
    const QString script =
        QStringLiteral("# ReadPort answers with unequal bytes the third time\r\n"
                       "unequal-pair cmd=2 after=2 once\r\n"
                       "# the programmer's echo is wrong twice\r\n"
                       "wrong-ack long=16 times=2\r\n"
                       "# the register is slow to answer reads\r\n"
                       "slow ms=1500 cash=0x40\r\n"
                       "# the cable comes off in the middle of the next WriteProgramPage\r\n"
                       "pull-cable cmd=28 through=4 once\r\n");
    QString error;
    const QList<sim::Fault> rules = sim::FaultScript::parse(script, &error);
    QCOMPARE(error, QString());
    QCOMPARE(rules.size(), 4);
    QCOMPARE(rules.at(0).skip, 2);
    QCOMPARE(rules.at(1).limit, 2);
    QCOMPARE(rules.at(2).delayMs, 1500);
    QCOMPARE(rules.at(3).bytes, 4);

    std::unique_ptr<Rig> rig(makeRig());
    QVERIFY(rig->bench.loadFaultScript(script, &error));
    QString seen;
    for (int i = 0; i < 4; ++i) {
        const QByteArray r = rig->exchange(commandFrame(0, 2, 0), 3);
        seen += r.size() == 3 && r.at(1) == r.at(2) ? QLatin1Char('.') : QLatin1Char('X');
    }
    QCOMPARE(seen, QStringLiteral("..X."));
}

QTEST_GUILESS_MAIN(FaultsTest)
#include "tst_faults.moc"
