#include "servicecommandhandlers.h"

#include "windowservicehost.h"

#include "app/commandtable.h"
#include "app/mainframe.h"
#include "service/controllersoftware.h"
#include "service/datamemorycommands.h"
#include "service/softwareupdate.h"
#include "service/softwareverification.h"

namespace kia {

QList<int> serviceCommandIds() {
    return {cmd::RestoreControllerSoftware, cmd::SaveFiscalData,  cmd::RestoreFiscalData,
            cmd::ClearFiscalMemory,         cmd::SaveEepromData,  cmd::RestoreEepromData,
            cmd::ClearEeprom,               cmd::UpdateSoftware,  cmd::VerifySoftware};
}

WindowServiceHost* InstallServiceCommands(CMainFrame& frame, WindowTestSession& tests) {
    auto* host = new WindowServiceHost(frame, tests, &frame);
    BenchContext* ctx = &frame.context();
    CommandRouter& router = frame.router();
    router.setHandler(cmd::RestoreControllerSoftware,
                      [ctx, host] { RestoreControllerSoftware(*ctx, *host); });
    router.setHandler(cmd::UpdateSoftware, [ctx, host] { RunSoftwareUpdate(*ctx, *host); });
    router.setHandler(cmd::VerifySoftware, [ctx, host] { RunSoftwareVerification(*ctx, *host); });
    for (int id : serviceCommandIds()) {
        if (isDataMemoryCommand(id))
            router.setHandler(id, [ctx, host, id] { RunDataMemoryCommand(*ctx, *host, id); });
    }
    return host;
}

} // namespace kia
