// Every command of the 7-byte frame protocol, on both board families: the bytes
// that go out, what the peer answers, the result and the link status left.

#include "fakeline.h"

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "link/linkport.h"
#include "link/linkstatus.h"

#include <QTest>

using namespace kia;

namespace {

// The frame as the peer's documentation writes it: 4 bytes, fillers, inverted sum.
QByteArray frame(int boardType, int code, int a, int b, int c) {
    const int f1 = boardType == 4 ? 0x0F : 0xFF;
    const int f2 = boardType == 4 ? 0x0F : 0x00;
    QByteArray f;
    for (int v : {code, a, b, c, f1, f2})
        f.append(char(v));
    f.append(char(~(code + a + b + c + f1 + f2)));
    return f;
}
char ack(const QByteArray& f) {
    return f.at(6);
}

QByteArray page128() {
    QByteArray p;
    for (int i = 0; i < 128; ++i)
        p.append(char(i));
    return p; // sum 0x1FC0 -> C0
}

enum Op {
    OpSelectMode,
    OpGeneratePulses,
    OpReadPort,
    OpWritePort,
    OpPinPulses,
    OpReadMemory,
    OpWriteMemory,
    OpSetMemoryMap,
    OpStartPass,
    OpPassResult,
    OpBankPattern,
    OpSumMemory,
    OpSerialDevice,
    OpFillBank,
    OpWriteDevice,
    OpFillDevice,
    OpReadDevice,
    OpCheckDevice,
    OpStartCheck,
    OpReadCheckResult,
    OpFiscalBlock,
    OpCellPattern,
    OpSumRange,
    OpWriteProgPage,
    OpReadProgPage,
    OpErase,
    OpWriteDataPage,
    OpReadDataPage,
    OpReadMemoryByte,
    OpPeerPresent,
};

struct Outcome {
    bool ok = false;
    quint32 value = 0; // result value where the operation has one
    QByteArray data;   // data read where the operation reads some
};

Outcome run(LinkPort& link, Op op) {
    Outcome o;
    CheckResult cr;
    ShortResult sr;
    quint8 buf[8] = {};
    std::array<quint8, 128> page{};
    const QByteArray p = page128();
    std::copy(p.begin(), p.end(), page.begin());
    quint8 result = 0xEE;
    bool failed = true;
    auto check = [&](bool ok) {
        o.ok = ok;
        o.value = (cr.passed ? 0x1000000u : 0u) | (quint32(cr.value) << 8) | cr.data1;
        o.data = QByteArray(1, char(cr.data2));
    };
    switch (op) {
    case OpSelectMode:
        o.ok = link.SelectMode(1);
        break;
    case OpGeneratePulses:
        o.ok = link.GeneratePulses(0xA5, 0x5A, 0x7FFF, 0x0014, 1, 50);
        break;
    case OpReadPort:
        o.value = link.ReadPort(3);
        o.ok = o.value <= 0xFF;
        break;
    case OpWritePort:
        o.ok = link.WritePort(2, 0x05, 0x0F);
        break;
    case OpPinPulses:
        o.ok = link.GeneratePinPulses(2, 0x15, 0x1234, 0x0010, 0x0020);
        break;
    case OpReadMemory:
        o.ok = link.ReadMemory(0x1234, std::span<quint8>(buf, 3));
        o.data = QByteArray(reinterpret_cast<char*>(buf), 3);
        break;
    case OpWriteMemory: {
        const quint8 d[3] = {1, 2, 3};
        o.ok = link.WriteMemory(0x2000, d);
        break;
    }
    case OpSetMemoryMap:
        o.ok = link.SetMemoryMap({0x0000, 0x2000, 0xC000, 0x4000, 0xFFFF}, 200);
        break;
    case OpStartPass:
        o.ok = link.StartMemoryPass(2);
        break;
    case OpPassResult:
        check(link.GetMemoryPassResult(1, cr));
        break;
    case OpBankPattern:
        check(link.CheckBankPattern(3, cr));
        break;
    case OpSumMemory:
        check(link.SumMemory(0x4000, cr));
        break;
    case OpSerialDevice:
        o.ok = link.SetSerialDevice({1, 0x20, 0xD0, 1, 1, 0x10, 8});
        break;
    case OpFillBank:
        o.ok = link.FillBank(7, 64, failed);
        o.value = failed;
        break;
    case OpWriteDevice: {
        const quint8 d[2] = {0x12, 0x34};
        o.ok = link.WriteDevice(7, d);
        break;
    }
    case OpFillDevice:
        o.ok = link.FillDevice(1, 0x7FFF);
        break;
    case OpReadDevice:
        o.ok = link.ReadDevice(0x0010, std::span<quint8>(buf, 2));
        o.data = QByteArray(reinterpret_cast<char*>(buf), 2);
        break;
    case OpCheckDevice:
        o.ok = link.CheckDevice(2, 0x0100, sr);
        o.value = (sr.passed ? 0x10000u : 0u) | sr.value;
        break;
    case OpStartCheck:
        o.ok = link.StartMemoryCheck(0x0100, 4);
        break;
    case OpReadCheckResult:
        o.ok = link.ReadCheckResult(sr);
        o.value = (sr.passed ? 0x10000u : 0u) | sr.value;
        break;
    case OpFiscalBlock:
        o.ok = link.ReadFiscalBlock(0x0000, std::span<quint8>(buf, 1));
        o.data = QByteArray(reinterpret_cast<char*>(buf), 1);
        break;
    case OpCellPattern:
        o.ok = link.WriteCellPattern(0x1234, 0x55, result);
        o.value = result;
        break;
    case OpSumRange:
        check(link.SumMemoryRange(0x8000, cr));
        break;
    case OpWriteProgPage:
        o.ok = link.WriteProgramPage(0x2080, 1, page, result);
        o.value = result;
        break;
    case OpReadProgPage:
        o.ok = link.ReadProgramPage(0x2080, 1, page);
        o.data = QByteArray(reinterpret_cast<char*>(page.data()), 4);
        break;
    case OpErase:
        o.ok = link.EraseProgramMemory();
        break;
    case OpWriteDataPage:
        o.ok = link.WriteDataPage(0x0100, 0, page, result);
        o.value = result;
        break;
    case OpReadDataPage:
        o.ok = link.ReadDataPage(0x0100, 0, page);
        o.data = QByteArray(reinterpret_cast<char*>(page.data()), 4);
        break;
    case OpReadMemoryByte:
        o.value = link.ReadMemoryByte(0x7FFF);
        o.ok = o.value <= 0xFF;
        break;
    case OpPeerPresent:
        o.ok = link.PeerPresent();
        break;
    }
    return o;
}

QByteArray checkReply(int s, int lo, int hi, int d1, int d2) {
    QByteArray r;
    for (int v : {s, lo, hi, d1, d2})
        r.append(char(v));
    r.append(char(s + lo + hi + d1 + d2));
    return r;
}

} // namespace

