#include "controlpoint.h"

#include "core/cp1251.h"

#include <QFile>
#include <QtEndian>
#include <cstring>

namespace kia {

QByteArray ControlPoint::name() const {
    return nameView().toByteArray();
}

QString ControlPoint::displayName() const {
    return fromCp1251(name());
}

void ControlPoint::setName(QByteArrayView bytes) {
    std::memset(rawName, 0, NameSize);
    std::memcpy(rawName, bytes.data(), size_t(qMin<qsizetype>(bytes.size(), NameSize - 1)));
}

ControlPoint ControlPoint::fromRecord(const uchar* r) {
    ControlPoint p;
    std::memcpy(p.rawName, r, NameSize);
    p.xSchematic = qFromLittleEndian<qint32>(r + 32);
    p.ySchematic = qFromLittleEndian<qint32>(r + 36);
    p.xLayout = qFromLittleEndian<qint32>(r + 40);
    p.yLayout = qFromLittleEndian<qint32>(r + 44);
    p.state = qFromLittleEndian<quint16>(r + 48);
    p.quadrantSchematic = r[50];
    p.quadrantLayout = r[51];
    p.boardMask = r[52];
    std::memcpy(p.reserved, r + 53, 3);
    return p;
}

void ControlPoint::toRecord(uchar* r) const {
    std::memcpy(r, rawName, NameSize);
    qToLittleEndian<qint32>(xSchematic, r + 32);
    qToLittleEndian<qint32>(ySchematic, r + 36);
    qToLittleEndian<qint32>(xLayout, r + 40);
    qToLittleEndian<qint32>(yLayout, r + 44);
    qToLittleEndian<quint16>(state, r + 48);
    r[50] = quadrantSchematic;
    r[51] = quadrantLayout;
    r[52] = boardMask;
    std::memcpy(r + 53, reserved, 3);
}

bool hasDrawableCoordinates(const ControlPoint& p) {
    auto fits = [](qint32 c) { return c >= -MaxPointCoordinate && c <= MaxPointCoordinate; };
    return fits(p.xSchematic) && fits(p.ySchematic) && fits(p.xLayout) && fits(p.yLayout);
}

bool ParsePointsFile(QByteArrayView bytes, int boardType, QList<ControlPoint>& points) {
    points.clear();
    const qsizetype length = bytes.size();
    if (length <= 0 || length % ControlPoint::RecordSize != 0)
        return false;

    QList<ControlPoint> loaded;
    const auto* record = reinterpret_cast<const uchar*>(bytes.data());
    for (qsizetype i = 0; i < length / ControlPoint::RecordSize; ++i) {
        const ControlPoint p = ControlPoint::fromRecord(record + i * ControlPoint::RecordSize);
        if (!p.onBoard(boardType))
            continue;
        if (!hasDrawableCoordinates(p))
            return false;
        loaded.append(p);
    }
    points = std::move(loaded);
    return true;
}

bool LoadPointsFile(const QString& path, int boardType, QList<ControlPoint>& points) {
    points.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 length = file.size();
    if (length <= 0 || length % ControlPoint::RecordSize != 0)
        return false;
    const QByteArray bytes = file.read(length);
    if (bytes.size() != length)
        return false;
    return ParsePointsFile(bytes, boardType, points);
}

int FindPoint(const QList<ControlPoint>& points, int boardType, QByteArrayView name) {
    for (qsizetype i = 0; i < points.size(); ++i) {
        // Compared in place: a search runs once per probed name over every point.
        if (points[i].onBoard(boardType) && points[i].nameView() == name)
            return int(i);
    }
    return -1;
}

int FindPoint(const QList<ControlPoint>& points, int boardType, const QString& name) {
    return FindPoint(points, boardType, QByteArrayView(toCp1251(name)));
}

} // namespace kia
