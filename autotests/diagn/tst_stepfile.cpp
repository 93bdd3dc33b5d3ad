// The step file: point names with their suffixes, command lines, circuit
// lines with their masks and the command line a point gets, and what the
// probe step opens with. Step files are written here as the engineer writes
// them and stored in Windows-1251.

// The tables are written with plain string literals.
#undef QT_NO_CAST_FROM_ASCII

#include "core/cp1251.h"
#include "diagn/probecheck.h"
#include "diagn/stepdialoghost.h"
#include "diagn/stepfile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kia;

namespace {
using IntList = QList<int>;

StepFile fileOf(const QString& utf8) {
    StepFile f;
    f.loadFromBytes(toCp1251(utf8));
    return f;
}

const QString kFile = QStringLiteral(
    "; Шины данных\n"
    "CIR31-DD3.20,DD4.5;\n"
    "OUT-HI;\n"
    "OUT-5;\n"
    "OUT-50:после сброса;\n"
    "CIR16-DD3.20;\n"          // board type 4 only
    "OUT-5,50;IN-0,1;SET-0;\n"
    "CIR31-R1,R1.1,X;\n"        // a name that begins another one, the last name
    "OUT-50;\n"
    "CIR31 R9;\n"               // no "-" before the name
    "OUT-50;\n"
    "CIR02-ХР1.3,DD3.2;\r\n"  // board type 1 only; CRLF line end
    "OUT-50;\r\n"
    "CIRxx-R7;\n"              // no decimal mask: no board type
    "OUT-5;\n"
    "CIR31-DD9.1;\n");         // the last line: no command line follows
} // namespace

