#include "diagn/scenario.h"

#include "core/cp1251.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

namespace {

// One node as "kind parent/branch links next-names name|text".
QString describe(const Scenario& s) {
    QStringList rows;
    for (int i = 1; i <= s.NodeCount(); ++i) {
        ScenarioNode n;
        if (!s.GetNode(i, n))
            return QStringLiteral("missing node %1").arg(i);
        QString next;
        for (const QString& x : n.next)
            next += x.isEmpty() ? QString() : QLatin1Char('>') + x;
        QString text = n.text;
        text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        rows << QStringLiteral("%1 %2/%3 %4,%5,%6%7 %8|%9")
                    .arg(n.kind).arg(n.parent).arg(n.branch)
                    .arg(n.links[0]).arg(n.links[1]).arg(n.links[2])
                    .arg(next, n.name, text);
    }
    return rows.join(QStringLiteral(" / "));
}

QByteArray file(const QString& utf8Lines) { return toCp1251(utf8Lines); }

} // namespace

class TestScenario : public QObject {
    Q_OBJECT
private slots:
    void loads_data();
    void loads();
    void failureKeepsOrEmptiesTable_data();
    void failureKeepsOrEmptiesTable();
    void kindKeyword();
    void getNodeBounds();
    void clearFrom_data();
    void clearFrom();
    void fileBoundary();
    void badFilesNeverHang_data();
    void badFilesNeverHang();
};

