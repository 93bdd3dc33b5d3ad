// The workstation: single copy, font, board choice, main window.
#include "app/appfont.h"
#include "app/mainframe.h"
#include "app/presentdlg.h"
#include "app/simulatedbench.h"
#include "app/simulatedindicator.h"
#include "app/singlecopyguard.h"
#include "app/widgetprompts.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/clock.h"
#include "core/qttranslations.h"
#include "sim/bench.h"
#include "sim/faultscript.h"
#include "boardtests/widgets/interactivetestwindows.h"
#include "boardtests/circuitdialogmodel.h"
#include "boardtests/widgets/testcommandhandlers.h"
#include "boardtests/widgets/windowtestsession.h"
#include "sim/circuitwiring.h"
#include "view/diagnview.h"
#include "diagn/widgets/windowdiagnostics.h"
#include "service/widgets/servicecommandhandlers.h"
#include "app/workbenchcommands.h"
#include "boardtests/widgets/windowtestsession.h"
#include "journal/repairjournal.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTimer>
#include <cstdio>

using namespace kia;

namespace {
// On the simulated bench the segment test also shows what the board's own
// indicator holds, while the selected port leads to the simulator.
void ShowSimulatedIndicators(kia::WindowInteractiveTests& windows,
                             kia::SimulatedBench& simulated, kia::BenchContext& ctx) {
    sim::Bench* bench = simulated.bench();
    if (!bench)
        return;
    windows.setBoardScreenSource([bench, &ctx](int ind, kia::IndicatorScreen& s, int& cursor) {
        if (ctx.ports.targetFor(ctx.selectedPort) != QStringLiteral("sim"))
            return false;
        s = kia::simulatedIndicatorScreen(*bench, ind, &cursor);
        return true;
    });
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral("2.00"));
    QString translationWarning;
    if (!InstallQtTranslations(app, QtTranslationsFolder(), &translationWarning))
        std::fprintf(stderr, "kia_nelta2: %s\n", translationWarning.toUtf8().constData());

    QCommandLineParser parser;
    parser.setApplicationDescription(productCaption());
    parser.addHelpOption();
    const QCommandLineOption simOption(
        QStringLiteral("sim"),
        QStringLiteral("Put every COM port on the simulated bench (demo, training, no hardware)."));
    const QCommandLineOption boardOption(
        QStringLiteral("board"),
        QStringLiteral("Start for board type <n> (0..4) without the board choice dialog."),
        QStringLiteral("n"));
    const QCommandLineOption faultsOption(
        QStringLiteral("faults"),
        QStringLiteral("With --sim: put the faults of the fault script <file> on the simulated "
                       "bench (link rules and board faults, see sim/README.md)."),
        QStringLiteral("file"));
    parser.addOption(simOption);
    parser.addOption(boardOption);
    parser.addOption(faultsOption);
    parser.process(app);

    int boardType = -1;
    if (parser.isSet(boardOption)) {
        bool ok = false;
        boardType = parser.value(boardOption).toInt(&ok);
        if (!ok || boardType < 0 || boardType >= BoardTypeCount) {
            std::fprintf(stderr, "kia_nelta2: --board takes a board type 0..4\n");
            return 2;
        }
    }

    // The fault script is read before anything is shown, so that a bad one
    // ends the start at once with its message.
    QString faultScript;
    if (parser.isSet(faultsOption)) {
        if (!parser.isSet(simOption)) {
            std::fprintf(stderr, "kia_nelta2: --faults работает только вместе с --sim\n");
            return 2;
        }
        const QString path = parser.value(faultsOption);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "kia_nelta2: не удалось открыть файл неисправностей \"%s\"\n",
                         path.toUtf8().constData());
            return 2;
        }
        faultScript = QString::fromUtf8(file.readAll());
        QString error;
        sim::FaultScript::Contents contents;
        if (!sim::FaultScript::read(faultScript, &contents, &error)) {
            std::fprintf(stderr, "kia_nelta2: %s: %s\n", path.toUtf8().constData(),
                         error.toUtf8().constData());
            return 2;
        }
    }

    // Another copy running, whatever its board: end at once and quietly.
    // A lock that cannot be made anywhere does not keep the engineer out.
    SingleCopyGuard guard;
    const SingleCopyGuard::Outcome lock = guard.acquire();
    if (lock == SingleCopyGuard::Outcome::AnotherCopyRuns)
        return 0;
    if (lock == SingleCopyGuard::Outcome::Unavailable)
        std::fprintf(stderr, "kia_nelta2: %s\n", guard.problem().toUtf8().constData());

    RealClock clock;
    WidgetPrompts prompts;
    if (!RegisterMonoFont()) {
        prompts.beep(600, 30);
        prompts.message(PromptIcon::Error, productCaption(),
                        QStringLiteral("Ошибка установки шрифта \"Courier New\" !"));
        return 1;
    }

    if (boardType < 0) {
        CPresentDlg choice;
        const int result = choice.exec();
        if (result < CPresentDlg::ResultBase)
            return 0;
        boardType = result - CPresentDlg::ResultBase;
    }

    // The simulated bench must outlive the context, whose link may hold a line to it.
    SimulatedBench simulated;
    BenchContext ctx(clock, prompts);
    ctx.boardType = boardType;
    ctx.ports.loadEnvironment();
    simulated.attach(ctx, parser.isSet(simOption));
    if (parser.isSet(faultsOption)) {
        QString error;
        if (!simulated.bench()->loadFaultScript(faultScript, &error)) {
            // Faults that do not fit the board type chosen.
            std::fprintf(stderr, "kia_nelta2: %s: %s\n",
                         parser.value(faultsOption).toUtf8().constData(),
                         error.toUtf8().constData());
            return 2;
        }
    }

    // Declared before the frame, so it outlives every window that records.
    RepairJournal journal(&ctx);
    CMainFrame frame(ctx);
    prompts.setParentWindow(&frame);
    if (!frame.Create())
        return 1;
    WindowTestSession* session = InstallTestCommands(frame);
    ShowSimulatedIndicators(*interactiveTestWindows(*session), simulated, ctx);
    if (sim::Bench* bench = simulated.bench()) {
        // On the simulated bench the tip goes where the program asks the
        // engineer to probe; on the driver row it touches the driver's output.
        QObject::connect(frame.view(), &CDiagnView::pointShown, frame.view(),
                         [bench](const QString& name) { bench->setProbePoint(name); });
        session->circuitDialogOpening = [bench](const CircuitDialogModel& dialog) {
            const CircuitRow& c = dialog.circuit();
            if (c.output.isEmpty() && c.drive == CircuitDrive::LevelDriver)
                bench->setProbePoint(sim::driverOutputPoint());
            else if (c.output.isEmpty() && c.firstInput().isEmpty())
                bench->setProbePoint(QString());
        };
    }
    InstallServiceCommands(frame, *session);
    WindowDiagnostics* diagnostics = InstallDiagnostics(frame, session);
    // The repair journal of the working folder; a journal that cannot be
    // opened is said once and the bench works on without it.
    if (!journal.open(RepairJournal::defaultPath(ctx.workingFolder)))
        QTimer::singleShot(0, &frame, [&journal] { journal.tellIfUnavailable(); });
    ctx.journal = &journal;
    InstallWorkbenchCommands(frame, *session, journal, diagnostics, simulated.bench(),
                             parser.isSet(faultsOption) ? faultScript : QString());
    frame.ActivateFrame();
    return app.exec();
}
