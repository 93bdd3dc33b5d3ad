// The sound test against the simulated emitter: the tone sequence of the step
// counter on both board families, the waits between tones, a silent emitter
// and a link that fails while the tone plays.

#include "benchrig.h"

#include "interactivetests.h"
#include "soundtest.h"
#include "testresults.h"
#include "testsession.h"
#include "sim/testprocessor.h"

#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
bool prepared(BenchRig& rig) {
    const bool ok = PrepareTestSession(rig.ctx, rig.host) && PrepareSound(rig.ctx);
    rig.ctx.busy = false;
    return ok;
}

// Runs the engine as its dialog would: a tick whenever its interval has passed.
QList<int> playTones(BenchRig& rig, SoundTest& t, int tones, QList<qint64>* gapsMs = nullptr) {
    QList<int> intervals;
    qint64 last = -1;
    for (int i = 0; i < tones && !t.hasEnded(); ++i) {
        rig.clock.sleepMs(t.interval());
        const qint64 now = rig.nowMs();
        t.tick();
        if (gapsMs && last >= 0)
            *gapsMs << now - last;
        last = rig.nowMs();
        intervals << t.interval();
    }
    return intervals;
}
} // namespace

class TestSoundTest : public QObject {
    Q_OBJECT
private slots:
    void toneOfTheCounter_data();
    void toneOfTheCounter();
    void sequenceHeardByTheEmitter_data();
    void sequenceHeardByTheEmitter();
    void setUpPerFamily_data();
    void setUpPerFamily();
    void silentEmitterHearsNothing();
    void linkFailureEndsTheTone_data();
    void linkFailureEndsTheTone();
};

void TestSoundTest::toneOfTheCounter_data() {
    QTest::addColumn<int>("counter");
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("periods");
    QTest::addColumn<int>("waitMs");
    QTest::newRow("0: lowest") << 0 << 2 << 250 << 166;
    QTest::newRow("1") << 1 << 3 << 166 << 2 * (4 * 166 / 9);
    QTest::newRow("12") << 12 << 14 << 35 << 116;
    QTest::newRow("14: top") << 14 << 16 << 31 << 116;
    QTest::newRow("15: falls again") << 15 << 15 << 33 << 2 * (16 * 33 / 9);
    QTest::newRow("16") << 16 << 14 << 35 << 116;
    QTest::newRow("28: last") << 28 << 2 << 250 << 166;
    QTest::newRow("29 is 0 again") << 29 << 2 << 250 << 166;
}

void TestSoundTest::toneOfTheCounter() {
    QFETCH(int, counter);
    QFETCH(int, units);
    QFETCH(int, periods);
    QFETCH(int, waitMs);
    QCOMPARE(SoundTest::toneUnits(counter), units);
    QCOMPARE(SoundTest::tonePeriods(units), periods);
    QCOMPARE(SoundTest::toneIntervalMs(units), waitMs);
}

void TestSoundTest::sequenceHeardByTheEmitter_data() {
    QTest::addColumn<int>("boardType");
    for (int type = 0; type <= 4; ++type)
        QTest::addRow("type %d", type) << type;
}

