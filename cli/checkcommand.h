#pragma once

#include <QStringList>
#include <QTextStream>

namespace sim {
class Bench;
}

namespace kia {

class BenchContext;
class ConsolePrompts;

/// kia-bench check [--report FILE]... [--version V] [--yes|--no] [--json]:
/// the full check of the board as "Полная проверка платы" runs it, with the
/// tests that need the engineer skipped. The summary goes to stdout (or one
/// JSON object with --json), progress to stderr; each --report FILE is
/// written as PDF, HTML or JSON by its extension. On the simulated bench
/// (`bench`) each failure's diagnostics run to their conclusion with the
/// simulated probe tip put on each point; on a board only the keyword is
/// reported. Exit 0 when the board
/// passed, 1 when a test failed or a report could not be written, 2 on a
/// link failure.
class CheckCommand {
public:
    struct Options {
        QStringList reports;
        QString version;
        bool haveVersion = false;
        int answer = 0; // 0 none, 1 --yes, 2 --no
        bool json = false;
    };
    static bool handles(const QString& command) { return command == QStringLiteral("check"); }
    static bool parse(const QStringList& args, Options& options, QString* error);
    static QString helpText();

    CheckCommand(BenchContext& ctx, ConsolePrompts& prompts, QTextStream& out, QTextStream& err,
                 sim::Bench* bench);
    int run(const Options& options);

private:
    BenchContext& m_ctx;
    ConsolePrompts& m_prompts;
    QTextStream& m_out;
    QTextStream& m_err;
    sim::Bench* m_bench;
};

} // namespace kia
