// "kia-bench scenario", "diagnose" and "lint" with the workstation's loader
// and engine, on the simulated bench with a virtual clock.
#undef QT_NO_CAST_FROM_ASCII

#include "cli/benchcli.h"
#include "cli/diagnlint.h"
#include "core/benchcontext.h"
#include "core/cp1251.h"
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
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

const QString kFile =
    "IDIAGN31 T-Неисправность ОЗУ;D1-RAM_ERROR\n"
    "PDIAGN31 RAM_ERROR\n"
    "1: P-DD3/20;T-Проверьте \"CS\"\\\n"
    "   на выводе 20;PASS-2;FAIL0-3;FAIL1-3\n"
    "2: TEST_RAM\n"
    "3: T-Замените ###\n"
    "END\n"
    "ODIAGN31 NO_CONNECT\n"
    "1: P-DD3/20;T-Осциллограмма {CS} на DD3;PASS-2;FAILNEW0-OTHER\n"
    "2: T-Связь есть\n"
    "END\n";
} // namespace

class TestDiagnCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void scenarioTable();
    void scenarioFailures_data();
    void scenarioFailures();
    void scenarioDot();
    void diagnose_data();
    void diagnose();
    void diagnoseTestStepAgainstAFaultyBoard();
    void lintFindings();
    void lintStepFile_data();
    void lintStepFile();
    void lintHeaderNames_data();
    void lintHeaderNames();
    void shippedScenarioFile_data();
    void shippedScenarioFile();

private:
    Run run(const QStringList& args, const QString& faults = QString());
    QTemporaryDir m_dir;
};

