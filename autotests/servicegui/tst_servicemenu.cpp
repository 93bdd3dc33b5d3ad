// The "Сервис" commands from the main window on the simulated bench: each
// command runs through its prompts and the real progress dialog (worker on its
// own thread) to its message, with the busy flag held while the board is busy.

#include "app/framefixture.h"

#include "app/appfont.h"
#include "app/commandtable.h"
#include "app/simulatedbench.h"
#include "boardtests/widgets/testcommandhandlers.h"
#include "boardtests/widgets/windowtestsession.h"
#include "service/controllersoftware.h"
#include "service/operationmodes.h"
#include "service/widgets/execprogress.h"
#include "service/widgets/prever.h"
#include "service/widgets/servicecommandhandlers.h"
#include "service/widgets/windowservicehost.h"
#include "sim/bench.h"
#include "sim/boardfault.h"
#include "sim/boardmodel.h"
#include "sim/cashregister.h"
#include "sim/dd5controller.h"
#include "sim/fault.h"

#include "core/journalsink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kia;

namespace {

QByteArray bytesOf(sim::Memory& m) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), int(m.size()));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray pattern(int size, int seed) {
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + seed + i / 256) & 0xFF);
    return b;
}

/// The repair journal as the service commands see it: every event, in order.
struct FakeJournal final : JournalSink {
    void record(const JournalEvent& e) override { events << e; }
    QList<JournalEvent> events;
};

QStringList namesIn(const QJsonValue& list) {
    QStringList names;
    for (const QJsonValue& v : list.toArray())
        names << QFileInfo(v.toString()).fileName();
    return names;
}

/// What one progress dialog showed: the caption it opened with, whether the
/// busy flag was up, and where its bar stood when it closed.
struct ProgressSeen {
    QString caption;
    bool busy = false;
    int value = -1;
    int maximum = -1;
};

/// The workstation of board type 4 on a simulated bench with a virtual clock.
struct Workstation {
    explicit Workstation(sim::Dd5Controller::StartState dd5) {
        fx.reset();
        fx.ctx->boardType = 4;
        simulated.attach(*fx.ctx);
        simulated.bench()->setDd5StartState(dd5);
        ok = fx.makeFrame(4);
        fx.ctx->dontShowStartDialog = true;
        fx.ctx->journal = &journal;
        QFile::copy(qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/testcpu.052"),
                    folder() + QStringLiteral("testcpu.052"));
        tests = InstallTestCommands(*fx.frame, CTestDialog::Pacing::ContextClock);
        host = InstallServiceCommands(*fx.frame, *tests);
        QObject::connect(host, &WindowServiceHost::dialogOpened, host,
                         [this](QDialog* d) { opened(d); });
    }
    ~Workstation() {
        fx.frame.reset();
        fx.ctx->link.CloseLinkPort();
    }

    void opened(QDialog* d) {
        if (auto* p = qobject_cast<CExecProgress*>(d)) {
            // The probe display's tick while the worker owns the port.
            fx.frame->OnProbeTimer();
            progress << ProgressSeen{p->windowTitle(), fx.ctx->busy, -1, -1};
            const int index = int(progress.size()) - 1;
            QObject::connect(p, &QDialog::finished, p, [this, p, index] {
                progress[index].value = p->progressBar()->value();
                progress[index].maximum = p->progressBar()->maximum();
            });
            return;
        }
        busyAtPreVerification = fx.ctx->busy;
        preVerifications << d->objectName();
        const bool go = continueVerification;
        QTimer::singleShot(0, d, [d, go] {
            auto* b = d->findChild<QPushButton*>(go ? QStringLiteral("continueButton")
                                                    : QStringLiteral("cancelButton"));
            if (b)
                b->click();
            else
                d->reject();
        });
    }

    QString folder() const { return fx.ctx->workingFolder; }
    sim::Bench& bench() { return *simulated.bench(); }
    QByteArray dd5Code() {
        const auto& c = bench().dd5().code();
        return QByteArray(reinterpret_cast<const char*>(c.data()), int(c.size()));
    }
    QList<PromptEvent> boxes() const { return fx.prompts.boxes(); }
    QStringList captions() const {
        QStringList c;
        for (const ProgressSeen& p : progress)
            c << p.caption;
        return c;
    }
    bool everyBarFullAndBusy() const {
        for (const ProgressSeen& p : progress) {
            if (!p.busy || p.value != p.maximum)
                return false;
        }
        return true;
    }

