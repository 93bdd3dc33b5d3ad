#pragma once

#include <QByteArray>
#include <QString>

namespace kia {

class BenchContext;
class ProgressSink;

/// The long exchanges with the board that run behind the progress dialog,
/// one mode each (the mode fixes caption, range and worker).
enum OperationMode : int {
    ModeSaveControllerSoftware = 0,
    ModeWriteTestProgram = 1,
    ModeWriteControllerSoftware = 2,
    ModeSaveFiscal = 3,
    ModeRestoreFiscal = 4,
    ModeClearFiscal = 5,
    ModeSaveEeprom = 6,
    ModeRestoreEeprom = 7,
    ModeClearEeprom = 8,
    ModeUpdateSoftware = 9,
    ModeVerifySoftware = 10,
};

/// Result codes of an operation (the progress dialog's return value).
enum OperationResult : int {
    OpDone = 1,
    OpLinkBase = 123,     // + link status or long-frame result
    OpFileOpen = 130,     // also: a bank not blank after a clear
    OpFileSize = 131,
    OpFileRead = 132,     // or a data page write reported failure
    OpCompare = 133,
    OpWrongSize = 134,    // restore; or a program-memory page write failed (update)
    OpProgramCompare = 135,
    OpBackupFailed = 136, // the backup before an erase could not be written; nothing erased
};

/// The one data argument of an operation, kept alive by the caller until the
/// operation returns. By mode: `text` is a file path or the 12-character
/// software name, `image` the 8192-byte controller software (mode 2, whose
/// `text` may name the file it was read from).
/// `savedAs` is filled by the worker where it filed something under another
/// name than asked (mode 0 never replaces a different saved ".cpu"); read it
/// only after the operation has returned.
struct OperationArgument {
    QString text;
    QByteArray image;
    QString savedAs;
    /// Mode 9: where the program EEPROM goes before it is erased (empty: no backup).
    QString backup;
};

/// A worker: the body of one operation. Runs on the worker thread (or the
/// caller's, in tests and the CLI); it alone uses the link meanwhile.
using OperationWorker = int (*)(BenchContext& ctx, ProgressSink& progress,
                                OperationArgument& argument);

QString operationCaption(int mode);
/// Upper end of the progress range of a mode (the bar starts at 0).
int operationRange(int mode);
/// The worker of a mode; null for a mode outside 0..10.
OperationWorker operationWorker(int mode);

/// Opening of the dialog and the worker in one: caption, range, position 0,
/// then the worker. Returns its result (130 for an unknown mode).
int RunOperation(BenchContext& ctx, ProgressSink& progress, int mode,
                 OperationArgument& argument);

} // namespace kia
