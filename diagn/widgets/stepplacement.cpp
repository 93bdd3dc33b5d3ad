#include "stepplacement.h"

namespace kia {

QPoint cornerAwayFrom(const QRect& client, const QSize& size, const QRect& avoid) {
    const QPoint corners[4] = {
        {client.right() - size.width(), client.bottom() - size.height()},
        {client.right() - size.width(), client.top()},
        {client.left(), client.bottom() - size.height()},
        {client.left(), client.top()},
    };
    for (int i = 0; i < 3; ++i) {
        if (!QRect(corners[i], size).intersects(avoid))
            return corners[i];
    }
    return corners[3];
}

} // namespace kia
