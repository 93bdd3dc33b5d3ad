#include "namedtests.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/userprompts.h"
#include "circuitdialogmodel.h"
#include "circuittesthost.h"
#include "peripheraltest.h"
#include "fiscalconsent.h"
#include "link/linkstatus.h"
#include "testengine.h"
#include "testresults.h"
#include "testsession.h"
#include "testsessionhost.h"
#include "testsetups.h"

#include <array>

namespace kia {

namespace {
constexpr int kBusSettleMs = 500;
constexpr int kCircuitDialogPauseMs = 50;

struct NamedSetup {
    int result = NamedTestPassed; // other than Passed: the step ends with it
    int test = -1;
    QString program;
};

// Restores the diagnostics-active flag however the run ends.
class DiagnosticsActiveScope {
public:
    explicit DiagnosticsActiveScope(BenchContext& ctx) : m_ctx(ctx), m_was(ctx.diagnosticsActive) {
        ctx.diagnosticsActive = true;
    }
    ~DiagnosticsActiveScope() { m_ctx.diagnosticsActive = m_was; }

private:
    BenchContext& m_ctx;
    bool m_was;
};

NamedSetup linkFailure() {
    NamedSetup s;
    s.result = NamedTestLinkFailure;
    return s;
}

NamedSetup ready(int test, const QString& program = QString()) {
    NamedSetup s;
    s.test = test;
    s.program = program;
    return s;
}

NamedSetup setupBus(BenchContext& ctx) {
    ctx.clock.sleepMs(kBusSettleMs);
    if (!isProgrammerBoard(ctx.boardType)) {
        if (!InitTestProcessorPorts(ctx))
            return linkFailure();
        const quint16 port3 = ctx.link.ReadPort(3);
        if (port3 > 0xFF)
            return linkFailure();
        ctx.boardRevision = (port3 & 0x04) == 0 ? 1 : 0;
    }
    ctx.clock.sleepMs(kBusSettleMs);
    return ready(BusTestNumber);
}

NamedSetup setupRom(BenchContext& ctx, TestSessionHost& host) {
    if (isProgrammerBoard(ctx.boardType)) {
        QString identity;
        if (ctx.link.ReadControllerIdentity(identity) != LongOk) {
            NamedSetup s;
            s.result = NamedTestNoIdentity;
            return s;
        }
        if (identity.size() != 12) {
            NamedSetup s;
            s.result = NamedTestBadIdentity;
            return s;
        }
        ctx.chosenVersion = identity + QStringLiteral(".cpu");
        return ready(RomTestNumber, ctx.chosenVersion);
    }
    if (!ctx.link.SetMemoryMap({0, 0, 0, 0, 0xFFFF}, testsetup::MapKindMemory))
        return linkFailure();
    if (!host.ChooseSoftwareVersion(ctx)) {
        NamedSetup s;
        s.result = NamedTestCancelled;
        return s;
    }
    return ready(RomTestNumber, ctx.chosenVersion);
}

NamedSetup setupFlash(BenchContext& ctx) {
    if (isProgrammerBoard(ctx.boardType)) {
        if (!InitTestProcessorPorts(ctx) || !testsetup::eepromWindow(ctx, false))
            return linkFailure();
    } else if (!testsetup::eepromWindow(ctx, true)) {
        return linkFailure();
    }
    return ready(EepromTestNumber);
}

NamedSetup setupFiscal(BenchContext& ctx) {
    LinkPort& link = ctx.link;
    std::array<quint8, 10> head{};
    if (!link.SetMemoryMap({0, 0, 0x8000, 0x8000, 0}, testsetup::MapKindWindows) ||
        !link.WritePort(1, 6, 7) || !link.WritePort(1, 0, 0x20) || !link.ReadMemory(0x8000, head))
        return linkFailure();
    if (!askFiscalDataConsent(
            ctx, QByteArray(reinterpret_cast<const char*>(head.data()), int(head.size())))) {
        NamedSetup s;
        s.result = NamedTestCancelled;
        return s;
    }
    return ready(FiscalWriteTestNumber);
}

NamedSetup setupFor(BenchContext& ctx, TestSessionHost& host, const QString& name,
                    QString& failureKeyword) {
    if (name == QStringLiteral("TEST_BUS"))
        return setupBus(ctx);
    if (name == QStringLiteral("TEST_ROM")) {
        failureKeyword = QStringLiteral("ROM_ERROR");
        return setupRom(ctx, host);
    }
    if (name == QStringLiteral("TEST_RAM")) {
        failureKeyword = QStringLiteral("RAM_ERROR");
        const bool ok = isProgrammerBoard(ctx.boardType) ? SetBoardType4MemoryMap(ctx)
                                                         : testsetup::ramWindow(ctx);
        return ok ? ready(RamTestNumber) : linkFailure();
    }
    if (name == QStringLiteral("TEST_FLASH")) {
        failureKeyword = QStringLiteral("FLASH1_ERROR");
        return setupFlash(ctx);
    }
    if (name == QStringLiteral("TEST_TIMER"))
        return testsetup::timerDevice(ctx) ? ready(TimerTestNumber) : linkFailure();
    if (name == QStringLiteral("TEST_FP")) {
        failureKeyword = QStringLiteral("FPWR_ERROR");
        return setupFiscal(ctx);
    }
    return NamedSetup(); // not a test name: passes
}
} // namespace

QString peripheralTestNotAvailableText() {
    return QStringLiteral("Тест цепей периферии будет доступен в следующей версии программы.");
}

QString unknownCircuitText(const QString& stepText) {
    return QStringLiteral("В шаге сценария \"%1\" нет номера цепи периферии 0..27.")
        .arg(stepText.trimmed());
}

static int circuitNumber(const QString& stepText, bool& ok) {
    // The number follows the first seven characters of the step text.
    const QString digits = stepText.mid(7, 100);
    int i = 0;
    while (i < digits.size() && digits.at(i).isDigit())
        ++i;
    ok = i > 0 && i <= 3;
    return ok ? digits.left(i).toInt() : -1;
}

static int RunCircuitStep(BenchContext& ctx, CircuitTestHost& host, const QString& stepText,
                          QString& keyword) {
    bool ok = false;
    const int row = circuitNumber(stepText, ok);
    if (!ok || row < 0 || row >= CircuitRowCount) {
        ctx.prompts.message(PromptIcon::Exclamation, QStringLiteral("Тест периферии"),
                            unknownCircuitText(stepText));
        return NamedTestCancelled;
    }
    if (!circuitTable(ctx.boardType)[static_cast<size_t>(row)].isPresent())
        return NamedTestPassed;
    ShowCircuitPoint(ctx, host, row);
    ctx.clock.sleepMs(kCircuitDialogPauseMs);
    CircuitDialogModel dialog(ctx, host, row, false);
    const int end = host.RunCircuitDialog(dialog);
    host.ClearMarks();
    if (end == CircuitDialogLinkFailure)
        return NamedTestLinkFailure;
    if (end == CircuitDialogExit)
        return NamedTestCancelled;
    if (end == CircuitDialogDiagnostics) {
        keyword = ctx.lastErrorKeyword;
        return NamedTestFailed;
    }
    return NamedTestPassed;
}

int RunNamedTest(BenchContext& ctx, TestSessionHost& host, const QString& stepText,
                 QString& keyword) {
    keyword.clear();
    if (stepText.contains(QStringLiteral("TEST_IO"))) {
        CircuitTestHost* circuits = host.circuitHost();
        if (!circuits) {
            ctx.prompts.message(PromptIcon::Information, QStringLiteral("Тест периферии"),
                                peripheralTestNotAvailableText());
            return NamedTestCancelled;
        }
        const DiagnosticsActiveScope active(ctx);
        return RunCircuitStep(ctx, *circuits, stepText, keyword);
    }

    const DiagnosticsActiveScope active(ctx);
    const QString name = stepText.trimmed();
    QString failure;
    const NamedSetup setup = setupFor(ctx, host, name, failure);
    if (setup.test < 0)
        return setup.result;

    TestEngine engine(ctx, host.engineHost(), setup.test, setup.program);
    const int r = host.RunTestDialog(engine);
    if (r == ResultLinkFailure)
        return NamedTestLinkFailure;
    if (setup.test == TimerTestNumber) {
        if (r == ResultIoError || r == ResultDiagnostics)
            keyword = QStringLiteral("TIMER_IOERROR");
        else if (r == ResultClockError)
            keyword = QStringLiteral("TIMER_CLKERROR");
        return keyword.isEmpty() ? NamedTestPassed : NamedTestFailed;
    }
    if (r != ResultDiagnostics)
        return NamedTestPassed;
    keyword = setup.test == BusTestNumber ? ctx.lastErrorKeyword : failure;
    return NamedTestFailed;
}

} // namespace kia
