#pragma once

#include <QStringList>
#include <QTextStream>
#include <memory>

namespace sim {
class Bench;
}

namespace kia {

class BenchContext;
class ConsolePrompts;
class ServiceControllerPreparation;
class CliServiceHost;

/// The service operations of board type 4 from the terminal: save-fp,
/// restore-fp, clear-fp, save-eeprom, restore-eeprom, clear-eeprom, update,
/// verify, restore-controller and prepare. Progress goes to stderr as a bar,
/// the message of the result to stdout. While the object lives, the context
/// has the controller preparation installed (so `test` on board type 4 loads
/// the test program as the workstation does). `bench` is the simulated bench
/// behind --port sim, null for a real port.
class ServiceCommands {
public:
    ServiceCommands(BenchContext& ctx, ConsolePrompts& prompts, QTextStream& out,
                    QTextStream& err, sim::Bench* bench);
    ~ServiceCommands();

    static bool handles(const QString& command);
    /// Whether run() would take these arguments on board type `boardType`;
    /// if not, `error` says why. Touches no port.
    static bool validate(const QString& command, const QStringList& args, int boardType,
                         QString* error);
    static QString helpText();
    /// Exit code: 0 on success, 1 on a check failure or a file problem,
    /// 2 on a link failure, 64 on a bad command line.
    int run(const QString& command, const QStringList& args);

private:
    int usage(const QString& message);

    BenchContext& m_ctx;
    ConsolePrompts& m_prompts;
    QTextStream& m_out;
    QTextStream& m_err;
    sim::Bench* m_bench;
    std::unique_ptr<CliServiceHost> m_host;
    std::unique_ptr<ServiceControllerPreparation> m_preparation;
};

} // namespace kia
