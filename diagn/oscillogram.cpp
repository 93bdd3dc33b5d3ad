#include "oscillogram.h"

#include "stepfile.h"

#include "probe/stimulus.h"

#include <algorithm>

namespace kia {

namespace {

bool fail(QString* error, const QString& text) {
    if (error)
        *error = text;
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
        for (QStringView item : v.split(QLatin1Char(','))) {
            int value = 0;
            if (!parseStepNumber(item, value) || value > 255)
                return fail(error, QStringLiteral("неверное значение IN-: \"%1\"").arg(v));
            out.inputs.append(value);
        }
    }
    if (stepFieldValue(line, u"OUT-", v)) {
        for (QStringView item : v.split(QLatin1Char(','))) {
            const qsizetype colon = item.indexOf(QLatin1Char(':'));
            const QStringView head = (colon < 0 ? item : item.left(colon)).trimmed();
            OscItem it;
            if (head == u"HI")
                it.hi = true;
            else if (!parseStepNumber(head, it.level))
                return fail(error, QStringLiteral("неверное значение OUT-: \"%1\"").arg(v));
            if (colon >= 0 && !parseStepNumber(item.mid(colon + 1), it.extra))
                return fail(error, QStringLiteral("неверная длина в OUT-: \"%1\"").arg(v));
            out.items.append(it);
        }
    }
    if (stepFieldValue(line, u"SET-", v)) {
        if (!parseStepNumber(v, out.row) || out.row >= StimulusRoutines::RowCount)
            return fail(error, QStringLiteral("строка SET-%1 вне таблицы (0..%2)")
                                   .arg(v.trimmed()).arg(StimulusRoutines::RowCount - 1));
    }
    if (stepFieldValue(line, u"OSC-", v) && !parseStepNumber(v, out.picture))
        return fail(error, QStringLiteral("неверный номер картинки OSC-: \"%1\"").arg(v));
    if (stepFieldValue(line, u"TIME-", v) && (!parseStepNumber(v, out.timeMs) || out.timeMs < 1))
        return fail(error, QStringLiteral("неверный период TIME-: \"%1\"").arg(v));
    if (stepFieldValue(line, u"SYNC-", v)) {
        if (!parseStepNumber(v, out.sync) || out.sync >= out.items.size())
            return fail(error, QStringLiteral("SYNC- указывает на отсутствующий элемент: \"%1\"").arg(v));
    }
    if (stepFieldValue(line, u"LIM-", v)) {
        out.hasBands = true;
        for (QStringView pair : v.split(QLatin1Char(','))) {
            const qsizetype colon = pair.indexOf(QLatin1Char(':'));
            OscBand band;
            if (colon < 0 || !parseSigned(pair.left(colon), band.top)
                || !parseSigned(pair.mid(colon + 1), band.bottom))
                return fail(error, QStringLiteral("неверная полоса LIM-: \"%1\"").arg(pair));
            out.bands.append(band);
        }
    }
    if (stepFieldValue(line, u"NULL-", v)) {
        if (!parseStepNumber(v, out.zeroLine) || out.zeroLine > 1)
            return fail(error, QStringLiteral("NULL- бывает 0 или 1: \"%1\"").arg(v));
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

    QList<OscBand> bands = c.bands;
    if (!c.hasBands) {
        if (o.scaleText.startsWith(QLatin1String("0.5")))
            bands = {{4, -5}, {10, 6}};
        else if (o.scaleText.startsWith(QLatin1String("1.0")))
            bands = {{8, -5}, {53, 35}};
        else if (o.scaleText.startsWith(QLatin1String("2.0")))
            bands = {{18, -5}, {140, 110}};
    }
    for (const OscBand& b : bands)
        o.bands.append({o.yOf(b.top), o.yOf(b.bottom)});

    o.label = c.items.size() <= 1 ? o.scaleText
                                  : o.scaleText + QStringLiteral(" - ") + rowTimeText + QStringLiteral("/дел.");

    if (c.items.isEmpty())
        return o;
    o.startItem = oscStartItem(c);
    const int step = c.row >= 0 ? rowStep : 10000;
    const double right = Oscillogram::Width - 1;
    qint64 xTenths = 0;
    double prevY = o.zeroY;
    bool first = true;
    for (int i = 0; i < 64; ++i) {
        const OscItem& it = c.items[(o.startItem + i) % c.items.size()];
        const qint64 length = step + qint64(it.extra) * step / 9;
        const double x0 = xTenths / 10.0;
        if (x0 >= right)
            break;
        const double x1 = std::min(right, (xTenths + length) / 10.0);
        if (it.hi) {
            // No defined level: a thin zig-zag around the last one.
            bool up = true;
            for (double x = x0; x < x1; x += 2) {
                const double nx = std::min(x1, x + 2);
                o.zigzags.append(QLineF(x, prevY + (up ? 3 : -3), nx, prevY + (up ? -3 : 3)));
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
    return o;
}

} // namespace kia
