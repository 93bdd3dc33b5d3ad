#pragma once

#include <QtGlobal>
#include <vector>

namespace sim {

/// Bytes on their way from the peers to the PC, each with the time (clock µs)
/// from which the PC may read it, kept in time order. Storage is reused, so a
/// long run of exchanges does not grow it; like a UART buffer it holds at most
/// Capacity bytes and drops what does not fit. Used under the bench lock.
class OutputQueue {
public:
    static constexpr int Capacity = 65536;

    void push(quint8 byte, qint64 atUs);
    bool isEmpty() const { return m_head == m_items.size(); }
    int size() const { return static_cast<int>(m_items.size() - m_head); }
    /// Time of the next byte; false when none is on its way.
    bool peek(qint64& atUs) const;
    bool take(quint8& byte);
    /// Takes up to max bytes that are available at nowUs.
    int takeAvailable(quint8* dst, int max, qint64 nowUs);
    /// Drops the bytes available at nowUs (what a purge of the PC's queue does).
    void dropAvailable(qint64 nowUs);
    /// Drops the bytes that would arrive at or after fromUs (the cable is gone).
    void dropFrom(qint64 fromUs);
    void clear();
    /// Storage held, for tests that check the memory stays flat.
    size_t capacity() const { return m_items.capacity(); }

private:
    struct Item {
        qint64 atUs;
        quint8 byte;
    };
    void compact();

    std::vector<Item> m_items;
    size_t m_head = 0;
};

} // namespace sim
