#include "diagnosticsengine.h"

#include "boardtests/namedtests.h"
#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/userprompts.h"
#include "link/linkmessages.h"
#include "link/linkstatus.h"

#include <utility>

namespace kia {

namespace {
constexpr int kBeepHz = 600;
constexpr int kBeepMs = 30;
const QString kTitle = QStringLiteral("Диагностика");

// A point name is written up to the first of these; what follows is for the step file.
QString pointNameOf(const QString& written) {
    qsizetype end = written.size();
    for (QChar stop : {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('{'), QLatin1Char('*')}) {
        const qsizetype at = written.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    return written.left(end).trimmed();
}
} // namespace

QString DiagnosticsEngine::loadErrorText() { return QStringLiteral("Ошибка загрузки !  "); }
QString DiagnosticsEngine::stepFileErrorText() {
    return QStringLiteral("Ошибка файла kia_nelta2.ccr !");
}
QString DiagnosticsEngine::notForProbeText() {
    return QStringLiteral("Данная точка не может быть\nпроконтролирована логическим\nпробником !");
}
QString DiagnosticsEngine::noProgrammerText() { return QStringLiteral("Нет связи с программатором !"); }
QString DiagnosticsEngine::noProgramNameText() {
    return QStringLiteral("Ошибка определения имени файла ПО контроллера");
}
QString DiagnosticsEngine::loopText() {
    return QStringLiteral("Сценарий зациклен: шаги без участия оператора\nповторяются без конца !");
}
QString DiagnosticsEngine::missingPointText(const QString& point) {
    return QStringLiteral("Точка %1 отсутствует в файле kia_nelta2.dot !").arg(point);
}

DiagnosticsEngine::DiagnosticsEngine(BenchContext& ctx, TestSessionHost& tests,
                                     StepDialogHost& dialogs, DiagnosticsBoard& board)
    : m_ctx(ctx), m_tests(tests), m_dialogs(dialogs), m_board(board),
      m_logicProbe([] { return true; }) {}

QString DiagnosticsEngine::scenarioFile() const {
    return m_file.isEmpty() ? m_ctx.workingFolder + QStringLiteral("kia_nelta2.dgn") : m_file;
}

bool DiagnosticsEngine::running() const { return m_active; }

bool DiagnosticsEngine::load(const QString& name, int kind) {
    return m_scenario.Load(scenarioFile(), name, kind, m_ctx.boardType);
}

bool DiagnosticsEngine::StartScenario(const QString& name, int commonFlag) {
    if (commonFlag == 0)
        return StartOscilloscopeScenario(name);
    if (m_active)
        return false;
    if (load(name, KindCommon))
        return start(name, KindCommon);
    return m_logicProbe() ? StartProbeScenario(name) : StartOscilloscopeScenario(name);
}

bool DiagnosticsEngine::StartOscilloscopeScenario(const QString& name) {
    if (m_active)
        return false;
    if (!load(name, KindOscilloscope)) {
        m_ctx.prompts.beep(kBeepHz, kBeepMs);
        m_ctx.prompts.message(PromptIcon::Error, kTitle, loadErrorText());
        return false;
    }
    return start(name, KindOscilloscope);
}

bool DiagnosticsEngine::StartProbeScenario(const QString& name) {
    if (m_active)
        return false;
    if (!load(name, KindProbe)) {
        m_ctx.prompts.beep(kBeepHz, kBeepMs);
        m_ctx.prompts.message(PromptIcon::Error, kTitle, loadErrorText());
        return false;
    }
    return start(name, KindProbe);
}

void DiagnosticsEngine::beginRun(const QString& name, int kind, bool pointCheck) {
    m_run = DiagnosticsRun();
    m_run.scenario = name;
    m_run.kind = kind;
    m_run.pointCheck = pointCheck;
    m_run.started = QDateTime::currentDateTime();
    m_runStartUs = m_ctx.clock.nowUs();
    m_openConclusion.clear();
}

int DiagnosticsEngine::addRunObserver(RunObserver observer) {
    const int id = m_nextObserver++;
    m_observers.emplace(id, std::move(observer));
    return id;
}

void DiagnosticsEngine::removeRunObserver(int id) { m_observers.erase(id); }

bool DiagnosticsEngine::start(const QString& name, int kind) {
    beginRun(name, kind, false);
    m_board.SetMenusLocked(true);
    m_ctx.diagnosticsActive = true;
    m_active = true;
    m_current = name;
    m_history.clear();
    m_node = 1;
    m_returnNode = 0;
    m_unattended = 0;
    drive(std::nullopt);
    return true;
}

void DiagnosticsEngine::BeginPointCheck() {
    beginRun(m_current, m_scenario.Kind(), true);
    m_board.SetMenusLocked(true);
    m_ctx.diagnosticsActive = true;
    m_active = true;
    m_history.clear();
    m_pending = StepRecord();
    m_node = 0;
    m_target = {0, 0, 0};
    m_targetScenario = {m_current, m_current, m_current};
    m_returnNode = 0;
    m_unattended = 0;
}

void DiagnosticsEngine::HandleOutcome(int code, int argument) {
    if (!m_active || m_inRun)
        return; // a dialog answers once, after the engine opened it
    m_unattended = 0;
    drive(Outcome{code, argument});
}

void DiagnosticsEngine::drive(std::optional<Outcome> outcome) {
    m_inRun = true;
    bool step = !outcome;
    for (;;) {
        if (outcome) {
            step = apply(*outcome);
            outcome.reset();
        }
        if (!step || !m_active)
            break;
        outcome = runStep();
        if (!outcome)
            break;
        if (++m_unattended > kMaxUnattendedSteps) {
            fail(kTitle, loopText());
            break;
        }
    }
    m_inRun = false;
}

QString DiagnosticsEngine::substitute(QString text, bool oscilloscope) const {
    auto newestLabel = [this](bool failed) {
        for (qsizetype i = m_history.size() - 1; i >= 0; --i) {
            const StepRecord& r = m_history[i];
            if (!r.label.isEmpty() && (r.outcome != OutcomePass) == failed)
                return std::optional<QString>(r.label);
        }
        return std::optional<QString>();
    };
    if (const auto l = newestLabel(true))
        text.replace(QStringLiteral("###"), *l);
    if (const auto l = newestLabel(false))
        text.replace(QStringLiteral("$$$"), *l);
    for (;;) {
        const qsizetype open = text.indexOf(QLatin1Char('{'));
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0)
            break;
        if (oscilloscope) {
            text.remove(open, close - open + 1);
        } else {
            text.remove(close, 1);
            text.remove(open, 1);
        }
    }
    return text;
}

std::optional<DiagnosticsEngine::Outcome> DiagnosticsEngine::runStep() {
    bool returnMode = false;
    QString text;
    for (;;) {
        m_targetScenario = {m_current, m_current, m_current};
        const ScenarioNode* found = m_scenario.node(m_node);
        if (!found) {
            fail(kTitle, loadErrorText());
            return std::nullopt;
        }
        const ScenarioNode n = *found;

        if (n.kind == StepHandOver) {
            if (++m_unattended > kMaxUnattendedSteps) {
                fail(kTitle, loopText());
                return std::nullopt;
            }
            if (!load(n.name, KindOscilloscope)) {
                fail(kTitle, loadErrorText());
                return std::nullopt;
            }
            m_current = n.name;
            m_node = 1;
            continue;
        }
        m_pending.kind = m_scenario.Kind();
        m_pending.label.clear();

        if (n.kind == StepTest && !returnMode) {
            m_board.ClearMarks();
            m_pending.label = n.name;
            QString keyword;
            const int result = RunNamedTest(m_ctx, m_tests, n.name, keyword);
            m_dialogs.TestStepDone(n.name, result);
            switch (result) {
            case NamedTestLinkFailure: return Outcome{CodeLinkFailure, 0};
            case NamedTestCancelled: return Outcome{CodeStop, 0};
            case NamedTestNoIdentity: return Outcome{CodeNoProgrammer, 0};
            case NamedTestBadIdentity: return Outcome{CodeNoProgramName, 0};
            default: break;
            }
            m_targetScenario[1] = keyword;
            m_targetScenario[2] = keyword;
            m_target[1] = m_target[2] = 1;
            // The next node of the table; after the last one the path ends.
            m_target[0] = m_node < m_scenario.NodeCount() ? m_node + 1 : 0;
            return Outcome{result == NamedTestPassed ? CodePass : CodeFail, 0};
        }

        QString point;
        if (n.kind == StepPoint || n.kind == StepPointText) {
            m_board.ClearMarks();
            QStringList names = n.name.split(QLatin1Char(','), Qt::SkipEmptyParts);
            for (qsizetype i = 0; i < names.size(); ++i) {
                const QString name = pointNameOf(names[i]);
                const bool marked = i + 1 < names.size() ? m_board.MarkPoint(name)
                                                         : m_board.ShowPoint(name);
                if (!marked) {
                    fail(kTitle, missingPointText(name));
                    return std::nullopt;
                }
            }
            if (!names.isEmpty()) {
                m_pending.label = pointNameOf(names.first()) +
                                  (names.size() > 1 ? QStringLiteral("...") : QString());
                point = names.last();
            }
        }

        // Targets, each branch falling back to the other FAIL branch.
        auto own = [&](int b) -> std::optional<std::pair<int, QString>> {
            if (n.links[b] >= 1)
                return std::pair<int, QString>(n.links[b], m_current);
            if (n.links[b] == LinkOtherScenario)
                return std::pair<int, QString>(1, n.next[b]);
            return std::nullopt;
        };
        auto setTarget = [&](int b, int fallback) {
            auto t = own(b);
            if (!t && fallback >= 0)
                t = own(fallback);
            m_target[b] = t ? t->first : 0;
            if (t)
                m_targetScenario[b] = t->second;
        };
        setTarget(BranchPass, -1);
        setTarget(BranchFail0, BranchFail1);
        setTarget(BranchFail1, BranchFail0);

        const int kind = m_scenario.Kind();
        const bool oscilloscope =
            kind == KindOscilloscope || (kind == KindCommon && !m_logicProbe());

        if ((n.kind == StepPointText || n.kind == StepText) && !returnMode) {
            text = n.text == QStringLiteral("VAR") ? m_ctx.reportText : n.text;
            text = substitute(text, oscilloscope);
        }

        if (m_target[0] == 0 && m_target[1] == 0 && m_target[2] == 0 && m_returnNode != 0 &&
            !(m_returnNode == m_node && m_returnScenario == m_current)) {
            // The path ended: show its last text with the choices of the last FAIL.
            m_node = m_returnNode;
            if (m_returnScenario != m_current) {
                if (!load(m_returnScenario, m_returnKind)) {
                    fail(kTitle, loadErrorText());
                    return std::nullopt;
                }
                m_current = m_returnScenario;
            }
            returnMode = true;
            continue;
        }

        StepRequest r;
        r.oscilloscope = oscilloscope;
        if (returnMode)
            r.mode = 3;
        else if (m_target[0] != m_target[1])
            r.mode = 2;
        else if (m_target[0] == 0)
            r.mode = 0;
        else
            r.mode = m_targetScenario[0] == m_targetScenario[1] ? 1 : 2;
        r.point = !oscilloscope && returnMode ? QString() : point;
        r.text = text;
        r.history = m_history;
        r.markRect = m_board.MarkRect();
        r.scenario = m_current;
        r.kind = kind;
        r.node = m_node;
        m_unattended = 0;
        // A step with nowhere to go, or the end of a path shown again with
        // the last FAIL's choices, is the scenario's conclusion.
        const bool pathEnd =
            returnMode || (m_target[0] == 0 && m_target[1] == 0 && m_target[2] == 0);
        m_openConclusion = pathEnd ? text : QString();
        m_dialogs.OpenStepDialog(r);
        return std::nullopt;
    }
}

bool DiagnosticsEngine::apply(const Outcome& o) {
    if (o.code == CodeBackToStep)
        return backToStep(o.argument);
    m_previousNode = m_node;
    m_pending.scenario = m_current;
    m_pending.node = m_node;
    QString next = m_current;
    switch (o.code) {
    case CodePass:
        m_node = m_target[BranchPass];
        next = m_targetScenario[BranchPass];
        m_pending.outcome = OutcomePass;
        break;
    case CodeFail: {
        const int b = o.argument == 1 ? BranchFail1 : BranchFail0;
        m_returnNode = m_node;
        m_returnScenario = m_current;
        m_returnKind = m_scenario.Kind();
        m_node = m_target[b];
        next = m_targetScenario[b];
        m_pending.outcome = o.argument == 1 ? OutcomeFail1 : OutcomeFail0;
        break;
    }
    case CodeLinkFailure: {
        m_node = 0;
        const bool cash = m_ctx.boardType == 4 && o.argument == 1;
        const StatusMessage m =
            cash ? CashLinkStatusText(m_ctx.linkStatus, m_ctx.selectedPort)
                 : LinkStatusText(m_ctx.linkStatus, m_ctx.boardType, m_ctx.selectedPort);
        if (cash)
            ShowCashLinkError(m_ctx);
        else
            ShowLinkError(m_ctx);
        endRun(RunEnd::Error, m.text);
        return false;
    }
    case CodeStepFileError:
        fail(kTitle, stepFileErrorText());
        return false;
    case CodeNotForProbe:
        fail(kTitle, notForProbeText());
        return false;
    case CodeNoProgrammer:
        fail(QStringLiteral("COM") + QString::number(m_ctx.selectedPort), noProgrammerText());
        return false;
    case CodeNoProgramName:
        fail(QStringLiteral("Тест ПЗУ..."), noProgramNameText());
        return false;
    default: // CodeStop and anything unknown end the run
        m_node = 0;
        endRun(RunEnd::Stopped);
        return false;
    }
    if (m_node == 0) {
        endRun(RunEnd::Path, QString(), true);
        return false;
    }
    m_history.append(m_pending);
    m_openConclusion.clear();
    if (next == m_current)
        return true;
    if (!load(next, KindCommon)) {
        const int kind = m_scenario.Kind();
        if (kind == KindCommon || !load(next, kind)) {
            fail(kTitle, loadErrorText());
            return false;
        }
    }
    m_node = 1;
    m_current = next;
    return true;
}

bool DiagnosticsEngine::backToStep(int row) {
    if (row < 0 || row >= m_history.size())
        return true; // no such row: the same step again
    const StepRecord chosen = m_history[row];
    m_history.erase(m_history.begin() + row, m_history.end());
    m_returnNode = 0;
    for (qsizetype i = m_history.size() - 1; i >= 0; --i) {
        if (m_history[i].outcome != OutcomePass) {
            m_returnNode = m_history[i].node;
            m_returnScenario = m_history[i].scenario;
            m_returnKind = m_history[i].kind;
            break;
        }
    }
    if (chosen.scenario != m_current || chosen.kind != m_scenario.Kind()) {
        if (!load(chosen.scenario, chosen.kind)) {
            fail(kTitle, loadErrorText());
            return false;
        }
    }
    m_current = chosen.scenario;
    m_node = chosen.node;
    return true;
}

void DiagnosticsEngine::fail(const QString& title, const QString& text, PromptIcon icon) {
    m_ctx.prompts.beep(kBeepHz, kBeepMs);
    m_ctx.prompts.message(icon, title, text);
    endRun(RunEnd::Error, text);
}

void DiagnosticsEngine::endRun(RunEnd how, const QString& message, bool lastStepAnswered) {
    m_node = 0;
    m_board.ClearMarks();
    m_board.SetMenusLocked(false);
    m_ctx.diagnosticsActive = false;
    m_active = false;
    m_run.end = how;
    m_run.message = message;
    m_run.path = m_history;
    if (lastStepAnswered)
        m_run.path.append(m_pending);
    // The conclusion counts when the run ended from the dialog that showed it.
    m_run.conclusion = how == RunEnd::Error ? QString() : m_openConclusion;
    m_run.elapsedMs = (m_ctx.clock.nowUs() - m_runStartUs) / 1000;
    m_openConclusion.clear();
    m_lastRun = m_run;
    m_dialogs.RunEnded(how, message);
    journalDiagnosticsRun(m_ctx, m_lastRun);
    // Copies: an observer may remove itself or start the next run.
    const DiagnosticsRun run = m_lastRun;
    const auto observers = m_observers;
    for (const auto& [id, observer] : observers)
        if (m_observers.count(id))
            observer(run);
}

} // namespace kia
