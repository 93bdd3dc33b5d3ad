// kia-bench refuses every bad command line before it opens a port: with a
// device that does not exist, a bad line exits 64 with its message (a port
// opened first would make it exit 2), a good one fails on the port.

#include "cli/benchcli.h"
#include "sim/virtualclock.h"

#include <QTest>

using namespace kia;

namespace {
struct Run {
    int code = -1;
    QString err;
};

Run runCli(const QStringList& args)
{
    Run r;
    QString out;
    sim::VirtualClock clock;
    QTextStream outStream(&out);
    QTextStream errStream(&r.err);
    BenchCli cli(outStream, errStream, &clock);
    r.code = cli.run(QStringList{QStringLiteral("--port"), QStringLiteral("/dev/nonexistent")} +
                     args);
    errStream.flush();
    return r;
}

QStringList words(const char* line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

class TestRefusedCommandLines : public QObject {
    Q_OBJECT

private slots:
    void refusedBeforeThePortOpens_data();
    void refusedBeforeThePortOpens();
    void goodLinesReachThePort_data();
    void goodLinesReachThePort();
};

void TestRefusedCommandLines::refusedBeforeThePortOpens_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    const auto row = [](const char* line, const char* message) {
        QTest::newRow(line) << words(line) << QString::fromUtf8(message);
    };
    // The basic commands.
    row("read-mem zz 4", "read-mem ADDR LEN");
    row("read-port 4", "read-port P");
    row("identify", "identify работает только с платой типа 4");
    // The board tests.
    row("test", "test ИМЯ");
    row("test nosuchtest", "неизвестный тест: nosuchtest");
    row("test rom --now", "неизвестный параметр теста: --now");
    // Service operations.
    row("-b 4 save-fp", "save-fp FILE: укажите один файл");
    row("-b 4 restore-eeprom a.bin b.bin", "restore-eeprom FILE: укажите один файл");
    row("-b 4 clear-fp extra", "clear-fp: лишние аргументы");
    row("-b 0 save-fp fp.bin", "save-fp: только для платы типа 4");
    row("-b 4 update prog.bin --force", "неизвестный параметр: --force");
    row("-b 4 verify prog.bin --sim-speed 1200", "--sim-speed: 9600, 19200, 57600 или 115200");
    row("-b 4 verify prog.bin --sim-speed", "--sim-speed: 9600, 19200, 57600 или 115200");
    // Instruments.
    row("probe --pulse 3", "probe: ожидается --pulse 0, 1 или 2");
    row("probe extra", "probe: ожидается --pulse 0, 1 или 2");
    row("stimulus", "stimulus: номер строки от 0 до 24");
    row("stimulus 25", "stimulus: номер строки от 0 до 24");
    row("stimulus 3 --input 1,zz", "stimulus: неверное значение входа: zz");
    row("stimulus 3 4", "stimulus: ожидается ROW [--input V[,V...]]");
    // The indicator.
    row("segment-test", "segment-test 0|1");
    row("segment-test 2", "segment-test 0|1");
    row("segment-test 0 1", "segment-test 0|1");
    // Diagnostics.
    row("diagnose", "diagnose ИМЯ: укажите имя сценария");
    row("diagnose RAM_ERROR --answers pass,maybe", "--answers: неизвестный ответ: maybe");
    row("diagnose RAM_ERROR --start middle", "--start: common, osc или probe: middle");
    row("diagnose RAM_ERROR --answers back=x", "--answers: неизвестный ответ: back=x");
    row("scenario RAM_ERROR --kind 3", "--kind: 0, 1 или 2: 3");
    row("lint --what", "lint: лишний аргумент: --what");
    row("frobnicate", "неизвестная команда: frobnicate");
}

void TestRefusedCommandLines::refusedBeforeThePortOpens()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run r = runCli(args);
    QCOMPARE(r.code, int(ExitUsage));
    QVERIFY2(r.err.startsWith(QStringLiteral("kia-bench: ") + message), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("kia-bench --help")), qPrintable(r.err));
}

void TestRefusedCommandLines::goodLinesReachThePort_data()
{
    QTest::addColumn<QStringList>("args");
    for (const char* line : {"ping", "probe", "probe --pulse 2", "stimulus 3 --input 1,2",
                             "segment-test 1", "-b 4 clear-fp", "-b 4 verify prog.bin --sim-speed 19200",
                             "test rom"})
        QTest::newRow(line) << words(line);
}

void TestRefusedCommandLines::goodLinesReachThePort()
{
    QFETCH(QStringList, args);
    const Run r = runCli(args);
    QCOMPARE(r.code, int(ExitLinkFailure));
    QVERIFY2(r.err.contains(QStringLiteral("/dev/nonexistent")), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestRefusedCommandLines)
#include "tst_refusedcommandlines.moc"
