#pragma once

#include <QtGlobal>

namespace kia {

class BenchContext;

/// The two indicator controllers of the board (0 the cashier's, 1 the
/// customer's), reached with WriteMemoryByte / ReadMemoryByte. Types 0..3 have
/// a register set per indicator (0x8000/0x8100/0x8300 and 0xA000/0xA100/0xA300);
/// type 4 has one set at 0x8000/0x8001/0x8003 in the window that port 1 selects
/// (3 the cashier's, 4 the customer's), so IndicatorInit selects it first.
/// Each call leaves the link status; UI thread (or whoever owns the link).

/// Controller commands the tests use.
namespace indicator {
constexpr quint8 Clear = 0x01;
constexpr quint8 EntryMode = 0x06;
constexpr quint8 DisplayOff = 0x08;
constexpr quint8 DisplayOn = 0x0C;
constexpr quint8 DisplayOnBlinkingCursor = 0x0F;
constexpr quint8 InterfaceSetup = 0x38;
constexpr quint8 CharacterAddress = 0x40; ///< + address 0..63 of the character generator
constexpr quint8 Row1 = 0x80;             ///< + position 0..7
constexpr quint8 Row2 = 0xC0;             ///< + position 0..7
constexpr int Positions = 16;
constexpr int UserCharacters = 8;

/// The cursor command of screen position 0..15.
quint8 positionCommand(int position);
} // namespace indicator

bool IndicatorCommand(BenchContext& ctx, int indicator, quint8 value);
bool IndicatorWrite(BenchContext& ctx, int indicator, quint8 value);
/// The data byte read, or 0xFFFF when the link failed.
quint16 IndicatorRead(BenchContext& ctx, int indicator);
/// Type 4: WritePort (1, 3 or 4, 7) first; then 0x38, 0x0C, 0x06.
bool IndicatorInit(BenchContext& ctx, int indicator);
/// Type 4 only: selects the indicator's window (port 1 = 3 or 4); true elsewhere.
bool SelectIndicator(BenchContext& ctx, int indicator);

/// The byte that display-memory position j (0..15) holds in the write/read
/// test with pattern 1..6 (a walking one, its inverse, 0xAA/0x55); 0xFF is
/// never used (it is what a dead controller reads), so it becomes 0.
quint8 DisplayPatternByte(int pattern, int j);

} // namespace kia
