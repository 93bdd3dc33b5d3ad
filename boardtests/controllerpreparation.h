#pragma once

namespace kia {

class BenchContext;

/// Board type 4: bringing the test program into the controller DD5 when it
/// does not answer yet (saving the controller's software, writing
/// "testcpu.052", the checks and messages around it). The service operations
/// provide it; until they do, test preparation reports that the test program
/// does not answer and stops. Called on the UI thread; shows its own messages.
class ControllerPreparation {
public:
    virtual ~ControllerPreparation() = default;

    /// Everything after the first "does the test program answer" check.
    /// Returns true when the test program answers in DD5 (with the type-4
    /// memory map set). `skipSave` is set by the software update.
    virtual bool LoadControllerTestProgram(BenchContext& ctx, bool skipSave) = 0;
};

} // namespace kia
