#include "sheetframe.h"

#include "artkit.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>

namespace kia::art {

namespace {

void hline(QPainter& p, int x1, int x2, int y, int w = 1) {
    p.fillRect(std::min(x1, x2), y - w / 2, std::abs(x2 - x1) + 1, w, Qt::black);
}

void vline(QPainter& p, int x, int y1, int y2, int w = 1) {
    p.fillRect(x - w / 2, std::min(y1, y2), w, std::abs(y2 - y1) + 1, Qt::black);
}

void box(QPainter& p, const QRect& r, int w) {
    hline(p, r.left(), r.right(), r.top() + w / 2, w);
    hline(p, r.left(), r.right(), r.bottom() - (w - 1) / 2, w);
    vline(p, r.left() + w / 2, r.top(), r.bottom(), w);
    vline(p, r.right() - (w - 1) / 2, r.top(), r.bottom(), w);
}

void text(QPainter& p, const QRect& r, const QString& s, int px, bool bold = false,
          int flags = Qt::AlignCenter) {
    p.setFont(draftFont(px, bold));
    p.drawText(r, flags, s);
}

// Largest size up to px at which s fits into width (long designations).
int fittingSize(const QString& s, int px, int width, bool bold) {
    while (px > 8 && QFontMetrics(draftFont(px, bold)).horizontalAdvance(s) > width)
        --px;
    return px;
}

// Text turned by angle degrees, centred in r (filing margin, turned box).
void turnedText(QPainter& p, const QRect& r, const QString& s, int px, int angle) {
    p.save();
    p.translate(r.center().x() + 1, r.center().y() + 1);
    p.rotate(angle);
    const bool quarter = angle % 180 != 0;
    const int w = quarter ? r.height() : r.width();
    const int h = quarter ? r.width() : r.height();
    p.setFont(draftFont(px));
    p.drawText(QRect(-w / 2, -h / 2, w, h), Qt::AlignCenter, s);
    p.restore();
}

struct PowerRow {
    QString ref;
    QString plus;
    QString ground;
};

// Chips before connectors, each kind in number order (DD3 before DD11).
bool refBefore(const QString& a, const QString& b) {
    auto split = [](const QString& ref) {
        int i = 0;
        while (i < ref.size() && !ref[i].isDigit())
            ++i;
        return std::make_pair(ref.left(i).startsWith(QLatin1Char('X')), ref.mid(i).toInt());
    };
    const auto ka = split(a);
    const auto kb = split(b);
    if (ka != kb)
        return ka < kb;
    return a < b;
}

std::vector<PowerRow> powerRows(const BoardTables& board) {
    std::vector<PowerRow> rows;
    for (const PlacedPart& part : board.parts) {
        QStringList plus;
        QStringList ground;
        for (const PinDef& pin : part.def.pins) {
            if (pin.supply == Supply::Plus5)
                plus << QString::number(pin.number);
            else if (pin.supply == Supply::Ground)
                ground << QString::number(pin.number);
        }
        if (!plus.isEmpty() || !ground.isEmpty())
            rows.push_back({part.ref, plus.join(QLatin1Char(',')), ground.join(QLatin1Char(','))});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const PowerRow& a, const PowerRow& b) { return refBefore(a.ref, b.ref); });
    return rows;
}

constexpr int RowH = 14;

std::array<int, 3> powerColumns(const BoardTables& board) {
    const QFontMetrics fm(draftFont(11));
    std::array<int, 3> w{fm.horizontalAdvance(QStringLiteral("Поз. обозн.")) + 10,
                         fm.horizontalAdvance(QStringLiteral("+5В")) + 16,
                         fm.horizontalAdvance(QStringLiteral("Общий")) + 16};
    for (const PowerRow& row : powerRows(board)) {
        w[1] = std::max(w[1], fm.horizontalAdvance(row.plus) + 10);
        w[2] = std::max(w[2], fm.horizontalAdvance(row.ground) + 10);
    }
    return w;
}

} // namespace

SheetFrame::SheetFrame(QSize sheet)
    : m_sheet(sheet), m_inner(QPoint(40, 10), QPoint(sheet.width() - 11, sheet.height() - 11)),
      m_title(QPoint(m_inner.right() - 369, m_inner.bottom() - 109), QSize(370, 110)) {}