    FrameFixture fx;
    FakeJournal journal;
    SimulatedBench simulated;
    WindowTestSession* tests = nullptr;
    WindowServiceHost* host = nullptr;
    QList<ProgressSeen> progress;
    QStringList preVerifications;
    bool continueVerification = true;
    bool busyAtPreVerification = false;
    bool ok = false;
};

QString caption(int mode) { return operationCaption(mode); }

} // namespace

class TestServiceMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }
    void everyServiceCommandIsRouted();
    void freshBoardSavesThenRestoresController();
    void dataMemoryCommands_data();
    void dataMemoryCommands();
    void verification_data();
    void verification();
    void noToJp1LeavesBoardUntouched();
    void journalEvents_data();
    void journalEvents();
};

void TestServiceMenu::everyServiceCommandIsRouted() {
    Workstation w(sim::Dd5Controller::StartState::TestProgram);
    QVERIFY(w.ok);
    for (int id : serviceCommandIds())
        QVERIFY2(w.fx.frame->router().hasHandler(id), qPrintable(QString::number(id)));
    QCOMPARE(serviceCommandIds().size(), 9);
    QCOMPARE(w.fx.ctx->controllerPreparation, static_cast<ControllerPreparation*>(&w.host->preparation()));
}

void TestServiceMenu::freshBoardSavesThenRestoresController() {
    // DD5 holds the cash register's software: the first service command files
    // it and puts the test program in, each step behind its own dialog; the
    // restore command puts the software back byte for byte.
    Workstation w(sim::Dd5Controller::StartState::CashSoftware);
    QVERIFY(w.ok);
    const QByteArray software = w.dd5Code();
    const QString fp = w.folder() + QStringLiteral("data.fp");
    w.fx.prompts.chooseFile(fp);
    w.fx.frame->OnCommand(cmd::SaveFiscalData);

    QCOMPARE(w.progress.size(), 3);
    QCOMPARE(w.progress[0].caption, caption(ModeSaveControllerSoftware));
    QCOMPARE(w.progress[1].caption, caption(ModeWriteTestProgram));
    QCOMPARE(w.progress[2].caption, caption(ModeSaveFiscal));
    QVERIFY(w.everyBarFullAndBusy());
    const QString cpu = w.folder() + QStringLiteral("230607091405.cpu");
    QFile saved(cpu);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), software);
    saved.close();
    QFile data(fp);
    QVERIFY(data.open(QIODevice::ReadOnly));
    QCOMPARE(data.readAll(), bytesOf(w.bench().board().fiscalMemory()));
    const QList<PromptEvent> boxes = w.boxes();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes[0].title, QStringLiteral("ВНИМАНИЕ"));
    QCOMPARE(boxes[1].title, QStringLiteral("Сохранение данных ФП в файл"));
    QCOMPARE(boxes[1].text, QStringLiteral("Данные ФП успешно сохранены !  "));
    QCOMPARE(boxes[1].icon, PromptIcon::Exclamation);
    QVERIFY(!w.fx.ctx->busy);
    // One event for the command, with the software filed on the way.
    QCOMPARE(w.journal.events.size(), 1);
    const JournalEvent save = w.journal.events[0];
    QCOMPARE(save.outcome, JournalEvent::Outcome::Passed);
    QCOMPARE(save.verdict, QStringLiteral("Данные ФП успешно сохранены !"));
    QCOMPARE(namesIn(save.details.value(QStringLiteral("files"))),
             (QStringList{QStringLiteral("230607091405.cpu"), QStringLiteral("testcpu.052"),
                          QStringLiteral("data.fp")}));
    QCOMPARE(save.details.value(QStringLiteral("identity")).toString(),
             QStringLiteral("230607091405"));

    w.progress.clear();
    w.fx.prompts.clear();
    w.fx.prompts.answer(PromptAnswer::Yes);
    w.fx.frame->OnCommand(cmd::RestoreControllerSoftware);
    QCOMPARE(w.captions(), QStringList{caption(ModeWriteControllerSoftware)});
    QVERIFY(w.everyBarFullAndBusy());
    QCOMPARE(w.dd5Code(), software);
    QVERIFY(!QFile::exists(cpu)); // found automatically, so it goes
    QCOMPARE(w.boxes().last().text, QStringLiteral("ПО контроллера успешно восстановлено!"));
    QCOMPARE(w.boxes().last().title, QStringLiteral("Восстановление ПО контроллера"));
    QVERIFY(!w.fx.ctx->busy);
    QCOMPARE(w.journal.events.size(), 2);
    const JournalEvent restore = w.journal.events[1];
    QCOMPARE(restore.name, QStringLiteral("Восстановление ПО контроллера"));
    QCOMPARE(restore.kind, JournalEvent::Kind::Service);
    QCOMPARE(restore.outcome, JournalEvent::Outcome::Passed);
    QCOMPARE(restore.result, int(OpDone));
    QCOMPARE(restore.verdict, QStringLiteral("ПО контроллера успешно восстановлено!"));
    QCOMPARE(namesIn(restore.details.value(QStringLiteral("files"))),
             QStringList{QStringLiteral("230607091405.cpu")});
    const QJsonObject written =
        restore.details.value(QStringLiteral("operations")).toArray().first().toObject();
    QCOMPARE(written.value(QStringLiteral("bytes")).toInt(), 8192);
}

