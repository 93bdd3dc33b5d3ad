// "kia-bench test NAME" on the simulated bench with a virtual clock: verdicts,
// exit codes, JSON, faults from a script, questions and the version choice.

#include "cli/benchcli.h"
#include "core/benchcontext.h"
#include "sim/sampledata.h"
#include "sim/virtualclock.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

namespace {
struct Run {
    int code = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void init();
    void helpNamesTheTests();
    void badArguments_data();
    void badArguments();
    void verdicts_data();
    void verdicts();
    void badBlocksInJson();
    void busReportInText();
    void romWithVersion_data();
    void romWithVersion();

private:
    Run run(const QStringList& args, const QString& faults = QString());
    QTemporaryDir m_dir;
};

void TestCli::init() {
    QVERIFY(m_dir.isValid());
}

Run TestCli::run(const QStringList& args, const QString& faults) {
    Run r;
    QStringList all = args;
    if (!faults.isEmpty()) {
        const QString path = m_dir.filePath(QStringLiteral("faults.txt"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return r;
        f.write(faults.toUtf8());
        f.close();
        all = QStringList{QStringLiteral("--faults"), path} + all;
    }
    sim::VirtualClock clock;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    BenchCli cli(out, err, &clock);
    cli.context().workingFolder = m_dir.path() + QLatin1Char('/');
    r.code = cli.run(all);
    r.elapsedMs = clock.nowUs() / 1000;
    out.flush();
    err.flush();
    return r;
}

QStringList sim0(const QStringList& rest) {
    return QStringList{QStringLiteral("--port"), QStringLiteral("sim")} + rest;
}
QStringList simType(int type, const QStringList& rest) {
    return QStringList{QStringLiteral("-b"), QString::number(type), QStringLiteral("-p"),
                       QStringLiteral("sim")} +
           rest;
}
} // namespace

void TestCli::helpNamesTheTests() {
    const Run r = run({QStringLiteral("--help")});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("test ИМЯ [--version V] [--yes|--no] [--json]")));
    for (const char* name :
         {"bus", "rom", "ram", "timer", "flash", "flash2", "fp-blank", "fp-write", "ppi"})
        QVERIFY2(r.out.contains(QStringLiteral("      %1 ").arg(QLatin1String(name))), name);
}

void TestCli::badArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no test") << sim0({QStringLiteral("test")}) << QStringLiteral("укажите тест");
    QTest::newRow("unknown test") << sim0({QStringLiteral("test"), QStringLiteral("rum")})
                                  << QStringLiteral("неизвестный тест: rum");
    QTest::newRow("yes and no") << sim0({QStringLiteral("test"), QStringLiteral("ram"),
                                         QStringLiteral("--yes"), QStringLiteral("--no")})
                                << QStringLiteral("только один");
    QTest::newRow("version without value")
        << sim0({QStringLiteral("test"), QStringLiteral("rom"), QStringLiteral("--version")})
        << QStringLiteral("после --version");
}

void TestCli::badArguments() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run r = run(args);
    QCOMPARE(r.code, 64);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.elapsedMs, 0); // refused before the port was touched
}

void TestCli::verdicts_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("ram passes") << sim0({QStringLiteral("test"), QStringLiteral("ram"),
                                         QStringLiteral("--json")})
                                << QString() << 0 << QStringLiteral("pass") << QString();
    QTest::newRow("timer fails") << simType(2, {QStringLiteral("test"), QStringLiteral("timer"),
                                                QStringLiteral("--json")})
                                 << QStringLiteral("clock-stopped") << 1 << QStringLiteral("fail")
                                 << QStringLiteral("TIMER_CLKERROR");
    QTest::newRow("silent peer") << sim0({QStringLiteral("test"), QStringLiteral("bus"),
                                          QStringLiteral("--json")})
                                 << QStringLiteral("silence cmd=2 after=3") << 2
                                 << QStringLiteral("link") << QString();
    QTest::newRow("ФП write needs consent")
        << sim0({QStringLiteral("test"), QStringLiteral("fp-write"), QStringLiteral("--json")})
        << QString() << 1 << QStringLiteral("cancelled") << QString();
    QTest::newRow("ФП write with --yes")
        << sim0({QStringLiteral("test"), QStringLiteral("fp-write"), QStringLiteral("--yes"),
                 QStringLiteral("--json")})
        << QString() << 0 << QStringLiteral("pass") << QString();
    QTest::newRow("type 4 ФП blank")
        << simType(4, {QStringLiteral("--sim-dd5"), QStringLiteral("test"), QStringLiteral("test"),
                       QStringLiteral("fp-blank"), QStringLiteral("--json")})
        << QString() << 0 << QStringLiteral("pass") << QString();
    QTest::newRow("type 4 without test program")
        << simType(4, {QStringLiteral("test"), QStringLiteral("ram"), QStringLiteral("--json")})
        << QString() << 2 << QStringLiteral("link") << QString();
    QTest::newRow("PPI line") << simType(3, {QStringLiteral("test"), QStringLiteral("ppi"),
                                             QStringLiteral("--json")})
                              << QStringLiteral("ppi-low A.0") << 1 << QStringLiteral("fail")
                              << QStringLiteral("Управление DD15");
}

