#pragma once

#include "fault.h"
#include "reply.h"

namespace sim {

class FaultInjector;
class OutputQueue;

/// The peers' side of the cable: every peer (test processor, programmer, cash
/// register) announces each frame it recognises and sends its replies through
/// here. The link asks the fault injector what happens to the exchange and
/// spoils, delays or swallows the replies accordingly; it also tracks a cable
/// pulled in the middle of a frame. Owned by the Bench; used under its lock.
class PeerLink {
public:
    PeerLink(OutputQueue& out, FaultInjector& faults);

    /// Time (clock µs) of the byte being handled; set by the bench.
    qint64 nowUs() const { return m_nowUs; }
    void setNowUs(qint64 us) { m_nowUs = us; }

    /// A peer has recognised a whole frame of `frameLength` bytes. False: the
    /// frame must be dropped unheard (silence, a cable pulled inside it, a lost device).
    bool beginExchange(FrameKind kind, int code, int frameLength);
    /// Sends a reply now, or, while an earlier reply is still held back (a
    /// slow peer), right after it: a peer answers its frames in order.
    /// `final` marks the last reply of the exchange (the one a short-reply fault cuts).
    void send(const Reply& reply, bool final = true);
    /// Sends the final reply of a check that runs in the background, `delayUs`
    /// from now; replies to later frames may come before it.
    void sendLater(const Reply& reply, qint64 delayUs);

    /// The bench calls this after each received byte (pull countdown).
    void afterByte();
    bool isCablePulled() const { return m_pulled; }
    /// Puts the cable back (the bench also resets the peers' framing).
    void plugCable();
    /// Pulls the cable now: nothing more reaches the peers, nothing due from now on comes back.
    void pullCable();
    /// True once after a device-lost fault fired.
    bool takeDeviceLost();
    /// Forgets the current exchange (the peers were reset).
    void reset();

private:
    void deliver(const Reply& reply, bool final, qint64 atUs, bool inOrder);
    void push(const Reply& reply, qint64 atUs);

    OutputQueue& m_out;
    FaultInjector& m_faults;
    FaultAction m_action;
    Reply m_scratch;
    qint64 m_nowUs = 0;
    qint64 m_lastInOrderUs = 0; ///< time of the last reply sent in order
    int m_pullCountdown = -1;
    bool m_firstSend = true;
    bool m_pulled = false;
    bool m_deviceLost = false;
};

} // namespace sim
