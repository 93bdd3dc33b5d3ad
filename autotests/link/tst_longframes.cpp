// Programmer long frames and cash-register frames: request bytes, reply checks,
// the retrying wrappers and the controller identification sequence.

#include "fakeline.h"

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "link/linkport.h"
#include "link/linkstatus.h"

#include <QTest>

using namespace kia;

namespace {

// What the programmer sends back for one request: the echo of the request's
// checksum, then length, data and the inverted sum.
QByteArray reply(const QByteArray& request, const QByteArray& data) {
    QByteArray r(1, request.back());
    r.append(char(data.size()));
    r.append(data);
    unsigned s = unsigned(data.size());
    for (char c : data)
        s += quint8(c);
    r.append(char(~s));
    return r;
}

QByteArray request(quint8 command, const QByteArray& data) {
    QByteArray req;
    req.append(char(data.size() + 1));
    req.append(char(command));
    req.append(data);
    unsigned s = 0;
    for (char c : req)
        s += quint8(c);
    req.append(char(command == 16 || command == 32 ? s : ~s));
    return req;
}

} // namespace

class TestLongFrames : public QObject {
    Q_OBJECT

private slots:
    void requestBytes_data();
    void requestBytes();
    void sendLongFrame_data();
    void sendLongFrame();
    void longFramesLeaveLinkStatus();
    void identification_data();
    void identification();
    void programmingEnableRetries();
    void wrappers_data();
    void wrappers();
    void identificationConversation();
    void cashRegisterFrames_data();
    void cashRegisterFrames();
    void cashRegisterSpeedChange();
};

void TestLongFrames::requestBytes_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("page write request, plain sum")
        << 16 << hex("0200501F") << hex("0510020050 1F86");
    QTest::newRow("control request") << 32 << hex("01") << hex("022001 23");
    QTest::newRow("other command, inverted sum") << 8 << hex("01") << hex("020801 F4");
}

void TestLongFrames::requestBytes() {
    QFETCH(int, command);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, frame);
    const QByteArray built = buildLongRequest(
        quint8(command), std::span<const quint8>(reinterpret_cast<const quint8*>(data.constData()),
                                                 size_t(data.size())));
    QCOMPARE(built.toHex(' '), frame.toHex(' '));
}

void TestLongFrames::sendLongFrame_data() {
    QTest::addColumn<QByteArray>("incoming");
    QTest::addColumn<bool>("purgeFails");
    QTest::addColumn<qint64>("shortWrite");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("buffer"); // length byte + data after success

    const QByteArray req = request(16, hex("0200501F"));
    QTest::newRow("good reply") << reply(req, hex("100200")) << false << -1LL << 0
                                << hex("03100200");
    QTest::newRow("empty reply") << reply(req, QByteArray()) << false << -1LL << 0 << hex("00");
    QByteArray plainSum = reply(req, hex("100200"));
    plainSum[plainSum.size() - 1] = char(0x03 + 0x10 + 0x02);
    QTest::newRow("plain sum instead of inverted")
        << plainSum << false << -1LL << 3 << QByteArray();
    QTest::newRow("no echo") << QByteArray() << false << -1LL << 3 << QByteArray();
    QTest::newRow("wrong echo") << QByteArray(1, char(req.back() + 1)) << false << -1LL << 3
                                << QByteArray();
    QTest::newRow("echo, then nothing")
        << QByteArray(1, req.back()) << false << -1LL << 3 << QByteArray();
    QTest::newRow("short reply") << reply(req, hex("100200")).left(4) << false << -1LL << 3
                                 << QByteArray();
    QTest::newRow("purge refused") << QByteArray() << true << -1LL << 4 << QByteArray();
    QTest::newRow("short write") << QByteArray() << false << 3LL << 4 << QByteArray();
}

void TestLongFrames::sendLongFrame() {
    QFETCH(QByteArray, incoming);
    QFETCH(bool, purgeFails);
    QFETCH(qint64, shortWrite);
    QFETCH(int, result);
    QFETCH(QByteArray, buffer);

    FakeRig b(4);
    b.line->incoming = incoming;
    b.line->purgeOk = !purgeFails;
    b.line->shortWrite = shortWrite;
    const quint8 req[4] = {0x02, 0x00, 0x50, 0x1F};
    std::copy(std::begin(req), std::end(req), b.ctx.longFrameBuffer.begin());
    QCOMPARE(int(b.ctx.link.SendLongFrame(16, 4, 100)), result);
    if (result == 0) {
        QCOMPARE(b.line->written.toHex(' '), hex("05100200501F86").toHex(' '));
        const QByteArray got(reinterpret_cast<const char*>(b.ctx.longFrameBuffer.data()),
                             buffer.size());
        QCOMPARE(got.toHex(' '), buffer.toHex(' '));
    }
}

