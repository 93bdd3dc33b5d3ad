#include "pointsignal.h"

namespace sim {

PointSignal pointSignal(const QString& point, const PointContext& ctx) {
    PointSignal signal;
    if (circuitPointSignal(point, ctx, signal))
        return signal;
    signal = PointSignal();
    if (boardPointSignal(point, ctx, signal))
        return signal;
    return PointSignal();
}

} // namespace sim
