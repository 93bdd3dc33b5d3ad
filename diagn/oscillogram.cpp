#include "oscillogram.h"

#include "stepfile.h"

#include "probe/stimulus.h"

#include <algorithm>
#include <span>

namespace kia {

namespace {

// The reason is only put together when the caller asks for it.
template <typename Text>
bool fail(QString* error, Text text) {
    if (error)
        *error = text();
    return false;
}

bool parseSigned(QStringView text, int& value) {
    const QStringView t = text.trimmed();
    if (t.startsWith(QLatin1Char('-'))) {
        if (!parseStepNumber(t.mid(1), value))
            return false;
        value = -value;
        return true;
    }
    return parseStepNumber(t, value);
}

} // namespace

bool parseOscCommand(const QString& line, OscCommand& out, QString* error) {
    out = OscCommand();
    QStringView v;
    if (stepFieldValue(line, u"IN-", v)) {
        const bool read = forEachStepItem(v, [&](QStringView item) {
            int value = 0;
            if (!parseStepNumber(item, value) || value > 255)
                return false;
            out.inputs.append(value);
            return true;
        });
        if (!read)
            return fail(error, [&] { return QStringLiteral("неверное значение IN-: \"%1\"").arg(v); });
    }
    if (stepFieldValue(line, u"OUT-", v)) {
        bool badLength = false;
        const bool read = forEachStepItem(v, [&](QStringView item) {
            const qsizetype colon = item.indexOf(QLatin1Char(':'));
            const QStringView head = (colon < 0 ? item : item.first(colon)).trimmed();
            OscItem it;
            if (head == u"HI")
                it.hi = true;
            else if (!parseStepNumber(head, it.level))
                return false;
            if (colon >= 0 && !parseStepNumber(item.sliced(colon + 1), it.extra)) {
                badLength = true;
                return false;
            }
            out.items.append(it);
            return true;
        });
        if (!read && badLength)
            return fail(error, [&] { return QStringLiteral("неверная длина в OUT-: \"%1\"").arg(v); });
        if (!read)
            return fail(error, [&] { return QStringLiteral("неверное значение OUT-: \"%1\"").arg(v); });
    }
    if (stepFieldValue(line, u"SET-", v)) {
        if (!parseStepNumber(v, out.row) || out.row >= StimulusRoutines::RowCount)
            return fail(error, [&] {
                return QStringLiteral("строка SET-%1 вне таблицы (0..%2)")
                    .arg(v.trimmed())
                    .arg(StimulusRoutines::RowCount - 1);
            });
    }
    if (stepFieldValue(line, u"OSC-", v) && !parseStepNumber(v, out.picture))
        return fail(error, [&] { return QStringLiteral("неверный номер картинки OSC-: \"%1\"").arg(v); });
    if (stepFieldValue(line, u"TIME-", v) && (!parseStepNumber(v, out.timeMs) || out.timeMs < 1))
        return fail(error, [&] { return QStringLiteral("неверный период TIME-: \"%1\"").arg(v); });
    if (stepFieldValue(line, u"SYNC-", v)) {
        if (!parseStepNumber(v, out.sync) || out.sync >= out.items.size())
            return fail(error, [&] {
                return QStringLiteral("SYNC- указывает на отсутствующий элемент: \"%1\"").arg(v);
            });
    }
    if (stepFieldValue(line, u"LIM-", v)) {
        out.hasBands = true;
        QStringView bad;
        const bool read = forEachStepItem(v, [&](QStringView pair) {
            const qsizetype colon = pair.indexOf(QLatin1Char(':'));
            OscBand band;
            if (colon < 0 || !parseSigned(pair.first(colon), band.top)
                || !parseSigned(pair.sliced(colon + 1), band.bottom)) {
                bad = pair;
                return false;
            }
            out.bands.append(band);
            return true;
        });
        if (!read)
            return fail(error, [&] { return QStringLiteral("неверная полоса LIM-: \"%1\"").arg(bad); });
    }
    if (stepFieldValue(line, u"NULL-", v)) {
        if (!parseStepNumber(v, out.zeroLine) || out.zeroLine > 1)
            return fail(error, [&] { return QStringLiteral("NULL- бывает 0 или 1: \"%1\"").arg(v); });
    }
    if (stepFieldValue(line, u"CON-", v))
        out.connectTo = v.trimmed().toString();
    return true;
}

void oscScale(const QList<OscItem>& items, int zeroLine, Oscillogram& out) {
    // The zero line is always on the screen, so the span runs from it.
    int low = 0;
    int high = 0;
    for (const OscItem& it : items) {
        if (it.hi)
            continue;
        low = std::min(low, it.level);
        high = std::max(high, it.level);
    }
    const int span = high - low;
    int byScale = 90;
    if (span <= 29) {
        out.scaleText = QStringLiteral("0.5v/дел.");
        out.pixelsPerTenth = 3;
    } else if (span <= 69) {
        out.scaleText = QStringLiteral("1.0v/дел.");
        out.pixelsPerTenth = 1.5;
    } else if (span < 127) {
        out.scaleText = QStringLiteral("2.0v/дел.");
        out.pixelsPerTenth = 0.75;
        byScale = 105;
    } else {
        out.scaleText = QStringLiteral("5.0v/дел.");
        out.pixelsPerTenth = 0.3;
    }
    out.zeroY = zeroLine == 0 ? 105 : zeroLine == 1 ? 90 : byScale;
}

int oscStartItem(const OscCommand& c) {
    if (c.sync >= 0 && c.sync < c.items.size())
        return c.sync;
    bool any = false;
    int lowest = 0;
    for (const OscItem& it : c.items) {
        if (!it.hi && (!any || it.level < lowest)) {
            lowest = it.level;
            any = true;
        }
    }
    for (int i = 1; i < c.items.size(); ++i) {
        const OscItem& prev = c.items[i - 1];
        const OscItem& it = c.items[i];
        if (!it.hi && it.level == lowest && (prev.hi || prev.level != lowest))
            return i;
    }
    return 0;
}

Oscillogram buildOscillogram(const OscCommand& c, int rowStep, const QString& rowTimeText) {
    Oscillogram o;
    oscScale(c.items, c.zeroLine, o);

    // The scale's own bands unless the command line sets them.
    static constexpr OscBand kHalfVolt[] = {{4, -5}, {10, 6}};
    static constexpr OscBand kOneVolt[] = {{8, -5}, {53, 35}};
    static constexpr OscBand kTwoVolts[] = {{18, -5}, {140, 110}};
    std::span<const OscBand> bands(c.bands.constData(), size_t(c.bands.size()));
    if (!c.hasBands) {
        if (o.scaleText.startsWith(QLatin1String("0.5")))
            bands = kHalfVolt;
        else if (o.scaleText.startsWith(QLatin1String("1.0")))
            bands = kOneVolt;
        else if (o.scaleText.startsWith(QLatin1String("2.0")))
            bands = kTwoVolts;
    }
    o.bands.reserve(qsizetype(bands.size()));
    for (const OscBand& b : bands)
        o.bands.append({o.yOf(b.top), o.yOf(b.bottom)});

    if (c.items.size() <= 1) {
        o.label = o.scaleText;
    } else {
        const QStringView between = u" - ";
        const QStringView perDivision = u"/дел.";
        o.label.reserve(o.scaleText.size() + between.size() + rowTimeText.size() + perDivision.size());
        o.label.append(o.scaleText).append(between).append(rowTimeText).append(perDivision);
    }

    if (c.items.isEmpty())
        return o;
    o.startItem = oscStartItem(c);
    // One allocation per kind of line: at most 64 steps.
    bool anyHi = false;
    int levels = 0; // different levels among the items, counted up to 2
    int firstLevel = 0;
    for (const OscItem& it : c.items) {
        if (it.hi) {
            anyHi = true;
        } else if (levels == 0) {
            levels = 1;
            firstLevel = it.level;
        } else if (it.level != firstLevel) {
            levels = 2;
        }
    }
    if (levels > 0)
        o.levelSegments.reserve(64);
    if (levels > 1)
        o.edges.reserve(64);
    // Zig-zags are written through a pointer into room for all of them (two
    // pixels each across the picture, plus one part-line per step) and cut to
    // their number at the end.
    constexpr qsizetype zigzagRoom = Oscillogram::Width + 64;
    qsizetype zigzagCount = 0;
    QLineF* zigzag = nullptr;
    if (anyHi) {
        o.zigzags.resize(zigzagRoom);
        zigzag = o.zigzags.data();
    }
    const int step = c.row >= 0 ? rowStep : 10000;
    const double right = Oscillogram::Width - 1;
    qint64 xTenths = 0;
    double prevY = o.zeroY;
    bool first = true;
    const OscItem* items = c.items.constData();
    const qsizetype itemCount = c.items.size();
    for (int i = 0; i < 64; ++i) {
        const OscItem& it = items[(o.startItem + i) % itemCount];
        const qint64 length = step + qint64(it.extra) * step / 9;
        const double x0 = xTenths / 10.0;
        if (x0 >= right)
            break;
        const double x1 = std::min(right, (xTenths + length) / 10.0);
        if (it.hi) {
            // No defined level: a thin zig-zag around the last one.
            bool up = true;
            for (double x = x0; x < x1 && zigzagCount < zigzagRoom; x += 2) {
                const double nx = std::min(x1, x + 2);
                zigzag[zigzagCount++] = QLineF(x, prevY + (up ? 3 : -3), nx, prevY + (up ? -3 : 3));
                up = !up;
            }
        } else {
            const double y = o.yOf(it.level);
            if (!first && y != prevY)
                o.edges.append(QLineF(x0, prevY, x0, y));
            o.levelSegments.append(QLineF(x0, y, x1, y));
            prevY = y;
        }
        first = false;
        xTenths += length;
    }
    if (anyHi)
        o.zigzags.resize(zigzagCount);
    return o;
}

} // namespace kia
