#pragma once

namespace kia {

class BenchContext;

/// The link set-ups that the test commands and the named tests do before
/// their test dialog. Each returns false at the first failed operation (the
/// link status says why); none shows anything. UI thread.
namespace testsetup {

/// Memory-map kinds of SetMemoryMap as the tests use them.
constexpr int MapKindWindows = 185;
constexpr int MapKindMemory = 200;

/// The RAM window 0x0000/0x2000 (types 0..3).
bool ramWindow(BenchContext& ctx);
/// Mode 0 and the clock chip: 0xA0 on types 0..3, 0xD0 on type 4.
bool timerDevice(BenchContext& ctx);
/// Mode 1 and the 24С256 at 0xA2, its window word 0x8000.
bool serialEeprom(BenchContext& ctx);
/// The EEPROM window: 0xC000/0x4000 (types 0..3) or 0x8000/0x8000 with the
/// EEPROM behind the type-4 window (port 1 = 7). `selectMode`: mode 1 first.
bool eepromWindow(BenchContext& ctx, bool selectMode);
/// The ФП: types 0..3 word 4 = 0xFFFF; type 4 the window 0x8000/0x8000 with the
/// ФП behind it (port 1 = 6).
bool fiscalWindow(BenchContext& ctx);

} // namespace testsetup

} // namespace kia
