#include "menustyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace kia {

namespace {

// Measured width covers the first 79 characters only, as the item text buffer does.
constexpr int MeasuredChars = 79;

QColor menuColour(const QStyleOption* option) {
    return option->palette.color(QPalette::Window);
}

QString itemText(const QStyleOptionMenuItem* mi) {
    // A shortcut would follow a tab; our items have none but keep to the text part.
    return mi->text.section(u'\t', 0, 0);
}

} // namespace

MenuStyle::MenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int MenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
    switch (metric) {
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuBarItemSpacing:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
        return 0;
    case PM_MenuPanelWidth:
    case PM_MenuBarPanelWidth:
        return 1;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void MenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    if (element == PE_FrameMenu || element == PE_PanelMenu) {
        painter->save();
        if (element == PE_PanelMenu)
            painter->fillRect(option->rect, popupColour());
        painter->setPen(QColor(128, 128, 128));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                  const QWidget* widget) const {
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!mi)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const QFontMetrics fm(mi->font);
    const QString text = itemText(mi).left(MeasuredChars);
    const int textWidth = fm.horizontalAdvance(QString(text).remove(u'&'));
    const int textHeight = fm.height();

    if (type == CT_MenuBarItem)
        return QSize(textWidth + 16, textHeight + 5);
    if (type == CT_MenuItem) {
        if (mi->menuItemType == QStyleOptionMenuItem::Separator)
            return QSize(TextLeft + 10, 5);
        // Text start, the text, and room for a sub-popup arrow.
        return QSize(TextLeft + textWidth + 24, textHeight + 5);
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    switch (element) {
    case CE_MenuItem:
        drawPopupItem(option, painter);
        return;
    case CE_MenuBarItem:
        drawBarItem(option, painter);
        return;
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, menuColour(option));
        return;
    case CE_MenuEmptyArea:
        painter->fillRect(option->rect, popupColour());
        return;
    default:
        QProxyStyle::drawControl(element, option, painter, widget);
    }
}

void MenuStyle::drawBarItem(const QStyleOption* option, QPainter* painter) const {
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!mi)
        return;
    painter->save();
    const QRect r = mi->rect;
    const bool hot = mi->state & State_Selected;
    const bool open = hot && (mi->state & State_Sunken);
    painter->fillRect(r, (hot && !open) ? selectionColour() : menuColour(option));
    if (hot) {
        painter->setPen(Qt::black);
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    painter->setPen((mi->state & State_Enabled) ? QColor(Qt::black) : disabledTextColour());
    painter->setFont(mi->font);
    painter->drawText(r.adjusted(0, 2, 0, 0),
                      Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, itemText(mi));
    painter->restore();
}

void MenuStyle::drawPopupItem(const QStyleOption* option, QPainter* painter) const {
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!mi)
        return;
    painter->save();
    const QRect r = mi->rect;
    painter->fillRect(r, popupColour());
    painter->fillRect(QRect(r.left(), r.top(), StripWidth, r.height()), menuColour(option));

    if (mi->menuItemType == QStyleOptionMenuItem::Separator) {
        painter->setPen(Qt::black);
        painter->drawLine(r.left() + TextLeft, r.top() + 2, r.right(), r.top() + 2);
        painter->restore();
        return;
    }

    const QString text = itemText(mi);
    const bool enabled = mi->state & State_Enabled;
    if ((mi->state & State_Selected) && !text.isEmpty()) {
        painter->fillRect(r, selectionColour());
        painter->setPen(Qt::black);
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }

    const bool checked = mi->checkType != QStyleOptionMenuItem::NotCheckable && mi->checked;
    if (checked) {
        const QRect box(r.left() + 2, r.top() + (r.height() - 16) / 2, 16, 16);
        painter->fillRect(box, selectionColour());
        painter->setPen(Qt::black);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        QPen tick(Qt::black, 2);
        painter->setPen(tick);
        const QPoint o = box.topLeft();
        painter->drawPolyline(
            QList<QPoint>{o + QPoint(5, 7), o + QPoint(8, 10), o + QPoint(12, 3)});
    } else if (!mi->icon.isNull()) {
        const QPixmap pm = mi->icon.pixmap(16, 16, enabled ? QIcon::Normal : QIcon::Disabled);
        painter->drawPixmap(r.left() + IconLeft, r.top() + (r.height() - 16) / 2, pm);
    }

    painter->setFont(mi->font);
    painter->setPen(enabled ? QColor(Qt::black) : disabledTextColour());
    painter->drawText(QRect(r.left() + TextLeft, r.top() + 3, r.width() - TextLeft, r.height() - 3),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine,
                      text);

    if (mi->menuItemType == QStyleOptionMenuItem::SubMenu) {
        const int cx = r.right() - 8;
        const int cy = r.center().y();
        painter->setPen(Qt::NoPen);
        painter->setBrush(enabled ? QColor(Qt::black) : disabledTextColour());
        painter->drawPolygon(
            QPolygon({QPoint(cx - 3, cy - 4), QPoint(cx + 1, cy), QPoint(cx - 3, cy + 4)}));
    }
    painter->restore();
}

} // namespace kia
