#include "schematicpainter.h"

#include "artkit.h"
#include "sheetframe.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <map>

namespace kia::art {

namespace {

constexpr int ChipPitch = 13;
constexpr int HeaderPitch = 12;
constexpr int PinLen = 24;
constexpr int HeaderPinLen = 16;
constexpr int GroupGap = 8;
constexpr int BodyPad = 7;
constexpr int MinStub = 36;
constexpr int MaxStub = 84;
constexpr int Merge = 6;
constexpr int MinPartGap = 30;
constexpr int MaxPartGap = 56;

struct Slot {
    int number = 0;
    int y = 0; // from the top of the body
    bool left = true;
};

// One part's symbol: chips are three-field function blocks, connectors are
// contact tables with the pins on the left.
struct Symbol {
    const PlacedPart* part = nullptr;
    bool header = false;
    int leftW = 0;
    int funcW = 0;
    int rightW = 0;
    int width = 0;
    int height = 0;
    std::vector<Slot> pinSlots;
    std::vector<std::pair<bool, int>> separators; // (left field?, y)
    QPoint topLeft;

    bool hasRight() const {
        return std::any_of(pinSlots.begin(), pinSlots.end(), [](const Slot& s) { return !s.left; });
    }
    int leftPinEnd() const { return topLeft.x() - (header ? HeaderPinLen : PinLen); }
    int rightPinEnd() const { return topLeft.x() + width + PinLen; }
    int rightExtent() const { return hasRight() ? rightPinEnd() : topLeft.x() + width; }
};

QFont labelFont() {
    return draftFont(11);
}
QFont numberFont() {
    return draftFont(10);
}
QFont titleFont() {
    return draftFont(12, true);
}

int sideSlots(const std::vector<std::vector<int>>& groups, bool left, std::vector<Slot>* pinSlots,
              std::vector<std::pair<bool, int>>* separators) {
    int cursor = BodyPad;
    for (size_t g = 0; g < groups.size(); ++g) {
        for (int number : groups[g]) {
            pinSlots->push_back({number, cursor + ChipPitch / 2, left});
            cursor += ChipPitch;
        }
        if (g + 1 < groups.size()) {
            separators->emplace_back(left, cursor + GroupGap / 2 - 1);
            cursor += GroupGap;
        }
    }
    return cursor + BodyPad;
}

Symbol measure(const PlacedPart& part) {
    Symbol sym;
    sym.part = &part;
    const QFontMetrics lm(labelFont());
    const PartDef& def = part.def;
    if (def.package == Package::Header) {
        sym.header = true;
        sym.leftW = 22;
        int nameW = 44;
        for (const PinDef& pin : def.pins)
            nameW = std::max(nameW, lm.horizontalAdvance(pin.label) + 10);
        sym.rightW = nameW;
        sym.width = sym.leftW + sym.rightW;
        for (int n = 1; n <= def.pinCount; ++n)
            sym.pinSlots.push_back({n, (n - 1) * HeaderPitch + HeaderPitch / 2, true});
        sym.height = def.pinCount * HeaderPitch;
        return sym;
    }
    auto labelWidth = [&](const std::vector<std::vector<int>>& groups) {
        int w = 0;
        for (const auto& group : groups)
            for (int number : group)
                w = std::max(w, lm.horizontalAdvance(def.pin(number).label) + 10);
        return w;
    };
    sym.leftW = labelWidth(def.leftGroups);
    sym.rightW = labelWidth(def.rightGroups);
    sym.funcW = std::max(30, QFontMetrics(titleFont()).horizontalAdvance(def.function) + 14);
    sym.width = sym.leftW + sym.funcW + sym.rightW;
    const int lh = sideSlots(def.leftGroups, true, &sym.pinSlots, &sym.separators);
    const int rh = sideSlots(def.rightGroups, false, &sym.pinSlots, &sym.separators);
    sym.height = std::max({lh, rh, 40});
    return sym;
}

void hline(QPainter& p, int x1, int x2, int y, int w = 1) {
    if (x2 < x1)
        std::swap(x1, x2);
    p.fillRect(x1, y - w / 2, x2 - x1 + 1, w, Qt::black);
}

void vline(QPainter& p, int x, int y1, int y2, int w = 1) {
    if (y2 < y1)
        std::swap(y1, y2);
    p.fillRect(x - w / 2, y1, w, y2 - y1 + 1, Qt::black);
}

void frameRect(QPainter& p, const QRect& r, int w) {
    hline(p, r.left(), r.right(), r.top() + w / 2, w);
    hline(p, r.left(), r.right(), r.bottom() - (w - 1) / 2, w);
    vline(p, r.left() + w / 2, r.top(), r.bottom(), w);
    vline(p, r.right() - (w - 1) / 2, r.top(), r.bottom(), w);
}

void drawChip(QPainter& p, const Symbol& sym) {
    const PartDef& def = sym.part->def;
    const QRect body(sym.topLeft, QSize(sym.width, sym.height));
    frameRect(p, body, 2);
    const int x0 = body.left();
    const int funcLeft = x0 + sym.leftW;
    const int funcRight = funcLeft + sym.funcW;
    if (sym.leftW > 0)
        vline(p, funcLeft, body.top(), body.bottom());
    if (sym.rightW > 0)
        vline(p, funcRight, body.top(), body.bottom());
    p.setFont(titleFont());
    p.drawText(QRect(funcLeft, body.top() + 3, sym.funcW, 16), Qt::AlignHCenter | Qt::AlignTop,
               def.function);
    for (const auto& [left, y] : sym.separators) {
        if (left)
            hline(p, x0, funcLeft, body.top() + y);
        else
            hline(p, funcRight, body.right(), body.top() + y);
    }
    for (const Slot& slot : sym.pinSlots) {
        const PinDef& pin = def.pin(slot.number);
        const int y = body.top() + slot.y;
        const int edge = slot.left ? body.left() : body.right();
        const int dir = slot.left ? -1 : 1;
        const int outer = edge + dir * PinLen;
        int inner = edge;
        if (pin.inverted) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPoint(edge + dir * 4, y), 3, 3);
            inner = edge + dir * 7;
        }
        hline(p, outer, inner, y);
        p.setFont(numberFont());
        const QString num = QString::number(slot.number);
        if (slot.left) {
            p.drawText(QRect(outer + 2, y - 12, inner - outer - 4, 11),
                       Qt::AlignRight | Qt::AlignBottom, num);
            p.setFont(labelFont());
            p.drawText(QRect(x0 + 4, y - 7, sym.leftW - 5, 14), Qt::AlignLeft | Qt::AlignVCenter,
                       pin.label);
        } else {
            p.drawText(QRect(inner + 3, y - 12, outer - inner - 4, 11),
                       Qt::AlignLeft | Qt::AlignBottom, num);
            p.setFont(labelFont());
            p.drawText(QRect(funcRight + 2, y - 7, sym.rightW - 6, 14),
                       Qt::AlignRight | Qt::AlignVCenter, pin.label);
        }
    }
    p.setFont(titleFont());
    p.drawText(QRect(body.left(), body.top() - 17, body.width(), 15), Qt::AlignCenter,
               sym.part->ref);
}

