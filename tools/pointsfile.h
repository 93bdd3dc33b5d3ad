#pragma once

#include "boardtables.h"
#include "pinspot.h"

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>

#include <vector>

namespace kia::art {

/// One control point as the workstation's points file stores it.
struct ControlPointRecord {
    QString name;
    QPoint schematic;
    QPoint layout;
    int schematicQuadrant = 0;
    int layoutQuadrant = 0;
    quint8 boardMask = 0;
};

/// Size of one record in the points file.
constexpr int PointRecordSize = 56;

/// Quadrant whose 32 x 32 marker icon, tip on the spot, stays inside the
/// picture; the side the pin points to is preferred. -1 if none fits.
int markerQuadrant(const PinSpot& spot, QSize picture);

/// Builds the records of all boards from the spots of their two pictures.
/// A point drawn at the same places on several board types becomes one
/// record with several mask bits. Fails when a pin is drawn on only one of
/// the two pictures of a board or no marker position fits.
bool collectPoints(const std::vector<BoardTables>& boards, const std::vector<PinSpots>& schematic,
                   const std::vector<PinSpots>& layout, std::vector<ControlPointRecord>* records,
                   QString* error);

/// The points file: the records one after another, no header, little-endian.
bool encodePointsFile(const std::vector<ControlPointRecord>& records, QByteArray* bytes,
                      QString* error);

} // namespace kia::art
