#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

class BenchContext;

/// How link failures reach the engineer: a 600 Hz, 30 ms beep and a box
/// through the context's prompts, under the "Com" + port title. UI thread only.

/// Clears the busy flag and shows the programmer text of the current status.
void ShowLinkError(BenchContext& ctx);
/// The same with the cash-register texts.
void ShowCashLinkError(BenchContext& ctx);

/// Outcome of a question that may hand over to guided diagnostics.
enum class DiagnosticsOffer {
    Declined,         // the engineer answered No
    Started,          // Yes, and the scenario started
    NotAvailable,     // Yes, but no scenario host is installed or it could not start
};

/// The link text + the diagnostics question; Yes starts the oscilloscope
/// scenario "NO_CONNECT".
DiagnosticsOffer OfferNoConnectDiagnostics(BenchContext& ctx);

/// A failed programmer identification: results 3 and 5 ask whether to start
/// the "NO_PROGCONNECT" / "NO_PROGACCESS" scenario, others are shown only.
DiagnosticsOffer ShowIdentificationError(BenchContext& ctx, quint8 result);

/// Identification run by itself as a connection check: result 0 with a
/// 12-digit identity, result 0 without a test program, or the failure text.
void ShowIdentificationCheck(BenchContext& ctx, quint8 result, const QString& identity);

} // namespace kia
