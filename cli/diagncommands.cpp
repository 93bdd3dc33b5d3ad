#include "diagncommands.h"

#include "diagnhosts.h"
#include "diagnlint.h"

#include "core/benchcontext.h"
#include "diagn/diagnosticsengine.h"
#include "diagn/scenario.h"
#include "link/linkstatus.h"

#include <QDir>
#include <QFile>

namespace kia {

namespace {

QString jsonInts(const std::array<int, 3>& v) {
    return QStringLiteral("[%1, %2, %3]").arg(v[0]).arg(v[1]).arg(v[2]);
}

// Each dialog becomes one JSON line; the answer is taken by the caller.
class JsonSteps final : public StepDialogHost {
public:
    explicit JsonSteps(QTextStream& out) : m_out(out) {}
    bool open = false;
    bool ended = false;
    RunEnd how = RunEnd::Path;

    void OpenStepDialog(const StepRequest& r) override {
        open = true;
        QStringList rows;
        for (const StepRecord& h : r.history)
            rows << QStringLiteral("[%1, %2]").arg(jsonString(h.label),
                                                   jsonString(outcomeWord(h.outcome)));
        m_out << QStringLiteral("{\"scenario\": %1, \"kind\": %2, \"node\": %3, \"dialog\": %4, "
                                "\"mode\": %5, \"point\": %6, \"text\": %7, \"history\": [%8]}\n")
                     .arg(jsonString(r.scenario)).arg(r.kind).arg(r.node)
                     .arg(jsonString(r.oscilloscope ? QStringLiteral("oscilloscope")
                                                    : QStringLiteral("probe")),
                          r.oscilloscope ? QString::number(r.mode) : QStringLiteral("null"),
                          jsonString(r.point), jsonString(r.text),
                          rows.join(QStringLiteral(", ")));
        m_out.flush();
    }
    void TestStepDone(const QString& name, int result) override {
        m_out << QStringLiteral("{\"test\": %1, \"result\": %2}\n").arg(jsonString(name)).arg(result);
        m_out.flush();
    }
    void RunEnded(RunEnd h, const QString& message) override {
        static const char* words[] = {"path", "stopped", "error"};
        end(QLatin1String(words[int(h)]), message);
        how = h;
    }
    void end(QLatin1StringView word, const QString& message) {
        ended = true;
        m_out << QStringLiteral("{\"end\": \"%1\", \"message\": %2}\n").arg(word, jsonString(message));
        m_out.flush();
    }

private:
    QTextStream& m_out;
};

QString dotString(const QString& s) {
    QString r = s;
    r.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    r.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    r.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + r + QLatin1Char('"');
}

} // namespace

QString jsonString(const QString& text) {
    QString r;
    r.reserve(text.size() + 2);
    r += QLatin1Char('"');
    for (QChar c : text) {
        switch (c.unicode()) {
        case '"': r += QStringLiteral("\\\""); break;
        case '\\': r += QStringLiteral("\\\\"); break;
        case '\n': r += QStringLiteral("\\n"); break;
        case '\r': r += QStringLiteral("\\r"); break;
        case '\t': r += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                r += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
            else
                r += c;
        }
    }
    r += QLatin1Char('"');
    return r;
}

namespace {

// What a diagnostics command's arguments say; empty files are the defaults.
struct DiagnArguments {
    QString name, file;
    int kind = 0;
    bool dot = false;
    QString start = QStringLiteral("common"), instrument = QStringLiteral("probe");
    QList<DiagnCommands::ScriptedAnswer> script;
    QString dgn, ccr;
};

bool readScenarioArguments(const QStringList& args, DiagnArguments& d, QString& error) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--dot")) {
            d.dot = true;
        } else if (a == QStringLiteral("--kind") && i + 1 < args.size()) {
            const QString k = args[++i];
            if (k != QStringLiteral("0") && k != QStringLiteral("1") && k != QStringLiteral("2")) {
                error = QStringLiteral("--kind: 0, 1 или 2: %1").arg(k);
                return false;
            }
            d.kind = k.toInt();
        } else if (a == QStringLiteral("--file") && i + 1 < args.size()) {
            d.file = args[++i];
        } else if (a.startsWith(QLatin1Char('-')) || !d.name.isEmpty()) {
            error = QStringLiteral("scenario: лишний аргумент: %1").arg(a);
            return false;
        } else {
            d.name = a;
        }
    }
    if (d.name.isEmpty()) {
        error = QStringLiteral("scenario ИМЯ: укажите имя сценария");
        return false;
    }
    return true;
}

