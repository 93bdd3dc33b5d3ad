#pragma once

#include <QImage>

namespace kia::art {

// Whether a freshly drawn picture is the committed one.
//
// The line-art pictures are 1-bit and come out the same everywhere, but the
// antialiased colour icons do not: Qt's raster engine and the maths library
// pick code paths by processor, and an antialiased edge pixel may land one
// level (of 255) apart on another machine. So two pictures match when they have
// the same size and every channel of every pixel is within `MaxChannelStep`,
// and at most `maxOffPixels` pixels differ at all. A drawing that really
// changed - a line moved by a pixel, a colour changed, a part added - moves
// whole pixels from ink to paper and cannot hide inside that allowance.
constexpr int MaxChannelStep = 4;

// At most 4 pixels, or one in 256 of a large picture.
int maxOffPixels(const QImage& img);

struct PictureDifference {
    bool sameSize = false;
    int offPixels = 0;       // pixels with any channel different
    int largestStep = 0;     // the largest difference of one channel
};

PictureDifference comparePictures(const QImage& a, const QImage& b);
bool picturesMatch(const QImage& a, const QImage& b);

} // namespace kia::art
