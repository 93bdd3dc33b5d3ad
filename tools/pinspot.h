#pragma once

#include <QMap>
#include <QPoint>
#include <QString>

namespace kia::art {

/// Which way a pin points out of its part on a picture; the marker icon is
/// put on that side of the point when it fits into the picture.
enum class Outward { Left, Right, Up, Down };

/// A drawn pin: its point on the picture and its outward direction.
struct PinSpot {
    QPoint at;
    Outward outward = Outward::Left;
};

/// Drawn pins of one picture by control point name ("DD3/15").
using PinSpots = QMap<QString, PinSpot>;

} // namespace kia::art