void TestCli::verdicts() {
    QFETCH(QStringList, args);
    QFETCH(QString, faults);
    QFETCH(int, code);
    QFETCH(QString, verdict);
    QFETCH(QString, keyword);
    const Run r = run(args, faults);
    QCOMPARE(r.code, code);
    const QJsonObject o = r.json();
    QCOMPARE(o.value(QStringLiteral("verdict")).toString(), verdict);
    QCOMPARE(o.value(QStringLiteral("keyword")).toString(), keyword);
    QCOMPARE(o.value(QStringLiteral("test")).toString(),
             args[args.lastIndexOf(QStringLiteral("test")) + 1]);
}

void TestCli::badBlocksInJson() {
    const Run r =
        run(sim0({QStringLiteral("test"), QStringLiteral("ram"), QStringLiteral("--json")}),
            QStringLiteral("ram-cell addr=0x1235 high=0x10"));
    QCOMPARE(r.code, 1);
    const QJsonObject o = r.json();
    QCOMPARE(o.value(QStringLiteral("keyword")).toString(), QStringLiteral("RAM_ERROR"));
    QCOMPARE(o.value(QStringLiteral("result")).toInt(), 2);
    const QJsonArray blocks = o.value(QStringLiteral("badBlocks")).toArray();
    QVERIFY(!blocks.isEmpty());
    const QJsonObject first = blocks.first().toObject();
    QCOMPARE(first.value(QStringLiteral("block")).toString(), QStringLiteral("0x01200"));
    QCOMPARE(first.value(QStringLiteral("pattern")).toInt(), 1);
    const QJsonArray read = first.value(QStringLiteral("read")).toArray();
    const QJsonArray expected = first.value(QStringLiteral("expected")).toArray();
    QCOMPARE(read.size(), 8);
    QCOMPARE(read[3].toString(),
             QStringLiteral("01230  00 43 00 45 00 57 00 49 - 00 4B 00 4D 00 4F 00 51"));
    QCOMPARE(expected[3].toString(),
             QStringLiteral("01230  00 43 00 45 00 47 00 49 - 00 4B 00 4D 00 4F 00 51"));
    // Every step ran through: seven nominal RAM steps on the virtual clock.
    QVERIFY(r.elapsedMs >= 6 * 1300);
}

void TestCli::busReportInText() {
    const Run r =
        run(sim0({QStringLiteral("test"), QStringLiteral("bus")}), QStringLiteral("port-low 3.5"));
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.contains(QStringLiteral("Тест шин контроллера не прошел !")));
    QVERIFY(r.out.contains(QStringLiteral("  Порт 3  -  DD3 : 10 11 12 13 14 15 16 17")));
    QVERIFY(r.out.contains(QStringLiteral("Итог: НЕ ПРОШЕЛ")));
    QVERIFY(r.out.contains(QStringLiteral("Код неисправности: BUS_ERROR")));
    QVERIFY(r.out.contains(QStringLiteral("Проверте цепь контакта DD3/15\n")));
    QVERIFY(r.err.contains(QStringLiteral("[0/32] Тест шин контроллера...")));
}

void TestCli::romWithVersion_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("name of the board's version")
        << QStringLiteral("2.20") << 0 << QStringLiteral("pass");
    QTest::newRow("file of the board's version")
        << QStringLiteral("v220.prg") << 0 << QStringLiteral("pass");
    QTest::newRow("another version") << QStringLiteral("3.01") << 1 << QStringLiteral("fail");
    QTest::newRow("older than 2.10")
        << QStringLiteral("меньше 2.10") << 0 << QStringLiteral("pass");
    QTest::newRow("file outside the folder")
        << QStringLiteral("../v220.prg") << 1 << QStringLiteral("file");
    QTest::newRow("missing file") << QStringLiteral("v999.prg") << 1 << QStringLiteral("file");
}

void TestCli::romWithVersion() {
    QFETCH(QString, version);
    QFETCH(int, code);
    QFETCH(QString, verdict);
    for (const sim::DataFile& f : sim::sampleDataFiles()) {
        QFile file(m_dir.filePath(f.name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(f.bytes);
    }
    const Run r =
        run(sim0({QStringLiteral("test"), QStringLiteral("rom"), QStringLiteral("--version"),
                  version, QStringLiteral("--no"), QStringLiteral("--json")}));
    QCOMPARE(r.code, code);
    QCOMPARE(r.json().value(QStringLiteral("verdict")).toString(), verdict);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_clitest.moc"
