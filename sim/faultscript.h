#pragma once

#include "boardfaultscript.h"
#include "fault.h"

#include <QList>
#include <QString>

namespace sim {

/// Reads the fault script: one line per fault, "#" starts a comment. Link
/// rules spoil exchanges:
///
///     <kind> [parameters] [cmd=N | long=N | cash=N] [after=K] [once | times=N | always]
///
/// Kinds: silence, wrong-ack, bad-checksum, unequal-pair, short [missing=N],
/// garbage [bytes=N] [instead], slow ms=N, pull-cable [through=K], device-lost.
/// Board lines (BoardFaultScript) name what is wrong with the board itself.
/// Numbers are decimal or 0x-hexadecimal. The full description with examples
/// is in sim/README.md. Pure, any thread.
class FaultScript {
public:
    struct Contents {
        QList<Fault> rules;
        BoardSetup board;
    };

    /// Everything the script asks for. On a bad line returns false, leaves
    /// `contents` empty and *error naming the line and the problem; a good
    /// script leaves *error empty.
    static bool read(const QString& text, Contents* contents, QString* error);
    /// The link rules of the script (board lines are read and checked, not returned).
    static QList<Fault> parse(const QString& text, QString* error);
};

} // namespace sim
