#include "faulttypes.h"

#include "boardtests/testsession.h"
#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "diagnosticsengine.h"

namespace kia {

bool RunFaultTypeCommand(BenchContext& ctx, TestSessionHost& tests, FaultTypeChooser& chooser,
                         DiagnosticsEngine& engine) {
    if (ctx.diagnosticsActive)
        return false;
    const FaultTypeList list = ReadFaultTypes(engine.scenarioFile(), ctx.boardType);
    int row = -1;
    const int result = list.readable ? chooser.ChooseFaultType(list, row) : FaultTypeUnreadable;
    if (result == FaultTypeUnreadable) {
        ctx.prompts.beep(600, 30);
        ctx.prompts.message(PromptIcon::Error, QStringLiteral("Диагностика"),
                            DiagnosticsEngine::loadErrorText());
        return false;
    }
    if (result != FaultTypeOk || row < 0 || row >= list.entries.size())
        return false;
    const FaultTypeEntry& chosen = list.entries[row];
    ctx.reportText = chosen.scenario;
    if (!PrepareTestSession(ctx, tests))
        return false;
    ctx.busy = false; // the run keeps its own flag
    if (ctx.reportText.isEmpty())
        return false;
    return engine.StartScenario(ctx.reportText, chosen.startFlag);
}

} // namespace kia
