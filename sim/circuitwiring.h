#pragma once

#include <QString>

namespace sim {

class BoardModel;
struct BoardFault;

/// The name the tip takes when the engineer holds it on the output of the
/// probe's own level driver (the probe self-test's driver row): no point of
/// the board, so it is not in the points file.
QString driverOutputPoint();

/// The board inputs that the probe's level driver feeds: when the driver is
/// connected to one of them (`driverPoint`, the point the engineer was shown),
/// that input line follows the driver (`driverHigh`); the others are as an
/// unconnected connector leaves them. Called before every frame and whenever
/// the driver or the point changes, under the bench lock.
void applyDriverWiring(BoardModel& board, const QString& driverPoint, bool driverHigh);

/// Empty when a circuit fault fits the board type (its points are circuit
/// outputs, its pin a controller pin of the pin scan), else the reason.
QString checkCircuitFault(int boardType, const BoardFault& fault);

} // namespace sim