class TestCommandFrames : public QObject {
    Q_OBJECT

private slots:
    void exchange_data();
    void exchange();
    void firstFrameOfBoardType0();
    void statusPerPhase_data();
    void statusPerPhase();
    void port1Shadow_data();
    void port1Shadow();
    void waitsOfLongCommands_data();
    void waitsOfLongCommands();
    void writesAreSplitAsThePeerReadsThem_data();
    void writesAreSplitAsThePeerReadsThem();
    void oversizedBlocksAreRefused();
    void portNumbersOutsideRange();
};

void TestCommandFrames::exchange_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("op");
    QTest::addColumn<QByteArray>("reply"); // everything the peer sends
    QTest::addColumn<QByteArray>("sent");  // everything the PC must send
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("data");

    const QByteArray page = page128();
    for (int t : {0, 4}) {
        const QByteArray tag = t == 4 ? "type4 " : "type0 ";
        auto row = [&](const char* name, Op op, const QByteArray& reply, const QByteArray& sent,
                       bool ok, quint32 value = 0, const QByteArray& data = QByteArray()) {
            QTest::newRow((tag + name).constData())
                << t << int(op) << reply << sent << ok << value << data;
        };
        QByteArray f;

        f = frame(t, 0, 1, 0, 0);
        row("SelectMode", OpSelectMode, QByteArray(1, ack(f)), f, true);

        f = frame(t, 1, 0xA5, 0x5A, 0);
        row("GeneratePulses", OpGeneratePulses, QByteArray(1, ack(f)) + hex("C5"),
            f + hex("FF7F1400010032 00"), true);

        f = frame(t, 2, 3, 0, 0);
        row("ReadPort", OpReadPort, QByteArray(1, ack(f)) + hex("3737"), f, true, 0x37);
        row("ReadPort unequal bytes", OpReadPort, QByteArray(1, ack(f)) + hex("3736"), f, false,
            0xFFFF);

        f = frame(t, 3, 2, 0x05, 0x0F);
        row("WritePort", OpWritePort, QByteArray(1, ack(f)), f, true);

        f = frame(t, 6, 0x25, 0x34, 0x12);
        row("GeneratePinPulses", OpPinPulses, QByteArray(1, ack(f)) + hex("30"),
            f + hex("10002000"), true);

        f = frame(t, 7, 0x34, 0x12, 3);
        row("ReadMemory", OpReadMemory, QByteArray(1, ack(f)) + hex("01020306"), f, true, 0,
            hex("010203"));
        row("ReadMemory bad sum", OpReadMemory, QByteArray(1, ack(f)) + hex("01020307"), f, false,
            0, QByteArray(3, 0));

        f = frame(t, 8, 0x00, 0x20, 3);
        row("WriteMemory", OpWriteMemory, QByteArray(1, ack(f)) + hex("06"), f + hex("010203"),
            true);

        f = frame(t, 7, 0xFF, 0x7F, 1);
        row("ReadMemoryByte", OpReadMemoryByte, QByteArray(1, ack(f)) + hex("A5A5"), f, true, 0xA5);
        row("ReadMemoryByte fails", OpReadMemoryByte, QByteArray(1, ack(f)) + hex("A5"), f, false,
            0xFFFF);

        f = frame(t, 10, 200, 0, 0);
        row("SetMemoryMap", OpSetMemoryMap, QByteArray(1, ack(f)) + hex("1E"),
            f + hex("0000 0020 00C0 0040 FFFF"), true);

        f = frame(t, 11, 2, 0, 0);
        row("StartMemoryPass", OpStartPass, QByteArray(1, ack(f)), f, true);

        f = frame(t, 12, 1, 0, 0);
        row("GetMemoryPassResult failed cell", OpPassResult,
            QByteArray(1, ack(f)) + checkReply(1, 0x34, 0x12, 0xAA, 0x55), f, true, 0x1234AA,
            hex("55"));

        f = frame(t, 14, 3, 0, 0);
        row("CheckBankPattern passed", OpBankPattern,
            QByteArray(1, ack(f)) + checkReply(0, 0, 0, 0, 0), f, true, 0x1000000, hex("00"));

        f = frame(t, 15, 0x40, 0x00, 0);
        row("SumMemory", OpSumMemory, QByteArray(1, ack(f)) + checkReply(0, 0xCD, 0xAB, 0, 0), f,
            true, 0x1ABCD00, hex("00"));

        f = frame(t, 16, 1, 0x20, 0xD0);
        if (t == 4)
            row("SetSerialDevice", OpSerialDevice, QByteArray(1, ack(f)) + hex("1A"),
                f + hex("01100108"), true);
        else
            row("SetSerialDevice", OpSerialDevice, QByteArray(1, ack(f)), f, true);

        f = frame(t, 17, 7, 64, 0);
        if (t == 4) {
            row("FillBank", OpFillBank, QByteArray(1, ack(f)) + hex("0000"), f, true, 0);
            row("FillBank failed", OpFillBank, QByteArray(1, ack(f)) + hex("0101"), f, true, 1);
        } else {
            row("FillBank", OpFillBank, QByteArray(1, ack(f)), f, true, 0);
        }

        f = frame(t, 18, 7, 0, 2);
        if (t == 4)
            row("WriteDevice", OpWriteDevice, QByteArray(1, ack(f)) + hex("46"), f + hex("1234"),
                true);
        else
            row("WriteDevice", OpWriteDevice, QByteArray(1, ack(f)) + hex("46 0505"),
                f + hex("1234"), true);

        f = frame(t, 19, 1, 0xFF, 0x7F);
        row("FillDevice", OpFillDevice, QByteArray(1, ack(f)), f, true);

        f = frame(t, 20, 0x10, 0x00, 2);
        row("ReadDevice", OpReadDevice, QByteArray(1, ack(f)) + hex("AABB65"), f, true, 0,
            hex("AABB"));

        f = frame(t, 21, 2, 0x00, 0x01);
        row("CheckDevice", OpCheckDevice, QByteArray(1, ack(f)) + hex("01FF7F7F"), f, true, 0x7FFF);

        f = frame(t, 22, 0x00, 0x01, 4);
        row("StartMemoryCheck", OpStartCheck, QByteArray(1, ack(f)), f, true);
        row("ReadCheckResult sends nothing", OpReadCheckResult, hex("00341246"), QByteArray(), true,
            0x11234);

        f = frame(t, 23, 0, 0, 1);
        row("ReadFiscalBlock", OpFiscalBlock, QByteArray(1, ack(f)) + hex("5A5A"), f, true, 0,
            hex("5A"));

        f = frame(t, 24, 0x34, 0x12, 0x55);
        row("WriteCellPattern", OpCellPattern, QByteArray(1, ack(f)) + hex("0303"), f, true, 0);

        f = frame(t, t == 4 ? 27 : 25, 0x80, 0x00, 0);
        row("SumMemoryRange", OpSumRange, QByteArray(1, ack(f)) + checkReply(0, 0x11, 0x22, 0, 0),
            f, true, 0x1221100, hex("00"));

        f = frame(t, 28, 0x80, 0x20, 1);
        row("WriteProgramPage", OpWriteProgPage, QByteArray(1, ack(f)) + hex("C0C0 0101"),
            f + page + hex("C0"), true, 1);
        row("WriteProgramPage unequal result", OpWriteProgPage,
            QByteArray(1, ack(f)) + hex("C0C0 0100"), f + page + hex("C0"), false, 0xEE);

        f = frame(t, 29, 0x80, 0x20, 1);
        row("ReadProgramPage", OpReadProgPage, QByteArray(1, ack(f)) + page + hex("C0"), f, true, 0,
            hex("00010203"));

        f = frame(t, 30, 0, 0, 0);
        row("EraseProgramMemory takes any answer", OpErase, QByteArray(1, ack(f)) + hex("1234"), f,
            true);

        f = frame(t, 32, 0x00, 0x01, 0);
        row("WriteDataPage", OpWriteDataPage, QByteArray(1, ack(f)) + hex("C0C0 0000"),
            f + page + hex("C0"), true, 0);

        f = frame(t, 33, 0x00, 0x01, 0);
        row("ReadDataPage", OpReadDataPage, QByteArray(1, ack(f)) + page + hex("C0"), f, true, 0,
            hex("00010203"));

        f = frame(t, 2, 0, 0, 0);
        row("PeerPresent", OpPeerPresent, QByteArray(1, ack(f)) + hex("0000"), f, true);
    }
}