void TestScenario::loads_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("board");
    QTest::addColumn<QString>("nodes"); // empty: the load fails

    const QString rom = QStringLiteral(
        "PDIAGN31 ROM_ERROR\n"
        "1: P-DD3;T-Проверьте сигнал\\\n"
        "     на выводе 20;PASS-2;FAIL0-3;FAIL1-3\n"
        "2: T-Сигнал в норме\n"
        "3: T-Замените микросхему\n"
        "END\n");
    QTest::newRow("example of the language") << rom << "ROM_ERROR" << 2 << 0
        << QStringLiteral("1 0/0 2,3,3 DD3|Проверьте сигнал\\nна выводе 20 / "
                          "2 1/0 0,0,0 |Сигнал в норме / 2 1/1 0,0,0 |Замените микросхему");
    QTest::newRow("other kind is not the header") << rom << "ROM_ERROR" << 0 << 0 << QString();

    QTest::newRow("mask lacks the board: the later header is used")
        << QStringLiteral("CDIAGN16 X\n1: T-четвертый\nEND\nCDIAGN01 X\n1: T-нулевой\nEND\n")
        << "X" << 0 << 0 << QStringLiteral("2 0/0 0,0,0 |нулевой");
    QTest::newRow("mask 16 admits board 4")
        << QStringLiteral("CDIAGN16 X\n1: T-четвертый\nEND\n") << "X" << 0 << 4
        << QStringLiteral("2 0/0 0,0,0 |четвертый");
    QTest::newRow("non-digit mask reads 0")
        << QStringLiteral("CDIAGNxx X\n1: T-a\nEND\n") << "X" << 0 << 0 << QString();
    QTest::newRow("one-digit mask") << QStringLiteral("CDIAGN1 X\n1: T-a\nEND\n") << "X" << 0 << 0
        << QStringLiteral("2 0/0 0,0,0 |a");
    QTest::newRow("two blanks before the name, trailing blanks cut")
        << QStringLiteral("CDIAGN31  X   \n1: T-a\nEND\n") << "X" << 0 << 1
        << QStringLiteral("2 0/0 0,0,0 |a");
    QTest::newRow("name glued to the mask")
        << QStringLiteral("CDIAGN31X\n1: T-a\nEND\n") << "X" << 0 << 0 << QString();
    QTest::newRow("name followed by a semicolon")
        << QStringLiteral("CDIAGN31 X;\n1: T-a\nEND\n") << "X" << 0 << 0 << QString();
    QTest::newRow("first occurrence of the name must be the end")
        << QStringLiteral("CDIAGN31 RAM_ERROR ERROR\n1: T-a\nEND\nCDIAGN31 ERROR\n1: T-b\nEND\n")
        << "ERROR" << 0 << 0 << QStringLiteral("2 0/0 0,0,0 |b");
    QTest::newRow("longer name with the same tail is another scenario")
        << QStringLiteral("CDIAGN31 XRAM_ERROR\n1: T-a\nEND\nCDIAGN31 RAM_ERROR\n1: T-b\nEND\n")
        << "RAM_ERROR" << 0 << 0 << QStringLiteral("2 0/0 0,0,0 |b");

    QTest::newRow("END inside a text ends the body before it")
        << QStringLiteral("CDIAGN31 X\n1: T-a;PASS-5\n5: T-SEND DATA\nEND\n") << "X" << 0 << 0
        << QString();
    QTest::newRow("a line of step 11 answers for step 1 when first")
        << QStringLiteral("CDIAGN31 X\n11: T-одиннадцать\n1: T-один\nEND\n") << "X" << 0 << 0
        << QStringLiteral("2 0/0 0,0,0 |одиннадцать");
    QTest::newRow("keywords found anywhere, values to the semicolon")
        << QStringLiteral("CDIAGN31 X\n1: FAIL1-3;PASS- 2x;T-t;FAIL0-2\n2: P-DD1,DD2*\n"
                          "3: P-XS1{C}\nEND\n")
        << "X" << 0 << 0
        << QStringLiteral("2 0/0 2,2,3 |t / 0 1/0 0,0,0 DD1,DD2*| / 0 1/2 0,0,0 XS1{C}|");
    QTest::newRow("test step: PASS back at its own number, missing steps end paths")
        << QStringLiteral("CDIAGN31 X\n1: T-начало;PASS-2\n2: TEST_RAM;PASS-9;FAIL0-7\nEND\n")
        << "X" << 0 << 0 << QStringLiteral("2 0/0 2,0,0 |начало / 3 1/0 2,0,0 TEST_RAM|");
    QTest::newRow("text step branching to a missing step fails")
        << QStringLiteral("CDIAGN31 X\n1: T-начало;PASS-2\n2: T-a;FAIL0-7\nEND\n") << "X" << 0 << 0
        << QString();
    QTest::newRow("hand-over step")
        << QStringLiteral("CDIAGN31 X\n1: T-a;PASS-2\n2: ODIAGNOSTIC-NO_CONNECT;FAIL0-4\nEND\n")
        << "X" << 0 << 0 << QStringLiteral("2 0/0 2,0,0 |a / 4 1/0 2,0,0 NO_CONNECT|");
    QTest::newRow("branch back to step 1 on the first body line ends the path")
        << QStringLiteral("CDIAGN31 X\n1: T-a;PASS-2\n2: T-b;FAIL0-1\nEND\n") << "X" << 0 << 0
        << QStringLiteral("2 0/0 2,0,0 |a / 2 1/0 0,0,0 |b");
    QTest::newRow("new scenario branches")
        << QStringLiteral("CDIAGN31 X\n1: T-a;PASSNEW-OTHER;PASS-2;FAILNEW1-Y;FAIL0-2\n2: T-b\nEND\n")
        << "X" << 0 << 0 << QStringLiteral("2 0/0 -1,2,-1>OTHER>Y |a / 2 1/1 0,0,0 |b");
    QTest::newRow("branch to a built step links to its node, not its number")
        << QStringLiteral("CDIAGN31 X\n1: T-a;PASS-30;FAIL0-20\n20: T-c;PASS-30\n30: T-b;FAIL1-20\nEND\n")
        << "X" << 0 << 0
        << QStringLiteral("2 0/0 2,3,0 |a / 2 1/0 0,0,3 |b / 2 1/1 2,0,0 |c");
    QTest::newRow("cycle through step 1 off the first line: one more node, then links")
        << QStringLiteral("CDIAGN31 X\n; заметки\n1: T-a;PASS-2\n2: T-b;PASS-1\nEND\n")
        << "X" << 0 << 0
        << QStringLiteral("2 0/0 2,0,0 |a / 2 1/0 3,0,0 |b / 2 2/0 2,0,0 |a");
    QTest::newRow("a line matching no kind stays as an empty text step")
        << QStringLiteral("CDIAGN31 X\n1: PASS-2\n2: T-b\nEND\n") << "X" << 0 << 0
        << QStringLiteral("2 0/0 2,0,0 | / 2 1/0 0,0,0 |b");
    // The second backslash is replaced only once the next line is appended,
    // so the line after that joins without a line feed.
    QTest::newRow("two backslashes on one line")
        << QStringLiteral("CDIAGN31 X\n1: T-a\\b\\\n  c\n   d;PASS-2\n2: T-e\nEND\n") << "X" << 0 << 0
        << QStringLiteral("2 0/0 2,0,0 |a\\nb\\ncd / 2 1/0 0,0,0 |e");
    QTest::newRow("no END: the body runs to the end of the file")
        << QStringLiteral("CDIAGN31 X\n1: T-a;PASS-2\n2: T-b") << "X" << 0 << 0
        << QStringLiteral("2 0/0 2,0,0 |a / 2 1/0 0,0,0 |b");
    QTest::newRow("empty body") << QStringLiteral("CDIAGN31 X\nEND\n") << "X" << 0 << 0 << QString();
    QTest::newRow("no step 1") << QStringLiteral("CDIAGN31 X\n2: T-b\nEND\n") << "X" << 0 << 0
                               << QString();
    QTest::newRow("fault-type entries are never headers")
        << QStringLiteral("IDIAGN31 T-Ошибка ОЗУ;D1-X\nCDIAGN31 X\n1: T-a\nEND\n") << "X" << 0 << 0
        << QStringLiteral("2 0/0 0,0,0 |a");
}

