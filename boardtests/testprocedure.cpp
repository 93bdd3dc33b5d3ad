#include "testprocedure.h"

#include "banktest.h"
#include "bustest.h"
#include "controllerprogramfile.h"
#include "core/benchcontext.h"
#include "fiscalblanktest.h"
#include "fiscalwritetest.h"
#include "indicatortest.h"
#include "ppitest.h"
#include "ramtest.h"
#include "romtest.h"
#include "serialeepromtest.h"
#include "testresults.h"
#include "timertest.h"

namespace kia {

std::unique_ptr<TestProcedure> makeTestProcedure(int testNumber, const BenchContext& ctx,
                                                 const QString& controllerProgram) {
    const int type = ctx.boardType;
    switch (testNumber) {
    case BusTestNumber:
        return std::make_unique<BusTest>(type, ctx.boardRevision);
    case RamTestNumber:
        return std::make_unique<RamTest>(type);
    case RomTestNumber:
        return std::make_unique<RomTest>(
            type, ControllerProgramFile::resolve(ctx.workingFolder, controllerProgram));
    case TimerTestNumber:
        return std::make_unique<TimerTest>(type);
    case EepromTestNumber:
        return std::make_unique<BankTest>(type, BankTest::eepromLayout(type));
    case SerialEepromTestNumber:
        return std::make_unique<SerialEepromTest>();
    case FiscalBlankTestNumber:
        return std::make_unique<FiscalBlankTest>(type);
    case FiscalWriteTestNumber:
        if (isProgrammerBoard(type))
            return std::make_unique<BankTest>(type, BankTest::fiscalLayout());
        return std::make_unique<FiscalWriteTest>();
    case CashierIndicatorTestNumber:
        return std::make_unique<IndicatorTest>(0);
    case CustomerIndicatorTestNumber:
        return std::make_unique<IndicatorTest>(1);
    case PpiTestNumber:
        return std::make_unique<PpiTest>(type);
    default:
        return nullptr;
    }
}

} // namespace kia
