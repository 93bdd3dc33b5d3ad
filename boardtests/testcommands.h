#pragma once

#include <QString>

namespace kia {

class BenchContext;
class TestSessionHost;

/// How a test command of the "Тестирование" menu ended, for the callers that
/// want more than the boxes the engineer saw (the CLI's verdict, tests).
struct TestCommandOutcome {
    bool known = false;              // the command id is a test, scan or pulse command
    bool prepared = false;           // the preparation let the test run
    bool cancelled = false;          // start dialog, version choice or a consent declined
    bool linkFailure = false;        // a link error or the no-connect question was shown
    bool controllerNotReady = false; // type 4: the test program does not answer
    int runs = 0;                    // how often the test dialog opened ("Повтор" included)
    int result = 0;                  // the last dialog's result (0 when none opened)
    bool completed = false;          // the last run did all its steps
    bool failed = false;             // the last run found an error
    QString keyword;                 // the keyword handed to guided diagnostics
    QString programFile;             // ROM test: the controller program file name
};

/// Whether `commandId` is one of the commands RunTestCommand runs.
bool isTestCommand(int commandId);
/// Test engine number of a test command; -1 for the scan and pulse commands.
int testNumberOfCommand(int commandId);
/// The keyword a scan or pulse command hands over ("SCAN_BUS" …), else empty.
QString scanKeyword(int commandId);
/// The keyword that a dialog result of the command hands to diagnostics, or
/// empty when the result is not a failure with diagnostics wanted.
QString failureKeyword(const BenchContext& ctx, int commandId, int result);

/// The preparation of a test session for a command (start dialog, link,
/// test program): true when the test may run. Otherwise `out` says why
/// (cancelled, link failure, DD5 not ready) and the busy flag is cleared.
bool PrepareCommandSession(BenchContext& ctx, TestSessionHost& host, TestCommandOutcome& out);

/// Runs one test command from the menu: preparation, the command's set-up,
/// the test dialog again and again while it ends with "Повтор", then the
/// outcome — link error box, ROM-file message, or the error keyword handed to
/// guided diagnostics. Returns when the command has ended, busy flag cleared.
/// The scan and pulse commands prepare and hand their keyword over at once.
/// UI thread (the workstation's CommandRouter calls it per command id).
TestCommandOutcome RunTestCommand(BenchContext& ctx, TestSessionHost& host, int commandId);

} // namespace kia
