#pragma once

namespace kia {

class BenchContext;

/// Puts the board's outputs into their idle state before a point check:
/// InitTestProcessorPorts (shadows set), the board-revision flag from input
/// port 3 (types 0 and 1 only; 0 on types 2..4), then the memory map of kind
/// 185 whose result is the result of the whole. Stops at the first failure
/// (the link status says why). UI thread.
bool PrepareBoardForChecks(BenchContext& ctx);

} // namespace kia
