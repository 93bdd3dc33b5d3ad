#pragma once

// A test-side host for the board tests: answers the start dialog, the version
// choice, the test dialog's buttons and the nested error displays from
// queues, and records what it was shown. Memory-error displays go through the
// real MemoryErrorModel, so a clean block closes with 1 as in the workstation.

#include "core/benchcontext.h"
#include "core/scenariohost.h"
#include "portimagemodel.h"
#include "testdriver.h"
#include "testengine.h"
#include "testenginehost.h"
#include "testsessionhost.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>

namespace testhost {

/// One memory block that became visible.
struct ShownBlock {
    kia::MemoryErrorKind kind = kia::MemoryErrorKind::Ram;
    int pattern = 0;
    quint32 block = 0;
    QString title;
    bool continueEnabled = true;
    bool nextTestEnabled = true;
    int differing = 0;
};

class ScriptedTestHost : public kia::TestSessionHost, public kia::TestEngineHost {
public:
    explicit ScriptedTestHost(kia::BenchContext& ctx) : m_ctx(ctx) {}

    // --- answers -------------------------------------------------------------
    bool startDialogContinues = true;
    bool startDialogDontShow = false;
    /// Version values the choice dialog returns; an empty queue cancels.
    QQueue<QString> versions;
    /// Buttons pressed when a test has done its steps (1 "Повтор", 2 "Выход"); default 2.
    QQueue<int> afterCompletion;
    /// Answers of the memory-error display for visible blocks; default 2 ("Выход").
    QQueue<int> memoryAnswers;
    /// Answers of the port-image list; default 2 ("Выход").
    QQueue<int> portImageAnswers;

    // --- what happened ---------------------------------------------------------
    int startDialogs = 0;
    int versionChoices = 0;
    int clearMarks = 0;
    QList<int> dialogResults;
    QList<int> testNumbers;
    QStringList texts;    // every text line the dialogs showed
    QList<int> intervals; // every timer (re)start
    QList<int> ranges;    // every progress range
    /// Runs just before each test dialog opens (to change the board under test).
    std::function<void()> beforeDialog;
    QList<ShownBlock> blocks;
    int cleanBlocks = 0;
    QList<kia::PortImageModel> portImages;

    bool ShowStartDialog(int, bool& dontShowAgain) override {
        ++startDialogs;
        dontShowAgain = startDialogDontShow;
        return startDialogContinues;
    }

    bool ChooseSoftwareVersion(kia::BenchContext& ctx) override {
        ++versionChoices;
        if (versions.isEmpty())
            return false;
        ctx.chosenVersion = versions.dequeue();
        return true;
    }

    int RunTestDialog(kia::TestEngine& engine) override {
        testNumbers << engine.testNumber();
        if (beforeDialog)
            beforeDialog();
        QObject::connect(&engine, &kia::TestEngine::progressRangeChanged,
                         [this](int max) { ranges << max; });
        QObject::connect(&engine, &kia::TestEngine::textChanged,
                         [this](const QString& t) { texts << t; });
        QObject::connect(&engine, &kia::TestEngine::timerRestarted,
                         [this](int ms) { intervals << ms; });
        const int r = kia::runTestToEnd(engine, m_ctx.clock, [this](kia::TestEngine&) {
            return afterCompletion.isEmpty() ? 2 : afterCompletion.dequeue();
        });
        dialogResults << r;
        return r;
    }

    kia::TestEngineHost& engineHost() override { return *this; }
    void ClearMarks() override { ++clearMarks; }

    int ShowMemoryError(kia::MemoryErrorKind kind, int pattern, quint32 blockStart) override {
        kia::MemoryErrorModel m(m_ctx, kind, pattern, blockStart);
        const kia::MemoryErrorModel::Opening opening = m.open();
        if (opening == kia::MemoryErrorModel::Opening::Clean)
            ++cleanBlocks;
        if (opening != kia::MemoryErrorModel::Opening::Shown)
            return m.immediateResult();
        blocks << ShownBlock{m.kind(),          m.pattern(),         m.blockStart(),
                             m.title(),         m.continueEnabled(), m.nextTestEnabled(),
                             m.differingCount()};
        return memoryAnswers.isEmpty() ? 2 : memoryAnswers.dequeue();
    }

    int ShowPortImageError(const kia::PortImageModel& image) override {
        portImages << image;
        return portImageAnswers.isEmpty() ? 2 : portImageAnswers.dequeue();
    }

private:
    kia::BenchContext& m_ctx;
};

/// Guided diagnostics as the tests see them: every keyword handed over.
class RecordingScenarios final : public kia::ScenarioHost {
public:
    QStringList started;
    QStringList oscilloscope;
    bool StartScenario(const QString& keyword, int kind) override {
        started << QStringLiteral("%1/%2").arg(keyword).arg(kind);
        return true;
    }
    bool StartOscilloscopeScenario(const QString& keyword) override {
        oscilloscope << keyword;
        return true;
    }
};

} // namespace testhost
