#pragma once

#include <QString>

namespace kia {

class BenchContext;

/// Hands an error keyword to guided diagnostics: StartScenario (keyword, 1)
/// of the context's scenario host. Without a host the engineer is told that
/// diagnostics are not available and false is returned. UI thread.
bool handOverToDiagnostics(BenchContext& ctx, const QString& keyword);

/// The text shown when no scenario host is installed.
QString diagnosticsNotAvailableText(const QString& keyword);

} // namespace kia