void drawHeader(QPainter& p, const Symbol& sym) {
    const PartDef& def = sym.part->def;
    const QRect table(sym.topLeft, QSize(sym.width, sym.height + 1));
    frameRect(p, table, 2);
    vline(p, table.left() + sym.leftW, table.top(), table.bottom());
    for (const Slot& slot : sym.pinSlots) {
        const int y = table.top() + slot.y;
        if (slot.number > 1)
            hline(p, table.left(), table.right(), y - HeaderPitch / 2);
        hline(p, table.left() - HeaderPinLen, table.left() - 1, y);
        p.setFont(numberFont());
        p.drawText(QRect(table.left() + 1, y - 6, sym.leftW - 1, 12), Qt::AlignCenter,
                   QString::number(slot.number));
        p.setFont(labelFont());
        p.drawText(QRect(table.left() + sym.leftW + 4, y - 6, sym.rightW - 6, 12),
                   Qt::AlignLeft | Qt::AlignVCenter, def.pin(slot.number).label);
    }
    p.setFont(titleFont());
    p.drawText(QRect(table.left(), table.top() - 17, table.width(), 15), Qt::AlignCenter,
               sym.part->ref);
}

struct Wiring {
    std::map<QString, int> netOfPin; // pin name -> net number (1-based)
};

