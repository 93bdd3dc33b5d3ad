#include "dialogtimers.h"

#include "core/clock.h"

namespace kia {

DialogTimers::DialogTimers(Clock& clock, Pacing pacing, QObject* parent)
    : QObject(parent), m_clock(clock), m_pacing(pacing) {
    m_pump.setSingleShot(true);
    connect(&m_pump, &QTimer::timeout, this, &DialogTimers::pump);
}

qint64 DialogTimers::nowMs() const {
    return m_clock.nowUs() / 1000;
}

int DialogTimers::add(std::function<void()> callback) {
    Entry e;
    e.callback = std::move(callback);
    const int id = static_cast<int>(m_entries.size());
    if (m_pacing == Pacing::RealTime) {
        e.timer = new QTimer(this);
        connect(e.timer, &QTimer::timeout, this, [this, id] { fire(id); });
    }
    m_entries.push_back(std::move(e));
    return id;
}

void DialogTimers::start(int id, int ms) {
    if (id < 0 || id >= static_cast<int>(m_entries.size()))
        return;
    Entry& e = m_entries[static_cast<size_t>(id)];
    e.ms = qMax(1, ms);
    e.dueMs = nowMs() + e.ms;
    e.active = true;
    if (e.timer)
        e.timer->start(e.ms);
    schedulePump();
}

void DialogTimers::stop(int id) {
    if (id < 0 || id >= static_cast<int>(m_entries.size()))
        return;
    Entry& e = m_entries[static_cast<size_t>(id)];
    e.active = false;
    if (e.timer)
        e.timer->stop();
}

void DialogTimers::stopAll() {
    for (size_t i = 0; i < m_entries.size(); ++i)
        stop(static_cast<int>(i));
    m_pump.stop();
}

bool DialogTimers::isActive(int id) const {
    return id >= 0 && id < static_cast<int>(m_entries.size()) &&
           m_entries[static_cast<size_t>(id)].active;
}

int DialogTimers::interval(int id) const {
    return id >= 0 && id < static_cast<int>(m_entries.size())
               ? m_entries[static_cast<size_t>(id)].ms
               : 0;
}

int DialogTimers::nextDue() const {
    int best = -1;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        if (e.active && (best < 0 || e.dueMs < m_entries[static_cast<size_t>(best)].dueMs))
            best = static_cast<int>(i);
    }
    return best;
}

void DialogTimers::fire(int id) {
    Entry& e = m_entries[static_cast<size_t>(id)];
    if (!e.active)
        return;
    e.dueMs += e.ms; // periodic: the next firing keeps the period
    // The callback may add timers: keep no reference across it.
    std::function<void()> cb = e.callback;
    cb();
}

int DialogTimers::advance(int ms) {
    if (m_pacing == Pacing::RealTime)
        return 0;
    const qint64 end = nowMs() + ms;
    int fired = 0;
    for (int id = nextDue(); id >= 0; id = nextDue()) {
        const qint64 due = m_entries[static_cast<size_t>(id)].dueMs;
        if (due > end)
            break;
        const qint64 wait = due - nowMs();
        if (wait > 0)
            m_clock.sleepMs(static_cast<int>(wait));
        fire(id);
        ++fired;
    }
    const qint64 rest = end - nowMs();
    if (rest > 0)
        m_clock.sleepMs(static_cast<int>(rest));
    return fired;
}

void DialogTimers::schedulePump() {
    if (m_pacing == Pacing::ContextClock && !m_pump.isActive())
        m_pump.start(0);
}

void DialogTimers::pump() {
    const int id = nextDue();
    if (id < 0)
        return;
    const qint64 wait = m_entries[static_cast<size_t>(id)].dueMs - nowMs();
    if (wait > 0)
        m_clock.sleepMs(static_cast<int>(wait));
    fire(id);
    if (nextDue() >= 0)
        schedulePump();
}

} // namespace kia
