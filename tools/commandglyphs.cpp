#include "commandglyphs.h"

#include "artkit.h"

#include <QPainterPath>

namespace kia::art {

namespace {

const QColor ChipBody(43, 43, 52);
const QColor ChipPin(190, 190, 200);
const QColor BusBlue(30, 95, 210);
const QColor WaveOrange(230, 110, 0);
const QColor CheckGreen(20, 150, 40);
const QColor AlarmRed(205, 30, 30);
const QColor Ink(20, 20, 25);

// A DIP chip seen from above: body, pins on the long sides, optional text.
void chip(QPainter& p, const QRectF& r, int pinsPerSide, const QString& label, bool small,
          const QColor& body = ChipBody) {
    p.setPen(Qt::NoPen);
    p.setBrush(small ? QColor(95, 95, 105) : ChipPin);
    const double step = r.width() / pinsPerSide;
    for (int i = 0; i < pinsPerSide; ++i) {
        const double x = r.left() + step * i + step * 0.25;
        p.drawRect(QRectF(x, r.top() - 3, step * 0.5, 3));
        p.drawRect(QRectF(x, r.bottom(), step * 0.5, 3));
    }
    p.setPen(QPen(Qt::black, small ? 1.5 : 1));
    p.setBrush(body);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 100));
    p.drawEllipse(QPointF(r.left() + 3.5, r.top() + 3.5), 1.4, 1.4);
    if (!small && !label.isEmpty()) {
        p.setPen(Qt::white);
        p.setFont(uiFont(label.size() > 3 ? 7 : 8, true));
        p.drawText(r.adjusted(0, 1, 0, 0), Qt::AlignCenter, label);
    }
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& c, double w) {
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a, b);
}

void polyline(QPainter& p, const QPolygonF& pts, const QColor& c, double w) {
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(pts);
}

void arrowHead(QPainter& p, QPointF tip, QPointF from, const QColor& c, double size) {
    const QLineF axis(tip, from);
    QLineF side1 = axis;
    side1.setLength(size);
    side1.setAngle(axis.angle() + 28);
    QLineF side2 = axis;
    side2.setLength(size);
    side2.setAngle(axis.angle() - 28);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({tip, side1.p2(), side2.p2()}));
}

// Square wave across r, starting low.
void wave(QPainter& p, const QRectF& r, int periods, const QColor& c, double w) {
    QPolygonF pts;
    const double step = r.width() / (2 * periods);
    double x = r.left();
    pts << QPointF(x, r.bottom());
    for (int i = 0; i < periods; ++i) {
        x += step * 0.5;
        pts << QPointF(x, r.bottom()) << QPointF(x, r.top());
        x += step;
        pts << QPointF(x, r.top()) << QPointF(x, r.bottom());
        x += step * 0.5;
    }
    pts << QPointF(r.right(), r.bottom());
    polyline(p, pts, c, w);
}

void checkMark(QPainter& p, QPointF at, double size, bool small) {
    QPolygonF pts;
    pts << at + QPointF(0, size * 0.5) << at + QPointF(size * 0.38, size * 0.9)
        << at + QPointF(size, 0);
    polyline(p, pts, Qt::white, small ? 5.5 : 4.5);
    polyline(p, pts, CheckGreen, small ? 3.5 : 2.6);
}

void magnifier(QPainter& p, QPointF centre, double r, bool small) {
    line(p, centre + QPointF(r * 0.7, r * 0.7), centre + QPointF(r * 1.9, r * 1.9),
         QColor(90, 60, 20), small ? 5 : 4);
    p.setPen(QPen(QColor(60, 60, 70), small ? 3 : 2.2));
    p.setBrush(QColor(200, 230, 255, 200));
    p.drawEllipse(centre, r, r);
}

