#include "scenepictures.h"

#include "artkit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace kia::art {

namespace {

const QColor Ink(35, 35, 45);
const QColor Paper(246, 245, 238);
const QColor CableGrey(70, 70, 80);

QImage paperCanvas(int w, int h) {
    QImage img = clearCanvas(w, h);
    img.fill(Paper);
    return img.convertToFormat(QImage::Format_RGB32);
}

void caption(QPainter& p, const QRectF& r, const QString& text, int px = 12, bool bold = true) {
    p.setPen(Ink);
    p.setFont(uiFont(px, bold));
    p.drawText(r, Qt::AlignCenter, text);
}

void computer(QPainter& p, const QRectF& r) {
    // Monitor on a stand, system unit below it.
    const QRectF screen(r.left(), r.top(), r.width(), r.height() * 0.55);
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(QColor(215, 215, 205));
    p.drawRoundedRect(screen, 4, 4);
    QLinearGradient glass(screen.topLeft(), screen.bottomRight());
    glass.setColorAt(0, QColor(60, 110, 170));
    glass.setColorAt(1, QColor(20, 40, 80));
    p.setBrush(glass);
    p.drawRect(screen.adjusted(5, 5, -5, -8));
    p.setBrush(QColor(200, 200, 190));
    p.drawRect(QRectF(screen.center().x() - 6, screen.bottom(), 12, 5));
    const QRectF unit(r.left() - 4, screen.bottom() + 5, r.width() + 8, r.height() * 0.45 - 5);
    p.drawRoundedRect(unit, 3, 3);
    p.setPen(QPen(QColor(120, 120, 110), 1));
    p.drawLine(QPointF(unit.left() + 8, unit.top() + 8), QPointF(unit.left() + 34, unit.top() + 8));
    p.setBrush(QColor(60, 200, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(unit.right() - 10, unit.top() + 8), 2.2, 2.2);
}

QPointF comPort(const QRectF& pcRect) {
    return {pcRect.right() + 4, pcRect.bottom() - 12};
}

void connectorMark(QPainter& p, QPointF at) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(180, 180, 190));
    p.drawRect(QRectF(at.x() - 4, at.y() - 5, 8, 10));
}

void cable(QPainter& p, const QPainterPath& path, const QColor& colour = CableGrey) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

QPainterPath curve(QPointF a, QPointF b, double sag = 18) {
    QPainterPath path(a);
    const double dx = (b.x() - a.x()) / 3;
    path.cubicTo(a + QPointF(dx, sag), b + QPointF(-dx, sag), b);
    return path;
}

void cashRegister(QPainter& p, const QRectF& r) {
    p.setPen(QPen(Ink, 1.4));
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(235, 235, 228));
    body.setColorAt(1, QColor(190, 190, 182));
    p.setBrush(body);
    QPolygonF shape;
    shape << QPointF(r.left(), r.bottom()) << QPointF(r.left() + 6, r.top() + r.height() * 0.35)
          << QPointF(r.right() - 6, r.top() + r.height() * 0.35) << QPointF(r.right(), r.bottom());
    p.drawPolygon(shape);
    // Customer display on its mast and the paper slot.
    p.setBrush(QColor(200, 200, 192));
    p.drawRect(QRectF(r.right() - 22, r.top() + 10, 6, r.height() * 0.35 - 10));
    p.setBrush(QColor(40, 50, 40));
    p.drawRoundedRect(QRectF(r.right() - 34, r.top(), 30, 13), 2, 2);
    p.setPen(QColor(120, 255, 120));
    p.setFont(monoFont(9, true));
    p.drawText(QRectF(r.right() - 34, r.top(), 30, 13), Qt::AlignCenter, QStringLiteral("0.00"));
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + 10, r.top() + r.height() * 0.35 - 9, 26, 9));
    // Keys.
    p.setBrush(QColor(250, 250, 245));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col)
            p.drawRoundedRect(QRectF(r.left() + 14 + col * 11 + row * 1.5,
                                     r.top() + r.height() * 0.45 + row * 10, 8, 7),
                              1.5, 1.5);
}

