#include "servicerig.h"

#include "service/datamemoryworkers.h"
#include "sim/boardmodel.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace kia;
using namespace testhost;

// The workers of the fiscal memory and the data EEPROM against a board whose
// DD5 already runs the test program.
class TestDataMemory : public QObject {
    Q_OBJECT
private slots:
    void saveAndRestoreRoundTrip_data();
    void saveAndRestoreRoundTrip();
    void restoreRefusesWrongSizeBeforeWriting_data();
    void restoreRefusesWrongSizeBeforeWriting();
    void failedSaveKeepsPreviousFile();
    void saveIntoReadOnlyFolder();
    void clearFindsBankNotBlank();
    void restoreFindsPageThatDoesNotWrite();
    void linkDropMidSave();
    void captionsAndRanges_data();
    void captionsAndRanges();
};

namespace {
struct Memories {
    int saveMode, restoreMode, clearMode;
    sim::Memory& (sim::BoardModel::*memory)();
};
Memories memoriesOf(bool fiscal) {
    return fiscal ? Memories{ModeSaveFiscal, ModeRestoreFiscal, ModeClearFiscal, &sim::BoardModel::fiscalMemory}
                  : Memories{ModeSaveEeprom, ModeRestoreEeprom, ModeClearEeprom, &sim::BoardModel::dataEeprom};
}
QByteArray contents(sim::Memory& m, int size) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), size);
}
void fillPattern(sim::Memory& m, int size, int seed) {
    for (int i = 0; i < size; ++i)
        m.write(quint32(i), quint8((i * 7 + seed + (i >> 8)) & 0xFF));
}
} // namespace

void TestDataMemory::saveAndRestoreRoundTrip_data() {
    QTest::addColumn<bool>("fiscal");
    QTest::newRow("ФП") << true;
    QTest::newRow("РПЗУ") << false;
}

void TestDataMemory::saveAndRestoreRoundTrip() {
    QFETCH(bool, fiscal);
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    QVERIFY(s.rig.ctx.link.PeerPresent());
    QVERIFY(s.rig.ctx.link.WritePort(1, fiscal ? 6 : 7, 7)); // the command's device selection
    const Memories m = memoriesOf(fiscal);
    sim::Memory& mem = (s.rig.board().*m.memory)();
    const int size = fiscal ? 65536 : 131072;
    fillPattern(mem, size, 3);
    const QByteArray before = contents(mem, size);

    const QString path = s.folder() + QStringLiteral("data");
    OperationArgument a{path, {}, {}, {}};
    RecordingSink save;
    QCOMPARE(RunOperation(s.rig.ctx, save, m.saveMode, a), int(OpDone));
    QCOMPARE(readAll(path), before);
    QCOMPARE(save.steps, size / 128);
    QCOMPARE(save.ranges.first(), size / 128);

    RecordingSink clear;
    QCOMPARE(RunOperation(s.rig.ctx, clear, m.clearMode, a), int(OpDone));
    QCOMPARE(contents(mem, size), QByteArray(size, char(0xFF)));
    QCOMPARE(clear.maxPosition, size / 32768);

    RecordingSink restore;
    QCOMPARE(RunOperation(s.rig.ctx, restore, m.restoreMode, a), int(OpDone));
    QCOMPARE(contents(mem, size), before);
    QCOMPARE(restore.steps, 2 * size / 128);
    QCOMPARE(restore.captions.last(), fiscal ? QStringLiteral("Проверка восстановления ФП...")
                                             : QStringLiteral("Проверка восстановления РПЗУ..."));
}

void TestDataMemory::restoreRefusesWrongSizeBeforeWriting_data() {
    QTest::addColumn<bool>("fiscal");
    QTest::addColumn<int>("size");
    QTest::newRow("ФП 65535") << true << 65535;
    QTest::newRow("ФП 65537") << true << 65537;
    QTest::newRow("ФП empty") << true << 0;
    QTest::newRow("РПЗУ 131071") << false << 131071;
    QTest::newRow("РПЗУ as ФП") << false << 65536;
}

void TestDataMemory::restoreRefusesWrongSizeBeforeWriting() {
    QFETCH(bool, fiscal);
    QFETCH(int, size);
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const Memories m = memoriesOf(fiscal);
    const QString path = s.folder() + QStringLiteral("short.fp");
    QVERIFY(writeFile(path, QByteArray(size, 0)));
    sim::Memory& mem = (s.rig.board().*m.memory)();
    const QByteArray before = contents(mem, int(mem.size()));
    OperationArgument a{path, {}, {}, {}};
    RecordingSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, m.restoreMode, a), int(OpWrongSize));
    QCOMPARE(contents(mem, int(mem.size())), before);
    QCOMPARE(sink.steps, 0);
}

