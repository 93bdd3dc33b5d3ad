#include "servicemessages.h"

#include "servicehost.h"

#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "link/linkstatus.h"

namespace kia {

void ShowServiceMessage(BenchContext& ctx, ServiceHost& host, PromptIcon icon, const QString& title,
                        const QString& text) {
    ctx.prompts.message(icon, title, text);
    host.NoteMessage(icon, text);
}

void ShowServiceLinkError(BenchContext& ctx, ServiceHost& host) {
    const QString text = LinkStatusText(ctx.linkStatus, ctx.boardType, ctx.selectedPort).text;
    ShowLinkError(ctx);
    host.NoteMessage(PromptIcon::Error, text);
}

void ShowServiceCashLinkError(BenchContext& ctx, ServiceHost& host) {
    const QString text = CashLinkStatusText(ctx.linkStatus, ctx.selectedPort).text;
    ShowCashLinkError(ctx);
    host.NoteMessage(PromptIcon::Error, text);
}

DiagnosticsOffer ShowServiceIdentificationError(BenchContext& ctx, ServiceHost& host,
                                                quint8 result) {
    const DiagnosticsOffer offer = ShowIdentificationError(ctx, result);
    host.NoteMessage(PromptIcon::Error, identificationText(result));
    return offer;
}

DiagnosticsOffer OfferServiceNoConnectDiagnostics(BenchContext& ctx, ServiceHost& host) {
    const QString text = LinkStatusText(ctx.linkStatus, ctx.boardType, ctx.selectedPort).text;
    const DiagnosticsOffer offer = OfferNoConnectDiagnostics(ctx);
    host.NoteMessage(PromptIcon::Error, text);
    return offer;
}

} // namespace kia