void TestServiceMenu::dataMemoryCommands_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("fileSize"); // -1: no file made, -2: the dialog is cancelled
    QTest::addColumn<QList<int>>("modes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text"); // "%1" stands for the path; empty: no box
    QTest::addColumn<bool>("backup");

    QTest::newRow("save ФП") << int(cmd::SaveFiscalData) << -1 << QList<int>{ModeSaveFiscal}
                             << QStringLiteral("Сохранение данных ФП в файл")
                             << QStringLiteral("Данные ФП успешно сохранены !  ") << false;
    QTest::newRow("save ФП cancelled") << int(cmd::SaveFiscalData) << -2 << QList<int>{}
                                       << QString() << QString() << false;
    QTest::newRow("restore ФП") << int(cmd::RestoreFiscalData) << 65536
                                << QList<int>{ModeSaveFiscal, ModeRestoreFiscal}
                                << QStringLiteral("Восстановление данных ФП из файла")
                                << QStringLiteral("Данные ФП успешно восстановлены !  ") << true;
    QTest::newRow("restore ФП 65535 bytes")
        << int(cmd::RestoreFiscalData) << 65535 << QList<int>{}
        << QStringLiteral("Восстановление данных ФП из файла")
        << QStringLiteral("Неверный размер файла %1 !  ") << false;
    QTest::newRow("clear ФП") << int(cmd::ClearFiscalMemory) << -1
                              << QList<int>{ModeSaveFiscal, ModeClearFiscal}
                              << QStringLiteral("Очистка ФП") << QStringLiteral("Накопитель ФП пуст!   ")
                              << true;
    QTest::newRow("save РПЗУ") << int(cmd::SaveEepromData) << -1 << QList<int>{ModeSaveEeprom}
                               << QStringLiteral("Сохранение данных РПЗУ в файл")
                               << QStringLiteral("Данные РПЗУ успешно сохранены !  ") << false;
    QTest::newRow("restore РПЗУ") << int(cmd::RestoreEepromData) << 131072
                                  << QList<int>{ModeSaveEeprom, ModeRestoreEeprom}
                                  << QStringLiteral("Восстановление данных РПЗУ из файла")
                                  << QStringLiteral("Данные РПЗУ успешно восстановлены !  ") << true;
    QTest::newRow("clear РПЗУ") << int(cmd::ClearEeprom) << -1
                                << QList<int>{ModeSaveEeprom, ModeClearEeprom}
                                << QStringLiteral("Очистка РПЗУ")
                                << QStringLiteral("Очистка РПЗУ успешно завершена!   ") << true;
}

