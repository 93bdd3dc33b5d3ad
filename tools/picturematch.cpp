#include "picturematch.h"

#include <algorithm>
#include <cstdlib>

namespace kia::art {

int maxOffPixels(const QImage& img) {
    const qint64 pixels = qint64(img.width()) * img.height();
    return int(std::max<qint64>(4, pixels / 256));
}

PictureDifference comparePictures(const QImage& a, const QImage& b) {
    PictureDifference d;
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return d;
    d.sameSize = true;
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pa.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(pa.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(pb.constScanLine(y));
        for (int x = 0; x < pa.width(); ++x) {
            if (la[x] == lb[x])
                continue;
            ++d.offPixels;
            const int steps[] = {std::abs(qRed(la[x]) - qRed(lb[x])),
                                 std::abs(qGreen(la[x]) - qGreen(lb[x])),
                                 std::abs(qBlue(la[x]) - qBlue(lb[x])),
                                 std::abs(qAlpha(la[x]) - qAlpha(lb[x]))};
            d.largestStep = std::max(d.largestStep, *std::max_element(steps, steps + 4));
        }
    }
    return d;
}

bool picturesMatch(const QImage& a, const QImage& b) {
    const PictureDifference d = comparePictures(a, b);
    return d.sameSize && d.largestStep <= MaxChannelStep && d.offPixels <= maxOffPixels(a);
}

} // namespace kia::art