// Small box with a label (probe, programmer).
void labelledBox(QPainter& p, const QRectF& r, const QColor& fill, const QString& label) {
    p.setPen(QPen(Ink, 1.4));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, fill.lighter(125));
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    p.setPen(Qt::white);
    p.setFont(uiFont(11, true));
    p.drawText(r, Qt::AlignCenter, label);
}

// The control board seen from above; returns the points of its connectors.
struct BoardSpots {
    QPointF x1;
    QPointF x4;
    QRectF socket;
};

BoardSpots controlBoard(QPainter& p, const QRectF& r, bool programmer) {
    p.setPen(QPen(QColor(10, 60, 25), 1.4));
    p.setBrush(QColor(40, 135, 70));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(QPen(QColor(215, 180, 80, 170), 1));
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(r.left() + 50 + i * 9, r.top() + 6),
                   QPointF(r.left() + 50 + i * 9, r.bottom() - 6));
    BoardSpots spots;
    spots.socket = QRectF(r.left() + 16, r.top() + r.height() * 0.42, 58, 20);
    // Chips.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 36));
    p.drawRect(QRectF(r.right() - 44, r.top() + 12, 30, 12));
    p.drawRect(QRectF(r.right() - 44, r.bottom() - 26, 30, 12));
    if (programmer) {
        p.drawRect(QRectF(spots.socket.left() + 14, spots.socket.top() - 6, 30, 30));
        p.setPen(QColor(230, 230, 230));
        p.setFont(uiFont(9, true));
        p.drawText(QRectF(spots.socket.left() + 14, spots.socket.top() - 6, 30, 30),
                   Qt::AlignCenter, QStringLiteral("DD5"));
    } else {
        p.setBrush(QColor(200, 60, 40));
        p.drawRect(spots.socket);
        p.setPen(Qt::white);
        p.setFont(uiFont(9, true));
        p.drawText(spots.socket, Qt::AlignCenter, QStringLiteral("ТП (DD3)"));
    }
    // Connectors on the left edge.
    spots.x1 = QPointF(r.left(), r.top() + 18);
    spots.x4 = QPointF(r.left(), r.bottom() - 18);
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(r.left() + 3, spots.x1.y() - 7, 9, 14));
    if (programmer)
        p.drawRect(QRectF(r.left() + 3, spots.x4.y() - 7, 9, 14));
    p.setPen(Qt::white);
    p.setFont(uiFont(10, true));
    p.drawText(QRectF(r.left() + 14, spots.x1.y() - 7, 24, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("X1"));
    if (programmer)
        p.drawText(QRectF(r.left() + 14, spots.x4.y() - 7, 24, 14),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("X4"));
    return spots;
}

// One gold trace with a via at each end, for the program picture.
void trace(QPainter& p, const QPolygonF& pts) {
    p.setPen(QPen(QColor(215, 175, 70), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(pts);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 200, 95));
    p.drawEllipse(pts.first(), 3, 3);
    p.drawEllipse(pts.last(), 3, 3);
}

void dipChip(QPainter& p, const QRectF& body, int pins) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 210));
    const double step = body.width() / pins;
    for (int i = 0; i < pins; ++i) {
        p.drawRect(QRectF(body.left() + step * i + step * 0.3, body.top() - 4, step * 0.4, 4));
        p.drawRect(QRectF(body.left() + step * i + step * 0.3, body.bottom(), step * 0.4, 4));
    }
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, QColor(55, 55, 62));
    g.setColorAt(1, QColor(22, 22, 26));
    p.setBrush(g);
    p.drawRoundedRect(body, 2, 2);
    p.setBrush(QColor(75, 75, 82));
    p.drawEllipse(QPointF(body.left() + 6, body.center().y()), 2.5, 2.5);
}

} // namespace