void TestScenario::loads() {
    QFETCH(QString, content);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(int, board);
    QFETCH(QString, nodes);
    Scenario s;
    const bool ok = s.LoadFromBytes(file(content), name, kind, board);
    QCOMPARE(ok, !nodes.isEmpty());
    if (ok) {
        QCOMPARE(describe(s), nodes);
        QCOMPARE(s.Kind(), kind);
        QCOMPARE(s.Name(), name);
    }
}

void TestScenario::failureKeepsOrEmptiesTable_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("kept");
    QTest::newRow("missing header") << QStringLiteral("CDIAGN31 Y\n1: T-a\nEND\n") << true;
    QTest::newRow("empty body") << QStringLiteral("CDIAGN31 X\nEND\n") << true;
    QTest::newRow("no step 1") << QStringLiteral("CDIAGN31 X\n3: T-a\nEND\n") << true;
    QTest::newRow("missing step under a text step")
        << QStringLiteral("CDIAGN31 X\n1: T-a;FAIL1-4\nEND\n") << false;
}

void TestScenario::failureKeepsOrEmptiesTable() {
    QFETCH(QString, content);
    QFETCH(bool, kept);
    Scenario s;
    QVERIFY(s.LoadFromBytes(file(QStringLiteral("ODIAGN31 OLD\n1: T-old;PASS-2\n2: T-x\nEND\n")),
                            QStringLiteral("OLD"), KindOscilloscope, 0));
    QVERIFY(!s.LoadFromBytes(file(content), QStringLiteral("X"), KindCommon, 0));
    QCOMPARE(s.NodeCount(), kept ? 2 : 0);
    // The kind of the loaded scenario is still the one of the table kept.
    if (kept)
        QCOMPARE(s.Kind(), int(KindOscilloscope));
}

void TestScenario::kindKeyword() {
    QCOMPARE(Scenario::KindKeyword(0), QStringLiteral("CDIAGN"));
    QCOMPARE(Scenario::KindKeyword(1), QStringLiteral("ODIAGN"));
    QCOMPARE(Scenario::KindKeyword(2), QStringLiteral("PDIAGN"));
    QVERIFY(Scenario::KindKeyword(3).isEmpty());
}

void TestScenario::getNodeBounds() {
    Scenario s;
    QVERIFY(s.LoadFromBytes(file(QStringLiteral("CDIAGN31 X\n1: T-a;PASS-2\n2: T-b\nEND\n")),
                            QStringLiteral("X"), 0, 0));
    ScenarioNode n;
    n.name = QStringLiteral("untouched");
    QVERIFY(!s.GetNode(0, n));
    QVERIFY(!s.GetNode(3, n));
    QCOMPARE(n.name, QStringLiteral("untouched"));
    QVERIFY(s.GetNode(2, n));
    QCOMPARE(n.text, QStringLiteral("b"));
}

