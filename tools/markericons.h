#pragma once

#include <QImage>
#include <QList>

namespace kia::art {

/// 32 x 32 icons with alpha that the board view draws over the pictures.
/// Every arrow ends exactly in a corner pixel, which is fully opaque.

/// Blue arrow whose tip is the lower-left pixel (0, 31).
QImage highlightIcon();

/// Red arrow with a round bubble: "?" for a point to check, "D" for the
/// point where the level driver is connected. The tip touches the corner of
/// the quadrant: 0 lower-left, 1 upper-left, 2 upper-right, 3 lower-right.
QImage markerIcon(bool driver, int quadrant);

/// The application icon: a control board under the probe.
QImage applicationIcon();

/// The pictures of the four picture keys of the keyboard test, 24 x 24 with
/// alpha: 171 an arrow up (the "|" key), 172 an arrow left (the upper minus
/// key), 173 an arrow right ("+"), 174 an arrow down (the lower minus key).
QImage keyIcon(int id);
/// The ids keyIcon() draws.
QList<int> keyIconIds();

} // namespace kia::art
