#include "circuitio.h"

#include "core/benchcontext.h"
#include "core/board.h"
#include "probe/probe.h"
#include "probe/pulsemeasure.h"

namespace kia {

namespace {
constexpr quint16 kTestProcessorLatch = 0x7FFF;
constexpr quint16 kControllerLatch = 0x8000;
constexpr quint16 kPpiPortA = 0x5FFC;

quint8 setBit(quint8 value, quint8 mask, bool on) {
    return static_cast<quint8>(on ? (value | mask) : (value & ~mask));
}

// Type 4 reaches the latch through window 0 of port 1: the window lines and
// port 0 bit 0 are saved, the access made, and both put back.
template <typename Access> bool throughWindow(BenchContext& ctx, Access access) {
    LinkPort& link = ctx.link;
    const quint16 p1 = link.ReadPort(1);
    if (p1 > 0xFF)
        return false;
    const quint16 p0 = link.ReadPort(0);
    if (p0 > 0xFF)
        return false;
    return link.WritePort(1, 0, 0x07) && access() &&
           link.WritePort(0, static_cast<quint8>(p0), 0x01) &&
           link.WritePort(1, static_cast<quint8>(p1), 0x07);
}

// PPI latch n: new shadow := value OR (old AND NOT mask), written whole.
bool writeAux(BenchContext& ctx, int n, quint8 value, quint8 mask) {
    quint8& shadow = ctx.ppiShadows[static_cast<size_t>(n)];
    shadow = static_cast<quint8>(value | (shadow & ~mask));
    return ctx.link.WriteMemoryByte(static_cast<quint16>(kPpiPortA + n), shadow);
}
} // namespace

bool WriteMainLatch(BenchContext& ctx) {
    if (!isProgrammerBoard(ctx.boardType))
        return ctx.link.WriteMemoryByte(kTestProcessorLatch, ctx.mainLatchShadow);
    return throughWindow(ctx,
                         [&ctx] { return ctx.link.WriteMemoryByte(kControllerLatch, ctx.mainLatchShadow); });
}

bool DriveCircuitInputs(BenchContext& ctx, const CircuitRow& row) {
    const quint8 v = ctx.inputValue;
    LinkPort& link = ctx.link;
    switch (row.drive) {
    case CircuitDrive::None:
        return true;
    case CircuitDrive::LevelDriver:
        return SetLevelDriver(ctx);
    case CircuitDrive::LatchBits:
        ctx.mainLatchShadow = setBit(ctx.mainLatchShadow, row.bits[0], v & 1);
        if (row.bits[1] != 0)
            ctx.mainLatchShadow = setBit(ctx.mainLatchShadow, row.bits[1], v & 2);
        return WriteMainLatch(ctx);
    case CircuitDrive::AuxBit: {
        quint8& shadow = ctx.ppiShadows[row.aux % 3];
        shadow = setBit(shadow, row.bits[0], v & 1);
        return link.WriteMemoryByte(static_cast<quint16>(kPpiPortA + row.aux % 3), shadow);
    }
    case CircuitDrive::PortBit: {
        const quint8 mask = static_cast<quint8>(1u << (row.driveBit & 7));
        return link.WritePort(row.drivePort, (v & 1) ? mask : 0, mask);
    }
    case CircuitDrive::WindowStrobe:
    case CircuitDrive::WindowStrobePort3:
        if (!link.WritePort(1, v & 7, 0x07) || !link.WritePort(2, (v & 8) ? 0x80 : 0, 0x80))
            return false;
        if (row.drive == CircuitDrive::WindowStrobe)
            return true;
        return link.WritePort(3, (v & 0x10) ? 0x40 : 0, 0x40);
    }
    return false;
}

bool ReadCircuitOutput(BenchContext& ctx, const CircuitRow& row, quint8& level) {
    switch (row.read) {
    case CircuitRead::Probe:
        return ReadProbeLevel(ctx, level);
    case CircuitRead::PortBit: {
        const quint16 v = ctx.link.ReadPort(row.readPort);
        if (v > 0xFF)
            return false;
        level = (v >> (row.readBit & 7)) & 1;
        return true;
    }
    case CircuitRead::LatchInput: {
        quint16 v = 0xFFFF;
        if (!throughWindow(ctx, [&] {
                v = ctx.link.ReadMemoryByte(kControllerLatch);
                return v <= 0xFF;
            }))
            return false;
        level = (v >> (row.readBit & 7)) & 1;
        return true;
    }
    case CircuitRead::Pulse:
        if (!MeasurePulse(ctx, row.pulseWindowMs, row.values))
            return false;
        level = ctx.lastPulse.level;
        return true;
    }
    return false;
}

bool DriveScanPin(BenchContext& ctx, int k) {
    LinkPort& link = ctx.link;
    const bool t3 = ctx.boardType == 3;
    const quint8 port1Mask = t3 ? 0xD9 : 0xDF;
    if (k >= 0 && k <= 4) {
        const quint8 value = static_cast<quint8>(~((1u << k) | 0x20 | (t3 ? 0x06 : 0)));
        return link.WritePort(1, value, port1Mask);
    }
    if (k == 5)
        return link.WritePort(1, t3 ? 0x59 : 0x5F, port1Mask);
    if (k == 6)
        return link.WritePort(1, port1Mask, port1Mask) && link.WritePort(2, 0xFE, 0xFF);
    if (k >= 7 && k <= 13)
        return link.WritePort(2, static_cast<quint8>(~(1u << (k - 6))), 0xFF);
    if (k == 14)
        return link.WritePort(2, 0xFF, 0xFF) && link.WritePort(3, 0x00, 0x40);
    if (k == 15)
        return link.WritePort(3, 0xFF, 0x40) && writeAux(ctx, 0, t3 ? 0xE3 : 0xFE, 0x01);
    if (k >= 16 && k <= 22) {
        const quint8 m = static_cast<quint8>(1u << (k - 15));
        return writeAux(ctx, 0, static_cast<quint8>((t3 ? 0xE3 : 0xFF) & ~m), m);
    }
    if (k == 23)
        return writeAux(ctx, 0, t3 ? 0xE3 : 0xFF, 0) && writeAux(ctx, 1, 0x7E, 0x01);
    if (k >= 24 && k <= 29) {
        const quint8 m = static_cast<quint8>(1u << (k - 23));
        return writeAux(ctx, 1, static_cast<quint8>(0x7F & ~m), m);
    }
    if (k == 30)
        return writeAux(ctx, 1, 0x7F, 0) && writeAux(ctx, 2, 0xEE, 0x01);
    if (k >= 31 && k <= 36) {
        const quint8 m = static_cast<quint8>(1u << (k <= 33 ? k - 30 : k - 29));
        return writeAux(ctx, 2, static_cast<quint8>(0xEF & ~m), m);
    }
    return false;
}

bool DriveControllerPin(BenchContext& ctx, int previous, int k) {
    if (k < 0 || k > 31)
        return false;
    if (previous >= 0 && previous <= 31 &&
        !ctx.link.WritePort(static_cast<quint8>(previous / 8), 0xFF,
                            static_cast<quint8>(1u << (previous % 8))))
        return false;
    return ctx.link.WritePort(static_cast<quint8>(k / 8), 0,
                              static_cast<quint8>(1u << (k % 8)));
}

} // namespace kia