void TestDiagnCommands::init() {
    QVERIFY(m_dir.isValid());
    QFile f(m_dir.filePath("kia_nelta2.dgn"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(toCp1251(kFile));
    f.close();
    QFile::remove(m_dir.filePath("kia_nelta2.dot"));
    QVERIFY(QFile::copy(qEnvironmentVariable("KIA_SOURCE_DIR") + "/data/kia_nelta2.dot",
                        m_dir.filePath("kia_nelta2.dot")));
}

Run TestDiagnCommands::run(const QStringList& args, const QString& faults) {
    Run r;
    QStringList all = args;
    if (!faults.isEmpty()) {
        QFile f(m_dir.filePath("faults.txt"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return r;
        f.write(faults.toUtf8());
        f.close();
        all = QStringList{"--faults", f.fileName()} + all;
    }
    sim::VirtualClock clock;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    BenchCli cli(out, err, &clock);
    cli.context().workingFolder = m_dir.path() + QLatin1Char('/');
    r.code = cli.run(all);
    out.flush();
    err.flush();
    return r;
}

void TestDiagnCommands::scenarioTable() {
    const Run r = run({"scenario", "RAM_ERROR", "--kind", "2"});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.lines().size(), 1);
    // Field order is part of the contract.
    QVERIFY(r.out.startsWith("{\"scenario\": \"RAM_ERROR\", \"kind\": 2, \"nodes\": [{\"index\": 1, "
                             "\"kind\": 1, \"parent\": 0, \"branch\": 0, \"links\": [2, 3, 3], "
                             "\"next\": [\"\", \"\", \"\"], \"name\": \"DD3/20\", \"text\": "
                             "\"Проверьте \\\"CS\\\"\\nна выводе 20\"}"));
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonArray nodes = o["nodes"].toArray();
    QCOMPARE(nodes.size(), 3);
    QCOMPARE(nodes[1].toObject()["kind"].toInt(), 3);
    QCOMPARE(nodes[1].toObject()["links"].toArray()[0].toInt(), 2); // a TEST step's own number
    QCOMPARE(nodes[2].toObject()["text"].toString(), QStringLiteral("Замените ###"));

    const Run other = run({"scenario", "NO_CONNECT", "--kind", "1"});
    const QJsonObject n1 =
        QJsonDocument::fromJson(other.out.toUtf8()).object()["nodes"].toArray()[0].toObject();
    QCOMPARE(n1["links"].toArray()[1].toInt(), -1);
    QCOMPARE(n1["next"].toArray()[1].toString(), QStringLiteral("OTHER"));
}

void TestDiagnCommands::scenarioFailures_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("wrong kind") << QStringList{"scenario", "RAM_ERROR"} << 1;
    QTest::newRow("board outside the mask")
        << QStringList{"-b", "4", "scenario", "NO_CONNECT", "--kind", "1", "--file", "none.dgn"} << 1;
    QTest::newRow("kind out of range") << QStringList{"scenario", "RAM_ERROR", "--kind", "3"} << 64;
    QTest::newRow("no name") << QStringList{"scenario"} << 64;
}

void TestDiagnCommands::scenarioFailures() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    const Run r = run(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    if (code == 1)
        QCOMPARE(r.err, QStringLiteral("Ошибка загрузки !  \n"));
}

void TestDiagnCommands::scenarioDot() {
    const Run r = run({"scenario", "RAM_ERROR", "--kind", "2", "--dot"});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.startsWith("digraph \"RAM_ERROR\" {"));
    QVERIFY(r.out.contains("n1 -> n2 [label=\"PASS\"];"));
    QVERIFY(r.out.contains("n1 -> n3 [label=\"FAIL1\"];"));
    QVERIFY(!r.out.contains("n2 -> ")); // a TEST step's links are never followed
}

void TestDiagnCommands::diagnose_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("a path to its end with a TEST step on the simulator")
        << QStringList{"diagnose", "RAM_ERROR", "--answers", "pass,pass"} << 0
        << QStringList{
               "{\"scenario\": \"RAM_ERROR\", \"kind\": 2, \"node\": 1, \"dialog\": \"probe\", "
               "\"mode\": null, \"point\": \"DD3/20\", \"text\": \"Проверьте \\\"CS\\\"\\nна выводе "
               "20\", \"history\": []}",
               "{\"test\": \"TEST_RAM\", \"result\": 1}",
               "{\"scenario\": \"RAM_ERROR\", \"kind\": 2, \"node\": 3, \"dialog\": \"probe\", "
               "\"mode\": null, \"point\": \"\", \"text\": \"Замените ###\", \"history\": "
               "[[\"DD3/20\", \"PASS\"], [\"TEST_RAM\", \"PASS\"]]}",
               "{\"end\": \"path\", \"message\": \"\"}"};
    QTest::newRow("answers run out: stopped")
        << QStringList{"diagnose", "RAM_ERROR", "--start", "probe", "--answers", "fail1"} << 0
        << QStringList{
               "{\"scenario\": \"RAM_ERROR\", \"kind\": 2, \"node\": 1, \"dialog\": \"probe\", "
               "\"mode\": null, \"point\": \"DD3/20\", \"text\": \"Проверьте \\\"CS\\\"\\nна выводе "
               "20\", \"history\": []}",
               "{\"scenario\": \"RAM_ERROR\", \"kind\": 2, \"node\": 1, \"dialog\": \"probe\", "
               "\"mode\": null, \"point\": \"\", \"text\": \"Замените DD3/20\", \"history\": "
               "[[\"DD3/20\", \"FAIL1\"]]}",
               "{\"end\": \"stopped\", \"message\": \"\"}"};
    QTest::newRow("oscilloscope start: braces cut, mode, FAILNEW to a missing scenario")
        << QStringList{"diagnose", "NO_CONNECT", "--start", "osc", "--answers", "fail0,pass"} << 1
        << QStringList{
               "{\"scenario\": \"NO_CONNECT\", \"kind\": 1, \"node\": 1, \"dialog\": "
               "\"oscilloscope\", \"mode\": 2, \"point\": \"DD3/20\", \"text\": \"Осциллограмма  на "
               "DD3\", \"history\": []}",
               "{\"end\": \"error\", \"message\": \"Ошибка загрузки !  \"}"};
    QTest::newRow("load failure")
        << QStringList{"diagnose", "ROM_ERROR", "--answers", "pass"} << 1
        << QStringList{"{\"end\": \"error\", \"message\": \"Ошибка загрузки !  \"}"};
    QTest::newRow("stop and back") << QStringList{"diagnose", "RAM_ERROR", "--answers",
                                                  "fail0,back=0,stop"}
                                   << 0
                                   << QStringList{"", "", "", "{\"end\": \"stopped\", \"message\": \"\"}"};
}

void TestDiagnCommands::diagnose() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QStringList, lines);
    const Run r = run(args);
    QCOMPARE(r.code, code);
    const QStringList got = r.lines();
    QCOMPARE(got.size(), lines.size());
    for (int i = 0; i < got.size(); ++i) {
        if (!lines[i].isEmpty())
            QCOMPARE(got[i], lines[i]);
        QVERIFY(!QJsonDocument::fromJson(got[i].toUtf8()).isNull());
    }
}

void TestDiagnCommands::diagnoseTestStepAgainstAFaultyBoard() {
    const Run r = run({"diagnose", "RAM_ERROR", "--answers", "pass"}, "ram-cell addr=0x0101 low=0x01\n");
    QCOMPARE(r.code, 0);
    const QStringList l = r.lines();
    QCOMPARE(l.size(), 4);
    QCOMPARE(l[3], QStringLiteral("{\"end\": \"stopped\", \"message\": \"\"}"));
    QCOMPARE(l[1], QStringLiteral("{\"test\": \"TEST_RAM\", \"result\": 2}"));
    // The failed test continues in RAM_ERROR as a common scenario first, then
    // as the current kind: the probe scenario again, from step 1.
    QCOMPARE(QJsonDocument::fromJson(l[2].toUtf8()).object()["node"].toInt(), 1);
}

