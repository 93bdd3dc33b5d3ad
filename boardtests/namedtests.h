#pragma once

#include <QString>

namespace kia {

class BenchContext;
class TestSessionHost;

/// Results of a test run by name for a scenario step.
enum NamedTestResult : int {
    NamedTestLinkFailure = 0, // the dialog ended with 124, or a set-up command failed
    NamedTestPassed = 1,      // any other ending, ROM-file problems and "Выход" included
    NamedTestFailed = 2,      // the keyword output holds the error keyword
    NamedTestCancelled = 3,   // version choice cancelled, ФП warning declined, or not available
    NamedTestNoIdentity = 4,  // type 4: the controller identification failed
    NamedTestBadIdentity = 5, // type 4: the identity is not 12 characters long
};

/// Runs the board test that a scenario's TEST step names ("TEST_BUS",
/// "TEST_ROM", "TEST_RAM", "TEST_FLASH", "TEST_TIMER", "TEST_FP"), without the
/// menu's start dialog and link preparation, with guided diagnostics marked
/// active for the run (the dialog closes itself after a passed test and
/// errors end at once). Any other name passes. "TEST_IO<n>" runs the circuit
/// dialog of peripheral row n through host.circuitHost() (an absent row
/// passes; "Выход" cancels; diagnostics fail with the circuit name); a step
/// without a row number 0..27, or a front without circuit dialogs, is told
/// to the engineer and cancelled, never passed. Shows no link message itself.
/// UI thread (the diagnostics engine calls it).
int RunNamedTest(BenchContext& ctx, TestSessionHost& host, const QString& stepText,
                 QString& keyword);

/// What the engineer reads when a scenario asks for the peripheral test.
QString peripheralTestNotAvailableText();
/// What the engineer reads when a "TEST_IO" step names no circuit row.
QString unknownCircuitText(const QString& stepText);

} // namespace kia
