#pragma once

#include "view/controlpoint.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

Q_DECLARE_METATYPE(kia::ControlPoint)

/// Builds control points and points files for the view tests.
inline kia::ControlPoint makePoint(const QByteArray& name, int xs, int ys, int xl, int yl,
                                   quint8 mask = 0x1F, quint8 quadS = 0, quint8 quadL = 0) {
    kia::ControlPoint p;
    p.setName(name);
    p.xSchematic = xs;
    p.ySchematic = ys;
    p.xLayout = xl;
    p.yLayout = yl;
    p.boardMask = mask;
    p.quadrantSchematic = quadS;
    p.quadrantLayout = quadL;
    return p;
}

inline QByteArray pointsFileBytes(const QList<kia::ControlPoint>& points) {
    QByteArray bytes(points.size() * kia::ControlPoint::RecordSize, '\0');
    for (qsizetype i = 0; i < points.size(); ++i)
        points[i].toRecord(reinterpret_cast<uchar*>(bytes.data()) +
                           i * kia::ControlPoint::RecordSize);
    return bytes;
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
