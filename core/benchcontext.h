#pragma once

#include "board.h"
#include "../link/linkport.h"
#include "../link/portresolver.h"

#include <QString>
#include <array>
#include <functional>

namespace kia {

/// The last pulse measurement of the logic probe: level at the first edge
/// (ProbeLevel), duration between the first two edges (0.1 ms) and edges seen.
struct PulseReading {
    quint8 level = 0;
    quint16 duration = 0;
    quint8 edges = 0;
};

class Clock;
class UserPrompts;
class ScenarioHost;
class ControllerPreparation;
class JournalSink;

/// The one bench context of a process: everything that the link, the tests,
/// the instruments and the service operations share. The program makes one at
/// start-up and passes it by reference; each test makes its own.
/// Not guarded: the UI thread and a service worker never use it at once.
class BenchContext {
public:
    BenchContext(Clock& clock, UserPrompts& prompts);
    BenchContext(const BenchContext&) = delete;
    BenchContext& operator=(const BenchContext&) = delete;

    Clock& clock;
    UserPrompts& prompts;
    /// Guided diagnostics, once installed; null until then.
    ScenarioHost* scenarios = nullptr;
    /// Board type 4: puts the test program into DD5 when it does not answer;
    /// installed by the service operations, null until then.
    ControllerPreparation* controllerPreparation = nullptr;
    /// The repair journal, once installed; null: nothing is recorded.
    JournalSink* journal = nullptr;
    /// The board on the bench as the journal tells boards apart: the number
    /// the engineer entered, or DD5's identity on board type 4; empty: unknown.
    QString boardId;
    /// The board number was asked for this run (asked once, at the first test).
    bool boardNumberAsked = false;
    /// Board type 4: DD5's identity as last read (empty: none or not read).
    QString controllerIdentity;

    /// Chosen at start-up, fixed for the run.
    int boardType = 0;
    /// COM port the engineer selected (1..8); the link opens it lazily.
    int selectedPort = 1;
    /// Title of the link messages when the port is a device path rather than
    /// COMn (kia-bench --port /dev/ttyUSB0); empty: "Com" and the port digit.
    QString linkTitle;

    PortResolver ports;
    LinkPort link;

    /// Phase that the last link operation failed in (see LinkStatus).
    quint8 linkStatus = 0;
    /// PC copy of output port 1 of the peer, kept by WritePort.
    quint8 port1Shadow = 0;
    /// 1 when input port 3 bit 2 read 0 at test preparation (older board revision).
    quint8 boardRevision = 0;
    /// Trailing result byte of the last WriteDevice (types 0..3), 0 on type 4.
    quint8 deviceResult = 0;
    /// Set when PeerPresent got an answer.
    quint8 peerAnswered = 0;
    /// Shared long-frame buffer: request data in, reply (length byte + data) out.
    std::array<quint8, 256> longFrameBuffer{};

    /// Output latch shadows: main latch (0x7FFF / 0x8000) and PPI ports 0x5FFC..0x5FFE.
    quint8 mainLatchShadow = 0;
    std::array<quint8, 3> ppiShadows{0xFF, 0xFF, 0xFF};

    /// Logic probe: the last static level, the last pulse measurement and the
    /// input value of the current step (read by the level driver and the
    /// input setters of the circuit checks and stimulus routines).
    quint8 probeLevel = 3;
    PulseReading lastPulse;
    quint8 inputValue = 0;

    /// Peripheral circuits test: set when an error dialog was shown since the
    /// whole test (or the probe self-test) started; the pin of the last
    /// pin-scan failure chosen for diagnostics (255 otherwise).
    bool circuitErrorFlag = false;
    quint8 failingPin = 255;

    /// Main window flags.
    bool busy = false;
    bool dontShowStartDialog = false;
    bool diagnosticsActive = false;
    /// The full check runs: a test that would ask whether to start
    /// diagnostics takes "yes" without asking (the check collects keywords
    /// and offers diagnostics at its end).
    bool fullCheckRunning = false;

    /// Texts shared between tests, fault analysis and scenarios.
    QString reportText;
    QString lastErrorKeyword;
    QString chosenVersion;
    /// Working folder with a trailing separator (empty: relative paths).
    QString workingFolder;
};

} // namespace kia
