#pragma once

#include "boardtests/indicatortext.h"

#include <QColor>
#include <QWidget>

namespace kia {

/// The on-screen indicator: 2 rows of 8 characters of 5 × 8 dots drawn from
/// an IndicatorScreen (what the workstation believes the indicator shows, or
/// on the simulated bench what the simulated indicator holds), lit dots in
/// light green on a green background that follows the backlight, and the
/// cursor as the lit bottom dot row of its position. UI thread only.
class CIndicatorWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 5;
    static constexpr int Rows = 8;

    explicit CIndicatorWidget(QWidget* parent = nullptr);

    void setScreen(const IndicatorScreen& screen);
    const IndicatorScreen& screen() const { return m_screen; }
    /// Colours as Windows colour values (0x00BBGGRR), as the test names them.
    void setBackground(quint32 windowsColour);
    void setDotColour(quint32 windowsColour);
    QColor background() const { return m_background; }
    QColor dotColour() const { return m_dot; }
    /// The cursor's position 0..15 and whether it is shown now (−1: none).
    void setCursor(int position, bool shown);

    /// Whether the dot (row 0..7 from the top, column 0..4 from the left) of
    /// screen position 0..15 is lit; out-of-range arguments are dark.
    bool dotLit(int position, int row, int column) const;
    /// The dot rows of a position as they are drawn (cursor included).
    IndicatorGlyph drawnRows(int position) const;

    static QColor fromWindowsColour(quint32 bgr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    IndicatorScreen m_screen;
    QColor m_background;
    QColor m_dot;
    int m_cursor = -1;
    bool m_cursorShown = false;
};

} // namespace kia
