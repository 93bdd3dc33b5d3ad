#include "indicatorwidget.h"

#include "boardtests/segmenttest.h"

#include <QPainter>

namespace kia {

namespace {
constexpr int kDot = 4;       // a dot and its gap, in pixels
constexpr int kCellGap = 6;   // between characters
constexpr int kRowGap = 10;   // between the two rows
constexpr int kMargin = 12;
constexpr int kPositionsPerRow = 8;
} // namespace

CIndicatorWidget::CIndicatorWidget(QWidget* parent)
    : QWidget(parent), m_background(fromWindowsColour(SegmentTest::Background)),
      m_dot(fromWindowsColour(SegmentTest::DotColour)) {
    setObjectName(QStringLiteral("indicatorWidget"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor CIndicatorWidget::fromWindowsColour(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void CIndicatorWidget::setScreen(const IndicatorScreen& screen) {
    m_screen = screen;
    update();
}

void CIndicatorWidget::setBackground(quint32 windowsColour) {
    m_background = fromWindowsColour(windowsColour);
    update();
}

void CIndicatorWidget::setDotColour(quint32 windowsColour) {
    m_dot = fromWindowsColour(windowsColour);
    update();
}

void CIndicatorWidget::setCursor(int position, bool shown) {
    m_cursor = position >= 0 && position < 16 ? position : -1;
    m_cursorShown = shown;
    update();
}

IndicatorGlyph CIndicatorWidget::drawnRows(int position) const {
    if (position < 0 || position >= 16)
        return IndicatorGlyph{};
    IndicatorGlyph rows = m_screen.glyphAt(position);
    if (position == m_cursor && m_cursorShown)
        rows[Rows - 1] = 0x1F; // the cursor line under the character
    return rows;
}

bool CIndicatorWidget::dotLit(int position, int row, int column) const {
    if (row < 0 || row >= Rows || column < 0 || column >= Columns)
        return false;
    const IndicatorGlyph rows = drawnRows(position);
    return (rows[static_cast<size_t>(row)] >> (Columns - 1 - column)) & 1;
}

QSize CIndicatorWidget::sizeHint() const {
    const int cellW = Columns * kDot;
    const int cellH = Rows * kDot;
    return QSize(2 * kMargin + kPositionsPerRow * cellW + (kPositionsPerRow - 1) * kCellGap,
                 2 * kMargin + 2 * cellH + kRowGap);
}

void CIndicatorWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_background);
    const int cellW = Columns * kDot + kCellGap;
    const int cellH = Rows * kDot + kRowGap;
    for (int pos = 0; pos < 16; ++pos) {
        const int x0 = kMargin + (pos % kPositionsPerRow) * cellW;
        const int y0 = kMargin + (pos / kPositionsPerRow) * cellH;
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Columns; ++c) {
                if (dotLit(pos, r, c))
                    p.fillRect(x0 + c * kDot, y0 + r * kDot, kDot - 1, kDot - 1, m_dot);
            }
        }
    }
}

} // namespace kia
