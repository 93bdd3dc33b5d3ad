#pragma once

#include "i2cdevice.h"

#include <vector>

namespace sim {

/// The board's clock chip on the I²C bus, keeping time on the bench clock.
///
/// Pcf8583 (board types 0..3, address 0xA0): 256 bytes; 0 control (counts only
/// while bit 7 "stop" is clear and bits 5..4 select the 32.768 kHz clock mode),
/// 1 hundredths, 2 seconds, 3 minutes, 4 hours, 5 year (bits 7..6) and date,
/// 6 weekday (bits 7..5) and month, 16.. free RAM. Year 0 is a leap year.
///
/// Ds1307 (board type 4, address 0xD0): 64 bytes; 0 seconds (bit 7 halts the
/// clock), 1 minutes, 2 hours, 3 day of week 1..7, 4 date, 5 month, 6 year
/// 00..99, 7 control (bits 7, 4, 1, 0), 8.. free RAM; unused register bits read 0.
///
/// Counters are BCD and roll over seconds, minutes, hours, days, months and
/// the year (midnight of 31 December included). Writing a time register
/// restarts the sub-second divider, as the chips do. Owned by the BoardModel;
/// used under the bench lock.
class RtcChip final : public I2cDevice {
public:
    enum class Model { Pcf8583, Ds1307 };

    explicit RtcChip(Model model);

    Model model() const { return m_model; }
    int size() const override { return static_cast<int>(m_regs.size()); }
    quint8 read(quint16 address, qint64 nowUs) override;
    void write(quint16 address, quint8 value, qint64 nowUs) override;

    /// Whether the clock counts with the present register values.
    bool isRunning() const;

    // --- faults of the chip ----------------------------------------------
    /// A dead oscillator: the registers work, the time does not move.
    void setOscillatorStopped(bool stopped) { m_oscillatorStopped = stopped; }
    bool isOscillatorStopped() const { return m_oscillatorStopped; }
    /// Register bits that read stuck (low: read 0, high: read 1), added to those already stuck.
    void addRegisterFault(int reg, quint8 stuckLow, quint8 stuckHigh);
    void clearFaults();

private:
    void sync(qint64 nowUs);
    void addHundredths(qint64 n);
    void addSeconds(qint64 n);
    void addDay();
    int daysInMonth(int month, int year) const;
    quint8 mask(int reg) const;

    Model m_model;
    std::vector<quint8> m_regs;
    qint64 m_lastUs = 0;
    qint64 m_fracUs = 0;
    bool m_synced = false;
    bool m_oscillatorStopped = false;
    std::vector<quint8> m_stuckLow;
    std::vector<quint8> m_stuckHigh;
};

} // namespace sim
