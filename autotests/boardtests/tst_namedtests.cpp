// Board tests run by name from a scenario step: set-ups, the dialog closing
// itself, errors without displays, and the runner's results.

#include "benchrig.h"

#include "fiscalconsent.h"
#include "namedtests.h"
#include "sim/testprocessor.h"
#include "testresults.h"

#include <QFile>
#include <QTest>

using namespace kia;
using testhost::BenchRig;

class TestNamedTests : public QObject {
    Q_OBJECT
private slots:
    void passedTestClosesItself_data();
    void passedTestClosesItself();
    void failuresGiveTheirKeyword_data();
    void failuresGiveTheirKeyword();
    void romOutcomes_data();
    void romOutcomes();
    void fiscalDataWarning();
    void linkFailureInSetUp();
    void unknownNamePasses();
    void peripheralTestIsNotAvailable();
};

void TestNamedTests::passedTestClosesItself_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("test");
    QTest::newRow("bus type 0") << 0 << QStringLiteral("TEST_BUS") << int(BusTestNumber);
    QTest::newRow("bus type 4") << 4 << QStringLiteral("TEST_BUS") << int(BusTestNumber);
    QTest::newRow("RAM type 2") << 2 << QStringLiteral("TEST_RAM") << int(RamTestNumber);
    QTest::newRow("RAM type 4") << 4 << QStringLiteral("TEST_RAM") << int(RamTestNumber);
    QTest::newRow("flash type 1") << 1 << QStringLiteral("TEST_FLASH") << int(EepromTestNumber);
    QTest::newRow("flash type 4") << 4 << QStringLiteral("TEST_FLASH") << int(EepromTestNumber);
    QTest::newRow("timer type 3") << 3 << QStringLiteral("TEST_TIMER") << int(TimerTestNumber);
    QTest::newRow("ФП type 0") << 0 << QStringLiteral("TEST_FP") << int(FiscalWriteTestNumber);
}

void TestNamedTests::passedTestClosesItself() {
    QFETCH(int, boardType);
    QFETCH(QString, name);
    QFETCH(int, test);
    BenchRig rig(boardType);
    rig.host.afterCompletion << ResultExit; // must not be needed: the dialog presses "Повтор"
    QString keyword = QStringLiteral("old");
    QCOMPARE(RunNamedTest(rig.ctx, rig.host, name, keyword), int(NamedTestPassed));
    QVERIFY(keyword.isEmpty());
    QCOMPARE(rig.host.testNumbers, QList<int>{test});
    QCOMPARE(rig.host.dialogResults, QList<int>{ResultRepeat});
    QCOMPARE(rig.host.intervals.last(), 500);
    QCOMPARE(rig.host.afterCompletion.size(), 1);
    QCOMPARE(rig.host.startDialogs, 0);
    QVERIFY(!rig.ctx.diagnosticsActive); // restored afterwards
}

void TestNamedTests::failuresGiveTheirKeyword_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("bus") << 1 << QStringLiteral("TEST_BUS") << QStringLiteral("BUS_ERROR");
    QTest::newRow("RAM") << 0 << QStringLiteral("TEST_RAM") << QStringLiteral("RAM_ERROR");
    QTest::newRow("flash") << 4 << QStringLiteral("TEST_FLASH") << QStringLiteral("FLASH1_ERROR");
    QTest::newRow("timer") << 2 << QStringLiteral("TEST_TIMER") << QStringLiteral("TIMER_IOERROR");
    QTest::newRow("ФП") << 3 << QStringLiteral("TEST_FP") << QStringLiteral("FPWR_ERROR");
}

void TestNamedTests::failuresGiveTheirKeyword() {
    QFETCH(int, boardType);
    QFETCH(QString, name);
    QFETCH(QString, keyword);
    BenchRig rig(boardType);
    rig.host.beforeDialog = [&] {
        rig.board().port(2).stuckHigh = 0x01;
        rig.board().ram().setCellFault(0x0101, 0, 0x01);
        rig.board().dataEeprom().setCellFault(0x0101, 0, 0x01);
        rig.board().i2c().attach(boardType == 4 ? 0xD0 : 0xA0, nullptr);
        rig.board().fiscalMemory().setCellFault(0x0100, 0, 0x01);
    };
    QString got;
    QCOMPARE(RunNamedTest(rig.ctx, rig.host, name, got), int(NamedTestFailed));
    QCOMPARE(got, keyword);
    QCOMPARE(rig.host.dialogResults.size(), 1);
    // Guided diagnostics run: no display, no question.
    QVERIFY(rig.host.blocks.isEmpty());
    QVERIFY(rig.host.portImages.isEmpty());
    QVERIFY(rig.prompts.boxes().isEmpty());
}