void lcd(QPainter& p, const QRectF& r, const QColor& glass, bool cells, bool small) {
    p.setPen(QPen(QColor(50, 50, 60), small ? 2 : 1.2));
    p.setBrush(QColor(70, 70, 80));
    p.drawRoundedRect(r, 2, 2);
    const QRectF g = r.adjusted(3, 3, -3, -3);
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawRect(g);
    const QColor ink(25, 40, 25);
    if (cells) {
        // A row of character cells with the cursor under the last one.
        const int n = small ? 3 : 5;
        const double w = g.width() / n;
        p.setBrush(QColor(ink.red(), ink.green(), ink.blue(), 150));
        for (int i = 0; i < n; ++i)
            p.drawRect(QRectF(g.left() + w * i + w * 0.15, g.top() + 2, w * 0.7, g.height() - 6));
        p.setBrush(ink);
        p.drawRect(QRectF(g.left() + w * (n - 1) + w * 0.15, g.bottom() - 2.5, w * 0.7, 1.6));
    } else if (small) {
        p.setBrush(ink);
        p.drawRect(QRectF(g.left() + 2, g.center().y() - 1, g.width() - 4, 2.2));
    } else {
        p.setPen(ink);
        p.setFont(monoFont(10, true));
        p.drawText(g, Qt::AlignCenter, QStringLiteral("8.8"));
    }
}

void readWriteArrows(QPainter& p, QPointF at, bool small) {
    const double w = small ? 3 : 2.2;
    line(p, at, at + QPointF(0, -9), AlarmRed, w);
    arrowHead(p, at + QPointF(0, -12), at, AlarmRed, small ? 6 : 5);
    line(p, at + QPointF(6, -12), at + QPointF(6, -3), BusBlue, w);
    arrowHead(p, at + QPointF(6, 0), at + QPointF(6, -12), BusBlue, small ? 6 : 5);
}

void probe(QPainter& p, bool small) {
    // Pen-like body from the upper right down to a needle at the lower left.
    QPolygonF body;
    body << QPointF(29, 2) << QPointF(31, 5) << QPointF(14, 22) << QPointF(10, 18);
    p.setPen(QPen(QColor(70, 0, 0), small ? 1.6 : 1));
    p.setBrush(AlarmRed);
    p.drawPolygon(body);
    p.setBrush(QColor(250, 250, 250));
    p.drawPolygon(
        QPolygonF({QPointF(20, 11), QPointF(23, 14), QPointF(21.5, 15.5), QPointF(18.5, 12.5)}));
    line(p, QPointF(12, 20), QPointF(3, 29), QColor(60, 60, 60), small ? 2.8 : 1.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 0));
    p.drawEllipse(QPointF(3, 29), small ? 2.4 : 1.8, small ? 2.4 : 1.8);
}

void fiscalChip(QPainter& p, bool small) {
    chip(p, QRectF(3, 9, 20, 15), 4, QStringLiteral("ФП"), small, QColor(40, 60, 120));
}

void speaker(QPainter& p, bool small) {
    QPolygonF cone;
    cone << QPointF(4, 12) << QPointF(10, 12) << QPointF(17, 5) << QPointF(17, 27)
         << QPointF(10, 20) << QPointF(4, 20);
    p.setPen(QPen(Ink, small ? 2 : 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(90, 90, 110));
    p.drawPolygon(cone);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(BusBlue, small ? 2.6 : 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(14, 10, 8, 12), -50 * 16, 100 * 16);
    p.drawArc(QRectF(13, 6, 14, 20), -50 * 16, 100 * 16);
    if (!small)
        p.drawArc(QRectF(12, 2, 20, 28), -50 * 16, 100 * 16);
}

void keyboard(QPainter& p, bool small) {
    p.setPen(QPen(Ink, small ? 1.8 : 1));
    p.setBrush(QColor(120, 120, 135));
    p.drawRoundedRect(QRectF(2, 6, 28, 21), 2.5, 2.5);
    const int cols = small ? 3 : 4;
    const int rows = small ? 2 : 3;
    const double kw = 24.0 / cols;
    const double kh = 17.0 / rows;
    p.setPen(Qt::NoPen);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            p.setBrush(r == rows - 1 && c == cols - 1 ? QColor(250, 200, 60)
                                                      : QColor(245, 245, 250));
            p.drawRoundedRect(QRectF(4 + kw * c + 0.6, 8 + kh * r + 0.6, kw - 1.6, kh - 1.6), 1, 1);
        }
}

