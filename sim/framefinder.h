#pragma once

#include <QtGlobal>
#include <array>

namespace sim {

/// A pause this long (clock µs) between two received bytes makes a peer drop
/// a partial frame or an unfinished data phase.
inline constexpr qint64 FrameGapUs = 50'000;

/// Finds frames in the byte stream that reaches a peer, the way the peer's
/// firmware hunts for them: a 7-byte command frame is valid when its fillers
/// are the board family's and byte 6 is the inverted sum of bytes 0..5; a long
/// frame (programmer only) is [n + 1, 16 or 32, n data bytes, plain sum]. A
/// candidate that cannot be valid any more slides the window by one byte, and
/// a pause of FrameGapUs between bytes starts the search afresh.
/// Fixed storage; used by one peer under the bench lock.
class FrameFinder {
public:
    enum class Result { NeedMore, CommandFrame, LongFrame, Slide };
    static constexpr int Capacity = 264;

    void setFillers(quint8 filler1, quint8 filler2) {
        m_filler1 = filler1;
        m_filler2 = filler2;
    }
    void clear() { m_len = 0; }
    void push(quint8 byte);
    int size() const { return m_len; }
    const quint8* data() const { return m_buf.data(); }
    quint8 front() const { return m_buf[0]; }
    /// Looks at the bytes from the front. On a frame, `length` is its size.
    Result examine(bool acceptCommand, bool acceptLong, int& length) const;
    /// Drops n bytes from the front.
    void drop(int n);

    bool isCommandFrame(const quint8* f) const;
    static bool isLongFrame(const quint8* f, int available, int& length);

private:
    std::array<quint8, Capacity> m_buf{};
    int m_len = 0;
    quint8 m_filler1 = 0xFF;
    quint8 m_filler2 = 0x00;
};

} // namespace sim
