#pragma once

#include <QString>
#include <QtGlobal>

namespace kia {

class BenchContext;
class CircuitTestHost;
class TestEngine;
class TestEngineHost;

/// What a test command needs from the workstation's windows: the start dialog
/// "Начало тестирования", the software-version choice, the modal test dialog
/// and the board view's marks. The main window implements it with its
/// dialogs, the CLI with the console, tests with a script. UI thread only;
/// every call is modal.
class TestSessionHost {
public:
    virtual ~TestSessionHost() = default;

    /// Shows the start dialog of the board type (see startdialogtexts.h).
    /// Returns true on "Продолжить"; `dontShowAgain` gets the check box.
    virtual bool ShowStartDialog(int boardType, bool& dontShowAgain) = 0;

    /// The version choice before the ROM test of board types 0..3: on OK the
    /// chosen value goes into ctx.chosenVersion and true is returned; cancel
    /// returns false.
    virtual bool ChooseSoftwareVersion(BenchContext& ctx) = 0;

    /// Runs the test dialog over `engine` modally (the dialog starts the
    /// engine and drives its timer) and returns the dialog's result.
    virtual int RunTestDialog(TestEngine& engine) = 0;

    /// The host of the displays that the engine opens.
    virtual TestEngineHost& engineHost() = 0;

    /// Clears the control-point marks of the board view.
    virtual void ClearMarks() {}

    /// The host of the peripheral circuit dialogs, when the front has them
    /// (null: a scenario's "TEST_IO" cannot run there).
    virtual CircuitTestHost* circuitHost() { return nullptr; }
    /// The board's own number for the repair journal, asked once before the
    /// first test of a run; empty when the engineer skips it (or there is
    /// nobody to ask).
    virtual QString AskBoardNumber(int boardType) {
        Q_UNUSED(boardType)
        return QString();
    }

};

} // namespace kia
