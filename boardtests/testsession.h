#pragma once

#include <QString>

namespace kia {

class BenchContext;
class TestSessionHost;

/// Preparation before a board test started from the menu, and the idle state
/// of the peer's ports. UI thread; every failure is reported here, once
/// (link error box, no-connect question or identification messages).

/// Why a preparation did not let the test run.
enum class PreparationFailure {
    None,
    Cancelled,          // the start dialog was not confirmed; the link was not touched
    LinkFailure,        // the port or the peer failed (link error box or no-connect question shown)
    ControllerNotReady, // type 4: the test program does not answer and was not loaded
};

/// Busy flag on, start dialog (unless switched off), the link port, then
/// board types 0..3: peer check, idle ports, board-revision flag from input
/// port 3 and the memory map; type 4: PrepareControllerTestProgram. Returns
/// true when the test may run; on false the busy flag is cleared.
/// `skipSave` is passed on to the type-4 preparation.
bool PrepareTestSession(BenchContext& ctx, TestSessionHost& host, bool skipSave = false,
                        PreparationFailure* failure = nullptr);

/// Puts the peer's ports into their idle state and sets the output shadows.
/// Types 0..3: ports 1..3 high (port 1 bit 5 low), main latch 0xF0, the PPI
/// all outputs and high. Type 4: ports 0..3 high, latch 0 through the window.
/// Stops at the first failure and returns false (the link status says why).
bool InitTestProcessorPorts(BenchContext& ctx);

/// Type 4: InitTestProcessorPorts, then the memory map 0x0000, 0x8000,
/// 0xC000, 0x4000, 0xFFFF, kind 185.
bool SetBoardType4MemoryMap(BenchContext& ctx);

/// Type 4: true when the test program already answers in DD5 (the memory map
/// is then set). Otherwise the host's ControllerPreparation loads it; while
/// there is none, the controller's identity is read and the engineer is told
/// why the test cannot run (never a success without an answering program).
/// `failure` (optional) tells a silent programmer (LinkFailure) from a
/// controller without an answering test program (ControllerNotReady).
bool PrepareControllerTestProgram(BenchContext& ctx, TestSessionHost& host, bool skipSave,
                                  PreparationFailure* failure = nullptr);

/// What the engineer reads when the test program does not answer and cannot
/// be loaded from here yet.
QString testProgramMissingText();

} // namespace kia
