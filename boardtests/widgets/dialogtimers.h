#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

namespace kia {

class Clock;

/// The window timers of an interactive test dialog (segment, keyboard, sound),
/// each a numbered periodic timer with its callback. How they wait:
/// - RealTime: a Qt timer per timer (the workstation);
/// - ContextClock: whichever armed timer is due first fires at the next turn of
///   the event loop and the context's clock is moved on to its time (tests and
///   scripted demos on a virtual clock that does not run by itself);
/// - Manual: nothing fires until advance() is called (tests of one dialog).
/// A callback may start and stop any timer, also its own. UI thread only.
class DialogTimers : public QObject {
    Q_OBJECT
public:
    enum class Pacing { RealTime, ContextClock, Manual };

    DialogTimers(Clock& clock, Pacing pacing, QObject* parent = nullptr);

    /// Adds a timer; returns its number (0, 1, …). Not yet running.
    int add(std::function<void()> callback);
    /// (Re)starts timer `id` with period `ms`; the first firing is `ms` from now.
    void start(int id, int ms);
    void stop(int id);
    void stopAll();
    bool isActive(int id) const;
    int interval(int id) const;

    /// Manual and ContextClock: moves the clock on by `ms`, firing every timer
    /// that falls due on the way, in time order. Returns how many fired.
    int advance(int ms);

private:
    struct Entry {
        std::function<void()> callback;
        QTimer* timer = nullptr;
        int ms = 0;
        qint64 dueMs = 0;
        bool active = false;
    };
    qint64 nowMs() const;
    int nextDue() const;
    void fire(int id);
    void pump();
    void schedulePump();

    Clock& m_clock;
    Pacing m_pacing;
    std::vector<Entry> m_entries;
    QTimer m_pump;
};

} // namespace kia
