#include "framefinder.h"

#include <cstring>

namespace sim {

void FrameFinder::push(quint8 byte) {
    if (m_len == Capacity)
        drop(1);
    m_buf[m_len++] = byte;
}

void FrameFinder::drop(int n) {
    if (n >= m_len) {
        m_len = 0;
        return;
    }
    std::memmove(m_buf.data(), m_buf.data() + n, static_cast<size_t>(m_len - n));
    m_len -= n;
}

bool FrameFinder::isCommandFrame(const quint8* f) const {
    if (f[4] != m_filler1 || f[5] != m_filler2)
        return false;
    unsigned sum = 0;
    for (int i = 0; i < 6; ++i)
        sum += f[i];
    return static_cast<quint8>(~sum) == f[6];
}

bool FrameFinder::isLongFrame(const quint8* f, int available, int& length) {
    if (available < 2 || f[0] == 0 || (f[1] != 16 && f[1] != 32))
        return false;
    const int total = f[0] + 2;
    if (available < total)
        return false;
    unsigned sum = 0;
    for (int i = 0; i < total - 1; ++i)
        sum += f[i];
    if (static_cast<quint8>(sum) != f[total - 1])
        return false;
    length = total;
    return true;
}

FrameFinder::Result FrameFinder::examine(bool acceptCommand, bool acceptLong, int& length) const {
    if (m_len == 0)
        return Result::NeedMore;
    bool commandAlive = acceptCommand;
    bool longAlive = acceptLong;

    if (acceptLong && m_len >= 2) {
        if (m_buf[0] == 0 || (m_buf[1] != 16 && m_buf[1] != 32)) {
            longAlive = false;
        } else if (m_len >= m_buf[0] + 2) {
            if (isLongFrame(m_buf.data(), m_len, length))
                return Result::LongFrame;
            longAlive = false;
        }
    }
    if (acceptCommand && m_len >= 7) {
        if (isCommandFrame(m_buf.data())) {
            length = 7;
            return Result::CommandFrame;
        }
        commandAlive = false;
    }
    if (!commandAlive && !longAlive)
        return Result::Slide;
    // The front still waits for a long frame to complete; a whole command
    // frame that has meanwhile arrived behind it shows that the front was
    // noise. (Long frames are not looked for behind the front: their data may
    // hold anything, and a pause of FrameGapUs clears the noise anyway.)
    if (acceptCommand && m_len > 7 && isCommandFrame(m_buf.data() + m_len - 7))
        return Result::Slide;
    return Result::NeedMore;
}

} // namespace sim
