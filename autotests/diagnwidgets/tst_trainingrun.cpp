// A training run from the main window on the simulated bench: the trainer
// hides a random fault, the trainee runs the failing test and takes its
// diagnostics from step to step with the probe (the simulated tip follows
// the point shown) to the conclusion, and the journal holds the run and the
// verdict on it. And the full check, waiting for the diagnostics of a
// failure, puts their conclusion in its list.
#undef QT_NO_CAST_FROM_ASCII

#include "dialogscript.h"

#include "app/appfont.h"
#include "app/commandtable.h"
#include "app/framefixture.h"
#include "app/simfaultswindow.h"
#include "app/simulatedbench.h"
#include "app/workbenchcommands.h"
#include "boardtests/widgets/fullcheckdlg.h"
#include "boardtests/widgets/testcommandhandlers.h"
#include "diagn/widgets/probestepdialog.h"
#include "diagn/widgets/windowdiagnostics.h"
#include "journal/journalreader.h"
#include "journal/repairjournal.h"
#include "sim/bench.h"
#include "view/diagnview.h"

#include <QPushButton>
#include <QTableWidget>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace kia;

namespace {

QString dataFile(const char* name) {
    return qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/") + QLatin1String(name);
}

QPushButton* button(QWidget* w, const char* name) {
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

// The workstation as main() puts it together, on the simulated bench, with
// the shipped scenario, step and points files.
struct Workstation {
    explicit Workstation(int board) {
        fx.reset();
        fx.ctx->boardType = board;
        simulated.attach(*fx.ctx);
        for (const char* name : {"kia_nelta2.dgn", "kia_nelta2.ccr", "kia_nelta2.dot"}) {
            QFile::remove(fx.folder() + QLatin1Char('/') + QLatin1String(name));
            QFile::copy(dataFile(name), fx.folder() + QLatin1Char('/') + QLatin1String(name));
        }
    }
    bool start() {
        if (!fx.makeFrame(fx.ctx->boardType))
            return false;
        sim::Bench* bench = simulated.bench();
        QObject::connect(fx.frame->view(), &CDiagnView::pointShown, fx.frame->view(),
                         [bench](const QString& name) { bench->setProbePoint(name); });
        session = InstallTestCommands(*fx.frame, CTestDialog::Pacing::ContextClock);
        diagnostics = InstallDiagnostics(*fx.frame, session);
        // The result pause of each probe step, without its half second.
        diagnostics->setProbeStepScheduler(
            [](int, std::function<void()> callback) { QTimer::singleShot(0, std::move(callback)); });
        if (!journal.open(RepairJournal::defaultPath(fx.ctx->workingFolder)))
            return false;
        fx.ctx->journal = &journal;
        InstallWorkbenchCommands(*fx.frame, *session, journal, diagnostics, bench, QString());
        return true;
    }
    // Presses "Пуск" on each probe step until the conclusion, closes that;
    // the conclusion's text.
    QString takeRunToConclusion() {
        for (int guard = 0; guard < 200; ++guard) {
            QPointer<QDialog> step = diagnostics->stepDialog();
            if (!step || !diagnostics->engine().running())
                return QString();
            QPushButton* start = button(step, "startButton");
            if (!start->isEnabled()) {
                const QString text = step->findChild<QLabel*>("stepText")->text();
                button(step, "exitButton")->click();
                if (!QTest::qWaitFor([this] { return !diagnostics->engine().running(); }, 5000))
                    return QString();
                return text;
            }
            start->click();
            if (!QTest::qWaitFor(
                    [&] { return diagnostics->stepDialog() != step || !diagnostics->engine().running(); },
                    5000))
                return QString();
        }
        return QString();
    }
    QList<JournalRow> rows() {
        JournalReader reader;
        QList<JournalRow> r;
        if (reader.open(RepairJournal::defaultPath(fx.ctx->workingFolder)))
            reader.events(JournalFilter(), &r);
        return r;
    }
    ~Workstation() {
        fx.ctx->journal = nullptr;
        fx.frame.reset();
        fx.ctx->link.CloseLinkPort();
    }

    FrameFixture fx;
    SimulatedBench simulated;
    RepairJournal journal{nullptr};
    WindowTestSession* session = nullptr;
    WindowDiagnostics* diagnostics = nullptr;
};

} // namespace

class TestTrainingRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }

    void hiddenFaultFoundAndScored() {
        Workstation w(0);
        QVERIFY(w.start());
        w.fx.frame->menuAction(cmd::SimulatorFaults)->trigger();
        auto* faults = w.fx.frame->findChild<CSimFaultsWindow*>();
        QVERIFY(faults);
        // "Случайная" picks among the faults a test finds by itself.
        int pick = 0;
        for (const sim::CatalogueFault& f : faults->catalogue()) {
            if (f.interactive)
                continue;
            if (f.id == QStringLiteral("ram-cell"))
                break;
            ++pick;
        }
        faults->hideRandomFault(pick);
        QCOMPARE(faults->hiddenId(), QStringLiteral("ram-cell"));

        testgui::DialogScript script(*w.session);
        script.on("CTestStartDlg", [](QDialog* d) { testgui::DialogScript::clickButton(d, "continueButton"); });
        script.on("CMemoryErrorDlg",
                  [](QDialog* d) { testgui::DialogScript::clickButton(d, "diagnosticsButton"); });
        w.fx.frame->menuAction(cmd::RamTest)->trigger();
        QVERIFY(w.diagnostics->engine().running());
        const QString conclusion = w.takeRunToConclusion();
        QVERIFY2(conclusion.contains(QStringLiteral("Неисправна микросхема ОЗУ")), qPrintable(conclusion));
        QCOMPARE(faults->findChild<QLabel*>("faultStatus")->text(), QStringLiteral("Заключение верное."));

        const QList<JournalRow> rows = w.rows();
        QStringList kinds;
        for (const JournalRow& r : rows)
            kinds << journalKindName(r.kind);
        QVERIFY2(kinds.size() >= 3, qPrintable(kinds.join(' ')));
        const JournalRow& diag = rows[rows.size() - 2];
        QCOMPARE(diag.kind, JournalEvent::Kind::Diagnostics);
        QCOMPARE(diag.name, QStringLiteral("RAM_ERROR"));
        QVERIFY(diag.verdict.contains(QStringLiteral("Неисправна микросхема ОЗУ")));
        QVERIFY(diag.details.value("path").toArray().size() >= 30);
        const JournalRow& score = rows.last();
        QCOMPARE(score.kind, JournalEvent::Kind::Training);
        QCOMPARE(score.outcome, JournalEvent::Outcome::Passed);
        QCOMPARE(score.details.value("fault").toString(), QStringLiteral("ram-cell"));
    }

    void fullCheckWaitsForTheConclusion() {
        Workstation w(0);
        QVERIFY(w.start());
        QString error;
        QVERIFY(w.simulated.bench()->loadFaultScript("ram-cell addr=0x1235 high=0x10", &error));
        testgui::DialogScript script(*w.session);
        script.byDefault("CTestStartDlg", [](QDialog* d) { testgui::DialogScript::clickButton(d, "continueButton"); });
        script.on("CSelVersionDlg", [](QDialog* d) { d->accept(); });
        script.on("boardNumberDlg", [](QDialog* d) { d->reject(); });
        // Yes to the diagnostics of the RAM test; no interactive test.
        w.fx.prompts.answer(PromptAnswer::Yes);
        // The step dialogs come while the check waits; take them as they come.
        QString conclusion;
        bool taking = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (taking)
                return;
            if (w.diagnostics->engine().running() && conclusion.isEmpty()) {
                taking = true;
                conclusion = w.takeRunToConclusion();
                taking = false;
            }
            if (auto* d = w.fx.frame->findChild<CFullCheckDlg*>(); d && !d->isRunning() && d->isVisible())
                d->accept();
        });
        poll.start();
        w.fx.frame->menuAction(cmd::FullCheck)->trigger();
        QVERIFY2(conclusion.contains(QStringLiteral("Неисправна микросхема ОЗУ")), qPrintable(conclusion));
        bool found = false;
        for (const JournalRow& r : w.rows())
            if (r.kind == JournalEvent::Kind::FullCheck)
                found = QJsonDocument(r.details).toJson().contains("Неисправна микросхема ОЗУ");
        QVERIFY(found);
    }
};

QTEST_MAIN(TestTrainingRun)
#include "tst_trainingrun.moc"
