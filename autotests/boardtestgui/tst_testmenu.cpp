// Board tests from the main window on the simulated bench: a menu item runs
// through the start dialog, the version choice, the test dialog and the error
// displays to its verdict or its keyword, with the busy flag held meanwhile.

#include "dialogscript.h"

#include "app/framefixture.h"

#include "app/appfont.h"
#include "app/commandtable.h"
#include "app/simulatedbench.h"
#include "core/scenariohost.h"
#include "sim/bench.h"
#include "sim/testprocessor.h"
#include "boardtests/widgets/testcommandhandlers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace kia;

namespace {
class Scenarios final : public ScenarioHost {
public:
    QStringList started;
    bool StartScenario(const QString& keyword, int kind) override {
        started << QStringLiteral("%1/%2").arg(keyword).arg(kind);
        return true;
    }
    bool StartOscilloscopeScenario(const QString& keyword) override {
        started << keyword;
        return true;
    }
};

/// The workstation of one board type on a simulated bench with a virtual clock.
struct Workstation {
    Workstation(int boardType, const QString& faults) {
        fx.reset();
        fx.ctx->boardType = boardType;
        fx.ctx->scenarios = &scenarios;
        simulated.attach(*fx.ctx);
        if (boardType == 4)
            simulated.bench()->setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
        QString error;
        if (!faults.isEmpty() && !simulated.bench()->loadFaultScript(faults, &error))
            qFatal("fault script: %s", qPrintable(error));
        ok = fx.makeFrame(boardType);
        session = InstallTestCommands(*fx.frame, CTestDialog::Pacing::ContextClock);
        script = std::make_unique<testgui::DialogScript>(*session);
        // The verdict and the busy flag as the test dialog ends its steps.
        script->byDefault(QStringLiteral("CTestDialog"),
                          [this](QDialog* d) { atCompletion(d, "exitButton"); });
    }
    ~Workstation() {
        fx.frame.reset();
        fx.ctx->link.CloseLinkPort();
    }

    void atCompletion(QDialog* d, const char* button) {
        verdicts << d->findChild<QLabel*>(QStringLiteral("textLine"))->text();
        busyDuringTest = busyDuringTest && fx.ctx->busy;
        testgui::DialogScript::clickButton(d, QLatin1String(button));
    }

    /// Queues answers: "dialog:button", or "CSelVersionDlg:okButton:2.20" to pick a version first.
    void answer(const QStringList& answers) {
        for (const QString& a : answers) {
            const QStringList parts = a.split(u':');
            const QString name = parts.value(0), button = parts.value(1), choice = parts.value(2);
            if (name == QStringLiteral("CTestDialog")) {
                const QByteArray b = button.toLatin1();
                script->on(name, [this, b](QDialog* d) { atCompletion(d, b.constData()); });
                continue;
            }
            script->on(name, [button, choice](QDialog* d) {
                if (auto* list = d->findChild<QComboBox*>(); list && !choice.isEmpty())
                    list->setCurrentIndex(list->findText(choice));
                if (button == QStringLiteral("dontShow"))
                    d->findChild<QCheckBox*>(QStringLiteral("dontShowCheckBox"))->setChecked(true);
                testgui::DialogScript::clickButton(d, button == QStringLiteral("dontShow")
                                                          ? QStringLiteral("continueButton")
                                                          : button);
            });
        }
    }

    void trigger(int command) { fx.frame->menuAction(command)->trigger(); }
    quint64 framesHeard() { return simulated.bench()->testProcessor().frameCount(); }

    FrameFixture fx;
    SimulatedBench simulated;
    Scenarios scenarios;
    WindowTestSession* session = nullptr;
    std::unique_ptr<testgui::DialogScript> script;
    QStringList verdicts;
    bool busyDuringTest = true;
    bool ok = false;
};

const QString kStart = QStringLiteral("CTestStartDlg");
const QString kTest = QStringLiteral("CTestDialog");
const QString kMemory = QStringLiteral("CMemoryErrorDlg");
const QString kPorts = QStringLiteral("CPortImageDlg");
const QString kVersion = QStringLiteral("CSelVersionDlg");
const QString kPassed = QStringLiteral("Тест прошел !");
} // namespace

class TestTestMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }
    void everyTestCommandIsRouted();
    void fromMenuToVerdict_data();
    void fromMenuToVerdict();
    void repeatRunsAgainWithoutPreparation();
    void dontShowAgainSkipsTheStartDialog();
};

void TestTestMenu::everyTestCommandIsRouted() {
    Workstation w(0, QString());
    QVERIFY(w.ok);
    const QList<int> expected{32786, 32788, 32787, 32789, 32790, 32791, 32794, 32795,
                              32842, 32798, 32840, 32785, 32811, 32851, 32812, 32813,
                              32850};
    QList<int> ids = testCommandIds();
    std::sort(ids.begin(), ids.end());
    QList<int> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(ids, sorted);
    for (int id : expected)
        QVERIFY2(w.fx.frame->router().hasHandler(id), qPrintable(QString::number(id)));
}

