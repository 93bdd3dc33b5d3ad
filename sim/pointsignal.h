#pragma once

#include "boardfault.h"
#include "probe.h"

#include <QList>
#include <QString>

namespace sim {

class BoardModel;
class Dd5Controller;

/// What the board puts on one control point at this moment, as the probe tip
/// sees it: an idle level and, for a circuit output that a stimulus row
/// drives, the pulse it passes on.
struct PointSignal {
    quint8 level = Probe::Open;
    Probe::PulseWiring pulse;
};

/// What a point's signal is worked out from. The references hold for the call
/// only (the bench lock is held meanwhile).
struct PointContext {
    int boardType;
    BoardModel& board;
    Dd5Controller& dd5;
    const QList<BoardFault>& faults;
    const Probe& probe; ///< its level driver (DTR) drives the circuits' inputs
    qint64 nowUs;
};

/// The circuit outputs of the peripheral rows (circuitpoints.cpp): true and the
/// signal in *out for a point that is one of them on this board type.
bool circuitPointSignal(const QString& point, const PointContext& ctx, PointSignal& out);
/// The rest of the board: supply, clock, reset, buses, chip selects
/// (boardpoints.cpp); true for a point it knows.
bool boardPointSignal(const QString& point, const PointContext& ctx, PointSignal& out);
/// The circuits first, then the rest of the board; an open tip where neither
/// drives the point.
PointSignal pointSignal(const QString& point, const PointContext& ctx);

} // namespace sim