QImage programPicture() {
    constexpr int S = 378;
    QImage img = clearCanvas(S, S);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(QPointF(0, 0), QPointF(0, S));
    sky.setColorAt(0, QColor(32, 52, 92));
    sky.setColorAt(0.34, QColor(12, 20, 40));
    sky.setColorAt(1, QColor(4, 6, 12));
    p.fillRect(QRect(0, 0, S, S), sky);

    // Faint circuit pattern along the right edge of the dark part.
    p.setPen(QPen(QColor(60, 100, 150, 45), 1.4));
    for (int i = 0; i < 7; ++i) {
        const double y = 150 + i * 32;
        p.drawLine(QPointF(S, y), QPointF(318, y));
        p.drawLine(QPointF(318, y), QPointF(300, y + 14));
        p.drawEllipse(QPointF(300, y + 14), 2.5, 2.5);
    }

    // The board, slightly turned, in the upper part.
    QTransform onBoard;
    onBoard.translate(172, 76);
    onBoard.rotate(-5);
    p.save();
    p.setTransform(onBoard);
    const QRectF board(-140, -44, 250, 92);
    p.setPen(QPen(QColor(8, 40, 18), 2));
    QLinearGradient green(board.topLeft(), board.bottomRight());
    green.setColorAt(0, QColor(40, 140, 72));
    green.setColorAt(1, QColor(18, 85, 42));
    p.setBrush(green);
    p.drawRoundedRect(board, 6, 6);
    trace(p, QPolygonF({QPointF(-120, 30), QPointF(-95, 30), QPointF(-80, 15), QPointF(-40, 15)}));
    trace(p, QPolygonF({QPointF(-120, -30), QPointF(-60, -30), QPointF(-50, -20)}));
    trace(p, QPolygonF({QPointF(30, -32), QPointF(60, -32), QPointF(75, -17), QPointF(95, -17)}));
    trace(p, QPolygonF({QPointF(20, 34), QPointF(70, 34), QPointF(90, 14)}));
    trace(p, QPolygonF({QPointF(-20, 36), QPointF(5, 36)}));
    dipChip(p, QRectF(-100, -12, 90, 24), 12);
    dipChip(p, QRectF(10, -12, 50, 22), 7);
    dipChip(p, QRectF(72, 2, 26, 16), 4);
    // Pin header along the top edge.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 25, 30));
    p.drawRect(QRectF(-30, -42, 80, 9));
    p.setBrush(QColor(230, 190, 90));
    for (int i = 0; i < 8; ++i)
        p.drawRect(QRectF(-27 + i * 10, -39.5, 4, 4));
    // Crystal.
    p.setPen(QPen(QColor(170, 170, 180), 1));
    p.setBrush(QColor(205, 205, 215));
    p.drawRoundedRect(QRectF(-125, -6, 16, 22), 6, 6);
    p.restore();

    // The probe comes in from above and touches a pin of the big chip.
    const QPointF tip = onBoard.map(QPointF(-58.5, -14));
    QRadialGradient glow(tip, 15);
    glow.setColorAt(0, QColor(255, 240, 120, 230));
    glow.setColorAt(1, QColor(255, 200, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(tip, 15, 15);
    p.save();
    p.translate(tip);
    p.rotate(-40);
    p.setPen(QPen(QColor(60, 0, 0), 1.5));
    QLinearGradient red(QPointF(0, -9), QPointF(0, 9));
    red.setColorAt(0, QColor(250, 90, 80));
    red.setColorAt(1, QColor(160, 15, 15));
    p.setBrush(red);
    p.drawRoundedRect(QRectF(24, -9, 160, 18), 8, 8);
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(QRectF(56, -5, 24, 10));
    p.setPen(QPen(QColor(200, 200, 205), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(1, 0), QPointF(24, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 60, 40));
    p.drawEllipse(QPointF(94, 0), 3.2, 3.2);
    p.setBrush(QColor(60, 255, 90));
    p.drawEllipse(QPointF(104, 0), 3.2, 3.2);
    p.restore();

    // A thin rule that closes the picture above the dialog's text.
    QLinearGradient rule(QPointF(20, 0), QPointF(S - 20, 0));
    rule.setColorAt(0, QColor(120, 170, 230, 0));
    rule.setColorAt(0.5, QColor(120, 170, 230, 160));
    rule.setColorAt(1, QColor(120, 170, 230, 0));
    p.fillRect(QRectF(20, 133, S - 40, 1.5), rule);
    p.end();
    return img.convertToFormat(QImage::Format_RGB32);
}

QImage connectionPicture() {
    QImage img = paperCanvas(397, 169);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pc(16, 22, 74, 100);
    computer(p, pc);
    caption(p, QRectF(0, 140, 110, 20), QStringLiteral("ПК"));
    const QRectF box(160, 70, 76, 30);
    labelledBox(p, box, QColor(160, 30, 30), QStringLiteral("Пробник"));
    const QRectF kkm(282, 46, 100, 76);
    cashRegister(p, kkm);
    caption(p, QRectF(272, 140, 120, 20), QStringLiteral("ККМ"));
    const QPointF port = comPort(pc);
    cable(p, curve(port, QPointF(box.left(), box.center().y()), 10));
    cable(p, curve(QPointF(box.right(), box.center().y()),
                   QPointF(kkm.left() + 4, kkm.bottom() - 14), 16));
    connectorMark(p, port);
    connectorMark(p, QPointF(kkm.left() + 4, kkm.bottom() - 14));
    caption(p, QRectF(96, 120, 80, 16), QStringLiteral("COM-порт"), 10, false);
    caption(p, QRectF(216, 128, 80, 16), QStringLiteral("разъем RS232"), 10, false);
    p.end();
    return img;
}

QImage testSchemePicture(bool programmer) {
    QImage img = paperCanvas(400, 200);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pc(14, 30, 70, 96);
    computer(p, pc);
    caption(p, QRectF(0, 150, 100, 20), QStringLiteral("ПК"));
    const QRectF box(112, 64, 70, 28);
    labelledBox(p, box, QColor(160, 30, 30), QStringLiteral("Пробник"));
    const QPointF port = comPort(pc);
    cable(p, curve(port, QPointF(box.left(), box.center().y()), 8));
    connectorMark(p, port);
    caption(p, QRectF(76, 126, 80, 16), QStringLiteral("COM-порт"), 10, false);
    const QRectF boardRect(262, 40, 128, 120);
    const BoardSpots spots = controlBoard(p, boardRect, programmer);
    caption(p, QRectF(250, 166, 150, 20), QStringLiteral("Блок управления"));
    if (programmer) {
        const QRectF prog(196, 118, 58, 40);
        labelledBox(p, prog, QColor(40, 80, 150), QStringLiteral("Прогр."));
        cable(p, curve(QPointF(box.center().x(), box.bottom()),
                       QPointF(prog.left(), prog.center().y()), 20));
        cable(p, curve(QPointF(prog.right() - 10, prog.top()), spots.x1, -20), QColor(40, 80, 150));
        cable(p, curve(QPointF(prog.right(), prog.center().y() + 8), spots.x4, 6),
              QColor(40, 80, 150));
        caption(p, QRectF(176, 172, 100, 16), QStringLiteral("программатор"), 10, false);
    } else {
        cable(p, curve(QPointF(box.right(), box.center().y()), spots.x1, 14));
        // Arrow from the note to the socket of DD3.
        p.setPen(QPen(Ink, 1.2));
        p.drawLine(QPointF(222, 152), spots.socket.bottomLeft() + QPointF(6, 0));
        caption(p, QRectF(150, 150, 120, 30), QStringLiteral("тестовый процессор\nна месте DD3"),
                10, false);
    }
    p.end();
    return img;
}

QImage oscilloscopeScreen() {
    QImage img(151, 121, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 0));
    QPainter p(&img);
    // No anti-aliasing: single-pixel dots and lines, the same on every machine.
    const int screenBottom = 107;
    const QColor dim(0, 90, 40);
    for (int x = 0; x <= 150; x += 15) {
        for (int y = 0; y <= screenBottom; y += 3)
            img.setPixelColor(x, y, dim);
    }
    for (int y = 0; y <= screenBottom; y += 15) {
        for (int x = 0; x <= 150; x += 3)
            img.setPixelColor(x, y, dim);
    }
    // Small ticks on the centre axes, five to a division.
    const QColor tick(0, 130, 60);
    for (int x = 0; x <= 150; x += 3) {
        p.setPen(tick);
        p.drawLine(x, 59, x, 61);
    }
    for (int y = 0; y <= screenBottom; y += 3)
        p.drawLine(74, y, 76, y);
    p.fillRect(QRect(0, screenBottom + 1, 151, 121 - screenBottom - 1), QColor(200, 200, 200));
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, screenBottom + 1, 150, screenBottom + 1);
    return img;
}

} // namespace kia::art
