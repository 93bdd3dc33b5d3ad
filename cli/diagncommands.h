#pragma once

#include <QList>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace kia {

class BenchContext;

/// kia-bench's guided-diagnostics commands, with the workstation's own
/// loader and engine:
///   scenario NAME [--kind 0|1|2] [--file FILE] [--dot]  the node table as one JSON object
///                                                       (or the graph as Graphviz source);
///   diagnose NAME [--start common|osc|probe] [--instrument probe|osc] --answers LIST
///                                                       one JSON line per step dialog,
///                                                       TEST step and the end;
///   lint [--dgn FILE] [--ccr FILE]                      findings in the scenario file.
/// Exit codes: 0 done (diagnose: path or stopped; lint: no finding), 1 the
/// load failed / error end / findings, 64 bad arguments, 2 the port failed
/// to open for lint-free use. UI thread of the CLI.
class DiagnCommands {
public:
    /// One answer of --answers: the step dialog's outcome code and its argument.
    struct ScriptedAnswer {
        int code;
        int argument;
    };

    static bool handles(const QString& command);
    /// Whether run() would take these arguments; if not, `error` says why.
    /// Touches no port and no file.
    static bool validate(const QString& command, const QStringList& args, QString* error);
    /// Commands whose default port is the simulator rather than COM1.
    static bool defaultsToSimulator(const QStringList& positional);
    static QString helpText();

    /// `openPort` attaches the link when a command needs the board.
    DiagnCommands(BenchContext& ctx, QTextStream& out, QTextStream& err,
                  std::function<bool()> openPort);
    int run(const QString& command, const QStringList& args);

private:
    int scenario(const QString& name, const QString& file, int kind, bool dot);
    int diagnose(const QString& name, const QString& start, const QString& instrument,
                 const QList<ScriptedAnswer>& script);
    int lint(const QString& dgn, const QString& ccr);
    int usage(const QString& message);

    BenchContext& m_ctx;
    QTextStream& m_out;
    QTextStream& m_err;
    std::function<bool()> m_openPort;
};

/// Text as a JSON string literal (quotes included).
QString jsonString(const QString& text);

} // namespace kia
