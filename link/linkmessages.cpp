#include "linkmessages.h"

#include "core/benchcontext.h"
#include "core/scenariohost.h"
#include "core/userprompts.h"
#include "linkstatus.h"

namespace kia {

namespace {
constexpr int kBeepHz = 600;
constexpr int kBeepMs = 30;

DiagnosticsOffer askDiagnostics(BenchContext& ctx, const QString& title, const QString& text,
                                const QString& keyword)
{
    ctx.prompts.beep(kBeepHz, kBeepMs);
    const PromptAnswer a = ctx.prompts.question(PromptIcon::Stop, title,
                                                text + diagnosticsOfferSuffix(), PromptAnswer::Yes);
    if (a != PromptAnswer::Yes)
        return DiagnosticsOffer::Declined;
    if (!ctx.scenarios || !ctx.scenarios->StartOscilloscopeScenario(keyword))
        return DiagnosticsOffer::NotAvailable;
    return DiagnosticsOffer::Started;
}

QString programmerTitle() { return QStringLiteral("Программатор"); }

StatusMessage titled(const BenchContext& ctx, StatusMessage m)
{
    if (!ctx.linkTitle.isEmpty())
        m.title = ctx.linkTitle;
    return m;
}
} // namespace

void ShowLinkError(BenchContext& ctx)
{
    ctx.busy = false;
    const StatusMessage m = titled(ctx, LinkStatusText(ctx.linkStatus, ctx.boardType, ctx.selectedPort));
    ctx.prompts.beep(kBeepHz, kBeepMs);
    ctx.prompts.message(PromptIcon::Error, m.title, m.text);
}

void ShowCashLinkError(BenchContext& ctx)
{
    ctx.busy = false;
    const StatusMessage m = titled(ctx, CashLinkStatusText(ctx.linkStatus, ctx.selectedPort));
    ctx.prompts.beep(kBeepHz, kBeepMs);
    ctx.prompts.message(PromptIcon::Error, m.title, m.text);
}

DiagnosticsOffer OfferNoConnectDiagnostics(BenchContext& ctx)
{
    const StatusMessage m = titled(ctx, LinkStatusText(ctx.linkStatus, ctx.boardType, ctx.selectedPort));
    return askDiagnostics(ctx, m.title, m.text, QStringLiteral("NO_CONNECT"));
}

DiagnosticsOffer ShowIdentificationError(BenchContext& ctx, quint8 result)
{
    const QString text = identificationText(result);
    if (result == LongNoReply)
        return askDiagnostics(ctx, programmerTitle(), text, QStringLiteral("NO_PROGCONNECT"));
    if (result == LongNoAccess)
        return askDiagnostics(ctx, programmerTitle(), text, QStringLiteral("NO_PROGACCESS"));
    ctx.prompts.beep(kBeepHz, kBeepMs);
    ctx.prompts.message(PromptIcon::Error, programmerTitle(), text);
    return DiagnosticsOffer::Declined;
}

void ShowIdentificationCheck(BenchContext& ctx, quint8 result, const QString& identity)
{
    ctx.prompts.beep(kBeepHz, kBeepMs);
    if (result != LongOk) {
        ctx.prompts.message(PromptIcon::Error, programmerTitle(), identificationText(result));
        return;
    }
    if (identity.size() == 12) {
        const StatusMessage m = titled(ctx, LinkStatusText(LinkOk, ctx.boardType, ctx.selectedPort));
        ctx.prompts.message(PromptIcon::Error, m.title, m.text);
        return;
    }
    ctx.prompts.message(PromptIcon::Error, QStringLiteral("Диагностика"),
                        QStringLiteral("В контроллер БУ еще не записана тест-программа!\nПроведите "
                                       "сначала \"Тест шин контроллера\"."));
}

} // namespace kia
