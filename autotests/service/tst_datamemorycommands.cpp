#include "servicerig.h"

#include "app/commandtable.h"
#include "service/datamemorycommands.h"
#include "sim/boardmodel.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace kia;
using namespace testhost;

// The six ФП and РПЗУ commands from preparation to message, on a board whose
// DD5 runs the test program.
class TestDataMemoryCommands : public QObject {
    Q_OBJECT
private slots:
    void successTexts_data();
    void successTexts();
    void cancelledDialogEndsSilently();
    void wrongSizeRefusedBeforeAnything();
    void restoreBacksUpFirst();
    void clearWithBankNotBlank();
    void failedBackupWritesNothing();
    void linkFailureShowsLinkError();
};

namespace {
const QDateTime kNow(QDate(2026, 12, 8), QTime(9, 43, 12));
QStringList backups(ServiceRig& s) {
    return QDir(s.folder() + QStringLiteral("backups")).entryList(QDir::Files);
}
} // namespace

void TestDataMemoryCommands::successTexts_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("needsFile");
    QTest::newRow("save ФП") << int(cmd::SaveFiscalData) << "Сохранение данных ФП в файл" << "Данные ФП успешно сохранены !  " << true;
    QTest::newRow("restore ФП") << int(cmd::RestoreFiscalData) << "Восстановление данных ФП из файла" << "Данные ФП успешно восстановлены !  " << true;
    QTest::newRow("clear ФП") << int(cmd::ClearFiscalMemory) << "Очистка ФП" << "Накопитель ФП пуст!   " << false;
    QTest::newRow("save РПЗУ") << int(cmd::SaveEepromData) << "Сохранение данных РПЗУ в файл" << "Данные РПЗУ успешно сохранены !  " << true;
    QTest::newRow("restore РПЗУ") << int(cmd::RestoreEepromData) << "Восстановление данных РПЗУ из файла" << "Данные РПЗУ успешно восстановлены !  " << true;
    QTest::newRow("clear РПЗУ") << int(cmd::ClearEeprom) << "Очистка РПЗУ" << "Очистка РПЗУ успешно завершена!   " << false;
}

void TestDataMemoryCommands::successTexts() {
    QFETCH(int, command);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, needsFile);
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const bool fiscal = title.contains(QStringLiteral("ФП"));
    const QString path = s.folder() + QStringLiteral("data.bin");
    if (command == cmd::RestoreFiscalData || command == cmd::RestoreEepromData)
        QVERIFY(writeFile(path, QByteArray(fiscal ? 65536 : 131072, char(0x3C))));
    if (needsFile)
        s.rig.prompts.chooseFile(path);
    QCOMPARE(RunDataMemoryCommand(s.rig.ctx, s.service, command, [] { return kNow; }), int(OpDone));
    const QList<PromptEvent> boxes = s.rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, title);
    QCOMPARE(boxes[0].text, text);
    QCOMPARE(boxes[0].icon, PromptIcon::Exclamation);
    QVERIFY(!s.rig.ctx.busy);
    if (needsFile) {
        QCOMPARE(QFileInfo(path).size(), qint64(fiscal ? 65536 : 131072));
        const PromptEvent dialog = s.rig.prompts.events.first();
        QVERIFY(dialog.kind == PromptEvent::SaveFile || dialog.kind == PromptEvent::OpenFile);
    }
}

void TestDataMemoryCommands::cancelledDialogEndsSilently() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    QCOMPARE(RunDataMemoryCommand(s.rig.ctx, s.service, cmd::SaveEepromData), 0);
    QVERIFY(s.rig.prompts.boxes().isEmpty());
    QVERIFY(s.service.modes.isEmpty());
    QVERIFY(!s.rig.ctx.busy);
    QCOMPARE(s.service.marksCleared, 1);
}