void TestNamedTests::romOutcomes_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QStringList>("versions");
    QTest::addColumn<QByteArray>("identity");
    QTest::addColumn<int>("result");
    QTest::newRow("no file version passes")
        << 0 << QStringList{QStringLiteral("нет")} << QByteArray() << int(NamedTestPassed);
    QTest::newRow("missing file counts as passed")
        << 1 << QStringList{QStringLiteral("none.bin")} << QByteArray() << int(NamedTestPassed);
    QTest::newRow("version choice cancelled")
        << 2 << QStringList() << QByteArray() << int(NamedTestCancelled);
    QTest::newRow("type 4 identity not 12 digits")
        << 4 << QStringList() << QByteArray("ABCDEFGHIJKL") << int(NamedTestBadIdentity);
}

void TestNamedTests::romOutcomes() {
    QFETCH(int, boardType);
    QFETCH(QStringList, versions);
    QFETCH(QByteArray, identity);
    QFETCH(int, result);
    BenchRig rig(boardType);
    for (const QString& v : versions)
        rig.host.versions << v;
    if (!identity.isEmpty())
        rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram, identity);
    QString keyword;
    QCOMPARE(RunNamedTest(rig.ctx, rig.host, QStringLiteral("TEST_ROM"), keyword), result);
    QVERIFY(keyword.isEmpty());
    QVERIFY(rig.prompts.boxes().isEmpty()); // the runner shows no ROM-file message
}

void TestNamedTests::fiscalDataWarning() {
    BenchRig rig(4);
    for (int i = 0; i < 10; ++i)
        rig.board().fiscalMemory().write(quint32(i), quint8("ABCDEABCDE"[i]));
    rig.prompts.answer(PromptAnswer::No);
    QString keyword;
    QCOMPARE(RunNamedTest(rig.ctx, rig.host, QStringLiteral("TEST_FP"), keyword),
             int(NamedTestCancelled));
    QCOMPARE(rig.prompts.boxes().size(), 1);
    QCOMPARE(rig.prompts.boxes()[0].text, fiscalDataWarningText());
    QVERIFY(rig.host.testNumbers.isEmpty());
}

void TestNamedTests::linkFailureInSetUp() {
    BenchRig rig(0);
    QString error;
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence"), &error));
    QString keyword;
    QCOMPARE(RunNamedTest(rig.ctx, rig.host, QStringLiteral("TEST_BUS"), keyword),
             int(NamedTestLinkFailure));
    QVERIFY(rig.prompts.boxes().isEmpty()); // the diagnostics engine shows it
    // A silent peer during the dialog is a link failure as well.
    rig.bench.clearFaults();
    rig.host.beforeDialog = [&] {
        rig.bench.loadFaultScript(QStringLiteral("silence cmd=12"), &error);
    };
    QCOMPARE(RunNamedTest(rig.ctx, rig.host, QStringLiteral("TEST_RAM"), keyword),
             int(NamedTestLinkFailure));
}

void TestNamedTests::unknownNamePasses() {
    BenchRig rig(0);
    QString keyword;
    QCOMPARE(RunNamedTest(rig.ctx, rig.host, QStringLiteral("TEST_SOMETHING"), keyword),
             int(NamedTestPassed));
    QCOMPARE(rig.bench.testProcessor().frameCount(), 0u);
}

void TestNamedTests::peripheralTestIsNotAvailable() {
    BenchRig rig(0);
    QString keyword;
    QCOMPARE(RunNamedTest(rig.ctx, rig.host, QStringLiteral("TEST_IO12"), keyword),
             int(NamedTestCancelled));
    QCOMPARE(rig.prompts.boxes().size(), 1);
    QCOMPARE(rig.prompts.boxes()[0].text, peripheralTestNotAvailableText());
}

QTEST_GUILESS_MAIN(TestNamedTests)
#include "tst_namedtests.moc"
