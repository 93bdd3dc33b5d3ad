#include "boardgeometry.h"

#include <cstdlib>

namespace kia {

int pictureOffset(int clientSize, int pictureSize) {
    return clientSize > pictureSize ? (clientSize - pictureSize) / 2 : 0;
}

int pickPoint(const QList<ControlPoint>& points, int kind, int px, int py) {
    const int left = px < 10 ? 0 : px - 10;
    const int top = py < 10 ? 0 : py - 10;
    const int right = px + 10;
    const int bottom = py + 10;

    int best = -1;
    int bestDistance = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const int x = points[i].x(kind);
        const int y = points[i].y(kind);
        if (x < left || x >= right || y < top || y >= bottom)
            continue;
        const int distance = std::abs(x - px) + std::abs(y - py);
        if (best < 0 || distance < bestDistance) {
            best = int(i);
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<QPoint> markerTopLeft(int quadrant, int x, int y) {
    constexpr int d = MarkerIconSize - 1;
    switch (quadrant) {
    case 0:
        return QPoint(x, y - d);
    case 1:
        return QPoint(x, y);
    case 2:
        return QPoint(x - d, y);
    case 3:
        return QPoint(x - d, y - d);
    default:
        return std::nullopt;
    }
}

int centringScroll(int coord, int offset, int clientSize, int pictureSize) {
    const int target = coord + offset - clientSize / 2;
    if (pictureSize > clientSize && offset == 0 && target >= 0)
        return target;
    return 0;
}

} // namespace kia
