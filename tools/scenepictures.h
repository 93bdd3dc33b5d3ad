#pragma once

#include <QImage>

namespace kia::art {

/// Bitmap 261 (378 x 378): the program picture of the board choice dialog
/// and the about box. The dialog writes light text over the lower part, so
/// everything below the top third stays dark and quiet.
QImage programPicture();

/// Bitmap 300 (397 x 169): PC, probe and cash register as the software
/// verification connects them.
QImage connectionPicture();

/// Bitmaps 301 and 302 (400 x 200): how the PC, the probe and the board are
/// connected before a test; programmer = true shows the programmer on X1
/// and X4 (board type 4), false the test processor in place of DD3.
QImage testSchemePicture(bool programmer);

/// Bitmap 197 (151 x 121): the empty oscilloscope screen the oscilloscope
/// step draws its reference oscillogram on: a black screen with a dim
/// graticule of 15-pixel divisions and a light strip at the bottom for the
/// scale label.
QImage oscilloscopeScreen();

} // namespace kia::art