// Two full rounds and a bit: 2, 3 … 16, 15 … 2, then 2 again, each with its
// periods, and the next tone after the wait the last one asked for.
void TestSoundTest::sequenceHeardByTheEmitter() {
    QFETCH(int, boardType);
    BenchRig rig(boardType);
    QVERIFY(prepared(rig));
    SoundTest t(rig.ctx);
    t.open();
    QCOMPARE(t.interval(), 300);
    rig.board().sound().clear();
    QList<qint64> gaps;
    const QList<int> intervals = playTones(rig, t, 2 * SoundTest::Steps + 3, &gaps);
    QVERIFY(!t.hasEnded());
    const auto& tones = rig.board().sound().tones();
    QCOMPARE(int(tones.size()), 2 * SoundTest::Steps + 3);
    QList<int> units;
    for (size_t i = 0; i < tones.size(); ++i) {
        const int expected = i % 29 <= 14 ? int(i % 29) + 2 : 30 - int(i % 29);
        units << tones[i].a;
        QCOMPARE(tones[i].a, expected);
        QCOMPARE(tones[i].periods, 500 / expected);
        QCOMPARE(intervals[int(i)], 2 * ((expected + 1) * (500 / expected) / 9));
    }
    QCOMPARE(units.mid(13, 4), (QList<int>{15, 16, 15, 14}));
    QCOMPARE(units.mid(27, 4), (QList<int>{3, 2, 2, 3}));
    // The emitter heard each tone one wait (plus the frame's wire time) after the last.
    for (int i = 0; i < gaps.size(); ++i)
        QVERIFY2(gaps[i] >= intervals[i] && gaps[i] <= intervals[i] + 20,
                 qPrintable(QStringLiteral("%1: %2 after %3").arg(i).arg(gaps[i]).arg(intervals[i])));
}

void TestSoundTest::setUpPerFamily_data() {
    QTest::addColumn<int>("boardType");
    QTest::newRow("type 0: 82C55 and memory map") << 0;
    QTest::newRow("type 3: 82C55 and memory map") << 3;
    QTest::newRow("type 4: nothing") << 4;
}

void TestSoundTest::setUpPerFamily() {
    QFETCH(int, boardType);
    BenchRig rig(boardType);
    QVERIFY(PrepareTestSession(rig.ctx, rig.host));
    const quint64 frames = rig.bench.testProcessor().frameCount();
    const int maps = rig.bench.testProcessor().memoryMap().count;
    QVERIFY(PrepareSound(rig.ctx));
    if (boardType == 4) {
        QCOMPARE(rig.bench.testProcessor().frameCount(), frames);
        return;
    }
    QCOMPARE(rig.bench.testProcessor().memoryMap().count, maps + 1);
    QCOMPARE(rig.bench.testProcessor().memoryMap().words[4], quint16(0xFFFF));
    QCOMPARE(rig.bench.testProcessor().memoryMap().kind, quint8(185));
    QCOMPARE(rig.board().ppi().control(), quint8(0x92));
}

void TestSoundTest::silentEmitterHearsNothing() {
    for (int type : {0, 4}) {
        BenchRig rig(type);
        QString error;
        QVERIFY2(rig.bench.loadFaultScript(QStringLiteral("emitter-silent"), &error),
                 qPrintable(error));
        QVERIFY(prepared(rig));
        SoundTest t(rig.ctx);
        t.open();
        playTones(rig, t, 10);
        // The link answers as ever: only the engineer's ear tells.
        QVERIFY(!t.hasEnded());
        QCOMPARE(t.lastUnits(), SoundTest::toneUnits(9));
        QVERIFY(rig.board().sound().tones().empty());
    }
}

void TestSoundTest::linkFailureEndsTheTone_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("script");
    QTest::newRow("type 1, pulses not answered") << 1 << "silence cmd=1 after=4 once";
    QTest::newRow("type 4, pin pulses not answered") << 4 << "silence cmd=6 after=4 once";
}

void TestSoundTest::linkFailureEndsTheTone() {
    QFETCH(int, boardType);
    QFETCH(QString, script);
    BenchRig rig(boardType);
    QVERIFY(prepared(rig));
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(script, &error), qPrintable(error));
    SoundTest t(rig.ctx);
    t.open();
    playTones(rig, t, 12);
    QCOMPARE(t.result(), int(ResultLinkFailure));
    QCOMPARE(t.counter(), 4);
    // The next command works.
    rig.board().sound().clear();
    SoundTest again(rig.ctx);
    again.open();
    playTones(rig, again, 3);
    QVERIFY(!again.hasEnded());
    QCOMPARE(int(rig.board().sound().tones().size()), 3);
}

QTEST_GUILESS_MAIN(TestSoundTest)
#include "tst_soundtest.moc"