void TestCommandFrames::exchange() {
    QFETCH(int, boardType);
    QFETCH(int, op);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, sent);
    QFETCH(bool, ok);
    QFETCH(quint32, value);
    QFETCH(QByteArray, data);

    FakeClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    ctx.boardType = boardType;
    auto line = std::make_unique<FakeLine>(clock);
    FakeLine* fake = line.get();
    fake->incoming = reply;
    QVERIFY(ctx.link.attachLine(std::move(line), 1, 0));

    const Outcome o = run(ctx.link, Op(op));
    QCOMPARE(fake->written.toHex(' '), sent.toHex(' '));
    QCOMPARE(o.ok, ok);
    QCOMPARE(ctx.linkStatus == LinkOk, ok);
    if (value || !data.isEmpty() || Op(op) == OpFillBank || Op(op) == OpCellPattern)
        QCOMPARE(o.value, value);
    if (!data.isEmpty())
        QCOMPARE(o.data.toHex(' '), data.toHex(' '));
    // Everything the peer sent was taken, nothing more was asked for.
    QCOMPARE(fake->readPos, qint64(reply.size()));
    if (Op(op) == OpPeerPresent)
        QCOMPARE(ctx.peerAnswered, quint8(1));
    if (Op(op) == OpWriteDevice)
        QCOMPARE(ctx.deviceResult, quint8(boardType == 4 ? 0 : 5));
}