void TestServiceMenu::dataMemoryCommands() {
    QFETCH(int, command);
    QFETCH(int, fileSize);
    QFETCH(QList<int>, modes);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, backup);
    Workstation w(sim::Dd5Controller::StartState::TestProgram);
    QVERIFY(w.ok);
    const bool fiscal = command == cmd::SaveFiscalData || command == cmd::RestoreFiscalData ||
                        command == cmd::ClearFiscalMemory;
    sim::Memory& memory =
        fiscal ? w.bench().board().fiscalMemory() : w.bench().board().dataEeprom();
    // Something on the board that a backup must keep.
    const QByteArray before = pattern(int(memory.size()), 3);
    std::copy(before.begin(), before.end(), reinterpret_cast<char*>(memory.data()));
    const QString path = w.folder() + QStringLiteral("chosen.dat");
    const QByteArray contents = pattern(qMax(fileSize, 0), 11);
    if (fileSize >= 0)
        QVERIFY(writeFile(path, contents));
    if (fileSize != -2)
        w.fx.prompts.chooseFile(path);
    const QString paneBefore = w.fx.frame->pane(0)->text();

    w.fx.frame->OnCommand(command);

    QList<int> seen;
    for (const ProgressSeen& p : w.progress) {
        for (int m = 0; m <= 10; ++m) {
            if (p.caption == caption(m))
                seen << m;
        }
    }
    QCOMPARE(seen, modes);
    QVERIFY(w.everyBarFullAndBusy());
    QVERIFY(!w.fx.ctx->busy);
    const QList<PromptEvent> boxes = w.boxes();
    if (text.isEmpty()) {
        QVERIFY(boxes.isEmpty());
    } else {
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, title);
        QCOMPARE(boxes[0].text, text.contains(QStringLiteral("%1")) ? text.arg(path) : text);
    }
    // What the memory holds now, by command.
    const QByteArray now = bytesOf(memory);
    if (command == cmd::RestoreFiscalData || command == cmd::RestoreEepromData)
        QCOMPARE(now, fileSize == int(memory.size()) ? contents : before);
    else if (command == cmd::ClearFiscalMemory || command == cmd::ClearEeprom)
        QCOMPARE(now, QByteArray(int(memory.size()), char(0xFF)));
    else
        QCOMPARE(now, before);
    if (command == cmd::SaveFiscalData || command == cmd::SaveEepromData) {
        QFile f(path);
        QCOMPARE(f.open(QIODevice::ReadOnly), fileSize != -2);
        if (fileSize != -2)
            QCOMPARE(f.readAll(), before);
    }
    // The backup holds what was there, and the status bar names it.
    const QStringList backups = QDir(w.folder() + QStringLiteral("backups")).entryList(QDir::Files);
    QCOMPARE(backups.size(), backup ? 1 : 0);
    if (backup) {
        const QString name = w.folder() + QStringLiteral("backups/") + backups.first();
        QFile b(name);
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), before);
        QCOMPARE(w.fx.frame->pane(0)->text(), QStringLiteral("Резервная копия: ") + name);
    } else {
        QCOMPARE(w.fx.frame->pane(0)->text(), paneBefore);
    }
}

void TestServiceMenu::verification_data() {
    QTest::addColumn<qint32>("speed");
    QTest::addColumn<bool>("proceed");
    QTest::newRow("57600, switched and back") << qint32(57600) << true;
    QTest::newRow("115200, not switched") << qint32(115200) << true;
    QTest::newRow("cancelled") << qint32(9600) << false;
}

void TestServiceMenu::verification() {
    QFETCH(qint32, speed);
    QFETCH(bool, proceed);
    Workstation w(sim::Dd5Controller::StartState::TestProgram);
    QVERIFY(w.ok);
    w.bench().setCable(sim::Bench::Cable::CashRegister);
    w.bench().cashRegister().setSpeed(speed);
    w.continueVerification = proceed;
    const QString reference = w.folder() + QStringLiteral("kassa.bin");
    QVERIFY(writeFile(reference, sim::CashRegister::softwareImage()));
    if (proceed)
        w.fx.prompts.chooseFile(reference);
    const quint64 framesBefore = w.bench().cashRegister().frameCount();

    w.fx.frame->OnCommand(cmd::VerifySoftware);

    QCOMPARE(w.preVerifications, QStringList{QStringLiteral("CPreVer")});
    QVERIFY(w.busyAtPreVerification);
    QVERIFY(!w.fx.ctx->busy);
    QCOMPARE(w.fx.ctx->link.openPort(), 0); // the port is left closed
    QCOMPARE(w.bench().cashRegister().speed(), speed);
    if (!proceed) {
        QVERIFY(w.progress.isEmpty());
        QVERIFY(w.boxes().isEmpty());
        QCOMPARE(w.bench().cashRegister().frameCount(), framesBefore);
        return;
    }
    QCOMPARE(w.captions(), QStringList{caption(ModeVerifySoftware)});
    QVERIFY(w.everyBarFullAndBusy());
    QCOMPARE(w.progress[0].maximum, 1920);
    QCOMPARE(w.boxes().size(), 1);
    QCOMPARE(w.boxes()[0].title, QStringLiteral("Верификация ПО кассы"));
    QCOMPARE(w.boxes()[0].text, QStringLiteral("ПО кассы соответствует эталонному !  "));
}

