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
        for (qsizetype i = 0; i < points.size(); ++i) {
            const kia::ControlPoint& p = points.at(i);
            if (!p.onBoard(boardType) || !kia::hasDrawableCoordinates(p))
                std::abort();
            if (p.displayName().size() != p.nameView().size())
                std::abort();
            // The first point of that name, at or before this one.
            const int found = kia::FindPoint(points, boardType, p.nameView());
            if (found < 0 || found > i || points.at(found).nameView() != p.nameView())
                std::abort();
        }
    }
    return 0;
}
