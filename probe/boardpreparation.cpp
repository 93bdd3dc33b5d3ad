#include "boardpreparation.h"

#include "boardtests/testsession.h"
#include "core/benchcontext.h"
#include "core/board.h"

namespace kia {

namespace {
constexpr quint8 kMapKindWindows = 185;
}

bool PrepareBoardForChecks(BenchContext& ctx) {
    if (!InitTestProcessorPorts(ctx))
        return false;
    const quint16 port3 = ctx.link.ReadPort(3);
    if (port3 > 0xFF)
        return false;
    ctx.boardRevision = (ctx.boardType < 2 && (port3 & 0x04) == 0) ? 1 : 0;
    // The window layout of the test sessions: the PPI and latch windows on
    // types 0..3, the four controller windows on type 4.
    if (isProgrammerBoard(ctx.boardType))
        return ctx.link.SetMemoryMap({0x0000, 0x8000, 0xC000, 0x4000, 0xFFFF}, kMapKindWindows);
    return ctx.link.SetMemoryMap({0x6000, 0x2000, 0x0000, 0x0000, 0xFFFF}, kMapKindWindows);
}

} // namespace kia
