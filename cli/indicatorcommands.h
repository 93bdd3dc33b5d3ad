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
/// prints what the indicator shows after each phase; "keyboard" and "sound"
/// run the keyboard scan and the tone sequence for some seconds. Each command prepares
/// the board as the menu command does. With the simulated bench (`bench` not
/// null) the lines show what the board's own indicator holds; otherwise what
/// the workstation wrote. Returns a BenchExit code.
class IndicatorCommands {
public:
    IndicatorCommands(BenchContext& ctx, sim::Bench* bench, QTextStream& out, QTextStream& err)
        : m_ctx(ctx), m_bench(bench), m_out(out), m_err(err) {}

    /// The commands here: "segment-test", "keyboard", "sound".
    static bool handles(const QString& command);
    /// Checks a command's arguments before any port opens; false with the
    /// usage text in *error.
    static bool checkArguments(const QString& command, const QStringList& args, QString* error);
    /// The same check under the name the other command families use.
    static bool validate(const QString& command, const QStringList& args, QString* error) {
        return checkArguments(command, args, error);
    }
    /// Runs a command whose arguments checkArguments accepted.
    int run(const QString& command, const QStringList& args);

    int segmentTest(const QStringList& args);
    /// "keyboard [--seconds N]": scans the keyboard for N seconds (10 by
    /// default) and prints every key the first time it is seen, with its name.
    int keyboardTest(const QStringList& args);
    /// "sound [--seconds N]": plays the tone sequence for N seconds and prints
    /// every tone; on the simulated bench also what the emitter heard.
    int soundTest(const QStringList& args);

    static QString helpText();

private:
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
