// Saving, restoring and clearing the fiscal memory and the data EEPROM page by
// page through the test program in DD5.

#include "datamemoryworkers.h"

#include "progresssink.h"

#include "core/benchcontext.h"
#include "link/checkresult.h"

#include <QFile>
#include <QSaveFile>

namespace kia {

namespace {
constexpr quint8 kPatternErased = 7; // fills with 0xFF

bool selectBank(BenchContext& ctx, const DataMemory& m, int bank) {
    return ctx.link.WritePort(1, static_cast<quint8>(bank * 32), m.portMask);
}
} // namespace

const DataMemory& DataMemory::fiscal() {
    static const DataMemory m{2, 0x20, "Проверка восстановления ФП...", "Проверка очистки ФП..."};
    return m;
}

const DataMemory& DataMemory::eeprom() {
    static const DataMemory m{4, 0x60, "Проверка восстановления РПЗУ...",
                              "Проверка очистки РПЗУ..."};
    return m;
}

int SaveDataMemory(BenchContext& ctx, ProgressSink& progress, const DataMemory& m,
                   const QString& path) {
    // The previous file stays as it was until the last page is in.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return OpFileOpen;
    std::array<quint8, DataMemory::PageSize> page{};
    for (int bank = 0; bank < m.banks; ++bank) {
        if (!selectBank(ctx, m, bank))
            return OpLinkBase;
        for (int address = 0; address < DataMemory::BankSize; address += DataMemory::PageSize) {
            if (!ctx.link.ReadDataPage(static_cast<quint16>(address), static_cast<quint8>(bank),
                                       page))
                return OpLinkBase;
            if (file.write(reinterpret_cast<const char*>(page.data()), page.size()) !=
                qint64(page.size()))
                return OpFileOpen;
            progress.step();
        }
    }
    return file.commit() ? OpDone : OpFileOpen;
}

int RestoreDataMemory(BenchContext& ctx, ProgressSink& progress, const DataMemory& m,
                      const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return OpFileOpen;
    if (file.size() != m.size())
        return OpWrongSize;

    std::array<quint8, DataMemory::PageSize> page{};
    for (int bank = 0; bank < m.banks; ++bank) {
        if (!selectBank(ctx, m, bank))
            return OpLinkBase;
        for (int address = 0; address < DataMemory::BankSize; address += DataMemory::PageSize) {
            if (file.read(reinterpret_cast<char*>(page.data()), page.size()) != qint64(page.size()))
                return OpFileSize;
            quint8 written = 0;
            if (!ctx.link.WriteDataPage(static_cast<quint16>(address), static_cast<quint8>(bank),
                                        page, written))
                return OpLinkBase;
            if (!written)
                return OpFileRead;
            progress.step();
        }
    }

    progress.setPosition(0);
    progress.setCaption(QString::fromUtf8(m.checkRestoreCaption));
    progress.setRange(m.banks * DataMemory::PagesPerBank);
    if (!file.seek(0))
        return OpFileSize;
    std::array<quint8, DataMemory::PageSize> expected{};
    for (int bank = 0; bank < m.banks; ++bank) {
        if (!selectBank(ctx, m, bank))
            return OpLinkBase;
        for (int address = 0; address < DataMemory::BankSize; address += DataMemory::PageSize) {
            if (!ctx.link.ReadDataPage(static_cast<quint16>(address), static_cast<quint8>(bank),
                                       page))
                return OpLinkBase;
            if (file.read(reinterpret_cast<char*>(expected.data()), expected.size()) !=
                qint64(expected.size()))
                return OpFileSize;
            if (page != expected)
                return OpCompare;
            progress.step();
        }
    }
    return OpDone;
}

int ClearDataMemory(BenchContext& ctx, ProgressSink& progress, const DataMemory& m) {
    for (int bank = 0; bank < m.banks; ++bank) {
        progress.step();
        bool failed = false; // the fill's own verdict is not used: the check phase decides
        if (!ctx.link.FillBank(kPatternErased, static_cast<quint8>(bank), failed))
            return OpLinkBase;
    }
    progress.setPosition(0);
    progress.setCaption(QString::fromUtf8(m.checkClearCaption));
    for (int bank = 0; bank < m.banks; ++bank) {
        progress.step();
        CheckResult check;
        if (!selectBank(ctx, m, bank) || !ctx.link.CheckBankPattern(kPatternErased, check))
            return OpLinkBase;
        if (!check.passed)
            return OpFileOpen;
    }
    return OpDone;
}

int SaveFiscalWorker(BenchContext& ctx, ProgressSink& p, OperationArgument& a) {
    return SaveDataMemory(ctx, p, DataMemory::fiscal(), a.text);
}
int RestoreFiscalWorker(BenchContext& ctx, ProgressSink& p, OperationArgument& a) {
    return RestoreDataMemory(ctx, p, DataMemory::fiscal(), a.text);
}
int ClearFiscalWorker(BenchContext& ctx, ProgressSink& p, OperationArgument&) {
    return ClearDataMemory(ctx, p, DataMemory::fiscal());
}
int SaveEepromWorker(BenchContext& ctx, ProgressSink& p, OperationArgument& a) {
    return SaveDataMemory(ctx, p, DataMemory::eeprom(), a.text);
}
int RestoreEepromWorker(BenchContext& ctx, ProgressSink& p, OperationArgument& a) {
    return RestoreDataMemory(ctx, p, DataMemory::eeprom(), a.text);
}
int ClearEepromWorker(BenchContext& ctx, ProgressSink& p, OperationArgument&) {
    return ClearDataMemory(ctx, p, DataMemory::eeprom());
}

} // namespace kia
