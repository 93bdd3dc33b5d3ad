#pragma once

#include "boardfault.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace sim {

/// The board a fault script asks for: its faults (with the script line each
/// came from, for messages that depend on the board type), the revision and
/// the software version its ROM is sealed for (empty: the default).
struct BoardSetup {
    QList<BoardFault> faults;
    QList<int> faultLines;
    bool olderRevision = false;
    QString romVersion;
    /// The cash register's speed at power-on (0: 9600, its default).
    qint32 registerSpeed = 0;
    /// The cable leads to the assembled cash register instead of the board.
    bool registerCable = false;
};

/// Reads the board lines of a fault script (see FaultScript):
///
///     port-low P.B | port-high P.B | port-open P.B | port-short P.B P.B
///     ram-cell addr=A [low=M] [high=M]
///     flash-cell bank=N addr=A [low=M] [high=M]
///     eeprom-cell addr=A [low=M] [high=M]
///     clock-reg reg=N [low=M] [high=M]
///     rom-sum | rom-byte half=H addr=A [xor=M]
///     clock-stopped | clock-silent | eeprom-silent
///     fp-dirty addr=A [value=V] | fp-nowrite addr=A
///     ppi-low L.B | ppi-high L.B          (L = A, B or C)
///     older-revision | rom-version V
///     register-speed BAUD | register-cable  (9600, 19200, 57600 or 115200)
///
/// A cell given neither low= nor high= reads 0x00 (low=0xFF). Pure, any thread.
class BoardFaultScript {
public:
    /// Whether the first word names a board line.
    static bool isBoardWord(const QString& word);
    /// Adds the line to `setup`; on a bad line returns false and leaves the
    /// problem (without the line number) in *problem.
    static bool parseLine(const QStringList& words, int lineNo, BoardSetup& setup,
                          QString* problem);
};

} // namespace sim
