#include "pointsignal.h"

namespace sim {

// Supply, clock, reset, bus and chip-select points are wired here as a good
// board wires them. None is modelled yet: every such point reads as not driven.
bool boardPointSignal(const QString&, const PointContext&, PointSignal&) {
    return false;
}

} // namespace sim
