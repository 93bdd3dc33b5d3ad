#pragma once

#include "testcommands.h"

#include <QList>

namespace kia {

class BenchContext;
class KeyboardTest;
class SegmentTest;
class SoundTest;
class TestSessionHost;

/// The windows of the tests the engineer judges by eye and ear. Each call
/// runs its dialog modally over the engine (the dialog opens the engine and
/// drives its timers) and returns the engine's result. The workstation
/// implements it with dialogs, tests with a script. UI thread only.
class InteractiveTestHost {
public:
    virtual ~InteractiveTestHost() = default;
    virtual int RunSegmentTestDialog(SegmentTest& test) = 0;
    virtual int RunKeyboardDialog(KeyboardTest& test) = 0;
    virtual int RunSoundDialog(SoundTest& test) = 0;
};

/// The menu commands of these tests: the segment and cursor test of both
/// indicators, "Тест звукового излучателя" and "Тест клавиатуры".
QList<int> interactiveTestCommandIds();
bool isInteractiveTestCommand(int commandId);

/// The set-up of the keyboard test: the 82C55 with port B input (types 0..3),
/// window 0 through port 1 (type 4).
bool PrepareKeyboard(BenchContext& ctx);
/// The set-up of the sound test: the 82C55 and the memory map (types 0..3);
/// nothing on type 4.
bool PrepareSound(BenchContext& ctx);

/// Runs one of these commands from the menu: PrepareTestSession, the set-up,
/// the dialog, then the link error box (124) or the keyword handed to guided
/// diagnostics on "Диагностика" ("GKIND_ERROR", "GKIND1_ERROR", "KB_ERROR",
/// "AUDIO_ERROR" after a 100 ms pause). The busy flag ends cleared. UI thread.
TestCommandOutcome RunInteractiveTestCommand(BenchContext& ctx, TestSessionHost& host,
                                             InteractiveTestHost& dialogs, int commandId);

} // namespace kia
