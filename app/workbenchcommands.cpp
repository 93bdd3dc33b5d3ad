#include "workbenchcommands.h"

#include "commandtable.h"
#include "mainframe.h"
#include "simfaultswindow.h"

#include "boardtests/interactivetests.h"
#include "boardtests/peripheraltest.h"
#include "boardtests/testcommands.h"
#include "boardtests/widgets/fullcheckdlg.h"
#include "boardtests/widgets/interactivetestwindows.h"
#include "boardtests/widgets/windowtestsession.h"
#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "diagn/widgets/windowdiagnostics.h"
#include "journal/repairjournal.h"
#include "journal/widgets/journalwindow.h"

#include <QPointer>
#include <QTimer>

namespace kia {

QString fullCheckTitle() { return QStringLiteral("Полная проверка платы"); }

QString fullCheckDiagnosticsQuestion(const QString& keyword) {
    return QStringLiteral("Провести диагностику (%1) ?").arg(keyword);
}

void InstallWorkbenchCommands(CMainFrame& frame, WindowTestSession& session, RepairJournal& journal,
                              WindowDiagnostics* diagnostics, sim::Bench* bench,
                              const QString& startScript) {
    BenchContext* ctx = &frame.context();
    CMainFrame* window = &frame;
    WindowTestSession* tests = &session;

    QPointer<WindowDiagnostics> guided(diagnostics);
    frame.router().setHandler(cmd::FullCheck, [ctx, window, tests, guided] {
        if (ctx->busy)
            return;
        CFullCheckDlg dlg(*ctx, *tests, window);
        // The tests that need the engineer run as from the menu, each in its window.
        dlg.setInteractiveRunner([ctx, tests](int id, FullCheckEntry& entry) {
            if (id == cmd::PeripheryTest) {
                const PeripheralOutcome o = RunPeripheralTest(*ctx, *tests, *tests);
                entry.verdict = o == PeripheralOutcome::Completed ? CheckVerdict::Passed
                                : o == PeripheralOutcome::LinkFailure ? CheckVerdict::LinkFailure
                                : o == PeripheralOutcome::Diagnostics ? CheckVerdict::Failed
                                : o == PeripheralOutcome::NotPrepared ? CheckVerdict::NotRun
                                                                      : CheckVerdict::Skipped;
                if (o == PeripheralOutcome::Exit)
                    entry.note = QStringLiteral("прерван оператором");
                return;
            }
            const TestCommandOutcome o =
                isInteractiveTestCommand(id)
                    ? RunInteractiveTestCommand(*ctx, *tests, *interactiveTestWindows(*tests), id)
                    : RunTestCommand(*ctx, *tests, id);
            entry.result = o.result;
            entry.keyword = o.keyword;
            entry.verdict = o.linkFailure                      ? CheckVerdict::LinkFailure
                            : !o.prepared || o.cancelled       ? CheckVerdict::NotRun
                            : o.failed || !o.keyword.isEmpty() ? CheckVerdict::Failed
                                                               : CheckVerdict::Passed;
        });
        // Each failure's diagnostics, if the engineer wants them now: the
        // check waits while he takes the run to its conclusion.
        dlg.setDiagnosticsRunner([ctx, guided](const QString& keyword) {
            if (!guided || ctx->prompts.question(PromptIcon::Question, fullCheckTitle(),
                                                 fullCheckDiagnosticsQuestion(keyword),
                                                 PromptAnswer::Yes) != PromptAnswer::Yes)
                return QString();
            return guided->RunAndWait(keyword).conclusion;
        });
        dlg.show();
        dlg.runCheck();
        dlg.exec();
    });

    auto journalWindow = std::make_shared<QPointer<JournalWindow>>();
    const QString journalPath = journal.path().isEmpty()
                                    ? RepairJournal::defaultPath(ctx->workingFolder)
                                    : journal.path();
    frame.router().setHandler(cmd::RepairJournal, [ctx, window, journalWindow, journalPath] {
        if (!*journalWindow)
            *journalWindow = new JournalWindow(journalPath, ctx->prompts, window);
        (*journalWindow)->refresh();
        (*journalWindow)->show();
        (*journalWindow)->raise();
    });

    auto faultsWindow = std::make_shared<QPointer<CSimFaultsWindow>>();
    frame.router().setHandler(cmd::SimulatorFaults, [ctx, window, bench, startScript, faultsWindow,
                                                     guided] {
        if (!bench) {
            ctx->prompts.message(PromptIcon::Information, QStringLiteral("Неисправности имитатора"),
                                 QStringLiteral("Команда работает только с имитатором платы\n"
                                                "(запуск с ключом --sim)."));
            return;
        }
        if (!*faultsWindow) {
            *faultsWindow = new CSimFaultsWindow(*ctx, *bench, startScript, window);
            // Every diagnostics run that reaches a conclusion is scored
            // against the hidden fault, while the window is there to say so.
            if (guided) {
                QPointer<CSimFaultsWindow> w = *faultsWindow;
                guided->engine().addRunObserver([w](const DiagnosticsRun& run) {
                    if (w && run.concluded() && !run.pointCheck)
                        w->scoreConclusion(run.scenario, run.conclusion);
                });
            }
        }
        (*faultsWindow)->show();
        (*faultsWindow)->raise();
    });
}

} // namespace kia
