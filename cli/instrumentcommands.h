#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kia {

class BenchContext;

/// kia-bench's instrument commands: "probe" (one static reading, or with
/// --pulse W one pulse measurement of the pulse circuit W = 0, 1, 2) and
/// "stimulus ROW [--input V[,V…]]" (PrepareBoardForChecks, the row's start
/// routine, its setter once per value in the order given, its finish routine).
/// Exit 0 on success, 2 with the link text otherwise, 64 on bad arguments.
/// Main thread of the CLI; the context's port is open.
class InstrumentCommands {
public:
    InstrumentCommands(BenchContext& ctx, QTextStream& out, QTextStream& err);

    /// Whether `command` is one of these commands.
    static bool handles(const QString& command);
    /// Whether run() would take these arguments; if not, `error` says why.
    /// Touches no port.
    static bool validate(const QString& command, const QStringList& args, QString* error);
    int run(const QString& command, const QStringList& args);
    static QString helpText();

private:
    int probe(int pulse);
    int stimulus(int row, const QList<quint8>& inputs);
    int linkFailure();
    int usage(const QString& message);

    BenchContext& m_ctx;
    QTextStream& m_out;
    QTextStream& m_err;
};

} // namespace kia
