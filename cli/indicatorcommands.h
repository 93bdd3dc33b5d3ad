#pragma once

#include <QStringList>
#include <QTextStream>

namespace sim {
class Bench;
}

namespace kia {

class BenchContext;

/// kia-bench's commands for the tests the engineer judges by eye and ear:
/// "segment-test 0|1" runs the 146 steps of the segment and cursor test and
/// prints what the indicator shows after each phase. Each command prepares
/// the board as the menu command does. With the simulated bench (`bench` not
/// null) the lines show what the board's own indicator holds; otherwise what
/// the workstation wrote. Returns a BenchExit code.
class IndicatorCommands {
public:
    IndicatorCommands(BenchContext& ctx, sim::Bench* bench, QTextStream& out, QTextStream& err)
        : m_ctx(ctx), m_bench(bench), m_out(out), m_err(err) {}

    /// Whether `command` is one of these commands.
    static bool handles(const QString& command);
    /// Whether run() would take these arguments; if not, `error` says why.
    /// Touches no port.
    static bool validate(const QString& command, const QStringList& args, QString* error);
    int run(const QString& command, const QStringList& args);

    static QString helpText();

private:
    int segmentTest(int indicator);
    bool prepare();
    int usage(const QString& message);
    int linkFailure();

    BenchContext& m_ctx;
    sim::Bench* m_bench;
    QTextStream& m_out;
    QTextStream& m_err;
};

/// The 16 characters of a simulated indicator as text: user characters are
/// recognised by their dot rows in the program's font (a fully lit one is "█",
/// any other unknown one "▒"), the cursor position is marked below.
QString simulatedIndicatorText(const sim::Bench& bench, int indicator);

} // namespace kia
