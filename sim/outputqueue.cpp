#include "outputqueue.h"

#include <algorithm>

namespace sim {

void OutputQueue::push(quint8 byte, qint64 atUs) {
    if (size() >= Capacity)
        return;
    compact();
    if (isEmpty() || m_items.back().atUs <= atUs) {
        m_items.push_back({atUs, byte});
        return;
    }
    // A byte due earlier than bytes already waiting (a late background result
    // is queued, then a prompt reply comes): keep the wire order by time.
    auto pos =
        std::upper_bound(m_items.begin() + static_cast<std::ptrdiff_t>(m_head), m_items.end(), atUs,
                         [](qint64 t, const Item& it) { return t < it.atUs; });
    m_items.insert(pos, {atUs, byte});
}

bool OutputQueue::peek(qint64& atUs) const {
    if (isEmpty())
        return false;
    atUs = m_items[m_head].atUs;
    return true;
}

bool OutputQueue::take(quint8& byte) {
    if (isEmpty())
        return false;
    byte = m_items[m_head++].byte;
    if (isEmpty())
        clear();
    return true;
}

int OutputQueue::takeAvailable(quint8* dst, int max, qint64 nowUs) {
    int n = 0;
    while (n < max && !isEmpty() && m_items[m_head].atUs <= nowUs)
        dst[n++] = m_items[m_head++].byte;
    if (isEmpty())
        clear();
    return n;
}

void OutputQueue::dropAvailable(qint64 nowUs) {
    while (!isEmpty() && m_items[m_head].atUs <= nowUs)
        ++m_head;
    if (isEmpty())
        clear();
}

void OutputQueue::dropFrom(qint64 fromUs) {
    while (!isEmpty() && m_items.back().atUs >= fromUs)
        m_items.pop_back();
    if (isEmpty())
        clear();
}

void OutputQueue::clear() {
    m_items.clear(); // keeps the capacity
    m_head = 0;
}

void OutputQueue::compact() {
    if (m_head > 4096 && m_head * 2 > m_items.size()) {
        m_items.erase(m_items.begin(), m_items.begin() + static_cast<std::ptrdiff_t>(m_head));
        m_head = 0;
    }
}

} // namespace sim
