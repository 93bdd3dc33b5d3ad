// Plain literals in the tables below are UTF-8 texts of the scenario file.
#undef QT_NO_CAST_FROM_ASCII

#include "enginerig.h"

#include "diagn/faulttypes.h"

#include <QBuffer>
#include <QTest>

using namespace kia;
using testhost::EngineRig;

namespace {
class ScriptedChooser final : public FaultTypeChooser {
public:
    int result = FaultTypeOk;
    int row = 0;
    int shown = 0;
    QStringList lines;
    int ChooseFaultType(const FaultTypeList& list, int& r) override {
        ++shown;
        for (const FaultTypeEntry& e : list.entries)
            lines << e.description;
        r = row;
        return result;
    }
};
} // namespace

class TestFaultTypes : public QObject {
    Q_OBJECT
private slots:
    void list_data();
    void list();
    void commandStartsTheChosenScenario();
    void commandOutcomes_data();
    void commandOutcomes();
};

void TestFaultTypes::list_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("board");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QStringList>("entries"); // "text=scenario/flag"
    QTest::addColumn<int>("skipped");

    const QString head = "IDIAGN31 T-Не работает ОЗУ;D1-RAM_ERROR\n"
                         "IDIAGN16 T-Нет связи с DD5;D0-NO_PROGCONNECT\n"
                         "IDIAGN15 T-Нет звука;D1-AUDIO_ERROR\n";
    QTest::newRow("board 0: the type-4 entry is left out, order kept")
        << head + "CDIAGN31 RAM_ERROR\n1: T-a\nEND\n" << 0 << true
        << QStringList{"Не работает ОЗУ=RAM_ERROR/1", "Нет звука=AUDIO_ERROR/1"} << 0;
    QTest::newRow("board 4")
        << head + "CDIAGN31 RAM_ERROR\n1: T-a\nEND\n" << 4 << true
        << QStringList{"Не работает ОЗУ=RAM_ERROR/1", "Нет связи с DD5=NO_PROGCONNECT/0"} << 0;
    QTest::newRow("first line is a header of the board: empty list")
        << "CDIAGN31 X\n" + head << 1 << true << QStringList{} << 0;
    QTest::newRow("a header of another board does not stop the list")
        << "IDIAGN31 T-a;D1-A\nPDIAGN16 Z\nIDIAGN31 T-b;D0-B\nODIAGN01 Y\nIDIAGN31 T-c;D1-C\n" << 0
        << true << QStringList{"a=A/1", "b=B/0"} << 0;
    QTest::newRow("no header of the board after the entries")
        << head + "CDIAGN16 X\n" << 0 << false << QStringList{} << 0;
    QTest::newRow("entries with both or neither scenario are left out")
        << "IDIAGN31 T-оба;D0-A;D1-B\nIDIAGN31 T-ни одного\nIDIAGN31 T-верный;D1-C\n"
           "IDIAGN31 D1-D\nCDIAGN31 C\n"
        << 0 << true << QStringList{"верный=C/1"} << 2;
    QTest::newRow("empty file") << QString() << 0 << false << QStringList{} << 0;
}

void TestFaultTypes::list() {
    QFETCH(QString, file);
    QFETCH(int, board);
    QFETCH(bool, readable);
    QFETCH(QStringList, entries);
    QFETCH(int, skipped);
    QByteArray bytes = toCp1251(file);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const FaultTypeList l = ReadFaultTypes(buffer, board);
    QCOMPARE(l.readable, readable);
    QStringList got;
    for (const FaultTypeEntry& e : l.entries)
        got << QStringLiteral("%1=%2/%3").arg(e.description, e.scenario).arg(e.startFlag);
    QCOMPARE(got, entries);
    QCOMPARE(l.skipped, skipped);
}

void TestFaultTypes::commandStartsTheChosenScenario() {
    EngineRig e;
    e.writeScenarios("IDIAGN31 T-Осциллограф;D0-OSC\nIDIAGN31 T-Общий;D1-COMMON\n"
                     "CDIAGN31 COMMON\n1: P-DD1;T-Общий шаг\nEND\n"
                     "ODIAGN31 OSC\n1: P-XS1;T-Шаг осциллографа\nEND\n");
    ScriptedChooser chooser;
    chooser.row = 0;
    QVERIFY(RunFaultTypeCommand(e.rig.ctx, e.rig.host, chooser, e.engine));
    QCOMPARE(chooser.lines, (QStringList{"Осциллограф", "Общий"}));
    QCOMPARE(e.rig.ctx.reportText, QStringLiteral("OSC"));
    QCOMPARE(e.rig.host.startDialogs, 1); // prepared as a test
    QVERIFY(!e.rig.ctx.busy);
    QCOMPARE(e.dialogs.trace, QStringList{"OSC:1 osc0 [XS1] Шаг осциллографа"});
    // While the run is active the command does nothing.
    QVERIFY(!RunFaultTypeCommand(e.rig.ctx, e.rig.host, chooser, e.engine));
    QCOMPARE(chooser.shown, 1);
    e.answer({"stop"});
    chooser.row = 1;
    QVERIFY(RunFaultTypeCommand(e.rig.ctx, e.rig.host, chooser, e.engine));
    QCOMPARE(e.dialogs.trace.last(), QStringLiteral("COMMON:1 probe [DD1] Общий шаг"));
}

void TestFaultTypes::commandOutcomes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("box");
    QTest::newRow("cancel") << "IDIAGN31 T-a;D1-A\nCDIAGN31 A\n" << int(FaultTypeCancel) << 1
                            << QString();
    QTest::newRow("no header: load error without the list")
        << "IDIAGN31 T-a;D1-A\n" << int(FaultTypeOk) << 0 << "Ошибка загрузки !  ";
    QTest::newRow("chosen scenario missing: the engine's load error")
        << "IDIAGN31 T-a;D1-A\nCDIAGN31 B\n" << int(FaultTypeOk) << 1 << "Ошибка загрузки !  ";
}

void TestFaultTypes::commandOutcomes() {
    QFETCH(QString, file);
    QFETCH(int, result);
    QFETCH(int, shown);
    QFETCH(QString, box);
    EngineRig e;
    e.writeScenarios(file);
    ScriptedChooser chooser;
    chooser.result = result;
    QVERIFY(!RunFaultTypeCommand(e.rig.ctx, e.rig.host, chooser, e.engine));
    QCOMPARE(chooser.shown, shown);
    const QList<PromptEvent> boxes = e.rig.prompts.boxes();
    QCOMPARE(boxes.isEmpty() ? QString() : boxes.last().text, box);
    QVERIFY(!e.rig.ctx.diagnosticsActive);
}

QTEST_GUILESS_MAIN(TestFaultTypes)
#include "tst_faulttypes.moc"
