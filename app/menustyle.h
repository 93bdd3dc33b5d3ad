#pragma once

#include <QProxyStyle>

namespace kia {

/// The owner-drawn look of the main menu: pale yellow popups with a grey
/// strip on the left, lilac selection with a black frame, a tick box for
/// checked items, 16 x 16 icons left of the text, grey disabled text; menu bar
/// items lilac when hot and framed when open. Set on the menu bar and on every
/// popup by the main frame, which owns it. UI thread.
class MenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    static QColor selectionColour() { return QColor(189, 189, 206); }
    static QColor popupColour() { return QColor(252, 254, 216); }
    static QColor disabledTextColour() { return QColor(170, 170, 170); }
    /// Text start and icon offset within a popup item.
    static constexpr int TextLeft = 25;
    static constexpr int IconLeft = TextLeft - 23;
    static constexpr int StripWidth = 21;

    MenuStyle();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    void drawPopupItem(const QStyleOption* option, QPainter* painter) const;
    void drawBarItem(const QStyleOption* option, QPainter* painter) const;
};

} // namespace kia
