#include "pointsfile.h"

#include <QRect>
#include <QtEndian>

#include <map>
#include <tuple>

namespace kia::art {

namespace {

QRect iconRect(QPoint at, int quadrant) {
    switch (quadrant) {
    case 0:
        return QRect(at.x(), at.y() - 31, 32, 32);
    case 1:
        return QRect(at.x(), at.y(), 32, 32);
    case 2:
        return QRect(at.x() - 31, at.y(), 32, 32);
    default:
        return QRect(at.x() - 31, at.y() - 31, 32, 32);
    }
}

// Windows-1251 for the characters a point name may hold: ASCII and the
// Russian alphabet. Anything else is refused rather than guessed.
bool toWindows1251(const QString& text, QByteArray* out) {
    out->clear();
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= 0x20 && u < 0x7F)
            out->append(static_cast<char>(u));
        else if (u >= 0x0410 && u <= 0x044F)
            out->append(static_cast<char>(0xC0 + (u - 0x0410)));
        else if (u == 0x0401)
            out->append(static_cast<char>(0xA8));
        else if (u == 0x0451)
            out->append(static_cast<char>(0xB8));
        else
            return false;
    }
    return true;
}

} // namespace

int markerQuadrant(const PinSpot& spot, QSize picture) {
    const QRect inside(QPoint(0, 0), picture);
    std::vector<int> order;
    switch (spot.outward) {
    case Outward::Left:
        order = {3, 2};
        break;
    case Outward::Right:
        order = {0, 1};
        break;
    case Outward::Up:
        order = {0, 3};
        break;
    case Outward::Down:
        order = {1, 2};
        break;
    }
    order.insert(order.end(), {0, 1, 2, 3});
    for (int q : order)
        if (inside.contains(iconRect(spot.at, q)))
            return q;
    return -1;
}

bool collectPoints(const std::vector<BoardTables>& boards, const std::vector<PinSpots>& schematic,
                   const std::vector<PinSpots>& layout, std::vector<ControlPointRecord>* records,
                   QString* error) {
    using Key = std::tuple<QString, int, int, int, int>;
    std::map<Key, size_t> index;
    for (size_t b = 0; b < boards.size(); ++b) {
        const BoardTables& board = boards[b];
        for (const QString& name : layout[b].keys())
            if (!schematic[b].contains(name)) {
                *error = QStringLiteral("Плата %1: вывод %2 есть только на схеме расположения")
                             .arg(board.boardType)
                             .arg(name);
                return false;
            }
        for (const PlacedPart& part : board.parts) {
            for (const PinDef& pin : part.def.pins) {
                const QString name = QStringLiteral("%1/%2").arg(part.ref).arg(pin.number);
                if (!schematic[b].contains(name))
                    continue;
                if (!layout[b].contains(name)) {
                    *error =
                        QStringLiteral("Плата %1: вывод %2 есть только на принципиальной схеме")
                            .arg(board.boardType)
                            .arg(name);
                    return false;
                }
                const PinSpot& s = schematic[b][name];
                const PinSpot& l = layout[b][name];
                ControlPointRecord rec{name,
                                       s.at,
                                       l.at,
                                       markerQuadrant(s, board.schematicSize),
                                       markerQuadrant(l, board.layoutSize),
                                       static_cast<quint8>(1u << board.boardType)};
                if (rec.schematicQuadrant < 0 || rec.layoutQuadrant < 0) {
                    *error = QStringLiteral("Плата %1: маркер точки %2 не помещается в рисунок")
                                 .arg(board.boardType)
                                 .arg(name);
                    return false;
                }
                const Key key{name, s.at.x(), s.at.y(), l.at.x(), l.at.y()};
                const auto found = index.find(key);
                if (found != index.end() &&
                    (*records)[found->second].schematicQuadrant == rec.schematicQuadrant &&
                    (*records)[found->second].layoutQuadrant == rec.layoutQuadrant) {
                    (*records)[found->second].boardMask |= rec.boardMask;
                    continue;
                }
                index[key] = records->size();
                records->push_back(rec);
            }
        }
    }
    return true;
}

bool encodePointsFile(const std::vector<ControlPointRecord>& records, QByteArray* bytes,
                      QString* error) {
    bytes->clear();
    for (const ControlPointRecord& rec : records) {
        QByteArray name;
        if (!toWindows1251(rec.name, &name) || name.isEmpty() || name.size() > 31) {
            *error = QStringLiteral("Имя точки \"%1\" не записывается в файл точек").arg(rec.name);
            return false;
        }
        char record[PointRecordSize] = {};
        std::copy(name.begin(), name.end(), record);
        qToLittleEndian<qint32>(rec.schematic.x(), record + 32);
        qToLittleEndian<qint32>(rec.schematic.y(), record + 36);
        qToLittleEndian<qint32>(rec.layout.x(), record + 40);
        qToLittleEndian<qint32>(rec.layout.y(), record + 44);
        qToLittleEndian<quint16>(0, record + 48); // no marker until the program sets one
        record[50] = static_cast<char>(rec.schematicQuadrant);
        record[51] = static_cast<char>(rec.layoutQuadrant);
        record[52] = static_cast<char>(rec.boardMask);
        bytes->append(record, PointRecordSize);
    }
    return true;
}

} // namespace kia::art
