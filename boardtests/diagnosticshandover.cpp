#include "diagnosticshandover.h"

#include "core/benchcontext.h"
#include "core/scenariohost.h"
#include "core/userprompts.h"

namespace kia {

QString diagnosticsNotAvailableText(const QString& keyword) {
    return QStringLiteral("Диагностика неисправностей пока недоступна.\nКод неисправности: ") +
           keyword;
}

bool handOverToDiagnostics(BenchContext& ctx, const QString& keyword) {
    if (ctx.scenarios)
        return ctx.scenarios->StartScenario(keyword, 1);
    ctx.prompts.message(PromptIcon::Information, QStringLiteral("Диагностика"),
                        diagnosticsNotAvailableText(keyword));
    return false;
}

} // namespace kia
