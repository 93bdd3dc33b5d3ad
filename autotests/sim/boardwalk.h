#pragma once

// Every board test's exact frame sequence, driven through kia::LinkPort
// against a simulated bench on the virtual clock: the steps, waits and checks
// that the workstation's test engine performs, without its dialogs. A failed
// memory check also reads the failing block back the way the error display
// does, so a test can see that the bad cell shows there too.

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "sim/bench.h"
#include "sim/virtualclock.h"

#include <QString>

namespace simtest {

enum class BoardTest {
    Bus,       ///< test 0
    Ram,       ///< test 1
    Rom,       ///< test 2 with the controller program file of the rig's version
    RomNoFile, ///< test 2 with "нет"
    Timer,     ///< test 3
    Flash,     ///< test 4: 28С256 (types 0..3) or 29С010 (type 4)
    Flash2,    ///< test 5: 24С256
    FpBlank,   ///< test 6
    FpWrite,   ///< test 7
    Ppi,       ///< test 10
};

QString testName(BoardTest t);

/// How a test ended, and where.
struct Outcome {
    enum Verdict { Pass, Fail, LinkFailure };
    Verdict verdict = Pass;
    int steps = 0;        ///< steps run (including skipped bus steps)
    int failStep = -1;    ///< the step that failed
    int displayKind = -1; ///< memory-error display kind (0..4, 7), -1 when none
    int pattern = 0;      ///< pattern of the failed check
    quint32 address = 0;  ///< failing address as the engine hands it to the display
    int badInBlock = 0;   ///< cells of the displayed block that differ from the pattern
    quint32 firstBad = 0; ///< the first of them
    quint32 expected = 0; ///< bus and PPI: the images
    quint32 read = 0;
    int timerKind = -1;   ///< timer errors 0, 1, 2; 24С256 no answer: 2
    quint16 computed = 0; ///< ROM sums
    quint16 stored = 0;
    bool continuedCheckPassed =
        false; ///< ФП on types 0..3: the check resumed behind the block passed

    bool passed() const { return verdict == Pass; }
    QString describe() const;
};

/// A simulated bench on the virtual clock with a LinkPort attached, prepared
/// as the workstation's test preparation leaves it.
class BoardRig {
public:
    explicit BoardRig(int boardType);

    /// The common preparation (peer check, idle ports, memory map, revision flag).
    bool prepare();
    Outcome run(BoardTest test);

    /// The controller program file's sum that the ROM test adds (types 0..3:
    /// the version chosen; type 4: the saved controller software).
    quint16 fileSum = 0;

    sim::VirtualClock clock;
    kia::ScriptedPrompts prompts;
    kia::BenchContext ctx{clock, prompts};
    sim::Bench bench;

private:
    kia::LinkPort& link() { return ctx.link; }
    void wait(int ms) { clock.sleepMs(ms); }
    Outcome linkFailure(Outcome o, int step);

    Outcome bus();
    Outcome ram();
    Outcome rom(bool withFile);
    Outcome timer();
    Outcome flash();
    Outcome serialEeprom();
    Outcome fpBlank();
    Outcome fpWrite();
    Outcome fpWriteType4();
    Outcome ppi();
    /// Reads the block of a failed memory check the way the display of that kind does.
    bool readDisplayBlock(Outcome& o);
    /// Polls the background check of the fiscal memory (types 0..3).
    Outcome pollFiscalCheck(Outcome o, int steps, int kind, quint8 pattern);

    bool m_type4;
};

} // namespace simtest