void clock(QPainter& p, bool small) {
    p.setPen(QPen(Ink, small ? 2.4 : 1.6));
    p.setBrush(QColor(255, 255, 240));
    p.drawEllipse(QPointF(16, 17), 13, 13);
    if (!small) {
        p.setPen(QPen(Ink, 1.2));
        for (int i = 0; i < 12; ++i) {
            QLineF tick(QPointF(16, 17), QPointF(16, 6));
            tick.setAngle(90 - 30 * i);
            tick.setLength(11.5);
            QLineF inner = tick;
            inner.setLength(9.5);
            p.drawLine(inner.p2(), tick.p2());
        }
    }
    line(p, QPointF(16, 17), QPointF(16, 8), Ink, small ? 2.6 : 1.8);
    line(p, QPointF(16, 17), QPointF(22, 20), AlarmRed, small ? 2.6 : 1.8);
}

void connectorPlug(QPainter& p, bool small) {
    p.setPen(QPen(Ink, small ? 1.8 : 1));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(3, 8, 9, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(5.5, 10.5 + 5 * i, 4, 2.5));
    const QColor wires[] = {AlarmRed, BusBlue, CheckGreen};
    for (int i = 0; i < 3; ++i) {
        const double y = 11.8 + 5 * i;
        line(p, QPointF(12, y), QPointF(24, y), wires[i], small ? 2.6 : 1.8);
        arrowHead(p, QPointF(30, y), QPointF(24, y), wires[i], small ? 7 : 6);
    }
}

void circularArrow(QPainter& p, const QRectF& r, bool small) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(CheckGreen, small ? 3.2 : 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(r, 30 * 16, 280 * 16);
    QLineF end(r.center(), r.center() + QPointF(r.width() / 2, 0));
    end.setAngle(30);
    QLineF tangent(end.p2(), end.p2() + QPointF(0, 1));
    tangent.setAngle(30 + 90);
    tangent.setLength(4);
    arrowHead(p, end.p2() + (tangent.p2() - end.p2()) * -1.0,
              end.p2() + (tangent.p2() - end.p2()) * 1.2, CheckGreen, small ? 8 : 7);
}

void busLines(QPainter& p, const QRectF& r, int lines, bool small) {
    const double gap = r.height() / (lines - 1);
    for (int i = 0; i < lines; ++i) {
        const double y = r.top() + gap * i;
        line(p, QPointF(r.left() + 4, y), QPointF(r.right() - 4, y), BusBlue, small ? 2.6 : 2);
        arrowHead(p, QPointF(r.right(), y), QPointF(r.left(), y), BusBlue, small ? 6 : 5);
        arrowHead(p, QPointF(r.left(), y), QPointF(r.right(), y), BusBlue, small ? 6 : 5);
    }
}

void labelledBlock(QPainter& p, const QRectF& r, const QString& label, bool small) {
    p.setPen(QPen(Ink, small ? 2 : 1.4));
    p.setBrush(QColor(255, 250, 225));
    p.drawRect(r);
    p.setPen(Ink);
    p.setFont(uiFont(small ? 16 : (label.size() > 2 ? 9 : 11), true));
    p.drawText(r, Qt::AlignCenter, small ? label.left(1) : label);
}

void scanWave(QPainter& p, bool small) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawRoundedRect(QRectF(1, 19, 30, 12), 2, 2);
    wave(p, QRectF(3, 21, 26, 8), small ? 2 : 3, WaveOrange, small ? 2.8 : 2);
}

