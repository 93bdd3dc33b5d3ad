#include "unattendedsteps.h"

#include "core/benchcontext.h"
#include "diagnosticsengine.h"
#include "probecheck.h"

namespace kia {

UnattendedProbeSteps::UnattendedProbeSteps(BenchContext& ctx, PlaceTip placeTip,
                                           PlaceDriver placeDriver)
    : m_ctx(ctx), m_placeTip(std::move(placeTip)), m_placeDriver(std::move(placeDriver)) {}

void UnattendedProbeSteps::OpenStepDialog(const StepRequest& r) {
    if (r.oscilloscope || r.point.isEmpty()) {
        // The conclusion, or a step only the engineer can take.
        m_answer = Answer{CodeStop, 0};
        return;
    }
    if (!m_fileRead) {
        m_file.load(StepFile::defaultPath(m_ctx.workingFolder));
        m_fileRead = true;
    }
    if (m_placeTip)
        m_placeTip(parseProbePointName(r.point).stepName);
    if (m_placeDriver)
        m_placeDriver(prepareProbeStep(m_file, r.point, r.text, m_ctx.boardType).command.connectTo);
    const ProbeCheckResult result = runProbeStep(m_ctx, m_file, r.point, false);
    m_answer = Answer{result.code, result.argument};
    const QString word = result.code == CodePass ? QStringLiteral("PASS")
                         : result.code == CodeFail
                             ? QStringLiteral("FAIL%1").arg(result.argument)
                             : QStringLiteral("code %1").arg(result.code);
    m_steps << r.point + QLatin1Char(' ') + word;
}

std::optional<UnattendedProbeSteps::Answer> UnattendedProbeSteps::takeAnswer() {
    std::optional<Answer> a = m_answer;
    m_answer.reset();
    return a;
}

DiagnosticsRun runUnattended(DiagnosticsEngine& engine, UnattendedProbeSteps& steps,
                             const QString& keyword, int maxSteps) {
    if (!engine.StartScenario(keyword, 1)) {
        DiagnosticsRun failed;
        failed.scenario = keyword;
        failed.end = RunEnd::Error;
        failed.message = DiagnosticsEngine::loadErrorText();
        return failed;
    }
    for (int n = 0; engine.running() && n < maxSteps; ++n) {
        const auto a = steps.takeAnswer();
        if (!a)
            break;
        engine.HandleOutcome(a->code, a->argument);
    }
    if (engine.running())
        engine.HandleOutcome(CodeStop);
    return engine.lastRun();
}

} // namespace kia