void TestDataMemoryCommands::wrongSizeRefusedBeforeAnything() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    const QString path = s.folder() + QStringLiteral("short.fp");
    QVERIFY(writeFile(path, QByteArray(65535, 0)));
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RunDataMemoryCommand(s.rig.ctx, s.service, cmd::RestoreFiscalData), int(OpWrongSize));
    QCOMPARE(s.rig.prompts.boxes().last().text,
             QStringLiteral("Неверный размер файла ") + path + QStringLiteral(" !  "));
    QVERIFY(s.service.modes.isEmpty());
    QVERIFY(backups(s).isEmpty());
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(s.rig.board().fiscalMemory().data()), 65536),
             QByteArray(65536, char(0xFF)));
}

void TestDataMemoryCommands::restoreBacksUpFirst() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    sim::Memory& fp = s.rig.board().fiscalMemory();
    for (int i = 0; i < 65536; ++i)
        fp.write(quint32(i), quint8(i * 13));
    const QByteArray before(reinterpret_cast<const char*>(fp.data()), 65536);
    const QString path = s.folder() + QStringLiteral("new.fp");
    QVERIFY(writeFile(path, QByteArray(65536, char(0x01))));
    s.rig.prompts.chooseFile(path);
    QCOMPARE(RunDataMemoryCommand(s.rig.ctx, s.service, cmd::RestoreFiscalData, [] { return kNow; }),
             int(OpDone));
    QCOMPARE(s.service.modes, (QList<int>{ModeSaveFiscal, ModeRestoreFiscal}));
    QCOMPARE(backups(s), QStringList{QStringLiteral("fp-20261208-094312.fp")});
    QCOMPARE(readAll(s.folder() + QStringLiteral("backups/fp-20261208-094312.fp")), before);
    QCOMPARE(s.service.status.size(), 1);
    QVERIFY(s.service.status[0].endsWith(QStringLiteral("fp-20261208-094312.fp")));

    // A second backup in the same second keeps the first.
    s.rig.prompts.answers.clear();
    QCOMPARE(RunDataMemoryCommand(s.rig.ctx, s.service, cmd::ClearFiscalMemory, [] { return kNow; }),
             int(OpDone));
    QCOMPARE(backups(s).size(), 2);
}

void TestDataMemoryCommands::clearWithBankNotBlank() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    s.rig.board().fiscalMemory().setCellFault(0x8000 + 0x77, 0x10, 0);
    QCOMPARE(RunDataMemoryCommand(s.rig.ctx, s.service, cmd::ClearFiscalMemory), int(OpFileOpen));
    const PromptEvent box = s.rig.prompts.boxes().last();
    QCOMPARE(box.text, QStringLiteral("Ошибка очистки ФП !  "));
    QCOMPARE(box.icon, PromptIcon::Error);
    QCOMPARE(box.title, QStringLiteral("Очистка ФП"));
}

void TestDataMemoryCommands::failedBackupWritesNothing() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    sim::Memory& ee = s.rig.board().dataEeprom();
    ee.write(5, 0x12);
    QString error;
    // The backup read dies half-way: nothing may be cleared.
    QVERIFY(s.rig.bench.loadFaultScript(QStringLiteral("silence cmd=33 after=100"), &error));
    QCOMPARE(RunDataMemoryCommand(s.rig.ctx, s.service, cmd::ClearEeprom), int(OpLinkBase));
    QCOMPARE(s.service.modes, QList<int>{ModeSaveEeprom});
    QCOMPARE(ee.read(5), quint8(0x12));
    QVERIFY(backups(s).isEmpty());
    QVERIFY(!s.rig.ctx.busy);
}

void TestDataMemoryCommands::linkFailureShowsLinkError() {
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    QString error;
    QVERIFY(s.rig.bench.loadFaultScript(QStringLiteral("silence cmd=33 after=10"), &error));
    s.rig.prompts.chooseFile(s.folder() + QStringLiteral("x.fp"));
    QCOMPARE(RunDataMemoryCommand(s.rig.ctx, s.service, cmd::SaveFiscalData), int(OpLinkBase));
    const QList<PromptEvent> boxes = s.rig.prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0].title.startsWith(QStringLiteral("Com")));
    QVERIFY(!QFileInfo::exists(s.folder() + QStringLiteral("x.fp")));
}

QTEST_GUILESS_MAIN(TestDataMemoryCommands)
#include "tst_datamemorycommands.moc"
