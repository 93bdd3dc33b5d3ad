#pragma once

#include "memory.h"
#include "reply.h"

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace sim {

class PeerLink;

/// The assembled cash register on the end of the cable (cable CashRegister):
/// 128 KiB of memory in two banks of 64 KiB and its own line speed (9600 at
/// power-on). Bytes sent at another speed never make sense to it; the bench
/// drops them. Owned by the Bench; called under its lock.
///
/// Frames both ways are [0x00, N, N - 1 payload bytes, sum of the payload],
/// the payload starting with 0x00 and the command byte:
/// - 0x40 read [00 40 bank addrHi addrLo count]: reply payload [00 40, count
///   bytes of the bank from the address]. The ping 00 07 00 40 00 00 00 01 41 is
///   a read of one byte, answered with 6 bytes.
/// - 0x0B set parameter [00 0B 08 code]: code 0..3 selects 9600, 19200,
///   57600, 115200. Reply payload [00 0B status] (0 done, 1 unknown code,
///   2 unknown parameter), sent at the old speed; the new speed holds from the
///   next byte on.
/// Frames with a bad sum slide the search by one byte; other commands go unanswered.
class CashRegister {
public:
    static constexpr int MemorySize = 0x20000;

    explicit CashRegister(PeerLink& link);
    /// The 131072 bytes the register holds at power-on: the software image
    /// "kassa.bin" of the sample folder (verification and update demos).
    static QByteArray softwareImage();

    qint32 speed() const { return m_speed; }
    void setSpeed(qint32 baud) { m_speed = baud; }
    Memory& memory() { return m_memory; }

    void receiveByte(quint8 byte, qint64 nowUs);
    void resetFraming() { m_len = 0; }
    quint64 frameCount() const { return m_frames; }

private:
    enum class Scan { NeedMore, Frame, Slide };
    Scan examine(int& length) const;
    bool frameEndsLater() const;
    static bool isFrame(const quint8* f, int available, int& length);
    void handleFrame(const quint8* f, int length);
    void drop(int n);

    PeerLink& m_link;
    Memory m_memory;
    qint32 m_speed = 9600;
    std::array<quint8, 264> m_buf{};
    int m_len = 0;
    qint64 m_lastByteUs = 0;
    bool m_haveLastByte = false;
    Reply m_reply;
    quint64 m_frames = 0;
};

} // namespace sim
