#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace sim {
class Bench;
}

namespace kia {

class BenchContext;
class ConsolePrompts;

/// kia-bench's peripheral commands: "periph [--from ROW] [--yes|--no]
/// [--json]" (the whole peripheral circuits test as the menu runs it: a line
/// per row with its verdict and the error dialog's fields of every failure,
/// each answered "Продолжить") and "probe-test" (the probe self-test, rows
/// 0..4). On the simulated bench the tip goes where the dialogs ask. Exit 0
/// when every row passed, 1 when a check failed, 2 on a link failure.
/// Main thread of the CLI.
class PeripheralCommands {
public:
    struct Options {
        int from = -1; ///< --from ROW; -1: from the probe question's answer
        int answer = 1; ///< 1 --yes (the default), 2 --no
        bool json = false;
    };

    static bool handles(const QString& command);
    /// Checks the arguments of `command`; empty when they are good, else the
    /// message (before any port opens).
    static QString parse(const QString& command, const QStringList& args, Options& options);
    static QString helpText();

    PeripheralCommands(BenchContext& ctx, ConsolePrompts& prompts, sim::Bench* bench,
                       QTextStream& out, QTextStream& err);
    int run(const QString& command, const Options& options);

private:
    BenchContext& m_ctx;
    ConsolePrompts& m_prompts;
    sim::Bench* m_bench;
    QTextStream& m_out;
    QTextStream& m_err;
};

/// Empty when `point` is a control point of the board type in the points
/// file at `dotPath`, else the message ("--probe-at").
QString checkProbePoint(const QString& dotPath, int boardType, const QString& point);

} // namespace kia
