#pragma once

// One kia-bench command line run in-process on a virtual clock, with what it
// printed on each stream.

#include "cli/benchcli.h"
#include "sim/virtualclock.h"

#include <QStringList>
#include <QTextStream>

namespace clitest {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

inline Run runCli(const QStringList& args) {
    Run r;
    sim::VirtualClock clock;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    kia::BenchCli cli(out, err, &clock);
    r.code = cli.run(args);
    out.flush();
    err.flush();
    return r;
}

} // namespace clitest
