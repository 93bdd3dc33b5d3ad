#include "testsetups.h"

#include "core/benchcontext.h"

namespace kia::testsetup {

namespace {
// Window devices of type 4 on port 1 bits 0..2.
constexpr quint8 kFiscalDevice = 6;
constexpr quint8 kEepromDevice = 7;

std::array<quint8, 7> serialDevice(quint8 kind, quint8 address) {
    return {kind, 0x20, address, 1, 1, 0x10, 8};
}
} // namespace

bool ramWindow(BenchContext& ctx) {
    return ctx.link.SetMemoryMap({0x0000, 0x2000, 0, 0, 0}, MapKindMemory);
}

bool timerDevice(BenchContext& ctx) {
    const quint8 address = isProgrammerBoard(ctx.boardType) ? 0xD0 : 0xA0;
    return ctx.link.SelectMode(0) && ctx.link.SetSerialDevice(serialDevice(1, address));
}

bool serialEeprom(BenchContext& ctx) {
    return ctx.link.SelectMode(1) && ctx.link.SetSerialDevice(serialDevice(2, 0xA2)) &&
           ctx.link.SetMemoryMap({0, 0, 0, 0x8000, 0}, MapKindMemory);
}

bool eepromWindow(BenchContext& ctx, bool selectMode) {
    if (selectMode && !ctx.link.SelectMode(1))
        return false;
    if (!isProgrammerBoard(ctx.boardType))
        return ctx.link.SetMemoryMap({0, 0, 0xC000, 0x4000, 0}, MapKindMemory);
    return ctx.link.SetMemoryMap({0, 0, 0x8000, 0x8000, 0}, MapKindWindows) &&
           ctx.link.WritePort(1, kEepromDevice, 7);
}

bool fiscalWindow(BenchContext& ctx) {
    if (!isProgrammerBoard(ctx.boardType))
        return ctx.link.SetMemoryMap({0, 0, 0, 0, 0xFFFF}, MapKindMemory);
    return ctx.link.SetMemoryMap({0, 0, 0x8000, 0x8000, 0}, MapKindWindows) &&
           ctx.link.WritePort(1, kFiscalDevice, 7);
}

} // namespace kia::testsetup