void TestCommandFrames::firstFrameOfBoardType0() {
    FakeClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(buildCommandFrame(0, 2, 0, 0, 0).data()), 7),
             hex("02000000FF00FE"));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(buildCommandFrame(4, 2, 0, 0, 0).data()), 7),
             hex("020000000F0FDF"));
}

void TestCommandFrames::statusPerPhase_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("op");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("failingWrite"); // -1 none; k: the write after k good ones fails
    QTest::addColumn<bool>("timeoutsFail");
    QTest::addColumn<bool>("purgeFails");
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("elapsedMs");

    const QByteArray rp = frame(0, 2, 3, 0, 0);
    QTest::newRow("time-outs refused")
        << 0 << int(OpReadPort) << QByteArray() << -1 << true << false << 4 << 0LL;
    QTest::newRow("purge refused")
        << 0 << int(OpReadPort) << QByteArray() << -1 << false << true << 1 << 0LL;
    QTest::newRow("frame write fails")
        << 0 << int(OpReadPort) << QByteArray() << 0 << false << false << 1 << 0LL;
    QTest::newRow("silent peer") << 0 << int(OpReadPort) << QByteArray() << -1 << false << false
                                 << 2 << 1000LL;
    QTest::newRow("wrong acknowledge")
        << 0 << int(OpReadPort) << hex("00") << -1 << false << false << 3 << 0LL;
    QTest::newRow("data missing") << 0 << int(OpReadPort) << QByteArray(1, ack(rp)) << -1 << false
                                  << false << 2 << 1000LL;
    QTest::newRow("half the data") << 0 << int(OpReadPort) << QByteArray(1, ack(rp)) + hex("37")
                                   << -1 << false << false << 2 << 1000LL;
    QTest::newRow("doubled bytes differ")
        << 0 << int(OpReadPort) << QByteArray(1, ack(rp)) + hex("3736") << -1 << false << false << 3
        << 0LL;

    const QByteArray wm = frame(0, 8, 0x00, 0x20, 3);
    QTest::newRow("data write fails")
        << 0 << int(OpWriteMemory) << QByteArray(1, ack(wm)) << 1 << false << false << 1 << 0LL;
    QTest::newRow("wrong data sum") << 0 << int(OpWriteMemory) << QByteArray(1, ack(wm)) + hex("07")
                                    << -1 << false << false << 3 << 0LL;

    const QByteArray pr = frame(0, 12, 1, 0, 0);
    QTest::newRow("pass result silent waits 2 s")
        << 0 << int(OpPassResult) << QByteArray(1, ack(pr)) << -1 << false << false << 2 << 2000LL;
    QTest::newRow("pass result bad sum")
        << 0 << int(OpPassResult) << QByteArray(1, ack(pr)) + hex("000000000001") << -1 << false
        << false << 3 << 0LL;

    const QByteArray fb = frame(4, 17, 7, 64, 0);
    QTest::newRow("erase answer mismatch")
        << 4 << int(OpFillBank) << QByteArray(1, ack(fb)) + hex("0001") << -1 << false << false
        << 32 << 2000LL;

    const QByteArray wd = frame(0, 32, 0, 1, 0);
    QTest::newRow("data page wrong sum answer")
        << 0 << int(OpWriteDataPage) << QByteArray(1, ack(wd)) + hex("C1C1 0000") << -1 << false
        << false << 2 << 0LL;
    QTest::newRow("data page unequal result")
        << 0 << int(OpWriteDataPage) << QByteArray(1, ack(wd)) + hex("C0C0 0001") << -1 << false
        << false << 2 << 0LL;
    const QByteArray wp = frame(0, 28, 0x80, 0x20, 1);
    QTest::newRow("program page wrong sum answer")
        << 0 << int(OpWriteProgPage) << QByteArray(1, ack(wp)) + hex("C0C1 0000") << -1 << false
        << false << 3 << 0LL;

    const QByteArray wdev = frame(0, 18, 7, 0, 2);
    QTest::newRow("device result bytes differ")
        << 0 << int(OpWriteDevice) << QByteArray(1, ack(wdev)) + hex("46 0506") << -1 << false
        << false << 3 << 30LL;
}

