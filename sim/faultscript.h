#pragma once

#include "fault.h"

#include <QList>
#include <QString>

namespace sim {

/// Reads the fault script: one rule per line, "#" starts a comment.
///
///     <kind> [parameters] [cmd=N | long=N | cash=N] [after=K] [once | times=N | always]
///
/// Kinds: silence, wrong-ack, bad-checksum, unequal-pair, short [missing=N],
/// garbage [bytes=N] [instead], slow ms=N, pull-cable [through=K], device-lost.
/// Numbers are decimal or 0x-hexadecimal. The full description with examples
/// is in sim/README.md.
class FaultScript {
public:
    /// The rules of the script. On a bad line the result is empty and *error
    /// names the line and the problem; a good script leaves *error empty.
    static QList<Fault> parse(const QString& text, QString* error);
};

} // namespace sim