bool checkNets(const BoardTables& board, Wiring* wiring, QString* error) {
    std::map<QString, const PlacedPart*> byRef;
    for (const PlacedPart& part : board.parts)
        byRef[part.ref] = &part;
    int number = 0;
    for (const auto& net : board.nets) {
        ++number;
        if (net.size() < 2) {
            *error = QStringLiteral("Плата %1: цепь %2 соединяет меньше двух выводов")
                         .arg(board.boardType)
                         .arg(number);
            return false;
        }
        for (const QString& name : net) {
            const QString ref = name.section(QLatin1Char('/'), 0, 0);
            bool ok = false;
            const int pin = name.section(QLatin1Char('/'), 1, 1).toInt(&ok);
            const auto it = byRef.find(ref);
            if (it == byRef.end() || !ok || pin < 1 || pin > it->second->def.pinCount ||
                !it->second->def.isDrawn(pin) || it->second->def.pin(pin).supply != Supply::None) {
                *error = QStringLiteral(
                             "Плата %1: в цепи %2 вывод %3 не нарисован или это вывод питания")
                             .arg(board.boardType)
                             .arg(number)
                             .arg(name);
                return false;
            }
            if (!wiring->netOfPin.emplace(name, number).second) {
                *error = QStringLiteral("Плата %1: вывод %2 входит в две цепи")
                             .arg(board.boardType)
                             .arg(name);
                return false;
            }
        }
    }
    return true;
}

// The parts in columns with the channels of the group line between them.
struct SheetLayout {
    std::vector<Symbol> symbols;
    int columns = 0;
    std::vector<int> channel; // x of the channel left of column c (and right of the last)
};

int leadOf(const Symbol& s) {
    return s.header ? HeaderPinLen : PinLen;
}

// Columns side by side; the spare width lengthens the stubs so that the
// sheet is filled evenly, up to the power table on the right.
bool placeColumns(SheetLayout& sheet, const SheetFrame& frame, int reservedRight, QString* error) {
    int minimal = 0;
    for (int c = 0; c < sheet.columns; ++c) {
        int width = 0;
        for (const Symbol& s : sheet.symbols)
            if (s.part->column == c)
                width = std::max(width, leadOf(s) + s.width + (s.hasRight() ? PinLen : 0));
        minimal += width;
    }
    const int stubs = 2 * sheet.columns - 1;
    const int left = frame.inner().left() + 18;
    const int room = frame.inner().right() - 24 - reservedRight - left;
    const int stub = std::clamp((room - minimal) / stubs, MinStub, MaxStub);
    if (minimal + stubs * stub > room) {
        *error = QStringLiteral("схема не помещается по ширине");
        return false;
    }
    sheet.channel.assign(sheet.columns + 1, 0);
    sheet.channel[0] = left;
    for (int c = 0; c < sheet.columns; ++c) {
        const int pinEnd = sheet.channel[c] + stub;
        int extent = pinEnd;
        for (Symbol& s : sheet.symbols) {
            if (s.part->column != c)
                continue;
            s.topLeft.setX(pinEnd + leadOf(s));
            extent = std::max(extent, s.rightExtent());
        }
        sheet.channel[c + 1] = extent + stub;
    }
    return true;
}

// Parts of a column stacked in table order and spread over the column's
// height; a part under the title block's edge must end above it.
bool stackColumns(SheetLayout& sheet, const SheetFrame& frame, int top, QString* error) {
    const QRect title = frame.titleBlock();
    const int bottom = frame.inner().bottom() - 20;
    auto limitOf = [&](const Symbol& s) {
        return s.rightExtent() + 8 >= title.left() ? title.top() - 20 : bottom;
    };
    for (int c = 0; c < sheet.columns; ++c) {
        std::vector<Symbol*> col;
        int sum = 0;
        for (Symbol& s : sheet.symbols)
            if (s.part->column == c) {
                col.push_back(&s);
                sum += s.height;
            }
        if (col.empty())
            continue;
        auto stack = [&](int gap) {
            int y = top;
            bool fits = true;
            for (Symbol* s : col) {
                s->topLeft.setY(y);
                fits = fits && y + s->height <= limitOf(*s);
                y += s->height + gap;
            }
            return fits;
        };
        const int n = static_cast<int>(col.size());
        const int spread = n > 1 ? (bottom - top - sum) / (n - 1) : 0;
        if (!stack(std::clamp(spread, MinPartGap, MaxPartGap)) && !stack(MinPartGap)) {
            *error = QStringLiteral("колонка %1 схемы не помещается по высоте").arg(c);
            return false;
        }
    }
    return true;
}