void TestScenario::clearFrom_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("nodes");
    // 1 -> 2 (PASS), 3 (FAIL0); 2 -> 4 (PASS); 4 -> 3 (FAIL0, built already)
    QTest::newRow("a subtree; links into it cleared, gaps closed")
        << 2 << QStringLiteral("2 0/0 0,2,0 |a / 2 1/1 0,0,0 |c");
    QTest::newRow("a leaf") << 4 << QStringLiteral("2 0/0 2,3,0 |a / 2 1/0 0,0,0 |b / 2 1/1 0,0,0 |c");
    QTest::newRow("from 1 empties") << 1 << QString();
    QTest::newRow("out of range changes nothing") << 9
        << QStringLiteral("2 0/0 2,3,0 |a / 2 1/0 4,0,0 |b / 2 1/1 0,0,0 |c / 2 2/0 0,3,0 |d");
}

void TestScenario::clearFrom() {
    QFETCH(int, index);
    QFETCH(QString, nodes);
    Scenario s;
    QVERIFY(s.LoadFromBytes(
        file(QStringLiteral("CDIAGN31 X\n1: T-a;PASS-2;FAIL0-3\n2: T-b;PASS-4\n3: T-c\n"
                            "4: T-d;FAIL0-3\nEND\n")),
        QStringLiteral("X"), 0, 0));
    s.ClearFrom(index);
    QCOMPARE(describe(s), nodes);
}

void TestScenario::fileBoundary() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kia_nelta2.dgn"));
    Scenario s;
    QVERIFY(!s.Load(path, QStringLiteral("X"), 0, 0)); // missing file
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    // Windows-1251 on disk, CR LF line ends, a Cyrillic scenario name.
    f.write(toCp1251(QStringLiteral("CDIAGN31 ОЗУ\r\n1: P-DD3;T-Проверьте;\r\nEND\r\n")));
    f.close();
    QVERIFY(s.Load(path, QStringLiteral("ОЗУ"), 0, 0));
    QCOMPARE(describe(s), QStringLiteral("1 0/0 0,0,0 DD3|Проверьте"));
    // The same text in UTF-8 does not name the scenario: no node table, no crash.
    QVERIFY(!s.LoadFromBytes(QStringLiteral("CDIAGN31 ОЗУ\n1: T-a\nEND\n").toUtf8(),
                             QStringLiteral("ОЗУ"), 0, 0));
}

void TestScenario::badFilesNeverHang_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("nodes"); // -1: the load fails
    QTest::newRow("empty file") << QByteArray() << -1;
    QByteArray junk(200000, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919 + 13) % 256);
    QTest::newRow("binary junk") << junk << -1;
    QTest::newRow("header, then junk") << QByteArray("CDIAGN31 X\n1:T-a;PASS-2\n2").append(junk) << -1;
    QTest::newRow("huge line") << QByteArray("CDIAGN31 X\n1: T-").append(QByteArray(4000000, 'x'))
                               << 1;
    QByteArray many("CDIAGN31 X\n");
    for (int i = 1; i <= 5000; ++i)
        many += QByteArray("%1: T-s;PASS-%2;FAIL0-%3;FAIL1-1\n")
                    .replace("%1", QByteArray::number(i))
                    .replace("%2", QByteArray::number(i + 1 > 5000 ? 1 : i + 1))
                    .replace("%3", QByteArray::number(i * 2 > 5000 ? i : i * 2));
    many += "END\n";
    QTest::newRow("thousands of steps in cycles") << many << 5000;
    QTest::newRow("self loop") << QByteArray("CDIAGN31 X\n\n1: T-a;PASS-1;FAIL0-1\nEND\n") << 2;
}

void TestScenario::badFilesNeverHang() {
    QFETCH(QByteArray, content);
    QFETCH(int, nodes);
    Scenario s;
    const bool ok = s.LoadFromBytes(content, QStringLiteral("X"), 0, 0);
    QCOMPARE(ok, nodes >= 0);
    if (ok)
        QCOMPARE(s.NodeCount(), nodes);
}

QTEST_GUILESS_MAIN(TestScenario)
#include "tst_scenario.moc"
