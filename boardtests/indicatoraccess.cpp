#include "indicatoraccess.h"

#include "core/benchcontext.h"

namespace kia {

namespace {
struct Registers {
    quint16 command;
    quint16 dataWrite;
    quint16 dataRead;
};

Registers registersOf(int boardType, int indicator) {
    if (isProgrammerBoard(boardType))
        return {0x8000, 0x8001, 0x8003};
    if (indicator == 1)
        return {0xA000, 0xA100, 0xA300};
    return {0x8000, 0x8100, 0x8300};
}
} // namespace

quint8 indicator::positionCommand(int position) {
    const int p = position & 15;
    return static_cast<quint8>(p < 8 ? Row1 + p : Row2 + p - 8);
}

bool IndicatorCommand(BenchContext& ctx, int indicator, quint8 value) {
    return ctx.link.WriteMemoryByte(registersOf(ctx.boardType, indicator).command, value);
}

bool IndicatorWrite(BenchContext& ctx, int indicator, quint8 value) {
    return ctx.link.WriteMemoryByte(registersOf(ctx.boardType, indicator).dataWrite, value);
}

quint16 IndicatorRead(BenchContext& ctx, int indicator) {
    return ctx.link.ReadMemoryByte(registersOf(ctx.boardType, indicator).dataRead);
}

bool SelectIndicator(BenchContext& ctx, int indicator) {
    if (!isProgrammerBoard(ctx.boardType))
        return true;
    return ctx.link.WritePort(1, indicator == 1 ? 4 : 3, 7);
}

bool IndicatorInit(BenchContext& ctx, int indicator) {
    return SelectIndicator(ctx, indicator) &&
           IndicatorCommand(ctx, indicator, indicator::InterfaceSetup) &&
           IndicatorCommand(ctx, indicator, indicator::DisplayOn) &&
           IndicatorCommand(ctx, indicator, indicator::EntryMode);
}

quint8 DisplayPatternByte(int pattern, int j) {
    const quint16 w = static_cast<quint16>(1u << (j & 15));
    const quint8 lo = static_cast<quint8>(w & 0xFF);
    const quint8 hi = static_cast<quint8>(w >> 8);
    const bool even = (j % 2) == 0;
    quint8 v = 0;
    switch (pattern) {
    case 1:
        v = even ? lo : hi;
        break;
    case 2:
        v = even ? hi : lo;
        break;
    case 3:
        v = static_cast<quint8>(~(even ? lo : hi));
        break;
    case 4:
        v = static_cast<quint8>(~(even ? hi : lo));
        break;
    case 5:
        v = even ? 0xAA : 0x55;
        break;
    case 6:
        v = even ? 0x55 : 0xAA;
        break;
    default:
        v = static_cast<quint8>(pattern);
        break;
    }
    return v == 0xFF ? 0 : v;
}

} // namespace kia
