// kia-bench probe and stimulus on the simulated bench with a virtual clock.

// Argument lists are plain ASCII.
#undef QT_NO_CAST_FROM_ASCII

#include "cli/benchcli.h"
#include "core/benchcontext.h"
#include "sim/bench.h"
#include "sim/probe.h"
#include "sim/virtualclock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

Q_DECLARE_METATYPE(std::function<void(sim::Bench&)>)

namespace {
struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList& args, const std::function<void(sim::Bench&)>& before = {}) {
    Run r;
    sim::VirtualClock clock;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    BenchCli cli(out, err, &clock);
    if (before)
        before(cli.simBench());
    r.code = cli.run(args);
    out.flush();
    err.flush();
    return r;
}

QStringList simArgs(int boardType, const QStringList& rest) {
    QStringList args{QStringLiteral("-b"), QString::number(boardType), QStringLiteral("-p"),
                     QStringLiteral("sim")};
    if (boardType == 4)
        args << QStringLiteral("--sim-dd5") << QStringLiteral("test");
    return args + rest;
}

void tip(sim::Bench& bench, quint8 level) { bench.probe().setTipLevel(level); }
} // namespace

class TestInstrumentCli : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void peripheral_data();
    void peripheral();
};

void TestInstrumentCli::commands_data() {
    using Setup = std::function<void(sim::Bench&)>;
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const Setup none = [](sim::Bench&) {};
    QTest::newRow("open tip") << 0 << QStringList{"probe"} << none << 0
                              << QStringLiteral("Высокоимпедансное состояние.\n") << QString();
    QTest::newRow("logic 1") << 0 << QStringList{"probe"} << Setup([](sim::Bench& b) { tip(b, 1); })
                             << 0 << QStringLiteral("Уровень лог.\"1\".\n") << QString();
    QTest::newRow("+12 V on type 4")
        << 4 << QStringList{"probe"} << Setup([](sim::Bench& b) { tip(b, 2); }) << 0
        << QStringLiteral("Уровень +12B.\n") << QString();
    QTest::newRow("broken probe: status 100")
        << 0 << QStringList{"probe"} << Setup([](sim::Bench& b) {
               tip(b, 1);
               b.probe().setBroken(true);
           })
        << 2 << QString() << QStringLiteral("Неисправна линия DSR или CTS порта");
    QTest::newRow("pulse 1")
        << 0 << QStringList{"probe", "--pulse", "1"} << Setup([](sim::Bench& b) {
               tip(b, 1);
               sim::Probe::PulseWiring w;
               w.connected = true;
               w.activeLevel = 0;
               b.probe().setPulseWiring(w);
           })
        << 0 << QStringLiteral("Импульс уровня лог.\"0\", длител. 8.0ms \n") << QString();
    QTest::newRow("pulse on an open tip") << 0 << QStringList{"probe", "--pulse", "0"} << none << 0
                                          << QStringLiteral("Высокоимпедансное состояние.\n")
                                          << QString();
    QTest::newRow("pulse 3 refused") << 0 << QStringList{"probe", "--pulse", "3"} << none << 64
                                     << QString() << QStringLiteral("--pulse 0, 1 или 2");
    QTest::newRow("stimulus row 5 with three values")
        << 0 << QStringList{"stimulus", "5", "--input", "1,2,0"} << none << 0
        << QStringLiteral("Стимул 5 выполнен\n") << QString();
    QTest::newRow("stimulus row 24 on type 4") << 4 << QStringList{"stimulus", "24"} << none << 0
                                               << QStringLiteral("Стимул 24 выполнен\n")
                                               << QString();
    QTest::newRow("row past the table") << 0 << QStringList{"stimulus", "25"} << none << 64
                                        << QString() << QStringLiteral("от 0 до 24");
    QTest::newRow("bad input value") << 0 << QStringList{"stimulus", "17", "--input", "1,x"}
                                     << none << 64 << QString()
                                     << QStringLiteral("неверное значение входа: x");
    QTest::newRow("silent test program: link text")
        << 4 << QStringList{"stimulus", "3"} << Setup([](sim::Bench& b) {
               b.setDd5StartState(sim::Dd5Controller::StartState::CashSoftware);
           })
        << 2 << QString() << QStringLiteral("Com");
}