void TestServiceMenu::noToJp1LeavesBoardUntouched() {
    Workstation w(sim::Dd5Controller::StartState::CashSoftware);
    QVERIFY(w.ok);
    const QByteArray code = w.dd5Code();
    const QByteArray program = bytesOf(w.bench().board().programMemory());
    w.fx.prompts.answer(PromptAnswer::No);
    w.fx.frame->OnCommand(cmd::UpdateSoftware);
    QCOMPARE(w.boxes().size(), 1);
    QCOMPARE(w.boxes()[0].kind, PromptEvent::Question);
    QCOMPARE(w.boxes()[0].title, QStringLiteral("Обновление ПО кассы..."));
    QVERIFY(w.progress.isEmpty());
    QCOMPARE(w.dd5Code(), code);
    QCOMPARE(bytesOf(w.bench().board().programMemory()), program);
    QVERIFY(!w.fx.ctx->busy);
}

namespace {
enum class Setup {
    File,             // a file of `fileSize` bytes is chosen
    Cancel,           // the file dialog is cancelled
    FiscalReadFlip,   // as File, and a ФП byte reads back wrong
    RegisterReadFlip, // verification: a byte of the register reads back wrong
    NoRegister,       // verification with the board's cable: no register at any speed
    ProgrammerSilent, // the programmer does not answer at all
    NoToJp1,          // update: "No" to the "JP1" question
};
} // namespace
Q_DECLARE_METATYPE(Setup)

void TestServiceMenu::journalEvents_data() {
    QTest::addColumn<bool>(
        "freshBoard"); // DD5 holds the cash software: the test program goes in first
    QTest::addColumn<int>("command");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("verdict"); // "%1" stands for the chosen path
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("backups");
    QTest::addColumn<int>("lastBytes"); // of the last operation; -1: none noted

    const QString chosen = QStringLiteral("chosen.dat");
    const int passed = int(JournalEvent::Outcome::Passed);
    const int failed = int(JournalEvent::Outcome::Failed);
    const int none = int(JournalEvent::Outcome::None);
    QTest::newRow("save ФП") << false << int(cmd::SaveFiscalData) << Setup::File << -1 << true
                             << passed << int(OpDone)
                             << QStringLiteral("Данные ФП успешно сохранены !")
                             << QStringList{chosen} << 0 << 65536;
    QTest::newRow("save ФП cancelled: nothing done, no event")
        << false << int(cmd::SaveFiscalData) << Setup::Cancel << -1 << false << none << 0
        << QString() << QStringList{} << 0 << -1;
    QTest::newRow("save РПЗУ cancelled after the test program went in")
        << true << int(cmd::SaveEepromData) << Setup::Cancel << -1 << true << none << 0
        << QStringLiteral("Прервано оператором")
        << QStringList{QStringLiteral("230607091405.cpu"), QStringLiteral("testcpu.052")} << 0
        << 1024; // the test program file read
    QTest::newRow("restore ФП, a byte reads back wrong")
        << false << int(cmd::RestoreFiscalData) << Setup::FiscalReadFlip << 65536 << true << failed
        << int(OpFileRead) << QStringLiteral("Ошибка записи в ФП !") // the page's own read-back
        << QStringList{chosen} << 1 << -1;
    QTest::newRow("restore ФП from a file one byte short")
        << false << int(cmd::RestoreFiscalData) << Setup::File << 65535 << true << failed
        << int(OpWrongSize) << QStringLiteral("Неверный размер файла %1 !") << QStringList{} << 0
        << -1;
    QTest::newRow("clear РПЗУ") << false << int(cmd::ClearEeprom) << Setup::File << -1 << true
                                << passed << int(OpDone)
                                << QStringLiteral("Очистка РПЗУ успешно завершена!")
                                << QStringList{} << 1 << -1;
    QTest::newRow("save ФП, programmer silent")
        << false << int(cmd::SaveFiscalData) << Setup::ProgrammerSilent << -1 << true << failed << 0
        << QString() << QStringList{} << 0 << -1;
    QTest::newRow("update: No to JP1, no event")
        << true << int(cmd::UpdateSoftware) << Setup::NoToJp1 << -1 << false << none << 0
        << QString() << QStringList{} << 0 << -1;
    QTest::newRow("verification, a register byte reads back wrong")
        << false << int(cmd::VerifySoftware) << Setup::RegisterReadFlip << -1 << true << failed
        << int(OpCompare) << QStringLiteral("Ошибка сравнения ПО кассы с эталонной версией!")
        << QStringList{QStringLiteral("kassa.bin")} << 0 << -1;
    QTest::newRow("verification, no register at any speed")
        << false << int(cmd::VerifySoftware) << Setup::NoRegister << -1 << true << failed << -1
        << QString() << QStringList{} << 0 << -1;
}