void TestDiagnCommands::lintFindings() {
    const Run r = run({"lint"});
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.contains("шаг 1: переход FAIL0 в сценарий OTHER, которого нет для типа платы 0"));
    QVERIFY(r.out.contains("нет сценария ROM_ERROR для типа платы 0"));
    QVERIFY(r.out.contains("нет сценария ODIAGN NO_PROGCONNECT для типа платы 4"));
    QVERIFY(!r.out.contains("нет сценария RAM_ERROR"));
    QVERIFY(!r.out.contains("точки DD3/20 нет в kia_nelta2.dot для типа платы 0"));
    QVERIFY(r.out.contains("точки DD3/20 нет в kia_nelta2.dot для типа платы 4")); // DD5 there

    QFile f(m_dir.filePath("bad.dgn"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(toCp1251(QStringLiteral("IDIAGN31 T-оба;D0-A;D1-B\nCDIAGN31 X\n1: P-DD99/1;T-a;PASS-4\n2: T-b\n"
                     "3: T-SEND\nEND\n")));
    f.close();
    const Run bad = run({"lint", "--dgn", f.fileName()});
    QCOMPARE(bad.code, 1);
    QVERIFY(bad.out.contains("bad.dgn:1: у типа неисправности должен быть ровно один из D0- и D1-"));
    QVERIFY(bad.out.contains("bad.dgn:2: CDIAGN X: END внутри текста в строке 5"));
    QVERIFY(bad.out.contains("шаг 1: переход PASS на несуществующий шаг 4"));
    QVERIFY(bad.out.contains("шаг 2 недостижим"));
    QVERIFY(bad.out.contains("точки DD99/1 нет в kia_nelta2.dot для типа платы 0"));
    QVERIFY(bad.out.contains("bad.dgn:2: CDIAGN X: не загружается для типа платы 0"));
    const Run noCcr = run({"lint", "--ccr", m_dir.filePath("missing.ccr")});
    QVERIFY(noCcr.out.contains("missing.ccr: файл не открывается"));
}

// Each case: one scenario over one step file; the finding expected (empty:
// none). Points are given for board type 0 only (mask 01).
void TestDiagnCommands::lintStepFile_data() {
    QTest::addColumn<QString>("dgn");
    QTest::addColumn<QString>("ccr");
    QTest::addColumn<QString>("finding");
    const QString probe = "PDIAGN01 X\n1: P-DD1/1,DD1/2;T-a\nEND\n";
    QTest::newRow("sound") << probe << "CIR01-DD1/2;\nOUT-5;\n" << "";
    QTest::newRow("only the last point counts") << probe << "CIR01-DD1/1;\nOUT-5;\n"
                                                << "PDIAGN X: точка DD1/2 без цепи в s.ccr для типа платы 0";
    QTest::newRow("circuit of another board") << probe << "CIR02-DD1/2;\nOUT-5;\n"
                                              << "точка DD1/2 без цепи в s.ccr для типа платы 0";
    QTest::newRow("stars past the end") << "PDIAGN01 X\n1: P-DD1/2**;T-a\nEND\n" << "CIR01-DD1/2;\nOUT-5;\n"
                                        << "для точки DD1/2** нет строки команды";
    QTest::newRow("row out of range") << probe << "CIR01-DD1/2;\nOUT-5;SET-30;\n"
                                      << "строка SET-30 вне таблицы (0..24)";
    QTest::newRow("does not parse") << probe << "CIR01-DD1/2;\nOUT-5V;\n" << "не читается";
    QTest::newRow("probe cannot examine") << probe << "CIR01-DD1/2;\nOUT-20;\n"
                                          << "точку DD1/2 нельзя проконтролировать логическим пробником";
    QTest::newRow("LOG-0 in a probe step") << probe << "CIR01-DD1/2;\nOUT-5;LOG-0;\n"
                                           << "нельзя проконтролировать";
    QTest::newRow("common step for the oscilloscope")
        << "CDIAGN01 X\n1: P-DD1/2;T-a\nEND\n" << "CIR01-DD1/2;\nLOG-0;OUT-0,50\n" << "";
    QTest::newRow("oscilloscope may show any level")
        << "ODIAGN01 X\n1: P-DD1/2;T-a\nEND\n" << "CIR01-DD1/2;\nOUT-20,50:3;SET-18;TIME-5;\n" << "";
    QTest::newRow("oscilloscope bad period") << "ODIAGN01 X\n1: P-DD1/2;T-a\nEND\n"
                                             << "CIR01-DD1/2;\nOUT-0;TIME-0;\n" << "неверный период TIME-";
    QTest::newRow("bad circuit mask") << probe << "CIRx1-DD1/2;\nCIR01-DD1/2;\nOUT-5;\n"
                                      << "s.ccr:1: неверная маска типов плат цепи";
}

void TestDiagnCommands::lintStepFile() {
    QFETCH(QString, dgn);
    QFETCH(QString, ccr);
    QFETCH(QString, finding);
    QTemporaryDir dir;
    for (const auto& [name, text] : {std::pair{QStringLiteral("s.dgn"), dgn}, std::pair{QStringLiteral("s.ccr"), ccr}}) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(toCp1251(text));
    }
    const QStringList lines = LintStepFile(dir.filePath("s.dgn"), dir.filePath("s.ccr"));
    if (finding.isEmpty()) {
        QCOMPARE(lines, QStringList());
        return;
    }
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains(finding), qPrintable(lines.first()));
}

