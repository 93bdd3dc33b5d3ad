#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace kia {

class BenchContext;

/// The stimulus table: for a circuit of the step file, a row whose start
/// routine puts the board into a known state, whose input setter drives the
/// circuit's input from the context's input value, and whose finish routine
/// puts the board back. Port values the start routine reads are kept here for
/// the finish routine, so one object serves one start/…/finish sequence.
/// Every routine returns a success flag (the link status says why it failed);
/// a row outside the table fails without touching the link. UI thread; the
/// waits of 250 ms and 500 ms block it.
class StimulusRoutines {
public:
    static constexpr int RowCount = 25;

    explicit StimulusRoutines(BenchContext& ctx) : m_ctx(ctx) {}

    bool start(int row);
    bool setInput(int row);
    bool finish(int row);

    /// Horizontal step of the oscilloscope drawing and its time-per-division
    /// text, by board type (0 and empty for rows without a drawing or outside).
    static int drawingStep(int row, int boardType);
    static QString timeText(int row, int boardType);

    /// Port values kept by the last start routine (ports 0..3).
    const std::array<quint8, 4>& keptPorts() const { return m_kept; }

private:
    enum class Start {
        None, SavePort1, SavePorts012, SavePorts13, SavePorts12, InitPorts, MapAndSavePort1,
        Map200, Select0, Select1, Select3, Select4, ControlLineLow
    };
    enum class Finish {
        None, RestorePort1, RestorePorts012, RestorePorts13, RestorePorts12, RestorePpi,
        ReleasePort3RestorePort1, WaitRestore, RestorePorts123, ControlLineHigh
    };
    struct Row {
        Start start;
        Finish finish;
        int step;       // types 0..3
        int step4;      // type 4
        const char16_t* time;
        const char16_t* time4;
    };
    static const std::array<Row, RowCount> kRows;

    bool keep(quint8 port);
    bool savePort1();
    bool restorePort1();
    bool writeLatch();
    bool setPpiShadow(int index, quint8 value);
    bool select(quint8 n);
    bool latchPulses(quint16 count);

    BenchContext& m_ctx;
    std::array<quint8, 4> m_kept{};
    bool m_ppiBit3WasClear = false;
};

} // namespace kia
