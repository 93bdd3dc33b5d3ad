#include "namedtests.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/userprompts.h"
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

int RunNamedTest(BenchContext& ctx, TestSessionHost& host, const QString& stepText,
                 QString& keyword) {
    keyword.clear();
    if (stepText.contains(QStringLiteral("TEST_IO"))) {
        ctx.prompts.message(PromptIcon::Information, QStringLiteral("Тест периферии"),
                            peripheralTestNotAvailableText());
        return NamedTestCancelled;
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
