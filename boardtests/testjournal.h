#pragma once

#include <QString>

namespace kia {

class BenchContext;
struct TestCommandOutcome;
struct FullCheckReport;

/// The name of a board test as the journal and the full check show it
/// ("Тест ОЗУ"); empty for a command that is not a board test.
QString boardTestName(int commandId);

/// Puts a finished test command into the context's journal (none: nothing
/// happens). A command the engineer cancelled before it ran is not an event.
void journalTestCommand(BenchContext& ctx, int commandId, const TestCommandOutcome& outcome);

/// Puts a finished full check into the journal, with each test's verdict.
void journalFullCheck(BenchContext& ctx, const FullCheckReport& report);

} // namespace kia