void TestInstrumentCli::commands() {
    using Setup = std::function<void(sim::Bench&)>;
    QFETCH(int, boardType);
    QFETCH(QStringList, args);
    QFETCH(Setup, setup);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QStringList full = simArgs(boardType, args);
    if (QTest::currentDataTag() == QByteArray("silent test program: link text"))
        full.removeAll(QStringLiteral("--sim-dd5")), full.removeAll(QStringLiteral("test"));
    const Run r = runCli(full, setup);
    QTEST(r.code, "code");
    QCOMPARE(r.out, out);
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
}

void TestInstrumentCli::peripheral_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("faults"); // a fault-script line, or empty
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out"); // a part of stdout
    QTest::addColumn<QString>("err"); // a part of stderr

    QTest::newRow("whole test, good board")
        << 0 << QStringList{"periph", "--no"} << QString() << 0
        << QStringLiteral("20 Импульс печати ТПГ (макс. программный). норма\n") << QString();
    QTest::newRow("type 4 from row 26, JSON")
        << 4 << QStringList{"periph", "--from", "26", "--json"} << QString() << 0
        << QStringLiteral("\"final\":\"Тест прошел !\"") << QString();
    QTest::newRow("a stuck output: the error fields, the test goes on")
        << 0 << QStringList{"periph", "--from", "9", "--no"} << QStringLiteral("circuit-low X3/9")
        << 1 << QStringLiteral("   Считанное значение выхода : Уровень лог.\"0\".\n") << QString();
    QTest::newRow("a shorted pin names the pin")
        << 0 << QStringList{"periph", "--from", "9", "--json"}
        << QStringLiteral("pin-short DD3/21 X3/9") << 1
        << QStringLiteral("выводе     DD3/21 уровня лог.\\\"0\\\"") << QString();
    QTest::newRow("probe self-test") << 0 << QStringList{"probe-test"} << QString() << 0
                                     << QStringLiteral(" 4 Проверка формирователя лог. уровней. норма")
                                     << QString(); // the boxes go to the terminal
    QTest::newRow("broken probe") << 3 << QStringList{"probe-test"} << QStringLiteral("probe-broken")
                                  << 2 << QStringLiteral(" 0 Высокоимпедансное состояние(проверка "
                                                         "пробника). обрыв связи")
                                  << QString();
    QTest::newRow("row past the table") << 0 << QStringList{"periph", "--from", "28"} << QString()
                                        << 64 << QString() << QStringLiteral("0..27");
    QTest::newRow("absent row") << 0 << QStringList{"periph", "--from", "13"} << QString() << 64
                                << QString() << QStringLiteral("нет цепи 13");
    QTest::newRow("unknown argument") << 0 << QStringList{"periph", "--maybe"} << QString() << 64
                                      << QString() << QStringLiteral("неизвестный аргумент");
    QTest::newRow("both answers") << 0 << QStringList{"periph", "--yes", "--no"} << QString() << 64
                                  << QString() << QStringLiteral("один раз");
    QTest::newRow("probe at +12 V") << 0 << QStringList{"--probe-at", "X3/7", "probe"} << QString()
                                    << 0 << QStringLiteral("Уровень +12B.\n") << QString();
    QTest::newRow("probe at no point of the board")
        << 0 << QStringList{"--probe-at", "X9/99", "probe"} << QString() << 64 << QString()
        << QStringLiteral("нет контрольной точки \"X9/99\"");
}

void TestInstrumentCli::peripheral() {
    QFETCH(int, boardType);
    QFETCH(QStringList, args);
    QFETCH(QString, faults);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QStringList full = simArgs(boardType, {});
    QTemporaryDir dir;
    if (!faults.isEmpty()) {
        QFile f(dir.filePath("faults.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(faults.toUtf8() + "\n");
        f.close();
        full << "--faults" << f.fileName();
    }
    full += args;
    Run r;
    {
        sim::VirtualClock clock;
        QTextStream o(&r.out);
        QTextStream e(&r.err);
        BenchCli cli(o, e, &clock);
        cli.context().workingFolder = qEnvironmentVariable("KIA_SOURCE_DIR") + "/data/";
        r.code = cli.run(full);
        o.flush();
        e.flush();
    }
    QTEST(r.code, "code");
    QVERIFY2(r.out.contains(out), qPrintable(r.out.right(600)));
    QVERIFY2(r.err.contains(err), qPrintable(r.err.right(600)));
}

QTEST_GUILESS_MAIN(TestInstrumentCli)
#include "tst_instrumentcli.moc"