void SheetFrame::paint(QPainter& p, const QString& designation, const QString& name) const {
    box(p, m_inner, 2);

    // Title block: signatures on the left, designation, name, letter, sheet.
    const QRect& t = m_title;
    const int x = t.left();
    const int y = t.top();
    box(p, t, 2);
    for (int row = 1; row < 11; ++row)
        hline(p, x, x + 130, y + row * 10, row == 5 || row == 6 ? 2 : 1);
    for (int cx : {20, 42, 86, 112})
        vline(p, x + cx, y, y + (cx == 20 ? 60 : 110), 2);
    vline(p, x + 130, y, t.bottom(), 2);
    hline(p, x + 130, t.right(), y + 30, 2);
    hline(p, x + 130, t.right(), y + 80, 2);
    vline(p, x + 270, y + 30, t.bottom(), 2);
    hline(p, x + 270, t.right(), y + 40, 1);
    hline(p, x + 270, t.right(), y + 70, 1);
    for (int cx : {280, 290})
        vline(p, x + cx, y + 40, y + 70, 1);
    vline(p, x + 300, y + 30, y + 70, 1);
    vline(p, x + 330, y + 30, y + 70, 1);
    vline(p, x + 320, y + 70, y + 80, 1);
    const char* heads[] = {"Изм.", "Лист", "№ докум.", "Подп.", "Дата"};
    const int cols[] = {0, 20, 42, 86, 112, 130};
    for (int i = 0; i < 5; ++i)
        text(p, QRect(x + cols[i], y + 50, cols[i + 1] - cols[i], 10), QString::fromUtf8(heads[i]),
             8);
    const char* roles[] = {"Разраб.", "Пров.", "Т.контр.", "Н.контр.", "Утв."};
    for (int i = 0; i < 5; ++i)
        text(p, QRect(x + 2, y + 60 + i * 10, 40, 10), QString::fromUtf8(roles[i]), 8, false,
             Qt::AlignLeft | Qt::AlignVCenter);
    text(p, QRect(x + 130, y, 240, 30), designation, fittingSize(designation, 18, 232, true), true);
    text(p, QRect(x + 132, y + 30, 136, 50), name, 12);
    text(p, QRect(x + 270, y + 30, 30, 10), QStringLiteral("Лит."), 8);
    text(p, QRect(x + 300, y + 30, 30, 10), QStringLiteral("Масса"), 8);
    text(p, QRect(x + 330, y + 30, 40, 10), QStringLiteral("Масштаб"), 8);
    text(p, QRect(x + 330, y + 40, 40, 30), QStringLiteral("—"), 11);
    text(p, QRect(x + 270, y + 70, 50, 10), QStringLiteral("Лист"), 8);
    text(p, QRect(x + 320, y + 70, 50, 10), QStringLiteral("Листов 1"), 8);

    // Designation box, upside down in the upper left corner.
    const QRect turned(m_inner.left(), m_inner.top(), 140, 28);
    box(p, turned, 2);
    turnedText(p, turned, designation, fittingSize(designation, 13, 132, false), 180);

    // Record boxes of the filing margin, from the bottom up.
    const char* records[] = {"Инв. № подл.", "Подп. и дата", "Взам. инв. №", "Инв. № дубл.",
                             "Подп. и дата"};
    const int heights[] = {64, 84, 64, 64, 84};
    int bottom = m_inner.bottom();
    for (int i = 0; i < 5; ++i) {
        const QRect cell(QPoint(16, bottom - heights[i] + 1), QPoint(m_inner.left(), bottom));
        box(p, cell, 2);
        vline(p, 27, cell.top(), cell.bottom(), 1);
        turnedText(p, QRect(QPoint(16, cell.top()), QPoint(27, cell.bottom())),
                   QString::fromUtf8(records[i]), 8, -90);
        bottom = cell.top() - 1;
    }
}

int PowerTable::width(const BoardTables& board) {
    const auto w = powerColumns(board);
    return w[0] + w[1] + w[2];
}

void PowerTable::paint(QPainter& p, const BoardTables& board, QPoint topLeft) {
    const auto w = powerColumns(board);
    const auto rows = powerRows(board);
    const int total = w[0] + w[1] + w[2];
    const int x = topLeft.x();
    const int y = topLeft.y();
    text(p, QRect(x, y - 18, total, 16), QStringLiteral("Цепи питания"), 12, true);
    const int height = RowH * static_cast<int>(rows.size() + 1);
    box(p, QRect(x, y, total + 1, height + 1), 2);
    hline(p, x, x + total, y + RowH, 2);
    for (size_t r = 1; r < rows.size(); ++r)
        hline(p, x, x + total, y + RowH * static_cast<int>(r + 1));
    vline(p, x + w[0], y, y + height, 2);
    vline(p, x + w[0] + w[1], y, y + height, 2);
    text(p, QRect(x, y, w[0], RowH), QStringLiteral("Поз. обозн."), 11);
    text(p, QRect(x + w[0], y, w[1], RowH), QStringLiteral("+5В"), 11);
    text(p, QRect(x + w[0] + w[1], y, w[2], RowH), QStringLiteral("Общий"), 11);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int ry = y + RowH * static_cast<int>(r + 1);
        text(p, QRect(x + 5, ry, w[0] - 5, RowH), rows[r].ref, 11, false,
             Qt::AlignLeft | Qt::AlignVCenter);
        text(p, QRect(x + w[0], ry, w[1], RowH), rows[r].plus, 11);
        text(p, QRect(x + w[0] + w[1], ry, w[2], RowH), rows[r].ground, 11);
    }
    const QString note = QStringLiteral("Числа у линий групповой связи -\nномера цепей.");
    const int noteW =
        QFontMetrics(draftFont(11)).boundingRect(QRect(0, 0, 400, 40), 0, note).width() + 4;
    text(p, QRect(x + total - std::max(total, noteW), y + height + 8, std::max(total, noteW), 32),
         note, 11, false, Qt::AlignLeft | Qt::AlignTop);
}

} // namespace kia::art
