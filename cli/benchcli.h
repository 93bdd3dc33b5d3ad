#pragma once

#include "testcommand.h"

#include <QStringList>
#include <QTextStream>
#include <memory>

namespace kia {
class Clock;
class BenchContext;
class ConsolePrompts;
} // namespace kia
namespace sim {
class Bench;
}

namespace kia {

/// Exit codes of kia-bench.
enum BenchExit {
    ExitOk = 0,
    ExitCheckFailed = 1,  // the board answered, but the check did not pass
    ExitLinkFailure = 2,  // the link failed: the status text says how
    ExitUsage = 64,       // bad command line
};

/// kia-bench: the command-line front of the core. One object runs one command
/// line; tests give it a virtual clock and reach the simulated bench it made.
class BenchCli {
public:
    BenchCli(QTextStream& out, QTextStream& err, Clock* clock = nullptr);
    ~BenchCli();

    int run(const QStringList& arguments);

    /// The simulated bench behind "--port sim", made on first use.
    sim::Bench& simBench();
    BenchContext& context() { return *m_ctx; }

    static QString helpText();

private:
    int execute(const QString& command, const QStringList& args);
    int cmdPing();
    int cmdReadPort(const QStringList& args);
    int cmdWritePort(const QStringList& args);
    int cmdReadMem(const QStringList& args);
    int cmdWriteMem(const QStringList& args);
    int cmdIdentify();
    int linkFailure();
    int usage(const QString& message);
    bool openPort(const QString& target, qint32 speed);

    QTextStream& m_out;
    QTextStream& m_err;
    std::unique_ptr<Clock> m_ownClock;
    Clock* m_clock;
    std::unique_ptr<ConsolePrompts> m_prompts;
    std::unique_ptr<BenchContext> m_ctx;
    std::unique_ptr<sim::Bench> m_bench;
    QString m_faultScript;
    TestCommand::Options m_testOptions;
    QString m_dd5State;
};

} // namespace kia
