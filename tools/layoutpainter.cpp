#include "layoutpainter.h"

#include "artkit.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace kia::art {

namespace {

constexpr int DipPitch = 10;
constexpr int QfpPitch = 8;
constexpr int HeaderPitch = 10;
constexpr int QfpBody = 88;
const QRect BoardEdge(QPoint(8, 8), QPoint(771, 439));

struct Pad {
    int number = 0;
    QPoint at;
    Outward outward = Outward::Left;
};

// Pads, body and label position of one placed part on the layout.
struct Footprint {
    std::vector<Pad> pads;
    QRect body;   // silkscreen outline
    QRect label;  // where the designation goes
    QRect bounds; // everything the part occupies, for the overlap check
};

Footprint footprint(const PlacedPart& part, QSize picture) {
    Footprint fp;
    const PartDef& def = part.def;
    const QPoint at = part.layoutAt;
    const int n = def.pinCount;
    const QFontMetrics fm(draftFont(11, true));
    const int textW = fm.horizontalAdvance(part.ref) + 4;
    switch (def.package) {
    case Package::Dip: {
        const int half = n / 2;
        const int rowPx = def.rowSpacing * DipPitch;
        const int span = DipPitch * (half - 1);
        if (part.orient == Orient::Horizontal) {
            for (int k = 1; k <= n; ++k) {
                if (k <= half)
                    fp.pads.push_back(
                        {k, {at.x() + DipPitch * (k - 1), at.y() + rowPx}, Outward::Down});
                else
                    fp.pads.push_back({k, {at.x() + DipPitch * (n - k), at.y()}, Outward::Up});
            }
            fp.body = QRect(QPoint(at.x() - 7, at.y() + 6),
                            QPoint(at.x() + span + 7, at.y() + rowPx - 6));
            fp.label = QRect(fp.body.center().x() - textW / 2, fp.body.center().y() - 6, textW, 13);
        } else {
            for (int k = 1; k <= n; ++k) {
                if (k <= half)
                    fp.pads.push_back({k, {at.x(), at.y() + DipPitch * (k - 1)}, Outward::Left});
                else
                    fp.pads.push_back(
                        {k, {at.x() + rowPx, at.y() + DipPitch * (n - k)}, Outward::Right});
            }
            fp.body = QRect(QPoint(at.x() + 6, at.y() - 7),
                            QPoint(at.x() + rowPx - 6, at.y() + span + 7));
            fp.label = QRect(fp.body.center().x() - textW / 2, fp.body.top() - 15, textW, 13);
        }
        break;
    }
    case Package::Qfp: {
        const int side = n / 4;
        for (int i = 0; i < side; ++i) {
            fp.pads.push_back({1 + i, {at.x() - 6, at.y() + 4 + QfpPitch * i}, Outward::Left});
            fp.pads.push_back({1 + side + i,
                               {at.x() + 4 + QfpPitch * i, at.y() + QfpBody - 1 + 6},
                               Outward::Down});
            fp.pads.push_back({1 + 2 * side + i,
                               {at.x() + QfpBody - 1 + 6, at.y() + 84 - QfpPitch * i},
                               Outward::Right});
            fp.pads.push_back(
                {1 + 3 * side + i, {at.x() + 84 - QfpPitch * i, at.y() - 6}, Outward::Up});
        }
        fp.body = QRect(at, QSize(QfpBody, QfpBody));
        fp.label = QRect(fp.body.center().x() - textW / 2, fp.body.center().y() - 6, textW, 13);
        break;
    }
    case Package::Header: {
        const int span = HeaderPitch * (n - 1);
        if (part.orient == Orient::Horizontal) {
            const Outward out = at.y() < picture.height() / 2 ? Outward::Up : Outward::Down;
            for (int k = 1; k <= n; ++k)
                fp.pads.push_back({k, {at.x() + HeaderPitch * (k - 1), at.y()}, out});
            fp.body = QRect(QPoint(at.x() - 6, at.y() - 6), QPoint(at.x() + span + 6, at.y() + 6));
            fp.label = QRect(fp.body.left() - textW - 4, at.y() - 6, textW, 13);
        } else {
            const bool rightEdge = at.x() > picture.width() / 2;
            const Outward out = rightEdge ? Outward::Right : Outward::Left;
            for (int k = 1; k <= n; ++k)
                fp.pads.push_back({k, {at.x(), at.y() + HeaderPitch * (k - 1)}, out});
            fp.body = QRect(QPoint(at.x() - 6, at.y() - 6), QPoint(at.x() + 6, at.y() + span + 6));
            fp.label =
                QRect(at.x() - textW / 2 + (rightEdge ? -4 : 4), fp.body.top() - 15, textW, 13);
        }
        break;
    }
    }
    fp.bounds = fp.body.united(fp.label);
    for (const Pad& pad : fp.pads)
        fp.bounds = fp.bounds.united(QRect(pad.at - QPoint(5, 5), QSize(11, 11)));
    return fp;
}

// Round pads are drawn as filled octagons from rectangles, so that the pixels
// do not depend on the rasteriser's idea of a circle.
void roundPad(QPainter& p, QPoint c, int r) {
    p.fillRect(c.x() - r + 1, c.y() - r, 2 * r - 1, 2 * r + 1, Qt::black);
    p.fillRect(c.x() - r, c.y() - r + 1, 2 * r + 1, 2 * r - 1, Qt::black);
}

void squarePad(QPainter& p, QPoint c, int r) {
    p.fillRect(c.x() - r, c.y() - r, 2 * r + 1, 2 * r + 1, Qt::black);
}

void outline(QPainter& p, const QRect& r, int w = 1) {
    p.fillRect(r.left(), r.top(), r.width(), w, Qt::black);
    p.fillRect(r.left(), r.bottom() - w + 1, r.width(), w, Qt::black);
    p.fillRect(r.left(), r.top(), w, r.height(), Qt::black);
    p.fillRect(r.right() - w + 1, r.top(), w, r.height(), Qt::black);
}

void drawPart(QPainter& p, const PlacedPart& part, const Footprint& fp) {
    const PartDef& def = part.def;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    if (def.package == Package::Header) {
        outline(p, fp.body);
        for (const Pad& pad : fp.pads) {
            if (pad.number == 1)
                squarePad(p, pad.at, 3);
            else
                roundPad(p, pad.at, 3);
        }
        const Pad& first = fp.pads.front();
        p.setFont(draftFont(9));
        const bool vertical = part.orient == Orient::Vertical;
        const QPoint mark = vertical
                                ? first.at + QPoint(first.outward == Outward::Right ? -16 : 8, -5)
                                : first.at + QPoint(-4, first.outward == Outward::Up ? 8 : -18);
        p.drawText(QRect(mark, QSize(9, 11)), Qt::AlignCenter, QStringLiteral("1"));
    } else if (def.package == Package::Dip) {
        outline(p, fp.body);
        const QRect& b = fp.body;
        if (part.orient == Orient::Horizontal)
            p.drawArc(QRect(b.left() - 5, b.center().y() - 5, 10, 10), -90 * 16, 180 * 16);
        else
            p.drawArc(QRect(b.center().x() - 5, b.top() - 5, 10, 10), 180 * 16, 180 * 16);
        for (const Pad& pad : fp.pads) {
            if (pad.number == 1)
                squarePad(p, pad.at, 3);
            else
                roundPad(p, pad.at, 3);
        }
    } else {
        const QRect& b = fp.body;
        p.drawPolygon(QPolygon({b.topLeft() + QPoint(8, 0), b.topRight(), b.bottomRight(),
                                b.bottomLeft(), b.topLeft() + QPoint(0, 8)}));
        roundPad(p, b.topLeft() + QPoint(12, 12), 2);
        for (const Pad& pad : fp.pads) {
            const bool across = pad.outward == Outward::Left || pad.outward == Outward::Right;
            const QSize size = across ? QSize(7, 3) : QSize(3, 7);
            p.fillRect(QRect(pad.at - QPoint(size.width() / 2, size.height() / 2), size),
                       Qt::black);
        }
    }
    p.setFont(draftFont(11, true));
    p.drawText(fp.label, Qt::AlignCenter, part.ref);
}

QRect decorationBounds(const Decoration& d) {
    switch (d.kind) {
    case Decoration::Resistor:
        return d.vertical ? QRect(d.at.x() - 4, d.at.y() - 3, 9, 31)
                          : QRect(d.at.x() - 3, d.at.y() - 14, 31, 19);
    case Decoration::Capacitor:
        return QRect(d.at.x() - 5, d.at.y() - 16, 21, 22);
    case Decoration::Electrolytic:
        return QRect(d.at.x() - 8, d.at.y() - 26, 27, 40);
    case Decoration::Crystal:
        return QRect(d.at.x() - 6, d.at.y() - 18, 33, 25);
    case Decoration::Transistor:
        return QRect(d.at.x() - 12, d.at.y() - 14, 25, 32);
    case Decoration::Diode:
        return QRect(d.at.x() - 3, d.at.y() - 16, 31, 22);
    case Decoration::MountingHole:
        return QRect(d.at.x() - 8, d.at.y() - 8, 17, 17);
    }
    return {};
}

void drawDecoration(QPainter& p, const Decoration& d) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.setFont(draftFont(10));
    const QPoint a = d.at;
    switch (d.kind) {
    case Decoration::Resistor:
        roundPad(p, a, 2);
        if (d.vertical) {
            roundPad(p, a + QPoint(0, 24), 2);
            outline(p, QRect(a.x() - 3, a.y() + 5, 7, 15));
        } else {
            roundPad(p, a + QPoint(24, 0), 2);
            outline(p, QRect(a.x() + 5, a.y() - 3, 15, 7));
            p.drawText(QRect(a.x() + 28 - 60, a.y() - 14, 60, 11), Qt::AlignRight, d.ref);
        }
        break;
    case Decoration::Capacitor:
        roundPad(p, a, 2);
        roundPad(p, a + QPoint(10, 0), 2);
        outline(p, QRect(a.x() - 4, a.y() - 4, 19, 9));
        p.drawText(QRect(a.x() - 5, a.y() - 16, 21, 11), Qt::AlignCenter, d.ref);
        break;
    case Decoration::Electrolytic:
        p.drawEllipse(QPoint(a.x() + 5, a.y()), 12, 12);
        squarePad(p, a, 2);
        roundPad(p, a + QPoint(10, 0), 2);
        p.drawLine(a.x() - 1, a.y() - 7, a.x() + 3, a.y() - 7);
        p.drawLine(a.x() + 1, a.y() - 9, a.x() + 1, a.y() - 5);
        p.drawText(QRect(a.x() - 8, a.y() + 13, 27, 12), Qt::AlignCenter, d.ref);
        break;
    case Decoration::Crystal:
        p.drawRoundedRect(QRect(a.x() - 6, a.y() - 6, 32, 12), 5, 5);
        roundPad(p, a, 2);
        roundPad(p, a + QPoint(20, 0), 2);
        p.drawText(QRect(a.x() - 6, a.y() - 18, 32, 11), Qt::AlignCenter, d.ref);
        break;
    case Decoration::Transistor:
        // Flat-sided plastic package seen from above, three leads in a row.
        p.drawArc(QRect(a.x() - 11, a.y() - 13, 23, 23), 0, 180 * 16);
        p.drawLine(a.x() - 11, a.y() - 2, a.x() - 11, a.y() + 4);
        p.drawLine(a.x() + 11, a.y() - 2, a.x() + 11, a.y() + 4);
        p.drawLine(a.x() - 11, a.y() + 4, a.x() + 11, a.y() + 4);
        squarePad(p, a + QPoint(-7, 0), 2);
        roundPad(p, a, 2);
        roundPad(p, a + QPoint(7, 0), 2);
        p.drawText(QRect(a.x() - 12, a.y() + 6, 25, 12), Qt::AlignCenter, d.ref);
        break;
    case Decoration::Diode:
        roundPad(p, a, 2);
        roundPad(p, a + QPoint(24, 0), 2);
        outline(p, QRect(a.x() + 5, a.y() - 4, 15, 9));
        p.fillRect(a.x() + 16, a.y() - 4, 2, 9, Qt::black);
        p.drawText(QRect(a.x() - 3, a.y() - 16, 31, 11), Qt::AlignCenter, d.ref);
        break;
    case Decoration::MountingHole:
        p.drawEllipse(a, 7, 7);
        p.drawEllipse(a, 3, 3);
        break;
    }
}

} // namespace