// A wired pin: its line runs on to the channel and merges into it with a
// slant towards the corridor; the net number is written above the line.
void drawStub(QPainter& p, QPoint pinEnd, bool leftSide, int channelX, int net) {
    const int dir = leftSide ? -1 : 1;
    const int y = pinEnd.y();
    hline(p, pinEnd.x(), channelX - dir * Merge, y);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(channelX - dir * Merge, y, channelX, y - Merge);
    p.setFont(numberFont());
    const QString num = QString::number(net);
    if (leftSide)
        p.drawText(QRect(channelX + Merge + 2, y - 12, 40, 11), Qt::AlignLeft | Qt::AlignBottom,
                   num);
    else
        p.drawText(QRect(channelX - Merge - 42, y - 12, 40, 11), Qt::AlignRight | Qt::AlignBottom,
                   num);
}

} // namespace

bool paintSchematic(const BoardTables& board, QImage* picture, PinSpots* spots, QString* error) {
    Wiring wiring;
    if (!checkNets(board, &wiring, error))
        return false;

    const SheetFrame frame(board.schematicSize);
    SheetLayout sheet;
    sheet.symbols.reserve(board.parts.size());
    for (const PlacedPart& part : board.parts) {
        sheet.symbols.push_back(measure(part));
        sheet.columns = std::max(sheet.columns, part.column + 1);
    }
    const int corridorY = frame.inner().top() + 40;
    const int partsTop = frame.inner().top() + 72;
    const int powerTableW = PowerTable::width(board);
    QString why;
    if (!placeColumns(sheet, frame, powerTableW + 30, &why) ||
        !stackColumns(sheet, frame, partsTop, &why)) {
        *error = QStringLiteral("Плата %1: %2").arg(board.boardType).arg(why);
        return false;
    }

    QImage img = whiteCanvas(board.schematicSize.width(), board.schematicSize.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setPen(Qt::black);
    frame.paint(p, board.designation + QStringLiteral(" Э3"),
                QStringLiteral("Блок управления\nСхема электрическая\nпринципиальная"));

    std::vector<int> channelBottom(sheet.columns + 1, -1);
    for (const Symbol& s : sheet.symbols) {
        if (s.header)
            drawHeader(p, s);
        else
            drawChip(p, s);
        for (const Slot& slot : s.pinSlots) {
            const QString name = QStringLiteral("%1/%2").arg(s.part->ref).arg(slot.number);
            const QPoint end(slot.left ? s.leftPinEnd() : s.rightPinEnd(), s.topLeft.y() + slot.y);
            spots->insert(name, PinSpot{end, slot.left ? Outward::Left : Outward::Right});
            const auto wired = wiring.netOfPin.find(name);
            if (wired == wiring.netOfPin.end())
                continue;
            const int c = s.part->column + (slot.left ? 0 : 1);
            drawStub(p, end, slot.left, sheet.channel[c], wired->second);
            channelBottom[c] = std::max(channelBottom[c], end.y() - Merge);
        }
    }

    // The channels run up to the corridor under the top of the frame, which
    // joins them into one group line.
    const QRect title = frame.titleBlock();
    int firstChannel = -1;
    int lastChannel = -1;
    for (int c = 0; c <= sheet.columns; ++c) {
        if (channelBottom[c] < 0)
            continue;
        if (sheet.channel[c] + 2 >= title.left() && channelBottom[c] >= title.top() - 4) {
            *error = QStringLiteral("Плата %1: линия связи заходит в основную надпись")
                         .arg(board.boardType);
            return false;
        }
        vline(p, sheet.channel[c], corridorY - 1, channelBottom[c], 3);
        if (firstChannel < 0)
            firstChannel = c;
        lastChannel = c;
    }
    if (firstChannel >= 0 && firstChannel != lastChannel)
        hline(p, sheet.channel[firstChannel] - 1, sheet.channel[lastChannel] + 1, corridorY, 3);

    PowerTable::paint(p, board, QPoint(frame.inner().right() - 14 - powerTableW, partsTop - 18));
    p.end();
    *picture = toLineArt(img);
    return true;
}

} // namespace kia::art
