// kia-bench end to end on the simulated bench with a virtual clock: outputs,
// exit codes, the trace and the refusal of bad command lines.

#include "cli/benchcli.h"
#include "cli/hexdump.h"
#include "core/benchcontext.h"
#include "sim/bench.h"
#include "sim/fault.h"
#include "sim/virtualclock.h"

#include <QTemporaryFile>
#include <QTest>

using namespace kia;

namespace {
struct Run {
    int code = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

Run runCli(const QStringList& args, const std::function<void(BenchCli&)>& before = {})
{
    Run r;
    sim::VirtualClock clock;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    BenchCli cli(out, err, &clock);
    if (before)
        before(cli);
    const qint64 start = clock.nowUs();
    r.code = cli.run(args);
    r.elapsedMs = (clock.nowUs() - start) / 1000;
    out.flush();
    err.flush();
    return r;
}
const QStringList kSim0{QStringLiteral("--board"), QStringLiteral("0"), QStringLiteral("--port"), QStringLiteral("sim")};
const QStringList kSim4{QStringLiteral("-b"), QStringLiteral("4"), QStringLiteral("-p"), QStringLiteral("sim")};
} // namespace

class TestBenchCli : public QObject {
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void silentPeerPrintsStatusText();
    void traceShowsBothDirections();
    void faultScriptFromFile();
    void memoryRoundTrip();
    void numbers_data();
    void numbers();
};

void TestBenchCli::commands_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("outContains");
    QTest::addColumn<QString>("errContains");