bool readDiagnoseArguments(const QStringList& args, DiagnArguments& d, QString& error) {
    QStringList answers;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--start") && i + 1 < args.size()) {
            d.start = args[++i];
            if (d.start != QStringLiteral("common") && d.start != QStringLiteral("osc") &&
                d.start != QStringLiteral("probe")) {
                error = QStringLiteral("--start: common, osc или probe: %1").arg(d.start);
                return false;
            }
        } else if (a == QStringLiteral("--instrument") && i + 1 < args.size()) {
            d.instrument = args[++i];
            if (d.instrument != QStringLiteral("probe") && d.instrument != QStringLiteral("osc")) {
                error = QStringLiteral("--instrument: probe или osc: %1").arg(d.instrument);
                return false;
            }
        } else if (a == QStringLiteral("--answers") && i + 1 < args.size()) {
            answers = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else if (a.startsWith(QLatin1Char('-')) || !d.name.isEmpty()) {
            error = QStringLiteral("diagnose: лишний аргумент: %1").arg(a);
            return false;
        } else {
            d.name = a;
        }
    }
    if (d.name.isEmpty()) {
        error = QStringLiteral("diagnose ИМЯ: укажите имя сценария");
        return false;
    }
    for (const QString& raw : answers) {
        const QString a = raw.trimmed();
        bool ok = true;
        if (a == QStringLiteral("pass"))
            d.script << DiagnCommands::ScriptedAnswer{CodePass, 0};
        else if (a == QStringLiteral("fail0"))
            d.script << DiagnCommands::ScriptedAnswer{CodeFail, 0};
        else if (a == QStringLiteral("fail1"))
            d.script << DiagnCommands::ScriptedAnswer{CodeFail, 1};
        else if (a == QStringLiteral("stop"))
            d.script << DiagnCommands::ScriptedAnswer{CodeStop, 0};
        else if (a.startsWith(QStringLiteral("back=")))
            d.script << DiagnCommands::ScriptedAnswer{CodeBackToStep, a.mid(5).toInt(&ok)};
        else
            ok = false;
        if (!ok) {
            error = QStringLiteral("--answers: неизвестный ответ: %1").arg(a);
            return false;
        }
    }
    return true;
}

bool readLintArguments(const QStringList& args, DiagnArguments& d, QString& error) {
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--dgn") && i + 1 < args.size()) {
            d.dgn = args[++i];
        } else if (args[i] == QStringLiteral("--ccr") && i + 1 < args.size()) {
            d.ccr = args[++i];
        } else {
            error = QStringLiteral("lint: лишний аргумент: %1").arg(args[i]);
            return false;
        }
    }
    return true;
}

bool readArguments(const QString& command, const QStringList& args, DiagnArguments& d,
                   QString* error) {
    d = DiagnArguments{};
    QString why;
    bool ok = false;
    if (command == QStringLiteral("scenario"))
        ok = readScenarioArguments(args, d, why);
    else if (command == QStringLiteral("diagnose"))
        ok = readDiagnoseArguments(args, d, why);
    else if (command == QStringLiteral("lint"))
        ok = readLintArguments(args, d, why);
    else
        why = QStringLiteral("неизвестная команда: %1").arg(command);
    if (!ok && error)
        *error = why;
    return ok;
}

} // namespace

bool DiagnCommands::validate(const QString& command, const QStringList& args, QString* error) {
    DiagnArguments d;
    return readArguments(command, args, d, error);
}

bool DiagnCommands::handles(const QString& command) {
    return command == QStringLiteral("scenario") || command == QStringLiteral("diagnose") ||
           command == QStringLiteral("lint");
}

bool DiagnCommands::defaultsToSimulator(const QStringList& positional) {
    return !positional.isEmpty() && positional.first() == QStringLiteral("diagnose");
}

QString DiagnCommands::helpText() {
    return QStringLiteral(
        "  scenario ИМЯ [--kind 0|1|2] [--file ФАЙЛ] [--dot]\n"
        "                               таблица шагов сценария одной строкой JSON\n"
        "                               (0 CDIAGN, 1 ODIAGN, 2 PDIAGN; файл по умолчанию\n"
        "                               kia_nelta2.dgn); --dot - граф для Graphviz\n"
        "  diagnose ИМЯ [--start common|osc|probe] [--instrument probe|osc] --answers СПИСОК\n"
        "                               диагностика, как в программе: строка JSON на каждый\n"
        "                               шаг; ответы через запятую: pass, fail0, fail1, stop,\n"
        "                               back=N; порт по умолчанию sim\n"
        "  lint [--dgn ФАЙЛ] [--ccr ФАЙЛ]\n"
        "                               проверка файла сценариев: недостижимые шаги,\n"
        "                               переходы на несуществующие шаги, точки без описания,\n"
        "                               коды неисправностей без сценария\n");
}

DiagnCommands::DiagnCommands(BenchContext& ctx, QTextStream& out, QTextStream& err,
                             std::function<bool()> openPort)
    : m_ctx(ctx), m_out(out), m_err(err), m_openPort(std::move(openPort)) {}

int DiagnCommands::usage(const QString& message) {
    m_err << "kia-bench: " << message << "\n"
          << "Подробнее: kia-bench --help\n";
    m_err.flush();
    return 64;
}

int DiagnCommands::run(const QString& command, const QStringList& args) {
    DiagnArguments d;
    QString error;
    if (!readArguments(command, args, d, &error))
        return usage(error);
    if (command == QStringLiteral("scenario"))
        return scenario(d.name, d.file.isEmpty() ? workingDataFile(m_ctx, QStringLiteral(".dgn")) : d.file,
                        d.kind, d.dot);
    if (command == QStringLiteral("diagnose"))
        return diagnose(d.name, d.start, d.instrument, d.script);
    return lint(d.dgn.isEmpty() ? workingDataFile(m_ctx, QStringLiteral(".dgn")) : d.dgn, d.ccr);
}

