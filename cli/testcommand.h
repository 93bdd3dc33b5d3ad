#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kia {

class BenchContext;
class ConsolePrompts;

/// "kia-bench test NAME": one board test of the menu run from the terminal
/// with the same preparation, set-up and engine as the workstation. The start
/// dialog's instructions and every box go to stderr, progress too; the
/// memory-error display prints each bad block as read/expected rows and goes
/// on to the next block; the port-image list prints its rows and asks for the
/// fault analysis. Exit code 0 pass, 1 failed (or cancelled, or a ROM-file
/// problem), 2 link failure. UI thread of the CLI (the main thread).
class TestCommand {
public:
    struct Options {
        QString name; // bus, rom, ram, timer, flash, flash2, fp-blank, fp-write, ppi
        int commandId = 0;
        QString version; // --version: a name of versions.txt or a value
        bool haveVersion = false;
        int answer = 0; // 0 none, 1 --yes, 2 --no
        bool json = false;
    };

    /// Reads the arguments after "test"; false with a message in *error.
    static bool parse(const QStringList& args, Options& options, QString* error);
    /// The sub-command's lines for "kia-bench --help".
    static QString helpText();
    /// The names the sub-command knows, in help order.
    static QStringList testNames();

    TestCommand(BenchContext& ctx, ConsolePrompts& prompts, QTextStream& out, QTextStream& err);

    /// Runs the test; the context's port is open (or opens on first use).
    int run(const Options& options);

private:
    BenchContext& m_ctx;
    ConsolePrompts& m_prompts;
    QTextStream& m_out;
    QTextStream& m_err;
};

} // namespace kia