    QTest::newRow("ping type 0") << kSim0 + QStringList{QStringLiteral("ping")} << 0 << QStringLiteral("Связь есть") << QString();
    QTest::newRow("identify type 4") << kSim4 + QStringList{QStringLiteral("identify")} << 0
                                     << QStringLiteral("230607091405") << QString();
    QTest::newRow("identify without test program digits")
        << kSim4 + QStringList{QStringLiteral("--sim-dd5"), QStringLiteral("noid"), QStringLiteral("identify")} << 1
        << QString() << QStringLiteral("еще не записана тест-программа");
    QTest::newRow("ping type 4 with the test program")
        << kSim4 + QStringList{QStringLiteral("--sim-dd5"), QStringLiteral("test"), QStringLiteral("ping")} << 0
        << QStringLiteral("Связь есть") << QString();
    QTest::newRow("ping type 4 before the test program") << kSim4 + QStringList{QStringLiteral("ping")} << 2
        << QString() << QStringLiteral("Com1: Нет связи с контроллером БУ !");
    QTest::newRow("identify on type 0") << kSim0 + QStringList{QStringLiteral("identify")} << 64 << QString()
                                        << QStringLiteral("только с платой типа 4");
    QTest::newRow("read-port 3") << kSim0 + QStringList{QStringLiteral("read-port"), QStringLiteral("3")} << 0
                                 << QStringLiteral("порт 3 = 0x") << QString();
    QTest::newRow("read-port 4 refused") << kSim0 + QStringList{QStringLiteral("read-port"), QStringLiteral("4")} << 64
                                         << QString() << QStringLiteral("порт от 0 до 3");
    QTest::newRow("write-port") << kSim0 + QStringList{QStringLiteral("write-port"), QStringLiteral("1"), QStringLiteral("0x0F"), QStringLiteral("0xFF")}
                                << 0 << QString() << QString();
    QTest::newRow("port 9 refused") << QStringList{QStringLiteral("-p"), QStringLiteral("COM9"), QStringLiteral("ping")} << 64
                                    << QString() << QStringLiteral("от 1 до 8");
    QTest::newRow("board 5 refused") << QStringList{QStringLiteral("-b"), QStringLiteral("5"), QStringLiteral("ping")} << 64
                                     << QString() << QStringLiteral("от 0 до 4");
    QTest::newRow("no command") << kSim0 << 64 << QString() << QStringLiteral("не указана команда");
    QTest::newRow("unknown command") << kSim0 + QStringList{QStringLiteral("frobnicate")} << 64 << QString()
                                     << QStringLiteral("неизвестная команда");
    QTest::newRow("read past the end") << kSim0 + QStringList{QStringLiteral("read-mem"), QStringLiteral("0xFFF0"), QStringLiteral("32")} << 64
                                       << QString() << QStringLiteral("read-mem");
    QTest::newRow("byte too big") << kSim0 + QStringList{QStringLiteral("write-mem"), QStringLiteral("0"), QStringLiteral("256")} << 64
                                  << QString() << QStringLiteral("неверный байт");
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("Коды завершения") << QString();
    QTest::newRow("missing device") << QStringList{QStringLiteral("-p"), QStringLiteral("/dev/kia-none"), QStringLiteral("ping")} << 2
                                    << QString() << QStringLiteral("/dev/kia-none: Ошибка инициализации !");
    // The command line is refused before the missing device is even tried.
    QTest::newRow("bad address before the port")
        << QStringList{QStringLiteral("-p"), QStringLiteral("/dev/kia-none"), QStringLiteral("read-mem"), QStringLiteral("zz"), QStringLiteral("4")}
        << 64 << QString() << QStringLiteral("read-mem ADDR LEN");
    QTest::newRow("bad byte before the port")
        << QStringList{QStringLiteral("-p"), QStringLiteral("/dev/kia-none"), QStringLiteral("write-mem"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("x")}
        << 64 << QString() << QStringLiteral("неверный байт: x");
    QTest::newRow("unknown command before the port")
        << QStringList{QStringLiteral("-p"), QStringLiteral("/dev/kia-none"), QStringLiteral("frobnicate")}
        << 64 << QString() << QStringLiteral("неизвестная команда");
    QTest::newRow("identify on type 0 before the port")
        << QStringList{QStringLiteral("-p"), QStringLiteral("/dev/kia-none"), QStringLiteral("identify")}
        << 64 << QString() << QStringLiteral("только с платой типа 4");
    QTest::newRow("double prefix") << kSim0 + QStringList{QStringLiteral("read-mem"), QStringLiteral("0x0x10"), QStringLiteral("4")} << 64
                                   << QString() << QStringLiteral("read-mem ADDR LEN");
}

void TestBenchCli::commands()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, outContains);
    QFETCH(QString, errContains);
    const Run r = runCli(args);
    QVERIFY2(r.code == code, qPrintable(r.out + r.err));
    if (!outContains.isEmpty())
        QVERIFY2(r.out.contains(outContains), qPrintable(r.out));
    if (!errContains.isEmpty())
        QVERIFY2(r.err.contains(errContains), qPrintable(r.err));
}

void TestBenchCli::silentPeerPrintsStatusText()
{
    const Run r = runCli(kSim0 + QStringList{QStringLiteral("ping")}, [](BenchCli& cli) {
        cli.simBench().addFault(sim::Fault::silence());
    });
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err, QStringLiteral("Com1: Нет связи с тестовым процессором !    \n"));
    QVERIFY(r.elapsedMs >= 1000 && r.elapsedMs < 1100);
}

void TestBenchCli::traceShowsBothDirections()
{
    const Run r = runCli(kSim0 + QStringList{QStringLiteral("--trace"), QStringLiteral("read-port"), QStringLiteral("0")});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.contains(QStringLiteral("PC>  02 00 00 00 FF 00 FE")), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral(" <PC FE")), qPrintable(r.err));
}

