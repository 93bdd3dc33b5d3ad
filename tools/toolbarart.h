#pragma once

#include <QImage>

#include <utility>
#include <vector>

namespace kia::art {

/// Command ids of the tool bar buttons in their order (separators left out).
const std::vector<int>& toolbarCommands();

/// Bitmap 128: one 32 x 32 image per tool bar button, side by side in the
/// order of toolbarCommands(), on a transparent background.
QImage toolbarStrip();

/// Menu icon bitmaps (260, 262..280, 285) in ascending order.
std::vector<int> menuIconBitmaps();

/// One 16 x 16 menu icon: opaque, RGB(192, 192, 192) where the menu's own
/// background is meant to show, and that colour nowhere else.
QImage menuIcon(int bitmap);

} // namespace kia::art
