#include "stimulus.h"

#include "boardtests/testsession.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/clock.h"
#include "link/serialline.h"
#include "probe.h"
#include "pulsemeasure.h"

namespace kia {

namespace {
constexpr quint16 kTestProcessorLatch = 0x7FFF;
constexpr quint16 kControllerLatch = 0x8000;
constexpr quint16 kPpiPortA = 0x5FFC;
constexpr quint8 kMapKindWindows = 185;
constexpr quint8 kMapKindMemory = 200;

quint8 low8(unsigned v) { return static_cast<quint8>(v & 0xFF); }
quint8 bitTo(quint8 value, int bit, quint8 mask) { return (value >> bit & 1) ? mask : 0; }
} // namespace

// Start, finish, drawing step (types 0..3 / 4), time text (types 0..3 / 4).
const std::array<StimulusRoutines::Row, StimulusRoutines::RowCount> StimulusRoutines::kRows = {{
    {Start::SavePort1, Finish::RestorePort1, 300, 260, u"10ms", u"1,0ms"},
    {Start::SavePorts012, Finish::RestorePorts012, 78, 47, u"50ms", u"50.0ms"},
    {Start::SavePorts13, Finish::RestorePorts13, 78, 70, u"50ms", u"5.0ms"},
    {Start::None, Finish::None, 160, 160, u"50ms", u"50ms"},
    {Start::SavePorts12, Finish::RestorePorts12, 79, 69, u"50ms", u"5.0ms"},
    {Start::SavePort1, Finish::RestorePort1, 300, 260, u"10ms", u"1,0ms"},
    {Start::SavePort1, Finish::RestorePort1, 150, 109, u"20ms", u"2.5ms"},
    {Start::InitPorts, Finish::RestorePpi, 120, 120, u"50ms", u"50ms"},
    {Start::None, Finish::None, 195, 195, u"20ms", u"20ms"},
    {Start::SavePort1, Finish::ReleasePort3RestorePort1, 78, 78, u"50ms", u"50ms"},
    {Start::MapAndSavePort1, Finish::WaitRestore, 0, 0, u"", u""},
    {Start::Map200, Finish::None, 0, 0, u"", u""},
    {Start::None, Finish::None, 157, 130, u"0.1ms", u"0.01ms"},
    {Start::None, Finish::None, 157, 130, u"0.1ms", u"0.01ms"},
    {Start::MapAndSavePort1, Finish::WaitRestore, 0, 0, u"", u""},
    {Start::MapAndSavePort1, Finish::WaitRestore, 0, 0, u"", u""},
    {Start::SavePort1, Finish::RestorePort1, 150, 150, u"20ms", u"20ms"},
    {Start::None, Finish::None, 770, 480, u"1ms", u"5,0ms"},
    {Start::None, Finish::None, 285, 285, u"50ms", u"50ms"},
    {Start::Select0, Finish::RestorePorts123, 80, 80, u"2,5ms", u"2,5ms"},
    {Start::Select0, Finish::RestorePorts123, 80, 80, u"2,5ms", u"2,5ms"},
    {Start::Select1, Finish::RestorePorts123, 80, 80, u"2,5ms", u"2,5ms"},
    {Start::Select3, Finish::RestorePorts123, 70, 70, u"5,0ms", u"5,0ms"},
    {Start::Select4, Finish::RestorePorts123, 70, 70, u"5,0ms", u"5,0ms"},
    {Start::ControlLineLow, Finish::ControlLineHigh, 26, 26, u"0,25ms", u"0,25ms"},
}};

int StimulusRoutines::drawingStep(int row, int boardType) {
    if (row < 0 || row >= RowCount)
        return 0;
    return isProgrammerBoard(boardType) ? kRows[row].step4 : kRows[row].step;
}

QString StimulusRoutines::timeText(int row, int boardType) {
    if (row < 0 || row >= RowCount)
        return QString();
    return QString::fromUtf16(isProgrammerBoard(boardType) ? kRows[row].time4 : kRows[row].time);
}

bool StimulusRoutines::keep(quint8 port) {
    const quint16 v = m_ctx.link.ReadPort(port);
    if (v > 0xFF)
        return false;
    m_kept[port] = static_cast<quint8>(v);
    return true;
}

bool StimulusRoutines::writeLatch() {
    const quint16 latch = isProgrammerBoard(m_ctx.boardType) ? kControllerLatch : kTestProcessorLatch;
    return m_ctx.link.WriteMemoryByte(latch, m_ctx.mainLatchShadow);
}

bool StimulusRoutines::setPpiShadow(int index, quint8 value) {
    m_ctx.ppiShadows[static_cast<size_t>(index)] = value;
    return m_ctx.link.WriteMemoryByte(static_cast<quint16>(kPpiPortA + index), value);
}

bool StimulusRoutines::savePort1() {
    LinkPort& link = m_ctx.link;
    if (!keep(1))
        return false;
    if (isProgrammerBoard(m_ctx.boardType))
        return link.WritePort(1, 0, 0x07);
    if (m_ctx.boardType == 3) {
        // Type 3 gates the latch through PPI port A bit 3; it must be high meanwhile.
        m_ppiBit3WasClear = (m_ctx.ppiShadows[0] & 0x08) == 0;
        if (m_ppiBit3WasClear && !setPpiShadow(0, m_ctx.ppiShadows[0] | 0x08))
            return false;
    }
    return link.WritePort(1, 0, 0x20);
}

bool StimulusRoutines::restorePort1() {
    if (!m_ctx.link.WritePort(1, m_kept[1], 0x20))
        return false;
    if (isProgrammerBoard(m_ctx.boardType))
        return true;
    if (m_ctx.boardType == 3 && m_ppiBit3WasClear) {
        m_ppiBit3WasClear = false;
        if (!setPpiShadow(0, m_ctx.ppiShadows[0] & ~0x08 & 0xFF))
            return false;
    }
    return writeLatch();
}

bool StimulusRoutines::select(quint8 n) {
    return keep(1) && keep(2) && keep(3) && m_ctx.link.WritePort(1, n, 0x07);
}

bool StimulusRoutines::latchPulses(quint16 count) {
    return SendLatchPulses(m_ctx, count, isProgrammerBoard(m_ctx.boardType) ? 1 : 2);
}

static std::array<quint16, 5> windowsMap(int boardType) {
    if (isProgrammerBoard(boardType))
        return {0x0000, 0x8000, 0xC000, 0x4000, 0xFFFF};
    return {0x6000, 0x2000, 0x0000, 0x0000, 0xFFFF};
}

bool StimulusRoutines::start(int row) {
    if (row < 0 || row >= RowCount)
        return false;
    LinkPort& link = m_ctx.link;
    const bool type4 = isProgrammerBoard(m_ctx.boardType);
    switch (kRows[row].start) {
    case Start::None:
        return true;
    case Start::SavePort1:
        return savePort1();
    case Start::SavePorts012:
        if (!keep(2) || !keep(0) || !keep(1))
            return false;
        if (!type4)
            return link.WritePort(1, 0, 0x20);
        return keep(3) && link.WritePort(1, 0, 0x07) && link.WritePort(2, 0xFF, 0x80);
    case Start::SavePorts13:
        return keep(1) && keep(3);
    case Start::SavePorts12:
        return keep(1) && keep(2);
    case Start::InitPorts:
        return InitTestProcessorPorts(m_ctx);
    case Start::MapAndSavePort1:
        return link.SetMemoryMap(windowsMap(m_ctx.boardType), kMapKindWindows) && savePort1();
    case Start::Map200:
        return link.SetMemoryMap({0x0000, 0x0000, 0x0000, 0x0000, 0xFFFF}, kMapKindMemory);
    case Start::Select0:
        return select(0);
    case Start::Select1:
        return select(1);
    case Start::Select3:
        return select(3);
    case Start::Select4:
        return select(4);
    case Start::ControlLineLow:
        if (link.ControlLine(1) != 0)
            return false;
        m_ctx.clock.sleepMs(250);
        return true;
    }
    return false;
}

bool StimulusRoutines::finish(int row) {
    if (row < 0 || row >= RowCount)
        return false;
    LinkPort& link = m_ctx.link;
    const bool type4 = isProgrammerBoard(m_ctx.boardType);
    switch (kRows[row].finish) {
    case Finish::None:
        return true;
    case Finish::RestorePort1:
        return restorePort1();
    case Finish::RestorePorts012:
        return link.WritePort(0, m_kept[0], 0xFF) && link.WritePort(1, m_kept[1], 0xFF) &&
               link.WritePort(2, m_kept[2], 0xFF) &&
               (!type4 || link.WritePort(3, m_kept[3], 0xFF));
    case Finish::RestorePorts13:
        return link.WritePort(1, m_kept[1], type4 ? 0xFF : 0xBF) &&
               link.WritePort(3, m_kept[3], type4 ? 0xF4 : 0xF0);
    case Finish::RestorePorts12:
        return link.WritePort(1, m_kept[1], 0xFF) && link.WritePort(2, m_kept[2], 0xFF);
    case Finish::RestorePpi:
        return link.WriteMemoryByte(kPpiPortA + 1, m_ctx.ppiShadows[1]) &&
               link.WriteMemoryByte(kPpiPortA + 2, m_ctx.ppiShadows[2]);
    case Finish::ReleasePort3RestorePort1:
        return link.WritePort(3, 0xFF, 0xC0) && link.WritePort(1, m_kept[1], 0x20);
    case Finish::WaitRestore:
        m_ctx.clock.sleepMs(500);
        if (type4)
            return restorePort1();
        return link.WritePort(1, m_kept[1], 0x20);
    case Finish::RestorePorts123:
        return link.WritePort(1, m_kept[1], 0xFF) && link.WritePort(2, m_kept[2], 0xFF) &&
               link.WritePort(3, m_kept[3], 0xFF);
    case Finish::ControlLineHigh:
        if (link.ControlLine(0) != 0)
            return false;
        m_ctx.clock.sleepMs(250);
        return true;
    }
    return false;
}

bool StimulusRoutines::setInput(int row) {
    if (row < 0 || row >= RowCount)
        return false;
    LinkPort& link = m_ctx.link;
    const bool type4 = isProgrammerBoard(m_ctx.boardType);
    const quint8 v = m_ctx.inputValue;
    quint8& shadow = m_ctx.mainLatchShadow;
    switch (row) {
    case 0: // pair A
    case 5: { // pair B
        const quint8 first = row == 0 ? 0x01 : 0x02;
        const quint8 second = row == 0 ? (type4 ? 0x08 : 0x04) : 0x08;
        shadow = (shadow & ~(first | second) & 0xFF) | bitTo(v, 0, first) | bitTo(v, 1, second);
        return writeLatch();
    }
    case 1: { // one of 16 lines low
        const unsigned n = type4 ? (v & 0x0F) : v;
        const bool none = type4 && (v & 0x10);
        const unsigned line = n < 16 ? 1u << n : 0;
        const quint8 p0 = none ? 0xFF : low8(~line);
        const quint8 p2 = none ? 0xFF : low8(~(line >> 8));
        if (!link.WritePort(0, p0, 0xFF) || !link.WritePort(2, p2, 0xFF))
            return false;
        if (!type4)
            return true;
        // Bit 5 drives the level driver; the value becomes the driver's input.
        m_ctx.inputValue = (v >> 5) & 1;
        return SetLevelDriver(m_ctx) && link.WritePort(3, bitTo(v, 6, 0x80), 0x80);
    }
    case 2: { // port 1/3 one-hot, active low
        const unsigned line = v < 16 ? 1u << v : 0;
        return link.WritePort(1, low8(~line), type4 ? 0xFF : 0xBF) &&
               link.WritePort(3, low8(~(line >> 8)), type4 ? 0xF4 : 0xF0);
    }
    case 3: // bus pattern
        return link.WritePort(0, 0xF0, 0xFF) && link.WritePort(2, low8(v << 5), 0xE0) &&
               link.WritePort(1, low8(v << 2), 0x20) && link.WritePort(3, low8(v << 2), 0x40);
    case 4: // port 1/2 pattern
        if (type4)
            return link.WritePort(2, low8(v << 4), 0x80) && link.WritePort(1, v, 0x07);
        return link.WritePort(1, low8(v << 2), 0x20) && link.WritePort(2, low8(v << 5), 0xE0);
    case 6: // latch one-hot
        shadow = type4 ? low8(v < 8 ? 1u << v : 0) : low8((v < 8 ? 0x10u << v : 0) ^ 0xF0);
        return writeLatch();
    case 7: { // PPI one-hot, active low; the shadows keep the idle state
        const quint32 b = v < 32 ? quint32(1) << v : 0;
        if (m_ctx.boardType == 3)
            return link.WriteMemoryByte(kPpiPortA, low8(~b)) &&
                   link.WriteMemoryByte(kPpiPortA + 1, low8(~(b >> 8))) &&
                   link.WriteMemoryByte(kPpiPortA + 2, low8(~(b >> 16)));
        return link.WriteMemoryByte(kPpiPortA + 1, low8(~b)) &&
               link.WriteMemoryByte(kPpiPortA + 2, low8(~(b >> 8)));
    }
    case 8: // port 3/1 pattern
        return link.WritePort(3, low8(v << 5), 0xC0) && link.WritePort(1, low8(v << 3), 0x08);
    case 9: // port 2/3 pattern
        return link.WritePort(2, low8(v << 5), 0xE0) && link.WritePort(3, low8(v << 3), 0xC0);
    case 10:
        return latchPulses(type4 ? 400 : 200);
    case 14:
        return latchPulses(type4 ? 20 : 40);
    case 15:
        return latchPulses(5);
    case 11: { // ROM sum
        CheckResult result;
        return type4 ? link.SumMemoryRange(0xFFFC, result) : link.SumMemory(0xFFFC, result);
    }
    case 12: { // one raw byte on the wire
        SerialLine* line = link.line();
        const quint8 byte = 0x55;
        return line && line->isOpen() && line->write(&byte, 1) == 1;
    }
    case 13: // a frame whatever the answer
        link.WritePort(0, type4 ? 0x89 : 0xA8, 0);
        return true;
    case 16: // latch bit, shadow untouched
        return link.WriteMemoryByte(kTestProcessorLatch, low8(v < 8 ? 1u << v : 0));
    case 17:
        return SetLevelDriver(m_ctx);
    case 18:
        return link.ControlLine(v) == 0;
    case 19: // port 3/2 pattern A
        return link.WritePort(3, low8(v << 6), 0x80) && link.WritePort(2, low8((v << 7) ^ 0xFF), 0x80);
    case 20: // port 3/2 pattern B
    case 21:
        return link.WritePort(3, low8(v << 5), 0x40) && link.WritePort(2, low8((v << 7) ^ 0xFF), 0x80);
    case 22: // port 2/3 pattern C
    case 23:
        return link.WritePort(2, low8((v << 7) ^ 0xFF), 0x80) && link.WritePort(3, low8(v << 5), 0xC0);
    case 24: { // serial programming enable of DD5
        static constexpr quint8 kEnable[5] = {0x03, 0x01, 0xAC, 0x53, 0xFF};
        std::copy(std::begin(kEnable), std::end(kEnable), m_ctx.longFrameBuffer.begin());
        return link.SendLongFrame(LongTransfer, 5, 100) == 0;
    }
    }
    return false;
}

} // namespace kia