void TestCommandFrames::statusPerPhase() {
    QFETCH(int, boardType);
    QFETCH(int, op);
    QFETCH(QByteArray, reply);
    QFETCH(int, failingWrite);
    QFETCH(bool, timeoutsFail);
    QFETCH(bool, purgeFails);
    QFETCH(int, status);
    QFETCH(qint64, elapsedMs);

    FakeRig rig(boardType);
    BenchContext& ctx = rig.ctx;
    FakeLine* fake = rig.line;
    fake->incoming = reply;
    fake->writesLeft = failingWrite;
    fake->timeoutsOk = !timeoutsFail;
    fake->purgeOk = !purgeFails;
    const qint64 start = rig.clock.now;

    const Outcome o = run(ctx.link, Op(op));
    QVERIFY(!o.ok);
    QCOMPARE(int(ctx.linkStatus), status);
    QCOMPARE((rig.clock.now - start) / 1000, elapsedMs);
    if (Op(op) == OpReadPort)
        QCOMPARE(o.value, 0xFFFFu);
}

void TestCommandFrames::port1Shadow_data() {
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("acknowledged");
    QTest::addColumn<int>("shadow");

    // The shadow starts at 0xA5.
    QTest::newRow("low nibble set") << 1 << 0x0F << 0x0F << true << 0xAF;
    QTest::newRow("only masked bits change") << 1 << 0x00 << 0x81 << true << 0x24;
    QTest::newRow("value outside mask ignored") << 1 << 0xFF << 0x00 << true << 0xA5;
    QTest::newRow("other port leaves it") << 2 << 0x00 << 0xFF << true << 0xA5;
    QTest::newRow("unacknowledged frame leaves it") << 1 << 0x00 << 0xFF << false << 0xA5;
}

