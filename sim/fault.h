#pragma once

#include <QString>
#include <QtGlobal>

namespace sim {

/// What goes wrong.
enum class FaultKind {
    Silence,     ///< the frame is not heard: no acknowledge, no reply, nothing done
    WrongAck,    ///< the acknowledge (or the long-frame echo) is wrong
    BadChecksum, ///< every sum byte of the reply is off by one
    UnequalPair, ///< the two bytes of the first doubled answer differ
    ShortReply,  ///< the last `bytes` bytes of the exchange's final reply are missing
    Garbage,     ///< `bytes` random bytes before the reply, or random bytes instead of it
    SlowPeer,    ///< every reply of the exchange comes `delayMs` later
    CablePull,   ///< `bytes` bytes of the frame (and what follows) get through, then the cable is
                 ///< gone
    DeviceLost,  ///< the serial device vanishes: the line's reads and writes fail
};

/// Which frames a rule looks at.
enum class FrameKind {
    Any,     ///< every frame of every kind
    Command, ///< 7-byte command frames (code = byte 0)
    Long,    ///< long programmer frames (code = the command byte, 16 or 32)
    Cash,    ///< cash-register frames (code = the command byte after the 0x00)
};

/// One rule of the fault injector: a fault kind, the frames it applies to,
/// when it starts and how often it fires. Built in tests with the chained
/// setters, or read from a fault script (FaultScript).
struct Fault {
    FaultKind kind = FaultKind::Silence;
    FrameKind frame = FrameKind::Any;
    int code = -1;        ///< -1: any code of the frame kind
    int skip = 0;         ///< matching frames that pass untouched before the rule fires
    int limit = -1;       ///< how many times it fires; -1: always
    int bytes = 0;        ///< ShortReply: missing bytes; Garbage: count; CablePull: bytes through
    int delayMs = 0;      ///< SlowPeer
    bool instead = false; ///< Garbage: random bytes replace the reply

    explicit Fault(FaultKind k = FaultKind::Silence);

    static Fault silence() { return Fault(FaultKind::Silence); }
    static Fault wrongAck() { return Fault(FaultKind::WrongAck); }
    static Fault badChecksum() { return Fault(FaultKind::BadChecksum); }
    static Fault unequalPair() { return Fault(FaultKind::UnequalPair); }
    static Fault shortReply(int missing = 1);
    static Fault garbage(int count = 4, bool insteadOfReply = false);
    static Fault slowPeer(int ms);
    static Fault cablePull(int bytesThrough);
    static Fault deviceLost() { return Fault(FaultKind::DeviceLost); }

    Fault& onCommand(int c);
    Fault& onLong(int c);
    Fault& onCash(int c);
    Fault& after(int frames);
    Fault& once() { return times(1); }
    Fault& times(int n);
    Fault& always();

    bool matches(FrameKind k, int c) const;

    /// The script keyword of a kind ("silence", "wrong-ack", ...).
    static QString keyword(FaultKind k);
};

/// What the injector decided for one exchange (one frame and its replies).
struct FaultAction {
    bool active = false;
    FaultKind kind = FaultKind::Silence;
    int bytes = 0;
    int delayMs = 0;
    bool instead = false;
};

} // namespace sim
