#pragma once

#include "framefinder.h"
#include "reply.h"

#include <QtGlobal>

namespace sim {

class Dd5Controller;
class PeerLink;
class TestProcessor;

/// The programmer of board type 4 (115200 baud). It answers the long frames
/// itself and passes the 7-byte command frames, and the data that follow
/// them, to the test program in DD5 while DD5 runs it; otherwise those frames
/// go unanswered. Owned by the Bench; called under its lock.
///
/// Long frames: [n + 1, command, n data bytes, sum of all bytes before it].
/// Every one is answered with an echo byte equal to its checksum, then
/// [length, data..., NOT(sum of length and data)]:
/// - 32 (control) [v]: v = 1 lets DD5 run (a held DD5 restarts), v = 0 holds it
///   in reset for programming. Reply data [0x20, v].
/// - 16 (transfer) [nsend, nrecv, nsend bytes]: one serial exchange with DD5
///   (see Dd5Controller). Reply data [0x10, nsend, nrecv, the nrecv bytes
///   received]; while DD5 runs, the received bytes are all 0xFF. At most 252
///   bytes are received, so that the reply fits its length byte.
class Programmer {
public:
    Programmer(Dd5Controller& dd5, TestProcessor& testProgram, PeerLink& link);

    void receiveByte(quint8 byte, qint64 nowUs);
    void resetFraming();
    quint64 longFrameCount() const { return m_longFrames; }

private:
    void handleLongFrame(const quint8* frame, int length);

    Dd5Controller& m_dd5;
    TestProcessor& m_testProgram;
    PeerLink& m_link;
    FrameFinder m_finder;
    Reply m_reply;
    qint64 m_lastByteUs = 0;
    bool m_haveLastByte = false;
    quint64 m_longFrames = 0;
};

} // namespace sim
