#pragma once

#include "operationmodes.h"

namespace kia {

/// The fiscal memory (ФП, 2 banks) and the data EEPROM (РПЗУ, 4 banks) as
/// the test program reaches them: banks of 32768 bytes in pages of 128,
/// selected by port 1 (bank × 32 under the memory's mask) and by the bank
/// argument of each page command.
struct DataMemory {
    int banks;
    quint8 portMask;
    const char* checkRestoreCaption;
    const char* checkClearCaption;

    static constexpr int BankSize = 32768;
    static constexpr int PageSize = 128;
    static constexpr int PagesPerBank = BankSize / PageSize;
    qint64 size() const { return qint64(banks) * BankSize; }

    static const DataMemory& fiscal();
    static const DataMemory& eeprom();
};

/// Workers of modes 3..8: save to a file (written atomically), restore with a
/// read-back check, clear with a blank check. Results as the operation table.
int SaveDataMemory(BenchContext& ctx, ProgressSink& progress, const DataMemory& memory,
                   const QString& path);
int RestoreDataMemory(BenchContext& ctx, ProgressSink& progress, const DataMemory& memory,
                      const QString& path);
int ClearDataMemory(BenchContext& ctx, ProgressSink& progress, const DataMemory& memory);

int SaveFiscalWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument);
int RestoreFiscalWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument);
int ClearFiscalWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument);
int SaveEepromWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument);
int RestoreEepromWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument);
int ClearEepromWorker(BenchContext& ctx, ProgressSink& progress, OperationArgument& argument);

} // namespace kia