void sheet(QPainter& p, bool small) {
    QPolygonF page;
    page << QPointF(5, 2) << QPointF(22, 2) << QPointF(28, 8) << QPointF(28, 30) << QPointF(5, 30);
    p.setPen(QPen(QColor(70, 70, 80), small ? 1.8 : 1));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawLine(QPointF(22, 2), QPointF(22, 8));
    p.drawLine(QPointF(22, 8), QPointF(28, 8));
    // A gate with a line in and out, and a resistor.
    p.setPen(QPen(Ink, small ? 2 : 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(12, 11, 8, 10));
    p.drawLine(QPointF(8, 14), QPointF(12, 14));
    p.drawLine(QPointF(8, 18), QPointF(12, 18));
    p.drawLine(QPointF(20, 16), QPointF(25, 16));
    if (!small) {
        p.drawRect(QRectF(10, 24, 10, 3.5));
        p.drawLine(QPointF(7, 25.7), QPointF(10, 25.7));
        p.drawLine(QPointF(20, 25.7), QPointF(25, 25.7));
    }
}

void board(QPainter& p, bool small) {
    p.setPen(QPen(QColor(10, 60, 25), small ? 1.6 : 1));
    p.setBrush(QColor(30, 130, 60));
    p.drawRoundedRect(QRectF(2, 5, 28, 23), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(ChipBody);
    p.drawRect(QRectF(6, 9, 10, 6));
    p.drawRect(QRectF(19, 9, 7, 14));
    p.drawRect(QRectF(6, 18, 10, 6));
    p.setBrush(QColor(235, 195, 80));
    for (int i = 0; i < 5; ++i)
        p.drawRect(QRectF(4 + 5 * i, 25.5, 2.4, 1.6));
}

} // namespace

void paintGlyph(QPainter& p, Glyph g, bool small) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (g) {
    case Glyph::BusTest:
        chip(p, QRectF(8, 17, 16, 10), 4, QString(), small);
        busLines(p, QRectF(2, 4, 28, 8), 2, small);
        break;
    case Glyph::Rom:
        chip(p, QRectF(3, 9, 26, 14), 6, QStringLiteral("ПЗУ"), small);
        break;
    case Glyph::Ram:
        chip(p, QRectF(3, 9, 26, 14), 6, QStringLiteral("ОЗУ"), small);
        break;
    case Glyph::Chip:
        chip(p, QRectF(3, 9, 26, 14), small ? 4 : 6, QString(), small);
        break;
    case Glyph::Ppi:
        chip(p, QRectF(3, 9, 26, 14), 6, QStringLiteral("ППИ"), small, QColor(90, 40, 40));
        break;
    case Glyph::Timer:
        clock(p, small);
        break;
    case Glyph::Eeprom:
        chip(p, QRectF(3, 9, 26, 14), 6, QStringLiteral("РПЗУ"), small, QColor(30, 80, 70));
        if (small)
            line(p, QPointF(8, 16), QPointF(24, 16), QColor(120, 230, 200), 3);
        break;
    case Glyph::SerialEeprom:
        chip(p, QRectF(8, 10, 16, 12), small ? 3 : 4, QStringLiteral("I²C"), small,
             QColor(30, 80, 70));
        break;
    case Glyph::FiscalBlank:
        fiscalChip(p, small);
        magnifier(p, QPointF(22, 20), small ? 6 : 5.5, small);
        break;
    case Glyph::FiscalWrite: {
        fiscalChip(p, small);
        QPolygonF pencil;
        pencil << QPointF(29, 13) << QPointF(31.5, 15.5) << QPointF(20, 27) << QPointF(16.5, 28.5)
               << QPointF(17.5, 25);
        p.setPen(QPen(Ink, small ? 1.6 : 1));
        p.setBrush(QColor(250, 200, 40));
        p.drawPolygon(pencil);
        break;
    }
    case Glyph::CashierDisplay:
        lcd(p, QRectF(2, 4, 28, 15), QColor(160, 215, 140), false, small);
        readWriteArrows(p, QPointF(12, 31), small);
        break;
    case Glyph::CashierCells:
        lcd(p, QRectF(2, 8, 28, 17), QColor(160, 215, 140), true, small);
        break;
    case Glyph::CustomerDisplay:
        lcd(p, QRectF(2, 4, 28, 15), QColor(150, 200, 240), false, small);
        readWriteArrows(p, QPointF(12, 31), small);
        break;
    case Glyph::CustomerCells:
        lcd(p, QRectF(2, 8, 28, 17), QColor(150, 200, 240), true, small);
        break;
    case Glyph::Sound:
        speaker(p, small);
        break;
    case Glyph::Keyboard:
        keyboard(p, small);
        break;
    case Glyph::Peripherals:
        connectorPlug(p, small);
        break;
    case Glyph::RestoreSoftware:
        chip(p, QRectF(3, 4, 18, 12), 4, QString(), small);
        circularArrow(p, QRectF(13, 13, 16, 16), small);
        break;
    case Glyph::ScanBus:
        busLines(p, QRectF(2, 4, 28, 10), 2, small);
        scanWave(p, small);
        break;
    case Glyph::ScanControl:
        chip(p, QRectF(6, 5, 20, 9), 4, QString(), small);
        line(p, QPointF(10, 14), QPointF(10, 19), BusBlue, small ? 2.4 : 1.6);
        line(p, QPointF(22, 14), QPointF(22, 19), BusBlue, small ? 2.4 : 1.6);
        scanWave(p, small);
        break;
    case Glyph::ScanRegister:
        labelledBlock(p, QRectF(6, 2, 20, 15), QStringLiteral("RG"), small);
        scanWave(p, small);
        break;
    case Glyph::ScanDecoder:
        labelledBlock(p, QRectF(6, 2, 20, 15), QStringLiteral("DC"), small);
        scanWave(p, small);
        break;
    case Glyph::ScanPpi:
        labelledBlock(p, QRectF(4, 2, 24, 15), QStringLiteral("ППИ"), small);
        scanWave(p, small);
        break;
    case Glyph::ScanChip:
        chip(p, QRectF(5, 5, 22, 10), 5, QString(), small);
        scanWave(p, small);
        break;
    case Glyph::FiscalPulse:
        chip(p, QRectF(3, 4, 17, 11), 4, small ? QString() : QStringLiteral("ФП"), small,
             QColor(40, 60, 120));
        polyline(p,
                 QPolygonF({QPointF(2, 29), QPointF(11, 29), QPointF(11, 19), QPointF(21, 19),
                            QPointF(21, 29), QPointF(30, 29)}),
                 AlarmRed, small ? 3 : 2.4);
        break;
    case Glyph::FaultTypes:
        p.setPen(QPen(QColor(80, 80, 90), small ? 1.6 : 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 3, 19, 24));
        for (int i = 0; i < (small ? 3 : 5); ++i)
            line(p, QPointF(6, 7.5 + (small ? 6 : 4) * i), QPointF(18, 7.5 + (small ? 6 : 4) * i),
                 i == 1 ? AlarmRed : QColor(90, 90, 100), small ? 2.2 : 1.4);
        magnifier(p, QPointF(20, 19), small ? 6.5 : 6, small);
        break;
    case Glyph::LogicProbe:
        probe(p, small);
        break;
    case Glyph::Oscilloscope:
        p.setPen(QPen(QColor(40, 40, 50), small ? 1.8 : 1));
        p.setBrush(QColor(110, 110, 125));
        p.drawRoundedRect(QRectF(1.5, 4.5, 29, 23), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(10, 40, 20));
        p.drawRect(QRectF(4, 7, 19, 18));
        if (!small) {
            p.setPen(QPen(QColor(40, 90, 50), 0.8));
            for (int i = 1; i < 4; ++i) {
                p.drawLine(QPointF(4 + 4.75 * i, 7), QPointF(4 + 4.75 * i, 25));
                p.drawLine(QPointF(4, 7 + 4.5 * i), QPointF(23, 7 + 4.5 * i));
            }
        }
        {
            QPainterPath sine;
            sine.moveTo(4.5, 16);
            for (double x = 4.5; x <= 22.5; x += 0.5)
                sine.lineTo(x, 16 - 6 * std::sin((x - 4.5) / 18.0 * 2 * M_PI));
            p.setPen(QPen(QColor(90, 255, 120), small ? 2.4 : 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawPath(sine);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 230, 230));
        p.drawEllipse(QPointF(26.5, 11), 2, 2);
        p.drawEllipse(QPointF(26.5, 19), 2, 2);
        break;
    case Glyph::ProbeCheck:
        probe(p, small);
        checkMark(p, QPointF(16, 19), 13, small);
        break;
    case Glyph::Schematic:
        sheet(p, small);
        break;
    case Glyph::Layout:
        board(p, small);
        break;
    }
}

} // namespace kia::art