void TestCommandFrames::port1Shadow() {
    QFETCH(int, port);
    QFETCH(int, value);
    QFETCH(int, mask);
    QFETCH(bool, acknowledged);
    QFETCH(int, shadow);

    FakeRig rig;
    BenchContext& ctx = rig.ctx;
    FakeLine* fake = rig.line;
    ctx.port1Shadow = 0xA5;
    const QByteArray f = frame(0, 3, port, value, mask);
    fake->incoming = QByteArray(1, acknowledged ? ack(f) : char(ack(f) ^ 1));
    QCOMPARE(ctx.link.WritePort(quint8(port), quint8(value), quint8(mask)), acknowledged);
    QCOMPARE(int(ctx.port1Shadow), shadow);
}

void TestCommandFrames::waitsOfLongCommands_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("op");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<quint32>("readConstant"); // read total constant in force afterwards

    const QByteArray fb4 = frame(4, 17, 7, 64, 0);
    QTest::newRow("FillBank type 4 waits 2 s")
        << 4 << int(OpFillBank) << QByteArray(1, ack(fb4)) + hex("0000") << 2000LL << 1000u;
    const QByteArray fb0 = frame(0, 17, 7, 64, 0);
    QTest::newRow("FillBank type 0 does not wait")
        << 0 << int(OpFillBank) << QByteArray(1, ack(fb0)) << 0LL << 1000u;
    const QByteArray cd = frame(0, 21, 2, 0x00, 0x01);
    QTest::newRow("CheckDevice waits 6.5 s")
        << 0 << int(OpCheckDevice) << QByteArray(1, ack(cd)) + hex("01FF7F7F") << 6500LL << 1000u;
    const QByteArray wd = frame(4, 18, 7, 0, 2);
    QTest::newRow("WriteDevice paces 15 ms a byte")
        << 4 << int(OpWriteDevice) << QByteArray(1, ack(wd)) + hex("46") << 30LL << 1000u;
    const QByteArray pr = frame(0, 12, 1, 0, 0);
    QTest::newRow("pass result reads for 2 s")
        << 0 << int(OpPassResult) << QByteArray(1, ack(pr)) + checkReply(0, 0, 0, 0, 0) << 0LL
        << 2000u;
    const QByteArray bp = frame(4, 14, 3, 0, 0);
    QTest::newRow("bank check reads for 2 s")
        << 4 << int(OpBankPattern) << QByteArray(1, ack(bp)) + checkReply(0, 0, 0, 0, 0) << 0LL
        << 2000u;
}

void TestCommandFrames::waitsOfLongCommands() {
    QFETCH(int, boardType);
    QFETCH(int, op);
    QFETCH(QByteArray, reply);
    QFETCH(qint64, elapsedMs);
    QFETCH(quint32, readConstant);

    FakeRig rig(boardType);
    BenchContext& ctx = rig.ctx;
    FakeLine* fake = rig.line;
    fake->incoming = reply;
    QVERIFY(run(ctx.link, Op(op)).ok);
    QCOMPARE(rig.clock.now / 1000, elapsedMs);
    QCOMPARE(fake->timeouts.readTotalConstant, readConstant);
    // The standard time-outs come back with the next frame.
    fake->incoming += QByteArray(1, ack(frame(boardType, 0, 1, 0, 0)));
    QVERIFY(ctx.link.SelectMode(1));
    QCOMPARE(fake->timeouts, standardTimeouts());
}

