#include "workbenchcommands.h"

#include "commandtable.h"
#include "mainframe.h"
#include "simfaultswindow.h"

#include "boardtests/widgets/fullcheckdlg.h"
#include "boardtests/widgets/windowtestsession.h"
#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "journal/repairjournal.h"
#include "journal/widgets/journalwindow.h"

#include <QPointer>
#include <QTimer>

namespace kia {

void InstallWorkbenchCommands(CMainFrame& frame, WindowTestSession& session, RepairJournal& journal,
                              sim::Bench* bench, const QString& startScript) {
    BenchContext* ctx = &frame.context();
    CMainFrame* window = &frame;
    WindowTestSession* tests = &session;

    frame.router().setHandler(cmd::FullCheck, [ctx, window, tests] {
        if (ctx->busy)
            return;
        CFullCheckDlg dlg(*ctx, *tests, window);
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
    frame.router().setHandler(cmd::SimulatorFaults, [ctx, window, bench, startScript, faultsWindow] {
        if (!bench) {
            ctx->prompts.message(PromptIcon::Information, QStringLiteral("Неисправности имитатора"),
                                 QStringLiteral("Команда работает только с имитатором платы\n"
                                                "(запуск с ключом --sim)."));
            return;
        }
        if (!*faultsWindow)
            *faultsWindow = new CSimFaultsWindow(*ctx, *bench, startScript, window);
        (*faultsWindow)->show();
        (*faultsWindow)->raise();
    });
}

} // namespace kia