void TestLongFrames::longFramesLeaveLinkStatus() {
    FakeRig b(4);
    b.ctx.linkStatus = 42;
    b.ctx.longFrameBuffer[0] = 1;
    QCOMPARE(int(b.ctx.link.SendLongFrame(32, 1, 100)), 3);
    QCOMPARE(int(b.ctx.linkStatus), 42);
    // More data than the length byte can carry never leaves the PC.
    QCOMPARE(int(b.ctx.link.SendLongFrame(16, 255, 100)), 4);
    QCOMPARE(b.line->written.size(), 4);
}

namespace {
// The whole identification conversation of a programmer whose DD5 holds `tail`
// in its last 12 code bytes; `access` is the byte DD5 answers to the enable.
QByteArray identificationScript(const QByteArray& tail, char access, bool withPage = true) {
    QByteArray s;
    const QByteArray run = request(32, hex("01"));
    const QByteArray hold = request(32, hex("00"));
    s += reply(run, hex("2001"));
    s += reply(hold, hex("2000"));
    const QByteArray en = request(16, hex("0301AC53FF"));
    for (int i = 0; i < (access == 0x69 ? 1 : 3); ++i)
        s += reply(en, hex("100301") + QByteArray(1, access));
    if (access == 0x69 && withPage) {
        const QByteArray page = request(16, hex("0240301F"));
        s += reply(page, hex("100240") + QByteArray(64, char(0xFF)));
        const QByteArray chunk = request(16, hex("0040"));
        s += reply(chunk, hex("100040") + QByteArray(64, char(0x11)));
        s += reply(chunk, hex("100040") + QByteArray(64, char(0x22)));
        s += reply(chunk, hex("100040") + QByteArray(52, char(0x33)) + tail);
    }
    s += reply(run, hex("2001"));
    return s;
}
} // namespace

void TestLongFrames::identification_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("identity");

    QTest::newRow("twelve digits")
        << identificationScript("120345678901", 0x69) << 0 << QStringLiteral("120345678901");
    QTest::newRow("a letter empties it")
        << identificationScript("12034567A901", 0x69) << 0 << QString();
    QTest::newRow("erased controller")
        << identificationScript(QByteArray(12, char(0xFF)), 0x69) << 0 << QString();
    QTest::newRow("no access") << identificationScript(QByteArray(), 0x00) << 5 << QString();
    QTest::newRow("programmer silent") << QByteArray() << 3 << QString();
}

void TestLongFrames::identification() {
    QFETCH(QByteArray, script);
    QFETCH(int, result);
    QFETCH(QString, identity);
    FakeRig b(4);
    b.line->incoming = script;
    QString got = QStringLiteral("junk");
    QCOMPARE(int(b.ctx.link.ReadControllerIdentity(got)), result);
    QCOMPARE(got, identity);
    // The controller is always let run at the end, whatever happened before.
    if (!script.isEmpty())
        QVERIFY(b.line->written.endsWith(request(32, hex("01"))));
}

void TestLongFrames::programmingEnableRetries() {
    FakeRig b(4);
    const QByteArray en = request(16, hex("0301AC53FF"));
    // Two refusals, then access.
    b.line->incoming =
        reply(en, hex("10030100")) + reply(en, hex("10030100")) + reply(en, hex("10030169"));
    bool accepted = false;
    QCOMPARE(int(b.ctx.link.ProgrammingEnable(accepted)), 0);
    QVERIFY(accepted);
    QCOMPARE(b.line->written, en + en + en);
}

enum Wrapper {
    WChipErase,
    WPageWrite,
    WPageRead,
    WSendChunk,
    WReceiveChunk,
    WControlRun,
    WControlHold
};

void TestLongFrames::wrappers_data() {
    QTest::addColumn<int>("wrapper");
    QTest::addColumn<bool>("firstTrySilent"); // every try silent
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<qint64>("elapsedMs");

    QByteArray chunk = hex("0A00");
    for (int i = 0; i < 10; ++i)
        chunk.append(char(0x40 + i));
    chunk.append(QByteArray(54, char(0xFF)));
    // A silent programmer: three tries, each waiting out the 1000 ms read of its echo.
    for (bool silent : {false, true}) {
        const qint64 waits = silent ? 3000 : 0;
        const QByteArray tag = silent ? ", silent programmer" : "";
        QTest::newRow(("chip erase" + tag).constData())
            << int(WChipErase) << silent << request(16, hex("0400AC80FFFF")) << waits;
        QTest::newRow(("page write" + tag).constData())
            << int(WPageWrite) << silent << request(16, hex("0200501F")) << waits;
        QTest::newRow(("page read" + tag).constData())
            << int(WPageRead) << silent << request(16, hex("0240301F")) << waits;
        QTest::newRow(("send chunk" + tag).constData())
            << int(WSendChunk) << silent << request(16, chunk) << waits;
        QTest::newRow(("receive chunk" + tag).constData())
            << int(WReceiveChunk) << silent << request(16, hex("0040")) << waits;
        // ControlLine pauses 100 ms before every try; it inverts the caller's value.
        const qint64 pauses = silent ? 300 : 100;
        QTest::newRow(("control 0 lets DD5 run" + tag).constData())
            << int(WControlRun) << silent << request(32, hex("01")) << pauses + waits;
        QTest::newRow(("control 1 holds DD5" + tag).constData())
            << int(WControlHold) << silent << request(32, hex("00")) << pauses + waits;
    }
}

