#pragma once

#include "peripheralcommands.h"
#include "checkcommand.h"
#include "testcommand.h"

#include <QStringList>
#include <QTextStream>
#include <memory>
#include <vector>

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
    /// A command and its arguments, read and checked before any port opens.
    struct Command {
        QString name;
        quint32 port = 0, value = 0, mask = 0, address = 0, length = 0;
        std::vector<quint8> bytes;
        QStringList args;
        PeripheralCommands::Options periph;
    };
    /// ExitOk with `c` filled, or the usage exit after its message.
    int parseCommand(const QString& command, const QStringList& args, Command& c);
    int execute(const Command& c);
    int cmdPing();
    int cmdReadPort(const Command& c);
    int cmdWritePort(const Command& c);
    int cmdReadMem(const Command& c);
    int cmdWriteMem(const Command& c);
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
    CheckCommand::Options m_checkOptions;
    QString m_dd5State;
};

} // namespace kia
