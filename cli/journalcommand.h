#pragma once

#include <QStringList>
#include <QTextStream>

namespace kia {

/// kia-bench journal [--board-id ID] [--csv] [--file FILE]: the repair
/// journal of the working folder (the current folder, or FILE), oldest
/// first, as the journal window lists it or as its CSV export. Opens no port.
class JournalCommand {
public:
    static bool handles(const QString& command) { return command == QStringLiteral("journal"); }
    /// Checks the arguments; false with the message.
    static bool validate(const QStringList& args, QString* error);
    /// 0 with the rows printed; 1 when the journal cannot be read (the reason on err).
    static int run(const QStringList& args, QTextStream& out, QTextStream& err);
    static QString helpText();
};

} // namespace kia