class TestStepFile : public QObject {
    Q_OBJECT
private slots:
    void pointName_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("stepName");
        QTest::addColumn<int>("stars");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "DD3.20" << "DD3.20" << 0 << "DD3.20";
        QTest::newRow("two stars") << "DD3.20**" << "DD3.20" << 2 << "DD3.20";
        QTest::newRow("braces append") << "XS1{.3}" << "XS1.3" << 0 << "XS1";
        QTest::newRow("empty braces") << "XS1{}" << "XS1" << 0 << "XS1";
        QTest::newRow("star before braces") << "XS1*{.3}" << "XS1.3" << 1 << "XS1";
        QTest::newRow("stars after braces") << "XS1{.3}**" << "XS1.3" << 2 << "XS1";
        QTest::newRow("inner star cuts") << "DD1*A" << "DD1" << 0 << "DD1";
        QTest::newRow("arrow shown cut") << "DD5.3>DD7.1" << "DD5.3>DD7.1" << 0 << "DD5.3";
        QTest::newRow("back arrow") << "R5<*" << "R5<" << 1 << "R5";
        QTest::newRow("first of both") << "A<B>C" << "A<B>C" << 0 << "A";
        QTest::newRow("unclosed brace") << "X{.1" << "X.1" << 0 << "X";
    }
    void pointName() {
        QFETCH(QString, written);
        const ProbePointName p = parseProbePointName(written);
        QFETCH(QString, stepName);
        QCOMPARE(p.stepName, stepName);
        QFETCH(int, stars);
        QCOMPARE(p.stars, stars);
        QFETCH(QString, shown);
        QCOMPARE(p.shown, shown);
    }

    void voltageClasses_data() {
        QTest::addColumn<int>("tenths");
        QTest::addColumn<int>("level");
        const int table[][2] = {{0, 0}, {17, 0}, {18, 4}, {34, 4}, {35, 1}, {50, 1}, {75, 1},
                                {76, 4}, {110, 4}, {111, 2}, {120, 2}, {999, 2}, {1000, 3}, {1001, 2}};
        for (const auto& row : table)
            QTest::addRow("%d", row[0]) << row[0] << row[1];
    }
    void voltageClasses() { QFETCH(int, tenths); QFETCH(int, level); QCOMPARE(voltageLevelClass(tenths), level); }

    void commandLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("parses");
        QTest::addColumn<int>("row");
        QTest::addColumn<IntList>("inputs");
        QTest::addColumn<IntList>("expected");
        QTest::addColumn<int>("measurement");
        QTest::addColumn<QString>("connectTo");
        QTest::addColumn<bool>("examinable");
        const IntList none;
        QTest::newRow("HI is open") << "OUT-HI;" << true << -1 << none << IntList{3} << -1 << "" << true;
        QTest::newRow("0 then 1") << "OUT-5,50;IN-0,1;SET-0;" << true << 0 << IntList{0, 1} << IntList{0, 1}
                                  << -1 << "" << true;
        QTest::newRow("no valid level") << "OUT-20;" << true << -1 << none << IntList{4} << -1 << "" << false;
        QTest::newRow("+12V") << "OUT-120;" << true << -1 << none << IntList{2} << -1 << "" << true;
        QTest::newRow("all equal") << "OUT-5,10;IN-0,1;SET-0;" << true << 0 << IntList{0, 1} << IntList{0, 0}
                                   << -1 << "" << false;
        QTest::newRow("comments after colon") << "OUT-5:низкий, 50:высокий;IN-1,0;SET-3;" << true << 3
                                              << IntList{1, 0} << IntList{0, 1} << -1 << "" << true;
        QTest::newRow("pulse as written") << "GET-1;OUT-1,15,25;" << true << -1 << none << IntList{1, 15, 25}
                                          << 1 << "" << true;
        QTest::newRow("pulse HI is 1000") << "GET-0;OUT-HI,0,0;" << true << -1 << none
                                          << IntList{1000, 0, 0} << 0 << "" << true;
        QTest::newRow("no OUT") << "SET-2;" << true << 2 << none << none << -1 << "" << false;
        QTest::newRow("LOG-0") << "OUT-5;LOG-0;" << true << -1 << none << IntList{0} << -1 << "" << false;
        QTest::newRow("LOG-1") << "OUT-5;LOG-1;" << true << -1 << none << IntList{0} << -1 << "" << true;
        QTest::newRow("CON") << "OUT-5,50;IN-0,1;SET-1;CON-XS2.4;" << true << 1 << IntList{0, 1}
                             << IntList{0, 1} << -1 << "XS2.4" << true;
        QTest::newRow("blanks and no final ;") << "OUT- 5 , 50 ; IN- 0 , 1 ; SET- 24 " << true << 24
                                               << IntList{0, 1} << IntList{0, 1} << -1 << "" << true;
        QTest::newRow("row past table") << "OUT-5;SET-25;" << false << -1 << none << none << -1 << "" << false;
        QTest::newRow("row no number") << "OUT-5;SET-A;" << false << -1 << none << none << -1 << "" << false;
        QTest::newRow("input above byte") << "OUT-5;IN-256;SET-0;" << false << -1 << none << none << -1 << ""
                                          << false;
        QTest::newRow("unknown measurement") << "GET-3;OUT-1,1,2;" << false << -1 << none << none << -1 << ""
                                             << false;
        QTest::newRow("OUT junk") << "OUT-5V;" << false << -1 << none << none << -1 << "" << false;
        QTest::newRow("OUT empty item") << "OUT-5,,50;" << false << -1 << none << none << -1 << "" << false;
        QTest::newRow("pulse short") << "GET-1;OUT-1,15;" << false << -1 << none << none << -1 << "" << false;
        QTest::newRow("count mismatch") << "OUT-5,50,5;IN-0,1;SET-0;" << false << -1 << none << none << -1
                                        << "" << false;
    }
    void commandLine() {
        QFETCH(QString, line);
        StepCommand c;
        QString error;
        const bool ok = parseStepCommand(line, c, &error);
        QFETCH(bool, parses);
        QCOMPARE(ok, parses);
        if (!ok) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QFETCH(int, row);
        QCOMPARE(c.row, row);
        QFETCH(IntList, inputs);
        QCOMPARE(c.inputs, inputs);
        QFETCH(IntList, expected);
        QCOMPARE(c.expected, expected);
        QFETCH(int, measurement);
        QCOMPARE(c.measurement, measurement);
        QFETCH(QString, connectTo);
        QCOMPARE(c.connectTo, connectTo);
        QFETCH(bool, examinable);
        QCOMPARE(c.examinable(), examinable);
    }

    void lookup_data() {
        QTest::addColumn<QString>("point");
        QTest::addColumn<int>("boardType");
        QTest::addColumn<int>("status");
        QTest::addColumn<IntList>("expected");
        QTest::newRow("first line, type 0") << "DD3.20" << 0 << int(StepFile::Ok) << IntList{3};
        QTest::newRow("second form") << "DD4.5" << 2 << int(StepFile::Ok) << IntList{3};
        QTest::newRow("one star") << "DD3.20*" << 0 << int(StepFile::Ok) << IntList{0};
        QTest::newRow("two stars: third line") << "DD3.20**" << 3 << int(StepFile::Ok) << IntList{1};
        QTest::newRow("first matching mask wins") << "DD3.20" << 4 << int(StepFile::Ok) << IntList{3};
        QTest::newRow("type-4 line by name") << "DD4.5" << 4 << int(StepFile::Ok) << IntList{3};
        QTest::newRow("cyrillic, type 1") << "ХР1.3" << 1 << int(StepFile::Ok) << IntList{1};
        QTest::newRow("comma form") << "DD3.2" << 1 << int(StepFile::Ok) << IntList{1};
        QTest::newRow("mask lacks type") << "ХР1.3" << 0 << int(StepFile::NoCircuit) << IntList{};
        QTest::newRow("prefix is not the name") << "DD3.2" << 0 << int(StepFile::NoCircuit) << IntList{};
        QTest::newRow("name in a command line") << "HI" << 0 << int(StepFile::NoCircuit) << IntList{};
        QTest::newRow("no decimal mask") << "R7" << 0 << int(StepFile::NoCircuit) << IntList{};
        QTest::newRow("end of file") << "DD9.1" << 0 << int(StepFile::NoCommandLine) << IntList{};
        QTest::newRow("stars past the end") << "DD3.2****" << 1 << int(StepFile::NoCommandLine) << IntList{};
        QTest::newRow("name that begins another") << "R1.1" << 0 << int(StepFile::Ok) << IntList{1};
        QTest::newRow("last name on the line") << "X" << 3 << int(StepFile::Ok) << IntList{1};
        QTest::newRow("name holding a comma") << "R1.1,X" << 0 << int(StepFile::Ok) << IntList{1};
        QTest::newRow("part of a name") << "1.1" << 0 << int(StepFile::NoCircuit) << IntList{};
        QTest::newRow("no separator before") << "R9" << 0 << int(StepFile::NoCircuit) << IntList{};
        QTest::newRow("braces build the name") << "DD3{.20}*" << 0 << int(StepFile::Ok) << IntList{0};
    }
    void lookup() {
        QFETCH(QString, point);
        const StepFile f = fileOf(kFile);
        StepCommand c;
        QFETCH(int, boardType);
        QFETCH(int, status);
        QCOMPARE(int(f.find(point, boardType, c)), status);
        QFETCH(IntList, expected);
        QCOMPARE(c.expected, expected);
    }

    void circuitPoints() {
        QCOMPARE(StepFile::circuitPoints(QStringLiteral("CIR31-DD3.20,DD4.5;")),
                 (QStringList{QStringLiteral("DD3.20"), QStringLiteral("DD4.5")}));
        QCOMPARE(StepFile::circuitPoints(QStringLiteral("CIR02-XS1.3;")), QStringList{QStringLiteral("XS1.3")});
        QCOMPARE(StepFile::circuitPoints(QStringLiteral("CIR31-A,B")), QStringList{QStringLiteral("A")});
        QCOMPARE(StepFile::circuitMask(QStringLiteral("CIR31-A;")), 31);
        QCOMPARE(StepFile::circuitMask(QStringLiteral("CIR3")), -1);
        QCOMPARE(StepFile::circuitMask(QStringLiteral("CIR٣1-A;")), -1); // a digit, but not a decimal one
    }

    void binaryJunkDoesNotMatch() {
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 131) & 0xFF));
        junk.append("\nCIR31-OK;\nOUT-5;\n");
        StepFile f;
        f.loadFromBytes(junk);
        StepCommand c;
        QCOMPARE(int(f.find(QStringLiteral("OK"), 0, c)), int(StepFile::Ok));
        QCOMPARE(int(f.find(QString(), 0, c)), int(StepFile::NoCircuit));
    }

    void missingFile() {
        QTemporaryDir dir;
        StepFile f;
        QVERIFY(!f.load(dir.filePath(QStringLiteral("kia_nelta2.ccr"))));
        StepCommand c;
        QCOMPARE(int(f.find(QStringLiteral("DD3.20"), 0, c)), int(StepFile::CannotOpen));
        QCOMPARE(StepFile::defaultPath(QStringLiteral("/w/")), QStringLiteral("/w/kia_nelta2.ccr"));
    }

    void opening_data() {
        QTest::addColumn<QString>("ccr");
        QTest::addColumn<QString>("point");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("canStart");
        QTest::addColumn<QString>("text");
        const QString ask = QStringLiteral("\nУстановите щуп пробника на\nDD3.20 !\nНажмите \"Пуск\" !");
        const QString circuit = QStringLiteral("CIR31-DD3.20;\n");
        QTest::newRow("ready") << circuit + "OUT-5;\n" << "DD3.20" << -1 << true << ask;
        QTest::newRow("shown name cut") << "CIR31-DD3.20>R4;\nOUT-5;\n" << "DD3.20>R4" << -1 << true << ask;
        QTest::newRow("driver to connect")
            << circuit + "OUT-5,50;IN-0,1;SET-0;CON-XS2.4;\n" << "DD3.20" << -1 << true
            << ask + "\n(выход формирователя лог. уровней\nдолжен быть подключен к XS2.4)";
        QTest::newRow("LOG-0 not for the probe") << circuit + "OUT-5;LOG-0;CON-XS2.4;\n" << "DD3.20"
                                                 << int(CodeNotForProbe) << true << ask;
        QTest::newRow("class 4 not for the probe") << circuit + "OUT-20;\n" << "DD3.20" << int(CodeNotForProbe)
                                                   << true << ask;
        QTest::newRow("no circuit") << circuit + "OUT-5;\n" << "DD3.21" << int(CodeStepFileError) << true
                                    << QStringLiteral("\nУстановите щуп пробника на\nDD3.21 !\nНажмите \"Пуск\" !");
        QTest::newRow("bad line") << circuit + "OUT-5;SET-99;\n" << "DD3.20" << int(CodeStepFileError) << true
                                  << ask;
        QTest::newRow("no point: the instruction") << circuit << "" << -1 << false << "Вывод: DD3 неисправна.";
    }
    void opening() {
        QFETCH(QString, ccr);
        const StepFile f = fileOf(ccr);
        QFETCH(QString, point);
        const ProbeStepSetup s = prepareProbeStep(f, point, QStringLiteral("Вывод: DD3 неисправна."), 0);
        QFETCH(int, code);
        QCOMPARE(s.immediateCode, code);
        QFETCH(bool, canStart);
        QCOMPARE(s.canStart, canStart);
        QFETCH(QString, text);
        QCOMPARE(s.text, text);
    }

    void texts_data() {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("want");
        QTest::newRow("open, Latin C") << stepLevelText(3) << QString::fromUtf8("ВИC ( обрыв ).");
        QTest::newRow("latin C really") << QString(stepLevelText(3).at(2)) << "C";
        QTest::newRow("+12") << stepLevelText(2) << "уровень +12B.";
        QTest::newRow("expected pulse") << stepExpectedPulseText(1, 15, 25) << "Имп.лог.\"1\", 1.5 - 2.5ms";
        QTest::newRow("measured pulse") << stepMeasuredPulseText(0, 203, true) << "Имп.лог.\"0\", 20.3ms";
        QTest::newRow("no length") << stepMeasuredPulseText(1, 0, false) << "уровень лог. \"1\".";
        QTest::newRow("open pulse") << stepMeasuredPulseText(3, 12, true) << stepLevelText(3);
        QTest::newRow("+12 pulse") << stepExpectedPulseText(2, 5, 100) << "Имп.ур.+12в, 0.5 - 10.0ms";
    }
    void texts() { QFETCH(QString, got); QFETCH(QString, want); QCOMPARE(got, want); }
};

QTEST_GUILESS_MAIN(TestStepFile)
#include "tst_stepfile.moc"