bool paintLayout(const BoardTables& board, QImage* picture, PinSpots* spots, QString* error) {
    const QSize size = board.layoutSize;
    std::vector<std::pair<QString, QRect>> taken;
    std::vector<Footprint> prints;
    for (const PlacedPart& part : board.parts) {
        prints.push_back(footprint(part, size));
        taken.emplace_back(part.ref, prints.back().bounds);
    }
    for (const Decoration& d : board.decorations)
        taken.emplace_back(d.ref.isEmpty() ? QStringLiteral("отверстие") : d.ref,
                           decorationBounds(d));
    for (size_t i = 0; i < taken.size(); ++i) {
        if (!BoardEdge.adjusted(2, 2, -2, -2).contains(taken[i].second)) {
            *error = QStringLiteral("Плата %1: %2 выходит за край платы на схеме расположения")
                         .arg(board.boardType)
                         .arg(taken[i].first);
            return false;
        }
        for (size_t j = i + 1; j < taken.size(); ++j)
            if (taken[i].second.intersects(taken[j].second)) {
                *error = QStringLiteral("Плата %1: %2 и %3 перекрываются на схеме расположения")
                             .arg(board.boardType)
                             .arg(taken[i].first, taken[j].first);
                return false;
            }
    }

    QImage img = whiteCanvas(size.width(), size.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setPen(Qt::black);

    outline(p, BoardEdge, 2);
    for (size_t i = 0; i < board.parts.size(); ++i) {
        const PlacedPart& part = board.parts[i];
        drawPart(p, part, prints[i]);
        for (const Pad& pad : prints[i].pads)
            if (part.def.isDrawn(pad.number))
                spots->insert(QStringLiteral("%1/%2").arg(part.ref).arg(pad.number),
                              PinSpot{pad.at, pad.outward});
    }
    for (const Decoration& d : board.decorations)
        drawDecoration(p, d);

    p.setFont(draftFont(12, true));
    const QRect caption(BoardEdge.left(), BoardEdge.bottom() + 8, BoardEdge.width(), 26);
    p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter,
               board.designation + QStringLiteral("   Плата блока управления"));
    p.setFont(draftFont(12));
    p.drawText(caption, Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Схема расположения элементов (вид со стороны элементов)"));
    p.end();
    *picture = toLineArt(img);
    return true;
}

} // namespace kia::art
