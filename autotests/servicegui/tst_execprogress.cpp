// The progress dialog: caption and range per mode, the worker started once the
// dialog is on screen, progress arriving while the worker still runs, Esc and
// the close box ignored, and the dialog ending with the worker's result.

#include "service/servicerig.h"

#include "service/widgets/execprogress.h"
#include "service/widgets/prever.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSemaphore>
#include <QTest>
#include <QTimer>
#include <atomic>

using namespace kia;
using namespace testhost;

namespace {

// A stand-in worker the test holds at a gate: it reports three steps of a
// second phase, waits until the test lets it go, then one more step and 77.
QSemaphore gGate;
std::atomic<bool> gDialogShown{false};
std::atomic<bool> gShownWhenStarted{false};

int gatedWorker(BenchContext&, ProgressSink& progress, OperationArgument&) {
    gShownWhenStarted = gDialogShown.load();
    progress.setCaption(QStringLiteral("Проверка записи..."));
    progress.setRange(7);
    progress.step();
    progress.step();
    progress.step();
    gGate.acquire();
    progress.setPosition(0);
    progress.step();
    return 77;
}

// Notes when the dialog is shown, for the worker to compare against.
class ShowWatch : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show)
            gDialogShown = true;
        return false;
    }
};

// Lets the worker go whatever happens to the checks, so no test hangs.
struct GateRelease {
    ~GateRelease() {
        if (gGate.available() == 0)
            gGate.release();
    }
};

} // namespace

class TestExecProgress : public QObject {
    Q_OBJECT
private slots:
    void captionAndRangeByMode_data();
    void captionAndRangeByMode();
    void workerStartsOnScreenAndIgnoresEsc();
    void realWorkerEndsWithItsResult_data();
    void realWorkerEndsWithItsResult();
    void preVerificationDialog();
};

void TestExecProgress::captionAndRangeByMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("range");
    const struct {
        int mode;
        const char* caption;
        int range;
    } rows[] = {
        {0, "Сохранение ПО контроллера...", 128},
        {1, "Запись тест-программы в контроллер...", 128},
        {2, "Запись ПО кассы в контроллер...", 128},
        {3, "Сохранение данных ФП в файле...", 512},
        {4, "Восстановление данных ФП из файла...", 512},
        {5, "Очистка ФП...", 2},
        {6, "Сохранение данных РПЗУ в файле...", 1024},
        {7, "Восстановление данных РПЗУ из файла...", 1024},
        {8, "Очистка РПЗУ...", 4},
        // A Latin "C" first, then Cyrillic "тирание".
        {9, "C\u0442\u0438\u0440\u0430\u043d\u0438\u0435 программного РПЗУ...", 1},
        {10, "Верификация ПО кассы...", 1920},
    };
    for (const auto& r : rows)
        QTest::addRow("mode %d", r.mode) << r.mode << QString::fromUtf8(r.caption) << r.range;
}

void TestExecProgress::captionAndRangeByMode() {
    QFETCH(int, mode);
    QFETCH(QString, caption);
    QFETCH(int, range);
    ServiceRig s;
    OperationArgument a;
    CExecProgress dlg(s.rig.ctx, mode, a);
    QCOMPARE(dlg.windowTitle(), caption);
    QCOMPARE(dlg.progressBar()->minimum(), 0);
    QCOMPARE(dlg.progressBar()->maximum(), range);
    QCOMPARE(dlg.progressBar()->value(), 0);
    QCOMPARE(dlg.mode(), mode);
    if (mode == 9)
        QCOMPARE(dlg.windowTitle().at(0).unicode(), char16_t(0x43));
    // Nothing runs before the dialog is on screen.
    QVERIFY(!dlg.workerStarted());
    QCOMPARE(dlg.findChildren<QPushButton*>().size(), 0);
}

