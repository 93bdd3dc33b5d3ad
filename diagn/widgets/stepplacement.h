#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kia {

/// Where a step dialog of `size` goes in the main window's client area
/// (screen coordinates): the first corner, in the order bottom right, top
/// right, bottom left, top left, where it does not cover `avoid` (the marked
/// point); top left when every corner does.
QPoint cornerAwayFrom(const QRect& client, const QSize& size, const QRect& avoid);

} // namespace kia