void TestDataMemory::failedSaveKeepsPreviousFile() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const QString path = s.folder() + QStringLiteral("old.fp");
    const QByteArray previous(65536, char(0x42));
    QVERIFY(writeFile(path, previous));
    QString error;
    QVERIFY(s.rig.bench.loadFaultScript(QStringLiteral("silence cmd=33 after=300"), &error));
    OperationArgument a{path, {}, {}, {}};
    RecordingSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, ModeSaveFiscal, a), int(OpLinkBase));
    QCOMPARE(sink.steps, 300);
    QCOMPARE(readAll(path), previous);
    QCOMPARE(QDir(s.folder()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("old")),
             QStringList{QStringLiteral("old.fp")});
}

void TestDataMemory::saveIntoReadOnlyFolder() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const QString dir = s.folder() + QStringLiteral("ro");
    QVERIFY(QDir().mkpath(dir));
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(dir).isWritable())
        QSKIP("running with rights that ignore folder permissions");
    OperationArgument a{dir + QStringLiteral("/x.fp"), {}, {}, {}};
    RecordingSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, ModeSaveFiscal, a), int(OpFileOpen));
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestDataMemory::clearFindsBankNotBlank() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    // A bit of bank 1 that stays low: the fill cannot make it 0xFF.
    s.rig.board().fiscalMemory().setCellFault(0x8000 + 0x123, 0x01, 0);
    QVERIFY(s.rig.ctx.link.WritePort(1, 6, 7));
    OperationArgument a;
    RecordingSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, ModeClearFiscal, a), int(OpFileOpen));
    QCOMPARE(sink.captions.last(), QStringLiteral("Проверка очистки ФП..."));
    QCOMPARE(sink.position, 2); // bank 0 passed, bank 1 failed
}

void TestDataMemory::restoreFindsPageThatDoesNotWrite() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    s.rig.board().dataEeprom().setCellFault(0x10000 + 5, 0, 0x80);
    const QString path = s.folder() + QStringLiteral("zero.fls");
    QVERIFY(writeFile(path, QByteArray(131072, 0)));
    OperationArgument a{path, {}, {}, {}};
    RecordingSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, ModeRestoreEeprom, a), int(OpFileRead));
    QCOMPARE(sink.steps, 512); // banks 0 and 1 up to the bad page, which is not counted
}

void TestDataMemory::linkDropMidSave() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    QString error;
    QVERIFY(s.rig.bench.loadFaultScript(QStringLiteral("pull-cable cmd=33 after=100 once"), &error));
    OperationArgument a{s.folder() + QStringLiteral("x.fls"), {}, {}, {}};
    RecordingSink sink;
    QCOMPARE(RunOperation(s.rig.ctx, sink, ModeSaveEeprom, a), int(OpLinkBase));
    QVERIFY(s.rig.ctx.linkStatus != 0);
    QVERIFY(!QFileInfo::exists(a.text));
    s.rig.bench.plugCable();
    s.rig.bench.clearFaults();
    QCOMPARE(RunOperation(s.rig.ctx, sink, ModeSaveEeprom, a), int(OpDone));
    QCOMPARE(QFileInfo(a.text).size(), 131072);
}

void TestDataMemory::captionsAndRanges_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("range");
    QTest::newRow("0") << 0 << "Сохранение ПО контроллера..." << 128;
    QTest::newRow("1") << 1 << "Запись тест-программы в контроллер..." << 128;
    QTest::newRow("2") << 2 << "Запись ПО кассы в контроллер..." << 128;
    QTest::newRow("3") << 3 << "Сохранение данных ФП в файле..." << 512;
    QTest::newRow("4") << 4 << "Восстановление данных ФП из файла..." << 512;
    QTest::newRow("5") << 5 << "Очистка ФП..." << 2;
    QTest::newRow("6") << 6 << "Сохранение данных РПЗУ в файле..." << 1024;
    QTest::newRow("7") << 7 << "Восстановление данных РПЗУ из файла..." << 1024;
    QTest::newRow("8") << 8 << "Очистка РПЗУ..." << 4;
    QTest::newRow("9 Latin C") << 9 << "C\u0442ирание программного РПЗУ..." << 1;
    QTest::newRow("10") << 10 << "Верификация ПО кассы..." << 1920;
}

void TestDataMemory::captionsAndRanges() {
    QFETCH(int, mode);
    QFETCH(QString, caption);
    QFETCH(int, range);
    QCOMPARE(operationCaption(mode), caption);
    QCOMPARE(operationRange(mode), range);
    if (mode == 9)
        QCOMPARE(operationCaption(mode).at(0).unicode(), ushort('C'));
}

QTEST_GUILESS_MAIN(TestDataMemory)
#include "tst_datamemory.moc"