void TestServiceMenu::journalEvents() {
    QFETCH(bool, freshBoard);
    QFETCH(int, command);
    QFETCH(Setup, setup);
    QFETCH(int, fileSize);
    QFETCH(bool, recorded);
    QFETCH(int, outcome);
    QFETCH(int, result);
    QFETCH(QString, verdict);
    QFETCH(QStringList, files);
    QFETCH(int, backups);
    QFETCH(int, lastBytes);
    Workstation w(freshBoard ? sim::Dd5Controller::StartState::CashSoftware
                             : sim::Dd5Controller::StartState::TestProgram);
    QVERIFY(w.ok);
    QString path = w.folder() + QStringLiteral("chosen.dat");
    switch (setup) {
    case Setup::File:
    case Setup::FiscalReadFlip:
        if (fileSize >= 0)
            QVERIFY(writeFile(path, pattern(fileSize, 5)));
        w.fx.prompts.chooseFile(path);
        if (setup == Setup::FiscalReadFlip)
            QVERIFY(w.bench().addBoardFault(
                sim::BoardFault::readFlip(sim::BoardFault::FlipFiscal, 0x8123, 0x10)));
        break;
    case Setup::RegisterReadFlip:
    case Setup::NoRegister:
        path = w.folder() + QStringLiteral("kassa.bin");
        QVERIFY(writeFile(path, sim::CashRegister::softwareImage()));
        w.fx.prompts.chooseFile(path);
        if (setup == Setup::RegisterReadFlip) {
            w.bench().setCable(sim::Bench::Cable::CashRegister);
            QString error;
            QVERIFY2(w.bench().loadFaultScript(QStringLiteral("read-flip register addr=0x12345"),
                                               &error),
                     qPrintable(error));
        }
        break;
    case Setup::ProgrammerSilent:
        w.fx.prompts.chooseFile(path);
        w.bench().addFault(sim::Fault::silence());
        break;
    case Setup::NoToJp1:
        w.fx.prompts.answer(PromptAnswer::No);
        break;
    case Setup::Cancel:
        break;
    }

    w.fx.frame->OnCommand(command);

    QVERIFY(!w.fx.ctx->busy);
    if (!recorded) {
        QVERIFY(w.journal.events.isEmpty());
        return;
    }
    QCOMPARE(w.journal.events.size(), 1);
    const JournalEvent e = w.journal.events.first();
    QCOMPARE(e.kind, JournalEvent::Kind::Service);
    QCOMPARE(e.name, serviceCommandName(command));
    QCOMPARE(int(e.outcome), outcome);
    if (result >= 0)
        QCOMPARE(e.result, result);
    else
        QVERIFY2(e.result > int(OpLinkBase) && e.result < int(OpFileOpen),
                 qPrintable(QString::number(e.result)));
    // The verdict is the text of the last box the engineer read (a link
    // failure's question without its offer of diagnostics).
    const QList<PromptEvent> boxes = w.boxes();
    QVERIFY(!boxes.isEmpty());
    if (verdict.isEmpty())
        QVERIFY2(boxes.last().text.simplified().startsWith(e.verdict), qPrintable(e.verdict));
    else
        QCOMPARE(e.verdict, verdict.contains(QStringLiteral("%1")) ? verdict.arg(path) : verdict);
    QVERIFY(!e.verdict.isEmpty());
    QCOMPARE(namesIn(e.details.value(QStringLiteral("files"))),
             files.replaceInStrings(QStringLiteral("chosen.dat"), QFileInfo(path).fileName()));
    const QJsonArray kept = e.details.value(QStringLiteral("backups")).toArray();
    QCOMPARE(kept.size(), backups);
    for (const QJsonValue& b : kept)
        QVERIFY2(QFileInfo(b.toString()).isFile(), qPrintable(b.toString()));
    const QJsonArray operations = e.details.value(QStringLiteral("operations")).toArray();
    const QJsonValue bytes = operations.isEmpty()
                                 ? QJsonValue()
                                 : operations.last().toObject().value(QStringLiteral("bytes"));
    QCOMPARE(bytes.isUndefined() || bytes.isNull() ? -1 : bytes.toInt(), lastBytes);
}

QTEST_MAIN(TestServiceMenu)
#include "tst_servicemenu.moc"
