#pragma once

// A whole bench for the board tests on a virtual clock: the simulated board of
// a board type, a context whose link is attached to it, scripted prompts, a
// scripted host and recorded diagnostics.

#include "scriptedtesthost.h"

#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/boardmodel.h"
#include "sim/virtualclock.h"

#include <QTemporaryDir>
#include <memory>

namespace testhost {

struct BenchRig {
    explicit BenchRig(int boardType) : bench(boardType, clock), ctx(clock, prompts), host(ctx) {
        ctx.boardType = boardType;
        ctx.selectedPort = 1;
        ctx.scenarios = &scenarios;
        ctx.workingFolder = folder.path() + QLatin1Char('/');
        ctx.link.attachLine(std::make_unique<sim::BenchLine>(bench, clock), 1, 0);
        if (boardType == 4)
            bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
    }
    ~BenchRig() { ctx.link.CloseLinkPort(); }

    sim::BoardModel& board() { return bench.board(); }
    qint64 nowMs() const { return clock.nowUs() / 1000; }

    sim::VirtualClock clock;
    sim::Bench bench;
    kia::ScriptedPrompts prompts;
    kia::BenchContext ctx;
    RecordingScenarios scenarios;
    ScriptedTestHost host;
    QTemporaryDir folder;
};

} // namespace testhost
