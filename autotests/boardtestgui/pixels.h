#pragma once

// Colour checks on a painted widget: how many pixels of a rectangle carry a
// colour close to a pen colour (glyph edges are blended with the background).

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>

namespace testgui {

enum class Ink { Red, Blue, Black, Green };

inline bool isInk(QColor c, Ink ink) {
    const int r = c.red(), g = c.green(), b = c.blue();
    switch (ink) {
    case Ink::Red:
        return r > 140 && g < 90 && b < 90;
    case Ink::Blue:
        return b > 140 && r < 90 && g < 90;
    case Ink::Black:
        return r < 70 && g < 70 && b < 70;
    case Ink::Green:
        return g > 60 && r < 40 && b < 40;
    }
    return false;
}

inline int inkPixels(const QImage& image, const QRect& rect, Ink ink) {
    int n = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += isInk(image.pixelColor(x, y), ink) ? 1 : 0;
    return n;
}

/// What the widget shows now, at one image pixel per widget pixel.
inline QImage snapshot(QWidget* w) {
    QPixmap p = w->grab();
    p.setDevicePixelRatio(1);
    return p.toImage();
}

} // namespace testgui
