#pragma once

namespace kia {

/// Test numbers of the test engine (8 and 9 are the indicator tests).
enum TestNumber : int {
    BusTestNumber = 0,
    RamTestNumber = 1,
    RomTestNumber = 2,
    TimerTestNumber = 3,
    EepromTestNumber = 4,       // 28С256 on types 0..3, 29С010 on type 4
    SerialEepromTestNumber = 5, // 24С256
    FiscalBlankTestNumber = 6,
    FiscalWriteTestNumber = 7,
    CashierIndicatorTestNumber = 8,
    CustomerIndicatorTestNumber = 9,
    PpiTestNumber = 10,
};

/// What a test dialog ends with, and what the nested error displays return.
enum TestResult : int {
    ResultNone = 0,         // still running
    ResultRepeat = 1,       // "Повтор"; from an error display: go on to the next block
    ResultExit = 2,         // "Выход", or diagnostics declined
    ResultIoError = 121,    // timer: no answer on the I²C bus, diagnostics wanted
    ResultClockError = 122, // timer: the clock does not run, diagnostics wanted
    ResultDiagnostics = 123,
    ResultLinkFailure = 124,
    ResultNoProgramFile = 125, // ROM test; from an error display: "Следующий тест"
    ResultProgramFileMissing = 126,
    ResultProgramFileUnreadable = 127,
};

/// "Следующий тест" of the memory-error display: leave this step's blocks.
constexpr int ResultNextStep = ResultNoProgramFile;

inline bool isDiagnosticsResult(int r) {
    return r >= ResultIoError && r <= ResultDiagnostics;
}
inline bool isProgramFileResult(int r) {
    return r >= ResultNoProgramFile && r <= ResultProgramFileUnreadable;
}

} // namespace kia
