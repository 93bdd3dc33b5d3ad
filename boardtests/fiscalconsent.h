#pragma once

#include <QByteArray>
#include <QString>

namespace kia {

class BenchContext;

/// The consent before the ФП write test, which writes into the fiscal memory.
/// UI thread; questions go through the context's prompts.

/// "Внимание !" question text of board types 0..3 (the ФП must be blank).
QString fiscalWriteWarningText();
/// "Внимание !" question text when the ФП of type 4 may hold fiscal data.
QString fiscalDataWarningText();

/// Whether the first 10 bytes of the ФП look like fiscal data: not all 0xFF,
/// and bytes 0..4 repeated in bytes 5..9.
bool looksLikeFiscalData(const QByteArray& first10);

/// Types 0..3: 600 Hz beep and the warning; true on Yes.
bool askFiscalWriteConsent(BenchContext& ctx);
/// Asks the fiscal-data warning when `first10` looks like fiscal data;
/// true when the test may go on (no data, or Yes).
bool askFiscalDataConsent(BenchContext& ctx, const QByteArray& first10);

} // namespace kia
