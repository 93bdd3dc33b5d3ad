#include "pointsignal.h"

namespace sim {

// The circuit outputs of the peripheral rows are wired here as a good board
// wires them. No circuit is modelled yet: every such point reads as not driven.
bool circuitPointSignal(const QString&, const PointContext&, PointSignal&) {
    return false;
}

} // namespace sim
