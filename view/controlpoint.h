#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace kia {

/// Marker states of a control point.
enum MarkState : quint16 { MarkNone = 0, MarkCheck = 16, MarkDriver = 64 };

/// Which board picture is shown: the circuit diagram or the component layout.
enum PictureKind : quint8 { PictureSchematic = 0, PictureLayout = 1 };

/// A named place on the board where the engineer puts the probe: one 56-byte
/// record of the points file, kept in memory in the same layout. Integers are
/// little-endian in the file; fromRecord()/toRecord() convert.
struct ControlPoint {
    static constexpr int RecordSize = 56;
    static constexpr int NameSize = 32;

    /// Windows-1251, NUL-terminated within the field (a full field is read safely).
    char rawName[NameSize] = {};
    qint32 xSchematic = -1;
    qint32 ySchematic = -1;
    qint32 xLayout = -1;
    qint32 yLayout = -1;
    quint16 state = MarkNone;
    quint8 quadrantSchematic = 0;
    quint8 quadrantLayout = 0;
    /// Bit n set: the point exists on board type n.
    quint8 boardMask = 0;
    quint8 reserved[3] = {};

    /// The name bytes up to the first NUL, at most the whole field.
    QByteArray name() const;
    /// The same bytes, viewed in place (valid while the point lives).
    QByteArrayView nameView() const { return {rawName, qsizetype(qstrnlen(rawName, NameSize))}; }
    /// The name as text.
    QString displayName() const;
    void setName(QByteArrayView bytes);

    bool onBoard(int boardType) const {
        return boardType >= 0 && boardType < 8 && (boardMask >> boardType) & 1;
    }
    /// Coordinates and quadrant on picture `kind` (anything but the layout is the diagram).
    int x(int kind) const { return kind == PictureLayout ? xLayout : xSchematic; }
    int y(int kind) const { return kind == PictureLayout ? yLayout : ySchematic; }
    int quadrant(int kind) const {
        return kind == PictureLayout ? quadrantLayout : quadrantSchematic;
    }

    static ControlPoint fromRecord(const uchar* record);
    void toRecord(uchar* record) const;
};
static_assert(sizeof(ControlPoint) == ControlPoint::RecordSize);

/// The largest distance from a picture's origin at which a point may lie
/// (either sign). Far beyond any board picture, and small enough that window
/// sums (scroll position, picture offset, marker size) cannot overflow.
constexpr qint32 MaxPointCoordinate = 1 << 20;

/// Whether every coordinate of `p` is within MaxPointCoordinate.
bool hasDrawableCoordinates(const ControlPoint& p);

/// The points of `boardType` in the bytes of a points file, in file order.
/// Fails (and leaves `points` empty) when the bytes are empty, not a whole
/// number of records, or a point of this board type has a coordinate that
/// cannot lie on any picture. No point of this board type is valid and gives
/// no points. Pure function, any thread.
bool ParsePointsFile(QByteArrayView bytes, int boardType, QList<ControlPoint>& points);

/// ParsePointsFile on the file at `path`; fails as well when the file is
/// missing or cannot be read to its end. UI thread.
bool LoadPointsFile(const QString& path, int boardType, QList<ControlPoint>& points);

/// Index of the first point of `boardType` named exactly `name` (bytes), or -1.
int FindPoint(const QList<ControlPoint>& points, int boardType, QByteArrayView name);
/// The same for a name given as text (encoded to Windows-1251 first).
int FindPoint(const QList<ControlPoint>& points, int boardType, const QString& name);

} // namespace kia