void TestLongFrames::wrappers() {
    QFETCH(int, wrapper);
    QFETCH(bool, firstTrySilent);
    QFETCH(QByteArray, request);
    QFETCH(qint64, elapsedMs);
    FakeRig b(4);
    if (!firstTrySilent)
        b.line->incoming = reply(request, QByteArray());
    QByteArray data(64, 0);
    for (int i = 0; i < 64; ++i)
        data[i] = char(0x40 + i);
    const auto chunk =
        std::span<const quint8>(reinterpret_cast<const quint8*>(data.constData()), 64);
    quint8 r = 0xEE;
    switch (wrapper) {
    case WChipErase:
        r = b.ctx.link.ChipErase();
        break;
    case WPageWrite:
        r = b.ctx.link.BeginPageWrite(0x1F00);
        break;
    case WPageRead:
        r = b.ctx.link.BeginPageRead(0x1F40, 64);
        break;
    case WSendChunk:
        r = b.ctx.link.SendChunk(chunk, 10);
        break;
    case WReceiveChunk:
        r = b.ctx.link.ReceiveChunk(64);
        break;
    case WControlRun:
        r = b.ctx.link.ControlLine(0);
        break;
    default:
        r = b.ctx.link.ControlLine(1);
        break;
    }
    QCOMPARE(int(r), firstTrySilent ? 3 : 0);
    const QByteArray sent = firstTrySilent ? request + request + request : request;
    QCOMPARE(b.line->written.toHex(' '), sent.toHex(' '));
    QCOMPARE(b.clock.now / 1000, elapsedMs);
}

void TestLongFrames::identificationConversation() {
    FakeRig b(4);
    b.line->incoming = identificationScript("120345678901", 0x69);
    QString identity;
    QCOMPARE(int(b.ctx.link.ReadControllerIdentity(identity)), 0);
    const QByteArray run = request(32, hex("01"));
    const QByteArray chunk = request(16, hex("0040"));
    const QByteArray expected = run + request(32, hex("00")) + request(16, hex("0301AC53FF")) +
                                request(16, hex("0240301F")) + chunk + chunk + chunk + run;
    QCOMPARE(b.line->written.toHex(' '), expected.toHex(' '));
    // Pauses: 100 before each control try, 100 after letting run, 250 before the
    // enable, and 100 after the closing control request.
    QCOMPARE(b.clock.now / 1000, 750);
}

void TestLongFrames::cashRegisterFrames_data() {
    QTest::addColumn<int>("op"); // 0 ping, 1 read
    QTest::addColumn<QByteArray>("incoming");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("status");

    const QByteArray ping = hex("000700400000000141");
    QTest::newRow("ping answered") << 0 << hex("0004004001 41") << ping << 0;
    QTest::newRow("ping bad sum") << 0 << hex("0004004001 42") << ping << 3;
    QTest::newRow("ping silent") << 0 << QByteArray() << ping << 2;
    QByteArray readReply = hex("0043");
    readReply += QByteArray(66, char(0x02));
    readReply.append(char(66 * 2));
    readReply[2] = 0; // bytes 2..67 summed: 0 + 65 * 2
    readReply[68] = char(65 * 2);
    const QByteArray read = hex("0007004001 2080 40 21");
    QTest::newRow("read answered") << 1 << readReply << read << 0;
    QByteArray badRead = readReply;
    badRead[68] = char(badRead[68] + 1);
    QTest::newRow("read bad sum") << 1 << badRead << read << 3;
    QTest::newRow("read short") << 1 << readReply.left(60) << read << 2;
}

void TestLongFrames::cashRegisterFrames() {
    QFETCH(int, op);
    QFETCH(QByteArray, incoming);
    QFETCH(QByteArray, sent);
    QFETCH(int, status);
    FakeRig b(4);
    b.line->incoming = incoming;
    std::array<quint8, 69> buf{};
    const bool ok =
        op == 0 ? b.ctx.link.CashRegisterPing() : b.ctx.link.CashRegisterRead(1, 0x2080, buf);
    QCOMPARE(ok, status == 0);
    QCOMPARE(int(b.ctx.linkStatus), status);
    QCOMPARE(b.line->written.toHex(' '), sent.toHex(' '));
    QCOMPARE(b.line->purges, 1);
}

void TestLongFrames::cashRegisterSpeedChange() {
    FakeRig b(4);
    b.line->incoming = hex("000400400141");
    QVERIFY(b.ctx.link.CashRegisterSetSpeed(57600));
    QVERIFY(b.line->written.startsWith(hex("000500 0B080215")));
    QCOMPARE(b.line->baud, 57600);
    QCOMPARE(b.clock.now, 200000);
    QVERIFY(!b.ctx.link.CashRegisterSetSpeed(38400));
    QCOMPARE(int(b.ctx.linkStatus), 4);
}

QTEST_GUILESS_MAIN(TestLongFrames)
#include "tst_longframes.moc"
