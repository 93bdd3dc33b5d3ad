#pragma once

#include "boardfault.h"
#include "dd5controller.h"
#include "fault.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <mutex>

namespace kia {
class Clock;
}

namespace sim {

class BoardModel;
class CashRegister;
class FaultInjector;
class OutputQueue;
class PeerLink;
class Probe;
class Programmer;
class TestProcessor;

/// The whole simulated bench: the cable with its logic probe and whatever the
/// cable ends at (the test processor of board types 0..3, the programmer and
/// DD5 of board type 4, or the assembled cash register), plus the fault
/// injector. Bytes from the PC arrive at clock time; replies wait in a queue,
/// each with the clock time from which the PC may read it (now + the peer's
/// own delay; wire time is added by the line, not here).
///
/// Thread-safe: every public call takes the bench mutex. The model accessors
/// (board(), testProcessor(), ...) hand out plain references: a test that
/// touches them while a PtyBench thread runs holds lock() meanwhile (and calls
/// nothing else on the bench until it lets go). Owned by whoever made it (a
/// test, the program's main, a PtyBench); the lines it serves must not outlive it.
class Bench {
public:
    enum class Cable { Board, CashRegister };

    /// Board type 0..4 (values outside are clamped); `clock` must outlive the bench.
    Bench(int boardType, kia::Clock& clock);
    ~Bench();
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    int boardType() const;
    /// Puts a new board of another type on the bench (fresh models, DD5 as
    /// at start-up; link faults, board faults, revision, ROM version, cable,
    /// probe and plug state stay).
    void setBoardType(int boardType);
    kia::Clock& clock() const { return m_clock; }

    // --- the PC's side (BenchLine, PtyBench) -------------------------------
    /// Bytes from the PC at clock.nowUs(), sent at `baud`. A peer hears only
    /// bytes at its own speed: 9600 (test processor), 115200 (programmer), the
    /// cash register's current speed.
    void receive(const quint8* data, int n, qint32 baud);
    /// Time from which the next byte may be read; false when nothing is on its way.
    bool peekOutput(qint64& availableAtUs);
    /// Takes the next byte whatever its time (callers check peekOutput first).
    bool takeOutput(quint8& byte);
    /// Takes up to max bytes available at upToUs; *nextAtUs gets the time of the
    /// byte after them (-1: none). -1 when the device is unplugged or, with a
    /// generation other than AnyGeneration, the line's handle is stale.
    static constexpr quint64 AnyGeneration = ~quint64(0);
    int takeAvailable(quint8* dst, int max, qint64 upToUs, qint64* nextAtUs,
                      quint64 generation = AnyGeneration);
    /// What the PC's purge does: drops the bytes already available to the PC;
    /// bytes the peers send later still come.
    void purgeAvailable();
    /// Drops everything on its way, available or not.
    void discardOutput();

    void setRts(bool on);
    void setDtr(bool on);
    /// CTS (0x10) and DSR (0x20) from the probe.
    quint8 modemStatus();

    /// Puts the probe tip on a control point of the board (its name as in the
    /// points file): from then on the tip shows what the board drives there.
    /// Empty: the tip is held by hand (Probe::setTipLevel and setPulseWiring).
    void setProbePoint(const QString& point);
    QString probePoint() const;
    /// Clips the output of the probe's level driver onto a board input (a
    /// step that says where the driver goes while the tip is elsewhere).
    /// Empty, as at the start: the driver feeds the point the tip is on.
    void setDriverPoint(const QString& point);

    /// Exclusive open: a line claims the bench and gets the plug generation
    /// its handle belongs to. False when unplugged or claimed by another line.
    bool claim(const void* line, quint64& generation);
    void release(const void* line);
    /// Whether a handle of that generation still reaches the device.
    bool isAlive(quint64 generation);

    // --- the bench itself ----------------------------------------------------
    void setCable(Cable cable);
    Cable cable() const;
    /// The serial device vanishes (true) or comes back (false). Open handles
    /// stay dead after it comes back; the device must be opened again.
    void setUnplugged(bool unplugged);
    bool isUnplugged() const;
    /// Puts a pulled cable back; the peers start hunting for frames afresh.
    void plugCable();
    void pullCable();
    bool isCablePulled() const;

    void addFault(const Fault& fault);
    void clearFaults();
    /// Replaces the link rules, the board faults, the revision and the ROM
    /// version by the script's (a script without them means none, the current
    /// revision, the default version); a bad script changes nothing and leaves
    /// the message in *error.
    bool loadFaultScript(const QString& text, QString* error);

    // --- the board itself ----------------------------------------------------
    /// Puts a board fault on the board; it stays, also on a new board put on
    /// the bench, until clearBoardFaults(). A fault that does not fit the
    /// board type is refused with the reason in *error.
    bool addBoardFault(const BoardFault& fault, QString* error = nullptr);
    void clearBoardFaults();
    QList<BoardFault> boardFaults() const;
    /// The older revision of board types 0..3: port 3 bit 2 strapped to
    /// ground, so the workstation sets its board-revision flag (no effect on type 4).
    void setOlderRevision(bool older);
    bool isOlderRevision() const;
    /// The software version whose controller program the ROM sums of board
    /// types 0..3 are sealed with (DefaultSoftwareVersion at first); false and
    /// nothing changed for an unknown version. Type 4 is sealed with the
    /// controller software DD5 started with instead.
    bool setRomVersion(const QString& version);
    QString romVersion() const;

    // --- models (see the class comment about locking) ------------------------
    BoardModel& board();
    TestProcessor& testProcessor();
    Programmer& programmer();
    Dd5Controller& dd5();
    CashRegister& cashRegister();
    Probe& probe();
    FaultInjector& faults();
    OutputQueue& output();
    /// Loads DD5 with a start state. On type 4 the ROM checksum is sealed to
    /// the cash register's software with that identity, the image the
    /// workstation saves before it writes the test program.
    void setDd5StartState(Dd5Controller::StartState state,
                          const QByteArray& identity = Dd5Controller::defaultIdentity());

    [[nodiscard]] std::unique_lock<std::mutex> lock() const {
        return std::unique_lock<std::mutex>(m_mutex);
    }

private:
    struct Models;
    void buildModels(int boardType);
    void resetFramingLocked();
    /// Board faults off, revision, optionally the ROM sums sealed anew, board faults on.
    void refreshBoardLocked(bool reseal);
    qint32 peerSpeedLocked() const;

    kia::Clock& m_clock;
    mutable std::mutex m_mutex;
    std::unique_ptr<FaultInjector> m_faults;
    std::unique_ptr<OutputQueue> m_output;
    std::unique_ptr<PeerLink> m_link;
    std::unique_ptr<Probe> m_probe;
    std::unique_ptr<CashRegister> m_cashRegister;
    std::unique_ptr<Models> m_models;
    QList<BoardFault> m_boardFaults;
    bool m_olderRevision = false;
    QString m_romVersion;
    quint16 m_controllerSum = 0; ///< type 4: sum of the controller software the ROM test adds
    QString m_probePoint;
    QString m_driverPoint; // empty: where the tip is
    void applyDriverWiringLocked();
    bool m_probeBrokenByFault = false;
    Cable m_cable = Cable::Board;
    bool m_unplugged = false;
    quint64 m_generation = 1;
    const void* m_owner = nullptr;
};

} // namespace sim
