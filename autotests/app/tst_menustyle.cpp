// The owner-drawn menu look: single menu items painted through the style into
// an image, checked pixel by pixel against the colours and offsets the main
// window's menu must have.
#include "app/menustyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTest>

using namespace kia;

namespace {

const QColor Menu(230, 200, 170); // the platform's menu colour in these tests
const QColor Popup(252, 254, 216);
const QColor Selection(189, 189, 206);
const QColor Black(0, 0, 0);
const QColor DisabledText(170, 170, 170);
const QColor IconColour(0, 120, 255);
const QColor Untouched(1, 2, 3); // image outside the item

constexpr int PopupWidth = 200;
constexpr int BarWidth = 90;
constexpr int TextLeft = 25;
constexpr int TextTop = 3;
constexpr int StripWidth = 21;
// Items are painted away from the image origin, as they are inside a menu.
const QPoint Origin(10, 7);
const QSize ImageSize(PopupWidth + 20, 60);

enum Kind { PopupItem, BarItem, SeparatorItem };

struct Probe {
    QPoint at; // relative to the item; negative x/y count from the right/bottom
    QColor colour;
};

QFont testFont() {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    // Plain pixels, so that text ink has exactly the pen colour.
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

int itemHeight() {
    return QFontMetrics(testFont()).height() + 5;
}

QIcon solidIcon() {
    QPixmap pm(16, 16);
    pm.fill(IconColour);
    return QIcon(pm);
}

QStyleOptionMenuItem makeOption(Kind kind, QStyle::State state, const QString& text) {
    QStyleOptionMenuItem opt;
    opt.state = state;
    opt.font = testFont();
    opt.palette.setColor(QPalette::Window, Menu);
    opt.text = text;
    opt.checkType = QStyleOptionMenuItem::NotCheckable;
    opt.menuItemType =
        kind == SeparatorItem ? QStyleOptionMenuItem::Separator : QStyleOptionMenuItem::Normal;
    opt.rect = QRect(Origin, QSize(kind == BarItem ? BarWidth : PopupWidth, itemHeight()));
    return opt;
}

QImage render(const QStyleOptionMenuItem& opt, Kind kind) {
    static MenuStyle style;
    QImage img(ImageSize, QImage::Format_RGB32);
    img.fill(Untouched);
    QPainter p(&img);
    style.drawControl(kind == BarItem ? QStyle::CE_MenuBarItem : QStyle::CE_MenuItem, &opt, &p);
    p.end();
    return img;
}

/// Item-relative pixel of `img`.
QColor at(const QImage& img, const QRect& item, QPoint pt) {
    if (pt.x() < 0)
        pt.rx() += item.width();
    if (pt.y() < 0)
        pt.ry() += item.height();
    return img.pixelColor(item.topLeft() + pt);
}

/// Bounding box, item-relative, of the pixels of `colour` within `area` (item-relative).
QRect inkBox(const QImage& img, const QRect& item, const QRect& area, const QColor& colour) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (img.pixelColor(item.topLeft() + QPoint(x, y)) == colour)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

/// Where the text ink belongs: the item's text drawn black at `textRect` in a blank image.
QRect expectedInk(const QString& text, const QRect& textRect, Qt::Alignment align) {
    QImage ref(ImageSize, QImage::Format_RGB32);
    ref.fill(Qt::white);
    QPainter p(&ref);
    p.setFont(testFont());
    p.setPen(Qt::black);
    p.drawText(textRect, int(align) | Qt::TextSingleLine, text);
    p.end();
    return inkBox(ref, QRect(QPoint(0, 0), ImageSize), QRect(QPoint(0, 0), ImageSize), Black);
}

QString name(const QColor& c) {
    return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

/// Nothing is painted outside the item's rectangle.
bool staysInside(const QImage& img, const QRect& item) {
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (!item.contains(x, y) && img.pixelColor(x, y) != Untouched)
                return false;
        }
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Probe)

class TestMenuStyle : public QObject {
    Q_OBJECT
private slots:
    void looks_data();
    void looks();
    void tickBox_data();
    void tickBox();
    void separatorLine();
    void iconLeftOfText_data();
    void iconLeftOfText();
    void measure_data();
    void measure();
};

void TestMenuStyle::looks_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("state");
    QTest::addColumn<QList<Probe>>("probes");
    QTest::addColumn<QColor>("textColour");

    const int on = QStyle::State_Enabled;
    const int selected = QStyle::State_Enabled | QStyle::State_Selected;
    const int h = itemHeight();
    const int midY = h / 2;

    // Pale popup with the menu-coloured strip of 21 pixels on the left.
    const QList<Probe> plainPopup{
        {{0, 0}, Menu},
        {{20, 0}, Menu},
        {{0, -1}, Menu},
        {{20, -1}, Menu},
        {{10, midY}, Menu},
        {{21, 0}, Popup},
        {{21, -1}, Popup},
        {{22, midY}, Popup},
        {{-1, 0}, Popup},
        {{-1, -1}, Popup},
        {{-30, midY}, Popup},
        {{PopupWidth / 2, 0}, Popup},
        {{PopupWidth / 2, -1}, Popup},
    };
    // Selection over the whole width, strip included, inside a black frame.
    const QList<Probe> selectedPopup{
        {{0, 0}, Black},       {{-1, 0}, Black},
        {{0, -1}, Black},      {{-1, -1}, Black},
        {{0, midY}, Black},    {{-1, midY}, Black},
        {{10, 0}, Black},      {{PopupWidth / 2, -1}, Black},
        {{1, 1}, Selection},   {{10, midY}, Selection},
        {{20, 1}, Selection},  {{21, -2}, Selection},
        {{-2, -2}, Selection}, {{-30, midY}, Selection},
    };

    QTest::newRow("popup item") << int(PopupItem) << on << plainPopup << Black;
    QTest::newRow("selected popup item") << int(PopupItem) << selected << selectedPopup << Black;
    QTest::newRow("disabled popup item") << int(PopupItem) << 0 << plainPopup << DisabledText;

    // Menu bar: menu colour; hot lilac in a black frame; open keeps the menu colour, framed.
    const QList<Probe> plainBar{
        {{0, 0}, Menu}, {{-1, 0}, Menu}, {{0, -1}, Menu}, {{-1, -1}, Menu}, {{1, midY}, Menu},
    };
    const auto framedBar = [&](const QColor& fill) {
        return QList<Probe>{
            {{0, 0}, Black},
            {{-1, 0}, Black},
            {{0, -1}, Black},
            {{-1, -1}, Black},
            {{0, midY}, Black},
            {{-1, midY}, Black},
            {{BarWidth / 2, 0}, Black},
            {{BarWidth / 2, -1}, Black},
            {{1, 1}, fill},
            {{-2, -2}, fill},
            {{1, midY}, fill},
            {{-2, midY}, fill},
        };
    };
    QTest::newRow("bar item") << int(BarItem) << on << plainBar << Black;
    QTest::newRow("hot bar item") << int(BarItem) << selected << framedBar(Selection) << Black;
    QTest::newRow("open bar item")
        << int(BarItem) << int(selected | QStyle::State_Sunken) << framedBar(Menu) << Black;
}

void TestMenuStyle::looks() {
    QFETCH(int, kind);
    QFETCH(int, state);
    QFETCH(QList<Probe>, probes);
    QFETCH(QColor, textColour);

    // A bar item is as wide as its title; a popup item is wider than its text.
    const QString text =
        kind == BarItem ? QStringLiteral("Сервис") : QStringLiteral("Тест таймера");
    const QStyleOptionMenuItem opt = makeOption(Kind(kind), QStyle::State(state), text);
    const QImage img = render(opt, Kind(kind));
    const QRect item = opt.rect;
    QVERIFY(staysInside(img, item));

    for (const Probe& probe : probes) {
        const QColor got = at(img, item, probe.at);
        QVERIFY2(got == probe.colour, qPrintable(QStringLiteral("at (%1,%2): %3, expected %4")
                                                     .arg(probe.at.x())
                                                     .arg(probe.at.y())
                                                     .arg(name(got), name(probe.colour))));
    }

    // The text: in its colour, at its place; no ink of the other colour.
    const QRect inside(1, 1, item.width() - 2, item.height() - 2);
    const QRect textArea = kind == BarItem ? inside : inside.adjusted(StripWidth - 1, 0, 0, 0);
    const QRect expected =
        kind == BarItem
            ? expectedInk(text, QRect(0, 2, item.width(), item.height() - 2),
                          Qt::AlignHCenter | Qt::AlignTop)
            : expectedInk(text, QRect(TextLeft, TextTop, item.width() - TextLeft, item.height()),
                          Qt::AlignLeft | Qt::AlignTop);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(inkBox(img, item, textArea, textColour), expected);
    const QColor other = textColour == Black ? DisabledText : Black;
    QVERIFY(inkBox(img, item, textArea, other).isEmpty());

    if (kind == BarItem) {
        // Centred across the item.
        QVERIFY(qAbs(expected.left() - (item.width() - 1 - expected.right())) <= 1);
    } else {
        QVERIFY(expected.left() >= TextLeft && expected.left() <= TextLeft + 2);
        QVERIFY(expected.top() >= TextTop);
    }
}

void TestMenuStyle::tickBox_data() {
    QTest::addColumn<int>("checkType");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("state");
    const int on = QStyle::State_Enabled;
    QTest::newRow("checked") << int(QStyleOptionMenuItem::NonExclusive) << true << on;
    QTest::newRow("checked, one of a group") << int(QStyleOptionMenuItem::Exclusive) << true << on;
    QTest::newRow("checked, disabled") << int(QStyleOptionMenuItem::Exclusive) << true << 0;
    QTest::newRow("checkable, not checked")
        << int(QStyleOptionMenuItem::NonExclusive) << false << on;
    QTest::newRow("one of a group, not checked")
        << int(QStyleOptionMenuItem::Exclusive) << false << on;
}

void TestMenuStyle::tickBox() {
    QFETCH(int, checkType);
    QFETCH(bool, checked);
    QFETCH(int, state);

    QStyleOptionMenuItem opt =
        makeOption(PopupItem, QStyle::State(state), QStringLiteral("Схема расположения"));
    opt.checkType = QStyleOptionMenuItem::CheckType(checkType);
    opt.checked = checked;
    // A bigger row than usual, so that a box in any place at the left fits.
    opt.rect.setHeight(24);
    const QImage img = render(opt, PopupItem);
    const QRect item = opt.rect;
    QVERIFY(staysInside(img, item));

    const QRect strip(0, 0, StripWidth, item.height());
    const QRect frame = inkBox(img, item, strip, Black);
    if (!checked) {
        // Nothing but the strip.
        QVERIFY(frame.isEmpty());
        QVERIFY(inkBox(img, item, strip, Selection).isEmpty());
        return;
    }

    // A 16 x 16 box at the left, framed black.
    QCOMPARE(frame.size(), QSize(16, 16));
    const QPoint o = frame.topLeft();
    auto px = [&](int x, int y) { return at(img, item, o + QPoint(x, y)); };
    for (int k = 0; k < 16; ++k) {
        QCOMPARE(px(k, 0), Black);
        QCOMPARE(px(k, 15), Black);
        QCOMPARE(px(0, k), Black);
        QCOMPARE(px(15, k), Black);
    }
    QVERIFY(px(-1, 8) != Black && px(16, 8) != Black);
    // Lilac fill away from the tick.
    for (const QPoint& p : {QPoint(1, 1), QPoint(2, 2), QPoint(1, 14), QPoint(3, 12),
                            QPoint(12, 12), QPoint(14, 14), QPoint(14, 1), QPoint(8, 2)}) {
        QVERIFY2(px(p.x(), p.y()) == Selection, qPrintable(name(px(p.x(), p.y()))));
    }
    // The tick: (5, 7) down to (8, 10), up to (12, 3), 2 pixels wide.
    for (const QPoint& p :
         {QPoint(5, 7), QPoint(6, 8), QPoint(7, 9), QPoint(8, 10), QPoint(10, 6), QPoint(11, 4)}) {
        QVERIFY2(px(p.x(), p.y()) == Black,
                 qPrintable(QStringLiteral("tick at (%1,%2)").arg(p.x()).arg(p.y())));
    }
    // Its ends and its bottom: a 2-pixel stroke through those points reaches one
    // pixel either side of them, and no further.
    QRect tick;
    for (int y = 1; y < 15; ++y) {
        for (int x = 1; x < 15; ++x) {
            if (px(x, y) == Black)
                tick |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY2(tick.left() >= 4 && tick.left() <= 5, "left end (5, 7)");
    QVERIFY2(tick.right() >= 11 && tick.right() <= 12, "right end (12, 3)");
    QVERIFY2(tick.top() >= 2 && tick.top() <= 3, "right end (12, 3)");
    QVERIFY2(tick.bottom() >= 9 && tick.bottom() <= 10, "bottom (8, 10)");
    int column = 0;
    for (int y = 1; y < 15; ++y)
        column += px(6, y) == Black ? 1 : 0;
    QVERIFY2(column >= 2, "the tick is thinner than 2 pixels");

    // The text keeps its place after the box.
    const QColor textColour = (state & QStyle::State_Enabled) ? Black : DisabledText;
    const QRect inkArea(StripWidth, 0, item.width() - StripWidth, item.height());
    QCOMPARE(inkBox(img, item, inkArea, textColour),
             expectedInk(opt.text, QRect(TextLeft, TextTop, item.width() - TextLeft, 99),
                         Qt::AlignLeft | Qt::AlignTop));
}

void TestMenuStyle::separatorLine() {
    QStyleOptionMenuItem opt = makeOption(SeparatorItem, QStyle::State_Enabled, QString());
    opt.rect.setHeight(9);
    const QImage img = render(opt, SeparatorItem);
    const QRect item = opt.rect;
    QVERIFY(staysInside(img, item));

    const QColor line = at(img, item, {TextLeft, 2});
    QVERIFY(line != Popup && line != Menu);
    for (int y = 0; y < item.height(); ++y) {
        for (int x = 0; x < item.width(); ++x) {
            QColor expected = Popup;
            if (x < StripWidth)
                expected = Menu;
            else if (y == 2 && x >= TextLeft)
                expected = line;
            const QColor got = at(img, item, {x, y});
            QVERIFY2(got == expected, qPrintable(QStringLiteral("at (%1,%2): %3, expected %4")
                                                     .arg(x)
                                                     .arg(y)
                                                     .arg(name(got), name(expected))));
        }
    }
}

void TestMenuStyle::iconLeftOfText_data() {
    QTest::addColumn<int>("state");
    QTest::newRow("item with icon") << int(QStyle::State_Enabled);
    QTest::newRow("selected item with icon") << int(QStyle::State_Enabled | QStyle::State_Selected);
}

void TestMenuStyle::iconLeftOfText() {
    QFETCH(int, state);
    QStyleOptionMenuItem opt =
        makeOption(PopupItem, QStyle::State(state), QStringLiteral("Тест клавиатуры"));
    opt.icon = solidIcon();
    opt.maxIconWidth = 16;
    const QImage img = render(opt, PopupItem);
    const QRect item = opt.rect;
    QVERIFY(staysInside(img, item));

    // The whole 16 x 16 icon, its left edge 23 pixels before the text start.
    const QRect icon = inkBox(img, item, QRect(QPoint(0, 0), item.size()), IconColour);
    QCOMPARE(icon.size(), QSize(16, 16));
    QCOMPARE(icon.left(), TextLeft - 23);
    QVERIFY(icon.top() >= 0 && icon.bottom() < item.height());

    const QRect textArea(StripWidth, 1, item.width() - StripWidth - 1, item.height() - 2);
    QCOMPARE(inkBox(img, item, textArea, Black),
             expectedInk(opt.text, QRect(TextLeft, TextTop, item.width() - TextLeft, 99),
                         Qt::AlignLeft | Qt::AlignTop));
}

void TestMenuStyle::measure_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("measuredAs"); // the text whose width counts
    const QString short_ = QStringLiteral("Тест ОЗУ");
    // Only the first 79 characters count; the wide tail is left out.
    const QString first79 = QString(79, u'i');
    const QString long_ = first79 + QString(30, u'W');
    QTest::newRow("popup item") << int(PopupItem) << short_ << short_;
    QTest::newRow("popup item, long text") << int(PopupItem) << long_ << first79;
    QTest::newRow("bar item") << int(BarItem) << QStringLiteral("&Вид") << QStringLiteral("&Вид");
    QTest::newRow("bar item, long text") << int(BarItem) << long_ << first79;
}

void TestMenuStyle::measure() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, measuredAs);
    MenuStyle style;
    const QStyle::ContentsType type =
        kind == BarItem ? QStyle::CT_MenuBarItem : QStyle::CT_MenuItem;
    QStyleOptionMenuItem opt = makeOption(Kind(kind), QStyle::State_Enabled, text);
    const QSize size = style.sizeFromContents(type, &opt, QSize(1, 1));
    opt.text = measuredAs;
    const QSize reference = style.sizeFromContents(type, &opt, QSize(1, 1));

    const QFontMetrics fm(testFont());
    QCOMPARE(size.height(), fm.height() + 5);
    QCOMPARE(size, reference);
    // Room for the text (from its start, in a popup).
    const int textWidth = fm.horizontalAdvance(QString(measuredAs).remove(u'&'));
    QVERIFY(size.width() >= textWidth + (kind == BarItem ? 0 : TextLeft));
    if (measuredAs != text)
        QVERIFY(size.width() < fm.horizontalAdvance(text));
}

QTEST_MAIN(TestMenuStyle)
#include "tst_menustyle.moc"
