#pragma once

#include "link/linkmessages.h"

#include <QString>

namespace kia {

class BenchContext;
class ServiceHost;
enum class PromptIcon;

/// How a service command tells the engineer what happened: the box (or the
/// link's own message) through the context's prompts, and its text handed to
/// the host, which keeps the last one as the command's verdict for the repair
/// journal. UI thread.

void ShowServiceMessage(BenchContext& ctx, ServiceHost& host, PromptIcon icon, const QString& title,
                        const QString& text);
/// ShowLinkError with the programmer texts.
void ShowServiceLinkError(BenchContext& ctx, ServiceHost& host);
/// ShowCashLinkError with the cash-register texts.
void ShowServiceCashLinkError(BenchContext& ctx, ServiceHost& host);
/// ShowIdentificationError (results 3 and 5 offer diagnostics).
DiagnosticsOffer ShowServiceIdentificationError(BenchContext& ctx, ServiceHost& host,
                                                quint8 result);
/// OfferNoConnectDiagnostics.
DiagnosticsOffer OfferServiceNoConnectDiagnostics(BenchContext& ctx, ServiceHost& host);

} // namespace kia