// A header names its scenario by the loader's rule: everything after the
// keyword, the mask and the blanks, found at the end of the line after a
// blank and nowhere before.
void TestDiagnCommands::lintHeaderNames_data() {
    QTest::addColumn<QString>("dgn");
    QTest::addColumn<QString>("finding");   // must be there (empty: nothing about the name)
    QTest::addColumn<QString>("name");      // no other finding may mention it
    const QString handOver = "CDIAGN31 X\n1: P-DD3/40;T-a;PASS-2;FAILNEW0-%1;FAIL1-2\n2: T-b\nEND\n";
    QTest::newRow("name with a blank")
        << handOver.arg("Управление DD14") + "CDIAGN31 Управление DD14\n1: T-c\nEND\n" << ""
        << "Управление DD14";
    QTest::newRow("last word alone is found too")
        << handOver.arg("DD14") + "CDIAGN31 Управление DD14\n1: T-c\nEND\n" << "" << "DD14";
    QTest::newRow("two blanks") << "CDIAGN31  ROM_ERROR\n1: T-c\nEND\n" << "" << "ROM_ERROR";
    QTest::newRow("name inside the keyword")
        << "CDIAGN31 A\n1: T-c\nEND\n" << "CDIAGN A: сценарий не находится по этому имени" << "";
    QTest::newRow("no blank before the name")
        << "CDIAGN31X\n1: T-c\nEND\n" << "CDIAGN X: сценарий не находится по этому имени" << "";
    QTest::newRow("branch to a missing name")
        << handOver.arg("Управление DD15") + "CDIAGN31 Управление DD14\n1: T-c\nEND\n"
        << "переход FAIL0 в сценарий Управление DD15, которого нет для типа платы 0" << "";
}

void TestDiagnCommands::lintHeaderNames() {
    QFETCH(QString, dgn);
    QFETCH(QString, finding);
    QFETCH(QString, name);
    QFile f(m_dir.filePath("h.dgn"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(toCp1251(dgn));
    f.close();
    const QStringList lines = LintScenarioFile(f.fileName(), m_dir.filePath("missing.dot"));
    const QString all = lines.join(QLatin1Char('\n'));
    if (!finding.isEmpty())
        QVERIFY2(all.contains(finding), qPrintable(all));
    if (!name.isEmpty()) {
        QVERIFY2(!all.contains(name), qPrintable(all));
        QVERIFY2(!all.contains(QStringLiteral("не находится")), qPrintable(all));
    }
}

void TestDiagnCommands::shippedScenarioFile_data() {
    QTest::addColumn<int>("board");
    for (int b = 0; b < 5; ++b)
        QTest::addRow("board %d", b) << b;
}

// The sample working folder's scenarios load for every board type, name
// only points of that board, and walk to a conclusion on the simulator.
void TestDiagnCommands::shippedScenarioFile() {
    QFETCH(int, board);
    const QString dgn = qEnvironmentVariable("KIA_SOURCE_DIR") + "/data/kia_nelta2.dgn";
    const Run lint = run({"lint", "--dgn", dgn});
    QVERIFY2(lint.lines().isEmpty(), qPrintable(lint.out));
    for (const char* name : {"RAM_ERROR", "ROM_ERROR", "BUS_ERROR", "DATABUS_ERROR"}) {
        const Run table = run({"-b", QString::number(board), "scenario", name, "--file", dgn});
        QCOMPARE(table.code, 0);
    }
    QFile::remove(m_dir.filePath("kia_nelta2.dgn"));
    QVERIFY(QFile::copy(dgn, m_dir.filePath("kia_nelta2.dgn")));
    const Run walk = run({"-b", QString::number(board), "diagnose", "RAM_ERROR", "--answers",
                          "pass,pass,pass,fail0"});
    QCOMPARE(walk.code, 0);
    const QStringList l = walk.lines();
    QCOMPARE(l.size(), 6);
    QVERIFY2(l[4].contains("Нет генерации"), qPrintable(l[4])); // the crystal, after supply, ground, reset
}

QTEST_GUILESS_MAIN(TestDiagnCommands)
#include "tst_diagncommands.moc"