int DiagnCommands::scenario(const QString& name, const QString& file, int kind, bool dot) {
    Scenario s;
    if (!s.Load(file, name, kind, m_ctx.boardType)) {
        m_err << DiagnosticsEngine::loadErrorText() << "\n";
        m_err.flush();
        return 1;
    }
    if (dot) {
        m_out << "digraph " << dotString(name) << " {\n"
              << "  node [shape=box, fontname=\"DejaVu Sans\"];\n";
        static const char* branch[] = {"PASS", "FAIL0", "FAIL1"};
        for (int i = 1; i <= s.NodeCount(); ++i) {
            const ScenarioNode& n = *s.node(i);
            QString label = QString::number(i);
            if (!n.name.isEmpty())
                label += QStringLiteral(": ") + n.name;
            if (!n.text.isEmpty())
                label += QLatin1Char('\n') + n.text;
            m_out << "  n" << i << " [label=" << dotString(label)
                  << (n.kind == StepTest || n.kind == StepHandOver ? ", shape=ellipse" : "")
                  << "];\n";
            if (n.kind == StepTest || n.kind == StepHandOver)
                continue; // their links are never followed
            for (int b = 0; b < 3; ++b) {
                if (n.links[b] > 0)
                    m_out << "  n" << i << " -> n" << n.links[b] << " [label=\"" << branch[b]
                          << "\"];\n";
                else if (n.links[b] == LinkOtherScenario)
                    m_out << "  n" << i << " -> " << dotString(n.next[b]) << " [label=\""
                          << branch[b] << "\", style=dashed];\n";
            }
        }
        m_out << "}\n";
        m_out.flush();
        return 0;
    }
    QStringList nodes;
    for (int i = 1; i <= s.NodeCount(); ++i) {
        const ScenarioNode& n = *s.node(i);
        nodes << QStringLiteral("{\"index\": %1, \"kind\": %2, \"parent\": %3, \"branch\": %4, "
                                "\"links\": %5, \"next\": [%6, %7, %8], \"name\": %9, \"text\": %10}")
                     .arg(i).arg(n.kind).arg(n.parent).arg(n.branch)
                     .arg(jsonInts(n.links), jsonString(n.next[0]), jsonString(n.next[1]),
                          jsonString(n.next[2]), jsonString(n.name), jsonString(n.text));
    }
    m_out << QStringLiteral("{\"scenario\": %1, \"kind\": %2, \"nodes\": [%3]}\n")
                 .arg(jsonString(name)).arg(kind).arg(nodes.join(QStringLiteral(", ")));
    m_out.flush();
    return 0;
}

int DiagnCommands::diagnose(const QString& name, const QString& start,
                            const QString& instrument, const QList<ScriptedAnswer>& script) {
    if (m_ctx.workingFolder.isEmpty())
        m_ctx.workingFolder = QDir::currentPath() + QLatin1Char('/');
    JsonSteps steps(m_out);
    if (!m_openPort()) {
        steps.end(QLatin1StringView("error"),
                  LinkStatusText(m_ctx.linkStatus, m_ctx.boardType, m_ctx.selectedPort).text);
        return 1;
    }
    QuietTestHost tests(m_ctx);
    PointsFileBoard board(workingDataFile(m_ctx, QStringLiteral(".dot")), m_ctx.boardType);
    DiagnosticsEngine engine(m_ctx, tests, steps, board);
    engine.setLogicProbe([instrument] { return instrument == QStringLiteral("probe"); });
    ScenarioHost* previous = m_ctx.scenarios;
    m_ctx.scenarios = &engine;

    bool started = false;
    if (start == QStringLiteral("osc"))
        started = engine.StartOscilloscopeScenario(name);
    else if (start == QStringLiteral("probe"))
        started = engine.StartProbeScenario(name);
    else
        started = engine.StartScenario(name, 1);
    if (!started && !steps.ended)
        steps.end(QLatin1StringView("error"), DiagnosticsEngine::loadErrorText());

    qsizetype next = 0;
    while (engine.running() && steps.open) {
        if (next >= script.size()) {
            steps.end(QLatin1StringView("stopped"), QString());
            steps.how = RunEnd::Stopped;
            break;
        }
        steps.open = false;
        const ScriptedAnswer a = script[next++];
        engine.HandleOutcome(a.code, a.argument);
    }
    m_ctx.scenarios = previous;
    return steps.ended && steps.how != RunEnd::Error && started ? 0 : 1;
}

int DiagnCommands::lint(const QString& dgn, const QString& ccr) {
    const QString dot = QFileInfo(dgn).dir().filePath(QStringLiteral("kia_nelta2.dot"));
    QStringList findings = LintScenarioFile(dgn, dot);
    if (!ccr.isEmpty())
        findings << LintStepFile(dgn, ccr);
    for (const QString& f : findings)
        m_out << f << "\n";
    m_out.flush();
    return findings.isEmpty() ? 0 : 1;
}

} // namespace kia
