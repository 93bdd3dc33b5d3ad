#include "testcommands.h"

#include "app/commandtable.h"
#include "controllerprogramfile.h"
#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/userprompts.h"
#include "diagnosticshandover.h"
#include "fiscalconsent.h"
#include "indicatoraccess.h"
#include "link/linkmessages.h"
#include "link/linkstatus.h"
#include "testengine.h"
#include "testjournal.h"
#include "testresults.h"
#include "testsession.h"
#include "testsessionhost.h"
#include "testsetups.h"

#include <array>

namespace kia {

namespace {
constexpr int kSettleMs = 50;
constexpr int kBeepHz = 600;
constexpr int kBeepMs = 30;

enum class Setup { Ready, LinkFailure, Ended };

Setup linkFailed(BenchContext& ctx, TestCommandOutcome& out) {
    ShowLinkError(ctx);
    out.linkFailure = true;
    return Setup::LinkFailure;
}

Setup settle(BenchContext& ctx) {
    ctx.clock.sleepMs(kSettleMs);
    return Setup::Ready;
}

// Types 0..3: the engineer names the software version; type 4: the
// controller's identity names the saved software it was sealed with.
Setup setupRom(BenchContext& ctx, TestSessionHost& host, TestCommandOutcome& out) {
    settle(ctx);
    if (isProgrammerBoard(ctx.boardType)) {
        QString identity;
        const quint8 r = ctx.link.ReadControllerIdentity(identity);
        if (r != LongOk) {
            ShowIdentificationError(ctx, r);
            out.linkFailure = true;
            return Setup::LinkFailure;
        }
        if (identity.size() != 12) {
            ctx.prompts.beep(kBeepHz, kBeepMs);
            ctx.prompts.message(PromptIcon::Error, QStringLiteral("Тест ПЗУ..."),
                                QStringLiteral("Ошибка определения имени файла ПО контроллера"));
            return Setup::Ended;
        }
        ctx.chosenVersion = identity + QStringLiteral(".cpu");
    } else if (!host.ChooseSoftwareVersion(ctx)) {
        out.cancelled = true;
        return Setup::Ended;
    }
    out.programFile = ctx.chosenVersion;
    return Setup::Ready;
}

Setup setupFiscalWrite(BenchContext& ctx, TestCommandOutcome& out) {
    if (!testsetup::fiscalWindow(ctx))
        return linkFailed(ctx, out);
    bool consent = true;
    if (isProgrammerBoard(ctx.boardType)) {
        std::array<quint8, 10> head{};
        if (!ctx.link.WritePort(1, 0, 0x20) || !ctx.link.ReadMemory(0x8000, head))
            return linkFailed(ctx, out);
        consent = askFiscalDataConsent(
            ctx, QByteArray(reinterpret_cast<const char*>(head.data()), int(head.size())));
    } else {
        consent = askFiscalWriteConsent(ctx);
    }
    if (!consent) {
        out.cancelled = true;
        return Setup::Ended;
    }
    return Setup::Ready;
}

Setup setupFor(BenchContext& ctx, TestSessionHost& host, int commandId, TestCommandOutcome& out) {
    const auto ok = [&](bool linkOk) { return linkOk ? Setup::Ready : linkFailed(ctx, out); };
    switch (commandId) {
    case cmd::BusTest:
        return settle(ctx);
    case cmd::RomTest:
        return setupRom(ctx, host, out);
    case cmd::RamTest:
        if (!isProgrammerBoard(ctx.boardType) && !testsetup::ramWindow(ctx))
            return linkFailed(ctx, out);
        return settle(ctx);
    case cmd::TimerTest:
        if (!testsetup::timerDevice(ctx))
            return linkFailed(ctx, out);
        return settle(ctx);
    case cmd::EepromTest:
        return ok(testsetup::eepromWindow(ctx, true));
    case cmd::SerialEepromTest:
        return ok(testsetup::serialEeprom(ctx));
    case cmd::FiscalBlankCheck:
        return ok(testsetup::fiscalWindow(ctx));
    case cmd::FiscalWriteTest:
        return setupFiscalWrite(ctx, out);
    case cmd::PpiTest:
        return ok(ctx.link.WriteMemoryByte(0x5FFF, 0x80));
    case cmd::CashierIndicatorReadWrite:
    case cmd::CustomerIndicatorReadWrite: {
        const int ind = commandId == cmd::CashierIndicatorReadWrite ? 0 : 1;
        return ok(IndicatorInit(ctx, ind) && IndicatorCommand(ctx, ind, indicator::DisplayOff));
    }
    default:
        return Setup::Ended;
    }
}

void showRomFileMessage(BenchContext& ctx, int result) {
    const ControllerProgramFile file =
        ControllerProgramFile::resolve(ctx.workingFolder, ctx.chosenVersion);
    ctx.prompts.beep(kBeepHz, kBeepMs);
    ctx.prompts.message(PromptIcon::Error, QStringLiteral("Тест ПЗУ"),
                        romFileMessageText(result, file));
}
} // namespace

int testNumberOfCommand(int commandId) {
    switch (commandId) {
    case cmd::BusTest:
        return BusTestNumber;
    case cmd::RomTest:
        return RomTestNumber;
    case cmd::RamTest:
        return RamTestNumber;
    case cmd::TimerTest:
        return TimerTestNumber;
    case cmd::EepromTest:
        return EepromTestNumber;
    case cmd::SerialEepromTest:
        return SerialEepromTestNumber;
    case cmd::FiscalBlankCheck:
        return FiscalBlankTestNumber;
    case cmd::FiscalWriteTest:
        return FiscalWriteTestNumber;
    case cmd::PpiTest:
        return PpiTestNumber;
    case cmd::CashierIndicatorReadWrite:
        return CashierIndicatorTestNumber;
    case cmd::CustomerIndicatorReadWrite:
        return CustomerIndicatorTestNumber;
    default:
        return -1;
    }
}

QString scanKeyword(int commandId) {
    switch (commandId) {
    case cmd::ScanBus:
        return QStringLiteral("SCAN_BUS");
    case cmd::ScanControlBus:
        return QStringLiteral("SCAN_CONTR");
    case cmd::ScanDecoder:
        return QStringLiteral("SCAN_DC");
    case cmd::ScanRegister:
        return QStringLiteral("SCAN_REG");
    case cmd::ScanPpi:
        return QStringLiteral("SCAN_PPI");
    case cmd::FiscalWritePulse:
        return QStringLiteral("PULS_FP");
    default:
        return QString();
    }
}

bool isTestCommand(int commandId) {
    return testNumberOfCommand(commandId) >= 0 || !scanKeyword(commandId).isEmpty();
}

QString failureKeyword(const BenchContext& ctx, int commandId, int result) {
    if (commandId == cmd::TimerTest) {
        if (result == ResultIoError || result == ResultDiagnostics)
            return QStringLiteral("TIMER_IOERROR");
        if (result == ResultClockError)
            return QStringLiteral("TIMER_CLKERROR");
        return QString();
    }
    if (result != ResultDiagnostics)
        return QString();
    switch (commandId) {
    case cmd::BusTest:
        return ctx.lastErrorKeyword;
    case cmd::RomTest:
        return QStringLiteral("ROM_ERROR");
    case cmd::RamTest:
        return QStringLiteral("RAM_ERROR");
    case cmd::EepromTest:
        return QStringLiteral("FLASH1_ERROR");
    case cmd::SerialEepromTest:
        return QStringLiteral("FLASH2_ERROR");
    case cmd::FiscalBlankCheck:
        return QStringLiteral("FPEMPT_ERROR");
    case cmd::FiscalWriteTest:
        return QStringLiteral("FPWR_ERROR");
    case cmd::CashierIndicatorReadWrite:
        return QStringLiteral("IND0_ERROR");
    case cmd::CustomerIndicatorReadWrite:
        return QStringLiteral("IND1_ERROR");
    case cmd::PpiTest:
        return ctx.boardType == 3 ? QStringLiteral("Управление DD15")
                                  : QStringLiteral("Управление DD14");
    default:
        return QString();
    }
}

bool PrepareCommandSession(BenchContext& ctx, TestSessionHost& host, TestCommandOutcome& out) {
    PreparationFailure why = PreparationFailure::None;
    if (!PrepareTestSession(ctx, host, false, &why)) {
        out.cancelled = why == PreparationFailure::Cancelled;
        out.linkFailure = why == PreparationFailure::LinkFailure;
        out.controllerNotReady = why == PreparationFailure::ControllerNotReady;
        ctx.busy = false;
        return false;
    }
    out.prepared = true;
    return true;
}

namespace {
TestCommandOutcome runTestCommand(BenchContext& ctx, TestSessionHost& host, int commandId) {
    TestCommandOutcome out;
    out.known = isTestCommand(commandId);
    if (!out.known)
        return out;

    if (!PrepareCommandSession(ctx, host, out))
        return out;

    const QString scan = scanKeyword(commandId);
    if (!scan.isEmpty()) {
        out.keyword = scan;
        handOverToDiagnostics(ctx, scan);
        ctx.busy = false;
        return out;
    }

    if (setupFor(ctx, host, commandId, out) != Setup::Ready) {
        ctx.busy = false;
        return out;
    }

    const int test = testNumberOfCommand(commandId);
    do {
        TestEngine engine(ctx, host.engineHost(), test, out.programFile);
        out.result = host.RunTestDialog(engine);
        ++out.runs;
        out.completed = engine.reachedEnd();
        out.failed = engine.failed();
    } while (out.result == ResultRepeat);

    if (out.result == ResultLinkFailure) {
        ShowLinkError(ctx);
        out.linkFailure = true;
    } else if (const QString keyword = failureKeyword(ctx, commandId, out.result);
               !keyword.isEmpty()) {
        out.keyword = keyword;
        handOverToDiagnostics(ctx, keyword);
    } else if (commandId == cmd::RomTest && isProgramFileResult(out.result)) {
        showRomFileMessage(ctx, out.result);
    }
    ctx.busy = false;
    return out;
}

} // namespace

TestCommandOutcome RunTestCommand(BenchContext& ctx, TestSessionHost& host, int commandId) {
    // The journal tells boards apart by a number the engineer may give once.
    if (ctx.journal && !ctx.boardNumberAsked && isTestCommand(commandId)) {
        ctx.boardNumberAsked = true;
        ctx.boardId = host.AskBoardNumber(ctx.boardType).trimmed().left(40);
    }
    const TestCommandOutcome out = runTestCommand(ctx, host, commandId);
    journalTestCommand(ctx, commandId, out);
    return out;
}

} // namespace kia