void TestBenchCli::faultScriptFromFile()
{
    QTemporaryFile script;
    QVERIFY(script.open());
    script.write("# every ReadPort gets a bad acknowledge\nwrong-ack cmd=2 always\n");
    script.flush();
    const Run bad = runCli(kSim0 + QStringList{QStringLiteral("--faults"), script.fileName(), QStringLiteral("ping")});
    QCOMPARE(bad.code, 2);
    QVERIFY2(bad.err.contains(QStringLiteral("Ошибка приема/передачи !")), qPrintable(bad.err));

    QTemporaryFile broken;
    QVERIFY(broken.open());
    broken.write("explode now\n");
    broken.flush();
    const Run refused = runCli(kSim0 + QStringList{QStringLiteral("--faults"), broken.fileName(), QStringLiteral("ping")});
    QCOMPARE(refused.code, 64);

    // A huge line is named, not echoed whole: its start and the end of the message show.
    QTemporaryFile huge;
    QVERIFY(huge.open());
    huge.write("bogus" + QByteArray(1 << 20, 'x') + "end\n");
    huge.flush();
    const Run cut = runCli(kSim0 + QStringList{QStringLiteral("--faults"), huge.fileName(), QStringLiteral("ping")});
    QCOMPARE(cut.code, 64);
    const QString line = cut.err.section(u'\n', 0, 0);
    QVERIFY2(line.size() < 400, qPrintable(QString::number(line.size())));
    QVERIFY2(line.contains(QStringLiteral("Строка 1: неизвестная неисправность \"bogusxxx")) &&
                 line.contains(QStringLiteral("…")) && line.endsWith(QStringLiteral("xxxend\".")),
             qPrintable(line));
}

void TestBenchCli::memoryRoundTrip()
{
    // 300 bytes: more than one frame can carry, so the tool must split them.
    QStringList write = kSim0 + QStringList{QStringLiteral("write-mem"), QStringLiteral("0x0100")};
    QByteArray expected;
    for (int i = 0; i < 300; ++i) {
        write << QString::number((i * 7) & 0xFF);
        expected.append(char((i * 7) & 0xFF));
    }
    sim::VirtualClock clock;
    QString out, err;
    QTextStream o(&out), e(&err);
    BenchCli cli(o, e, &clock);
    QCOMPARE(cli.run(write), 0);
    // The port stays open on the same simulated board: read it back.
    std::array<quint8, 255> back{};
    QVERIFY(cli.context().link.ReadMemory(0x0100, back));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(back.data()), 255), expected.left(255));
    std::array<quint8, 45> tail{};
    QVERIFY(cli.context().link.ReadMemory(0x0100 + 255, tail));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(tail.data()), 45), expected.mid(255));

    const QStringList rows = hexDump(0x0100, QByteArray::fromHex("00010203040506074142434445464748"));
    QCOMPARE(rows.first(), QStringLiteral("0100  00 01 02 03 04 05 06 07 - 41 42 43 44 45 46 47 48  |........ABCDEFGH|"));
}

void TestBenchCli::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint32>("value");
    QTest::newRow("decimal") << QStringLiteral("255") << true << 255u;
    QTest::newRow("0x") << QStringLiteral("0x1F") << true << 0x1Fu;
    QTest::newRow("h suffix") << QStringLiteral("7FFFh") << true << 0x7FFFu;
    QTest::newRow("dollar") << QStringLiteral("$C0") << true << 0xC0u;
    QTest::newRow("too big") << QStringLiteral("0x10000") << false << 0u;
    QTest::newRow("negative") << QStringLiteral("-1") << false << 0u;
    QTest::newRow("empty") << QString() << false << 0u;
    QTest::newRow("junk") << QStringLiteral("12zz") << false << 0u;
    QTest::newRow("hex digits in decimal") << QStringLiteral("1F") << false << 0u;
    QTest::newRow("double 0x") << QStringLiteral("0x0x10") << false << 0u;
    QTest::newRow("0x and h") << QStringLiteral("0x10h") << false << 0u;
    QTest::newRow("dollar and 0x") << QStringLiteral("$0x10") << false << 0u;
    QTest::newRow("plus sign") << QStringLiteral("+5") << false << 0u;
    QTest::newRow("blank inside") << QStringLiteral("0x1 0") << false << 0u;
    QTest::newRow("blanks around") << QStringLiteral(" 0x10 ") << true << 0x10u;
}

void TestBenchCli::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(quint32, value);
    quint32 v = 0;
    QCOMPARE(parseNumber(text, 0xFFFF, v), ok);
    if (ok)
        QCOMPARE(v, value);
}

QTEST_GUILESS_MAIN(TestBenchCli)
#include "tst_benchcli.moc"
