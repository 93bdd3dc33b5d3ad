#include "testcommandhandlers.h"

#include "interactivetestwindows.h"
#include "windowtestsession.h"

#include "app/commandtable.h"
#include "app/mainframe.h"
#include "boardtests/peripheraltest.h"
#include "boardtests/testcommands.h"

namespace kia {

QList<int> testCommandIds() {
    QList<int> ids;
    for (const CommandInfo& c : commandTable()) {
        if (isTestCommand(c.id))
            ids << c.id;
    }
    return ids;
}

WindowTestSession* InstallTestCommands(CMainFrame& frame, CTestDialog::Pacing pacing) {
    auto* session = new WindowTestSession(frame.context(), &frame, frame.view(), pacing, &frame);
    BenchContext* ctx = &frame.context();
    for (int id : testCommandIds()) {
        frame.router().setHandler(id, [ctx, session, id] { RunTestCommand(*ctx, *session, id); });
    }
    InstallInteractiveTestCommands(frame, *session);
    session->clientArea = [f = &frame] { return f->clientScreenRect(); };
    frame.router().setHandler(cmd::PeripheryTest,
                              [ctx, session] { RunPeripheralTest(*ctx, *session, *session); });
    frame.router().setHandler(cmd::ProbeCheck,
                              [ctx, session] { RunProbeSelfTest(*ctx, *session, *session); });
    return session;
}

} // namespace kia