void TestCommandFrames::writesAreSplitAsThePeerReadsThem_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("op");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QList<int>>("sizes");

    auto ackOf = [](int t, int code, int a, int b, int c) {
        return QByteArray(1, ack(frame(t, code, a, b, c)));
    };
    QTest::newRow("pulse words two bytes at a time")
        << 0 << int(OpGeneratePulses) << ackOf(0, 1, 0xA5, 0x5A, 0) + hex("C5")
        << QList<int>{7, 2, 2, 2, 2};
    QTest::newRow("memory map words two bytes at a time")
        << 0 << int(OpSetMemoryMap) << ackOf(0, 10, 200, 0, 0) + hex("1E")
        << QList<int>{7, 2, 2, 2, 2, 2};
    QTest::newRow("pin pulse words two bytes at a time")
        << 4 << int(OpPinPulses) << ackOf(4, 6, 0x25, 0x34, 0x12) + hex("30")
        << QList<int>{7, 2, 2};
    QTest::newRow("device bytes one at a time")
        << 0 << int(OpWriteDevice) << ackOf(0, 18, 7, 0, 2) + hex("46 0505") << QList<int>{7, 1, 1};
    QTest::newRow("memory block in one write")
        << 0 << int(OpWriteMemory) << ackOf(0, 8, 0, 0x20, 3) + hex("06") << QList<int>{7, 3};
    QTest::newRow("serial device tail in one write")
        << 4 << int(OpSerialDevice) << ackOf(4, 16, 1, 0x20, 0xD0) + hex("1A") << QList<int>{7, 4};
    QTest::newRow("page and sum in one write")
        << 0 << int(OpWriteProgPage) << ackOf(0, 28, 0x80, 0x20, 1) + hex("C0C0 0101")
        << QList<int>{7, 129};
}

void TestCommandFrames::writesAreSplitAsThePeerReadsThem() {
    QFETCH(int, boardType);
    QFETCH(int, op);
    QFETCH(QByteArray, reply);
    QFETCH(QList<int>, sizes);
    FakeRig rig(boardType);
    BenchContext& ctx = rig.ctx;
    FakeLine* fake = rig.line;
    fake->incoming = reply;
    QVERIFY(run(ctx.link, Op(op)).ok);
    QCOMPARE(fake->writeSizes, sizes);
}

void TestCommandFrames::oversizedBlocksAreRefused() {
    FakeRig rig;
    BenchContext& ctx = rig.ctx;
    FakeLine* fake = rig.line;
    std::vector<quint8> big(256);
    QVERIFY(!ctx.link.ReadMemory(0, big));
    QVERIFY(!ctx.link.WriteMemory(0, big));
    QVERIFY(!ctx.link.ReadDevice(0, std::span<quint8>()));
    QVERIFY(!ctx.link.WriteDevice(0, big));
    QVERIFY(!ctx.link.ReadFiscalBlock(0, big));
    QVERIFY(fake->written.isEmpty());
}

void TestCommandFrames::portNumbersOutsideRange() {
    FakeClock clock;
    ScriptedPrompts prompts;
    BenchContext ctx(clock, prompts);
    int made = 0;
    QString device;
    ctx.ports.setDeviceMaker([&](const QString& name) -> std::unique_ptr<SerialLine> {
        ++made;
        device = name;
        return std::make_unique<FakeLine>(clock);
    });
    QVERIFY(!ctx.link.OpenLinkPort(0, 0));
    QCOMPARE(int(ctx.linkStatus), 4);
    QVERIFY(!ctx.link.OpenLinkPort(9, 0));
    QCOMPARE(made, 0);
    QVERIFY(ctx.link.OpenLinkPort(3, 0));
    QCOMPARE(made, 1);
    QCOMPARE(device, QStringLiteral("/dev/ttyS2"));
    QCOMPARE(ctx.link.openPort(), 3);
    QCOMPARE(ctx.linkStatus, quint8(0));
}

QTEST_GUILESS_MAIN(TestCommandFrames)
#include "tst_commandframes.moc"
