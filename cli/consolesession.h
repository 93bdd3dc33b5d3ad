#pragma once

#include <QString>
#include <QTextStream>

namespace kia {

class BenchContext;

/// The start dialog of a board test on the terminal: its instructions go to
/// `err`, and the test goes on (the engineer started it on purpose).
bool consoleStartDialog(QTextStream& err, int boardType);

/// The software-version choice of the ROM test on the terminal: `version`
/// names an entry of versions.txt or is taken as the value itself; without
/// one the first choice ("меньше 2.10"). A missing versions.txt is said as
/// the workstation says it. Always true (there is nobody to cancel).
bool consoleChooseVersion(BenchContext& ctx, QTextStream& err, bool haveVersion,
                          const QString& version);

} // namespace kia
