#pragma once

#include "controlpoint.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <optional>

namespace kia {

/// Where things sit on the board view, in pixels. Widget-free so that the
/// picking rules can be checked without a window. Pure functions.

/// Offset of the picture in the window along one axis: centred when the window
/// is larger, 0 otherwise.
int pictureOffset(int clientSize, int pictureSize);

/// Size of the marker and highlight icons.
constexpr int MarkerIconSize = 32;
/// Half the side of the square repainted and reported around a marked point.
constexpr int MarkHalfSide = 32;

/// Picks the point nearest to picture position (px, py) on picture `kind`:
/// the hit box reaches 10 pixels left and up (clipped at 0) and 10 pixels
/// right and down (exclusive); among the points inside it the smallest
/// |dx| + |dy| wins, an earlier point on a tie. Returns the index or -1.
int pickPoint(const QList<ControlPoint>& points, int kind, int px, int py);

/// Top-left corner of a marker icon for a point at (x, y), so that the arrow
/// tip touches the point: quadrant 0 tip lower-left, 1 upper-left,
/// 2 upper-right, 3 lower-right. No position for other quadrants.
std::optional<QPoint> markerTopLeft(int quadrant, int x, int y);

/// Top-left corner of the highlight icon (tip at its lower-left pixel).
inline QPoint highlightTopLeft(int x, int y) {
    return QPoint(x, y - (MarkerIconSize - 1));
}

/// Scroll position that brings coordinate `coord` to the middle of the
/// window along one axis, or 0 when the picture fits (or is centred) or the
/// point lies in the first half window. The scroll bar clamps the result.
int centringScroll(int coord, int offset, int clientSize, int pictureSize);

/// The 64 x 64 square around window position (x, y).
inline QRect markSquare(int x, int y) {
    return QRect(x - MarkHalfSide, y - MarkHalfSide, 2 * MarkHalfSide, 2 * MarkHalfSide);
}

} // namespace kia
