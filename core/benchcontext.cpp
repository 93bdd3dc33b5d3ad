#include "benchcontext.h"

namespace kia {

BenchContext::BenchContext(Clock& c, UserPrompts& p) : clock(c), prompts(p), link(*this) {}

} // namespace kia