void TestExecProgress::workerStartsOnScreenAndIgnoresEsc() {
    ServiceRig s;
    OperationArgument a;
    gDialogShown = false;
    gShownWhenStarted = false;
    CExecProgress dlg(s.rig.ctx, ModeClearFiscal, &gatedWorker, a);
    ShowWatch watch;
    dlg.installEventFilter(&watch);
    bool checked = false;
    bool busyWhileRunning = false;
    QTimer::singleShot(0, &dlg, [&] {
        GateRelease release;
        // Progress arrives while the worker is still held at the gate.
        QTRY_COMPARE(dlg.progressBar()->value(), 3);
        QCOMPARE(dlg.progressBar()->maximum(), 7);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Проверка записи..."));
        busyWhileRunning = s.rig.ctx.busy;
        QTest::keyClick(&dlg, Qt::Key_Escape);
        dlg.close();
        dlg.reject();
        QCoreApplication::processEvents();
        QVERIFY(dlg.isVisible());
        checked = true;
    });
    QVERIFY(!s.rig.ctx.busy);
    QCOMPARE(dlg.run(), 77);
    QVERIFY(checked);
    QVERIFY(gShownWhenStarted);
    QVERIFY(busyWhileRunning);
    QVERIFY(!s.rig.ctx.busy);      // given back as it was
    QCOMPARE(dlg.progressBar()->value(), 1); // position 0, then one step
}

void TestExecProgress::realWorkerEndsWithItsResult_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("writableFolder");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("lastCaption");
    QTest::addColumn<int>("lastRange");
    QTest::newRow("save ФП") << int(ModeSaveFiscal) << true << int(OpDone)
                             << QStringLiteral("Сохранение данных ФП в файле...") << 512;
    QTest::newRow("save РПЗУ") << int(ModeSaveEeprom) << true << int(OpDone)
                               << QStringLiteral("Сохранение данных РПЗУ в файле...") << 1024;
    QTest::newRow("clear ФП") << int(ModeClearFiscal) << true << int(OpDone)
                              << QStringLiteral("Проверка очистки ФП...") << 2;
    QTest::newRow("save ФП, folder missing") << int(ModeSaveFiscal) << false << int(OpFileOpen)
                                             << QStringLiteral("Сохранение данных ФП в файле...")
                                             << 512;
}

void TestExecProgress::realWorkerEndsWithItsResult() {
    QFETCH(int, mode);
    QFETCH(bool, writableFolder);
    QFETCH(int, result);
    QFETCH(QString, lastCaption);
    QFETCH(int, lastRange);
    ServiceRig s;
    s.rig.bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    OperationArgument a;
    a.text = s.folder() + (writableFolder ? QString() : QStringLiteral("no/such/folder/")) +
             QStringLiteral("data.bin");
    CExecProgress dlg(s.rig.ctx, mode, a);
    QCOMPARE(dlg.run(), result);
    QCOMPARE(dlg.windowTitle(), lastCaption);
    QCOMPARE(dlg.progressBar()->maximum(), lastRange);
    // The ranges equal the steps the workers make: a finished bar is full.
    QCOMPARE(dlg.progressBar()->value(), result == OpDone ? lastRange : 0);
    if (mode == ModeSaveFiscal && result == OpDone)
        QCOMPARE(QFileInfo(a.text).size(), 65536);
}

void TestExecProgress::preVerificationDialog() {
    CPreVer dlg;
    QCOMPARE(dlg.objectName(), QStringLiteral("CPreVer"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Верификация ПО кассы..."));
    QCOMPARE(dlg.textField()->toPlainText(),
             QStringLiteral("1. Подключите ККМ к ПК согласно приведенной схеме.\n"
                            "2. Убедитесь, что в программе выбран соответствующий СОМ порт.\n"
                            "3. Включите ККМ и убедитесь,что она запустилась.\n"
                            "4. Нажмите \"Продолжить\", чтобы начать верификацию или\n"
                            "    \"Отменить\" для отмены операции."));
    QVERIFY(dlg.textField()->isReadOnly());
    QCOMPARE(dlg.picture()->pixmap().size(), QSize(397, 169));
    QCOMPARE(dlg.continueButton()->text(), QStringLiteral("Продолжить"));
    QCOMPARE(dlg.cancelButton()->text(), QStringLiteral("Отменить"));
    // Every line is read whole, without scrolling sideways.
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.textField()->horizontalScrollBar()->maximum(), 0);
    dlg.hide();
    QTimer::singleShot(0, &dlg, [&] { dlg.continueButton()->click(); });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
}

QTEST_MAIN(TestExecProgress)
#include "tst_execprogress.moc"
