#include "markericons.h"

#include "artkit.h"

#include <QPainter>
#include <QPainterPath>

namespace kia::art {

namespace {

constexpr int Size = 32;

// Arrow with its tip at (0, 31) pointing down-left: a head of 12 px and a
// shaft reaching up-right to length `reach` along the diagonal.
QPainterPath arrowPath(double reach) {
    const double s = 0.70710678; // cos 45
    auto at = [&](double along, double across) {
        // along: from the tip up-right; across: to the upper-left side
        return QPointF(0.5 + along * s - across * s, 31.5 - along * s - across * s);
    };
    QPainterPath path;
    path.moveTo(at(0, 0));
    path.lineTo(at(12, 6.5));
    path.lineTo(at(10, 2.4));
    path.lineTo(at(reach, 2.4));
    path.lineTo(at(reach, -2.4));
    path.lineTo(at(10, -2.4));
    path.lineTo(at(12, -6.5));
    path.closeSubpath();
    return path;
}

// Mirrors a drawing made for quadrant 0 into the other corners.
QTransform quadrantTransform(int quadrant) {
    const bool flipX = quadrant == 2 || quadrant == 3;
    const bool flipY = quadrant == 1 || quadrant == 2;
    return QTransform(flipX ? -1 : 1, 0, 0, flipY ? -1 : 1, flipX ? Size : 0, flipY ? Size : 0);
}

QPoint tipPixel(int quadrant) {
    switch (quadrant) {
    case 1:
        return {0, 0};
    case 2:
        return {Size - 1, 0};
    case 3:
        return {Size - 1, Size - 1};
    default:
        return {0, Size - 1};
    }
}

void paintArrow(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& edge) {
    p.setPen(QPen(edge, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

} // namespace

QImage highlightIcon() {
    QImage img = clearCanvas(Size, Size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintArrow(p, arrowPath(40), QColor(30, 90, 230), QColor(0, 20, 110));
    p.end();
    img.setPixelColor(tipPixel(0), QColor(0, 20, 110));
    return img;
}

QImage markerIcon(bool driver, int quadrant) {
    QImage img = clearCanvas(Size, Size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QTransform mirror = quadrantTransform(quadrant);
    p.setTransform(mirror);
    paintArrow(p, arrowPath(20), QColor(220, 20, 20), QColor(100, 0, 0));
    // The bubble sits at the far end of the arrow; its text is never mirrored.
    const QPointF centre = mirror.map(QPointF(21.5, 10.5));
    p.resetTransform();
    p.setPen(QPen(QColor(150, 0, 0), 1.6));
    p.setBrush(driver ? QColor(200, 235, 255) : QColor(255, 244, 150));
    p.drawEllipse(centre, 9.6, 9.6);
    p.setPen(QColor(170, 0, 0));
    p.setFont(uiFont(14, true));
    p.drawText(QRectF(centre.x() - 10, centre.y() - 10, 20, 20), Qt::AlignCenter,
               driver ? QStringLiteral("D") : QStringLiteral("?"));
    p.end();
    img.setPixelColor(tipPixel(quadrant), QColor(100, 0, 0));
    return img;
}

QImage applicationIcon() {
    QImage img = clearCanvas(Size, Size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Board with traces and a chip.
    p.setPen(QPen(QColor(10, 60, 25), 1));
    p.setBrush(QColor(30, 130, 60));
    p.drawRoundedRect(QRectF(1.5, 5.5, 26, 25), 3, 3);
    p.setPen(QPen(QColor(230, 190, 80), 1.2));
    p.drawLine(QPointF(4, 26), QPointF(10, 20));
    p.drawLine(QPointF(4, 10), QPointF(8, 14));
    p.drawLine(QPointF(20, 27), QPointF(20, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 25, 30));
    p.drawRect(QRectF(8, 12, 13, 10));
    p.setBrush(QColor(210, 210, 215));
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(9 + 3 * i, 10, 1.6, 2));
        p.drawRect(QRectF(9 + 3 * i, 22, 1.6, 2));
    }
    // Probe coming in from the upper right, tip on a pin.
    p.setPen(QPen(QColor(60, 0, 0), 1));
    p.setBrush(QColor(210, 30, 30));
    QPolygonF body;
    body << QPointF(30.5, 0.5) << QPointF(31.5, 3.5) << QPointF(22.5, 12.5) << QPointF(19.5, 9.5);
    p.drawPolygon(body);
    p.setPen(QPen(QColor(40, 40, 40), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20.5, 11.5), QPointF(16.5, 15.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 60));
    p.drawEllipse(QPointF(16, 16), 1.8, 1.8);
    p.end();
    return img;
}

QList<int> keyIconIds() {
    return {171, 172, 173, 174};
}

QImage keyIcon(int id) {
    constexpr int side = 24;
    QImage img(side, side, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    // One arrow pointing up, turned for the others.
    const int quarter = id == 172 ? 3 : id == 173 ? 1 : id == 174 ? 2 : 0;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(side / 2.0, side / 2.0);
    p.rotate(90.0 * quarter);
    QPolygonF arrow;
    arrow << QPointF(0, -10) << QPointF(8, -1) << QPointF(3, -1) << QPointF(3, 10)
          << QPointF(-3, 10) << QPointF(-3, -1) << QPointF(-8, -1);
    p.setPen(QPen(QColor(0, 0, 0), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.setBrush(QColor(0, 0, 128));
    p.drawPolygon(arrow);
    p.end();
    return img;
}

} // namespace kia::art
