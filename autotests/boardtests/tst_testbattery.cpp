// Every board test of the menu on a fault-free simulated board of every board
// type, from preparation to verdict, on the virtual clock.

#include "benchrig.h"

#include "app/commandtable.h"
#include "testcommands.h"
#include "testresults.h"

#include <QFile>
#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
struct Command {
    const char* name;
    int id;
    int test;
    bool testProcessorOnly;
};

const Command kCommands[] = {
    {"bus", cmd::BusTest, BusTestNumber, false},
    {"ram", cmd::RamTest, RamTestNumber, false},
    {"rom", cmd::RomTest, RomTestNumber, false},
    {"timer", cmd::TimerTest, TimerTestNumber, false},
    {"flash", cmd::EepromTest, EepromTestNumber, false},
    {"flash2", cmd::SerialEepromTest, SerialEepromTestNumber, true},
    {"fp-blank", cmd::FiscalBlankCheck, FiscalBlankTestNumber, false},
    {"fp-write", cmd::FiscalWriteTest, FiscalWriteTestNumber, false},
    {"ppi", cmd::PpiTest, PpiTestNumber, true},
};

// The controller software that the type-4 bench was sealed with, filed as the
// workstation files it before loading the test program.
void fileControllerSoftware(BenchRig& rig) {
    const QByteArray id = sim::Dd5Controller::defaultIdentity();
    const auto image = sim::Dd5Controller::cashSoftwareImage(id);
    QFile f(rig.ctx.workingFolder + QString::fromLatin1(id) + QStringLiteral(".cpu"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(image.data()), qint64(image.size()));
}
} // namespace

class TestBattery : public QObject {
    Q_OBJECT
private slots:
    void faultFreeBoardPasses_data();
    void faultFreeBoardPasses();
    void batteryIsFast();
};

void TestBattery::faultFreeBoardPasses_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("test");
    for (int type = 0; type < 5; ++type) {
        for (const Command& c : kCommands) {
            if (c.testProcessorOnly && type == 4)
                continue;
            QTest::addRow("type %d %s", type, c.name) << type << c.id << c.test;
        }
    }
}

void TestBattery::faultFreeBoardPasses() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(int, test);

    BenchRig rig(boardType);
    rig.ctx.dontShowStartDialog = true;
    rig.host.versions << QStringLiteral("нет");
    rig.prompts.answer(PromptAnswer::Yes); // the ФП write consent
    if (boardType == 4)
        fileControllerSoftware(rig);

    const TestCommandOutcome out = RunTestCommand(rig.ctx, rig.host, command);
    QVERIFY2(out.prepared,
             qPrintable(rig.prompts.boxes().isEmpty() ? QStringLiteral("not prepared")
                                                      : rig.prompts.boxes().constFirst().text));
    QCOMPARE(rig.host.testNumbers, QList<int>{test});
    QCOMPARE(out.result, int(ResultExit));
    QVERIFY2(out.completed && !out.failed, qPrintable(rig.host.texts.join(QLatin1String(" | "))));
    QVERIFY(rig.host.blocks.isEmpty());
    QVERIFY(rig.host.portImages.isEmpty());
    QVERIFY(out.keyword.isEmpty());
    QVERIFY(!rig.ctx.busy);
}

void TestBattery::batteryIsFast() {
    // The virtual clock carries the test periods: seven RAM passes of 1300 ms
    // pass on it, not on the wall clock (how fast the suite runs is the
    // benchmarks' business, not a test's).
    for (int type = 0; type < 5; ++type) {
        BenchRig rig(type);
        rig.ctx.dontShowStartDialog = true;
        const qint64 before = rig.clock.nowUs();
        RunTestCommand(rig.ctx, rig.host, cmd::RamTest);
        QVERIFY2(rig.clock.nowUs() - before >= 6 * 1300 * 1000, qPrintable(QString::number(type)));
    }
}

QTEST_GUILESS_MAIN(TestBattery)
#include "tst_testbattery.moc"