void TestTestMenu::fromMenuToVerdict_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QString>("verdict"); // the text line when the steps are done; empty: none
    QTest::addColumn<QStringList>("scenarios");

    const QString cont = kStart + QStringLiteral(":continueButton");
    const QStringList none;
    QTest::newRow("RAM, type 0") << 0 << cmd::RamTest << QString() << QStringList{cont}
                                 << QStringList{kStart, kTest} << kPassed << none;
    QTest::newRow("RAM, type 4") << 4 << cmd::RamTest << QString() << QStringList{cont}
                                 << QStringList{kStart, kTest} << kPassed << none;
    QTest::newRow("bus, type 2") << 2 << cmd::BusTest << QString() << QStringList{cont}
                                 << QStringList{kStart, kTest} << kPassed << none;
    QTest::newRow("ROM, type 1, version 2.20")
        << 1 << cmd::RomTest << QString()
        << QStringList{cont, kVersion + QStringLiteral(":okButton:2.20")}
        << QStringList{kStart, kVersion, kTest} << QStringLiteral("Тест прошел ! ( КС = ") << none;
    QTest::newRow("RAM cell, type 1: diagnostics")
        << 1 << cmd::RamTest << QStringLiteral("ram-cell addr=0x0345 high=0x01")
        << QStringList{cont, kMemory + QStringLiteral(":diagnosticsButton")}
        << QStringList{kStart, kTest, kMemory} << QString()
        << QStringList{QStringLiteral("RAM_ERROR/1")};
    QTest::newRow("bus short, type 3: diagnostics")
        << 3 << cmd::BusTest << QStringLiteral("port-short 2.3 2.4")
        << QStringList{cont, kPorts + QStringLiteral(":diagnosticsButton")}
        << QStringList{kStart, kTest, kPorts} << QString()
        << QStringList{QStringLiteral("BUS_ERROR/1")};
    QTest::newRow("scan: the keyword at once")
        << 0 << cmd::ScanBus << QString() << QStringList{cont} << QStringList{kStart} << QString()
        << QStringList{QStringLiteral("SCAN_BUS/1")};
    QTest::newRow("cancelled: the link untouched")
        << 0 << cmd::RamTest << QString() << QStringList{kStart + QStringLiteral(":cancelButton")}
        << QStringList{kStart} << QString() << none;
}

void TestTestMenu::fromMenuToVerdict() {
    QFETCH(int, boardType);
    QFETCH(int, command);
    QFETCH(QString, faults);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, opened);
    QFETCH(QString, verdict);
    QFETCH(QStringList, scenarios);

    Workstation w(boardType, faults);
    QVERIFY(w.ok);
    if (command == cmd::RomTest) {
        const QString data = qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/");
        for (const char* f : {"versions.txt", "v220.prg"})
            QVERIFY(QFile::copy(data + QLatin1String(f), w.fx.folder() + u'/' + QLatin1String(f)));
    }
    w.answer(answers);
    w.trigger(command);

    QCOMPARE(w.script->opened, opened);
    if (verdict.isEmpty()) {
        QVERIFY(w.verdicts.isEmpty());
    } else {
        QCOMPARE(w.verdicts.size(), 1);
        QVERIFY2(w.verdicts[0].startsWith(verdict), qPrintable(w.verdicts[0]));
        QVERIFY(w.busyDuringTest);
    }
    QCOMPARE(w.scenarios.started, scenarios);
    QVERIFY(!w.fx.ctx->busy);
    QVERIFY2(w.fx.prompts.boxes().isEmpty(), qPrintable(w.fx.prompts.boxes().value(0).text));
    if (opened.size() == 1 && scenarios.isEmpty())
        QCOMPARE(w.framesHeard(), 0u);
}

void TestTestMenu::repeatRunsAgainWithoutPreparation() {
    Workstation w(2, QString());
    QVERIFY(w.ok);
    w.answer({kStart + QStringLiteral(":continueButton"), kTest + QStringLiteral(":repeatButton"),
              kTest + QStringLiteral(":exitButton")});
    w.trigger(cmd::RamTest);
    QCOMPARE(w.script->opened, (QStringList{kStart, kTest, kTest}));
    QCOMPARE(w.verdicts, (QStringList{kPassed, kPassed}));
    QVERIFY(!w.fx.ctx->busy);
}

void TestTestMenu::dontShowAgainSkipsTheStartDialog() {
    Workstation w(0, QString());
    QVERIFY(w.ok);
    w.answer({kStart + QStringLiteral(":dontShow")});
    w.trigger(cmd::BusTest);
    w.trigger(cmd::PpiTest);
    QCOMPARE(w.script->opened, (QStringList{kStart, kTest, kTest}));
    QCOMPARE(w.verdicts, (QStringList{kPassed, kPassed}));
    QVERIFY(w.fx.ctx->dontShowStartDialog);
}

QTEST_MAIN(TestTestMenu)
#include "tst_testmenu.moc"
