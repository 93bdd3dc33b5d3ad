#include "servicecommandhandlers.h"

#include "windowservicehost.h"

#include "app/commandtable.h"
#include "app/mainframe.h"
#include "service/controllersoftware.h"
#include "service/datamemorycommands.h"
#include "service/servicejournal.h"
#include "service/softwareupdate.h"
#include "service/softwareverification.h"

#include <functional>

namespace kia {

namespace {
// The body of a service command: its result (see each command).
using ServiceCommand = std::function<int(BenchContext&, ServiceHost&)>;

ServiceCommand commandOf(int id) {
    switch (id) {
    case cmd::RestoreControllerSoftware:
        return [](BenchContext& ctx, ServiceHost& host) {
            return RestoreControllerSoftware(ctx, host);
        };
    case cmd::UpdateSoftware:
        return [](BenchContext& ctx, ServiceHost& host) { return RunSoftwareUpdate(ctx, host); };
    case cmd::VerifySoftware:
        return
            [](BenchContext& ctx, ServiceHost& host) { return RunSoftwareVerification(ctx, host); };
    default:
        if (isDataMemoryCommand(id))
            return [id](BenchContext& ctx, ServiceHost& host) {
                return RunDataMemoryCommand(ctx, host, id);
            };
        return {};
    }
}
} // namespace

QList<int> serviceCommandIds() {
    return {cmd::RestoreControllerSoftware, cmd::SaveFiscalData,  cmd::RestoreFiscalData,
            cmd::ClearFiscalMemory,         cmd::SaveEepromData,  cmd::RestoreEepromData,
            cmd::ClearEeprom,               cmd::UpdateSoftware,  cmd::VerifySoftware};
}

WindowServiceHost* InstallServiceCommands(CMainFrame& frame, WindowTestSession& tests) {
    auto* host = new WindowServiceHost(frame, tests, &frame);
    BenchContext* ctx = &frame.context();
    CommandRouter& router = frame.router();
    for (int id : serviceCommandIds()) {
        // Every command goes into the repair journal as one event when it
        // ends, whichever way it ends; the host gathers what it did.
        router.setHandler(id, [ctx, host, id, run = commandOf(id)] {
            host->log().begin();
            const int result = run(*ctx, *host);
            host->log().end();
            journalServiceCommand(*ctx, id, result, host->log());
        });
    }
    return host;
}

} // namespace kia
