// The points file: any bytes load or fail, and every loaded point is one the
// board view can draw.
#include "view/controlpoint.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (int boardType = 0; boardType < 5; ++boardType) {
        QList<kia::ControlPoint> points;
        const bool ok = kia::ParsePointsFile(bytes, boardType, points);
        if (!ok && !points.isEmpty())
            std::abort();
        for (const kia::ControlPoint& p : std::as_const(points)) {
            if (!p.onBoard(boardType) || !kia::hasDrawableCoordinates(p))
                std::abort();
            (void)p.displayName();
            (void)kia::FindPoint(points, boardType, QByteArrayView(p.name()));
        }
    }
    return 0;
}
