#pragma once

#include <QtGlobal>

namespace sim {

/// The logic probe in the serial cable. Its tip level shows on the port's
/// modem-status inputs: logic 0 → CTS only, logic 1 → CTS and DSR, +12 V →
/// DSR only, open tip → CTS with DSR following RTS (the probe feeds RTS back
/// through the open input). DTR drives the probe's level driver; its state is
/// kept for the board side. Owned by the Bench; used under its lock.
class Probe {
public:
    enum Level : quint8 { Low = 0, High = 1, Plus12V = 2, Open = 3 };

    void setTipLevel(quint8 level) { m_level = level > Open ? quint8(Open) : level; }
    quint8 tipLevel() const { return m_level; }

    /// A broken probe or cable: neither CTS nor DSR ever comes.
    void setBroken(bool broken) { m_broken = broken; }
    bool isBroken() const { return m_broken; }

    void setRts(bool on) { m_rts = on; }
    void setDtr(bool on) {
        if (on != m_dtr)
            ++m_dtrChanges;
        m_dtr = on;
    }
    bool rts() const { return m_rts; }
    bool dtr() const { return m_dtr; }
    /// How often DTR changed, so tests can see the level driver being used.
    int dtrChanges() const { return m_dtrChanges; }

    /// CTS (0x10) and DSR (0x20) as the port reads them.
    quint8 modemStatus() const;

    /// A pulse output under the tip: while a pulse is on, the tip shows
    /// `activeLevel` instead of the tip level. The circuit stretches or cuts the
    /// stimulus to [minUs, maxUs]; a split pulse drops out for a while in its
    /// middle (three edges or more).
    struct PulseWiring {
        bool connected = false;
        quint8 activeLevel = Low;
        qint64 minUs = 0;
        qint64 maxUs = 1'000'000'000;
        bool split = false;
    };
    void setPulseWiring(const PulseWiring& wiring) { m_pulse = wiring; }
    const PulseWiring& pulseWiring() const { return m_pulse; }
    /// The status at `nowUs` with a stimulus pulse that began at `startUs` and
    /// lasted `widthUs` (no stimulus yet: widthUs 0).
    quint8 modemStatusAt(qint64 nowUs, qint64 startUs, qint64 widthUs) const;

private:
    quint8 statusOf(quint8 level) const;

    quint8 m_level = Open;
    bool m_rts = false;
    bool m_dtr = false;
    int m_dtrChanges = 0;
    bool m_broken = false;
    PulseWiring m_pulse;
};

} // namespace sim
