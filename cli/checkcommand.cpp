#include "checkcommand.h"

#include "consolesession.h"
#include "diagnhosts.h"
#include "servicecommands.h"

#include "boardtests/fullcheck.h"
#include "boardtests/testdriver.h"
#include "boardtests/testengine.h"
#include "core/benchcontext.h"
#include "core/consoleprompts.h"
#include "diagn/diagnosticsengine.h"
#include "diagn/unattendedsteps.h"
#include "probe/boardpreparation.h"
#include "report/fullcheckreport.h"
#include "sim/bench.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace kia {

namespace {

// The full check on the terminal: progress on stderr, no test that needs
// the engineer at the board. On the simulated bench the diagnostics of a
// failure run by themselves, the simulated probe tip put on each point.
class ConsoleCheckHost final : public FullCheckHost {
public:
    ConsoleCheckHost(BenchContext& ctx, QTextStream& err, const CheckCommand::Options& o,
                     sim::Bench* bench)
        : m_ctx(ctx), m_err(err), m_options(o), m_bench(bench) {}

    bool showStartDialog(int boardType, bool& dontShowAgain) override {
        dontShowAgain = false;
        return consoleStartDialog(m_err, boardType);
    }
    bool chooseSoftwareVersion(BenchContext& ctx) override {
        return consoleChooseVersion(ctx, m_err, m_options.haveVersion, m_options.version);
    }
    int runEngine(TestEngine& engine) override { return runTestToEnd(engine, m_ctx.clock); }
    void progress(int index, int count, const QString& name) override {
        m_err << QStringLiteral("[%1/%2] %3\n").arg(index + 1).arg(count).arg(name);
        m_err.flush();
    }

    QString runDiagnostics(const QString& keyword) override {
        if (!m_bench)
            return QString(); // on a real board only the engineer can hold the probe
        m_err << QStringLiteral("Диагностика: %1\n").arg(keyword);
        m_err.flush();
        if (!PrepareBoardForChecks(m_ctx)) {
            m_err << QStringLiteral("Диагностика %1 не проведена: плата не подготовлена\n").arg(keyword);
            return QString();
        }
        sim::Bench* bench = m_bench;
        const QString tipBefore = bench->probePoint();
        UnattendedProbeSteps steps(
            m_ctx, [bench](const QString& point) { bench->setProbePoint(point); },
            [bench](const QString& point) { bench->setDriverPoint(point); });
        QuietTestHost tests(m_ctx);
        PointsFileBoard board(workingDataFile(m_ctx, QStringLiteral(".dot")), m_ctx.boardType);
        DiagnosticsEngine engine(m_ctx, tests, steps, board);
        ScenarioHost* before = m_ctx.scenarios;
        m_ctx.scenarios = &engine;
        const DiagnosticsRun run = runUnattended(engine, steps, keyword);
        m_ctx.scenarios = before;
        bench->setProbePoint(tipBefore);
        bench->setDriverPoint(QString());
        if (run.concluded())
            m_err << run.conclusion << "\n";
        else if (run.end == RunEnd::Error)
            m_err << QStringLiteral("Диагностика %1 прервана: %2\n").arg(keyword, run.message);
        m_err.flush();
        return run.conclusion;
    }

private:
    BenchContext& m_ctx;
    QTextStream& m_err;
    const CheckCommand::Options& m_options;
    sim::Bench* m_bench;
};

} // namespace

QString CheckCommand::helpText() {
    return QStringLiteral(
        "  check [--report FILE]... [--version V] [--yes|--no] [--json]\n"
        "                               полная проверка платы: все тесты по порядку\n"
        "                               (тесты, требующие оператора, пропускаются);\n"
        "                               отчет FILE: .pdf, .html или .json\n");
}

bool CheckCommand::parse(const QStringList& args, Options& o, QString* error) {
    o = Options();
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--json")) {
            o.json = true;
        } else if (a == QStringLiteral("--yes") || a == QStringLiteral("--no")) {
            if (o.answer != 0) {
                *error = QStringLiteral("укажите только один из --yes и --no");
                return false;
            }
            o.answer = a == QStringLiteral("--yes") ? 1 : 2;
        } else if (a == QStringLiteral("--report") || a == QStringLiteral("--version")) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("check: после %1 нужно значение").arg(a);
                return false;
            }
            const QString v = args[++i];
            if (a == QStringLiteral("--version")) {
                o.version = v;
                o.haveVersion = true;
                continue;
            }
            const QString suffix = QFileInfo(v).suffix().toLower();
            if (suffix != QStringLiteral("pdf") && suffix != QStringLiteral("html") &&
                suffix != QStringLiteral("htm") && suffix != QStringLiteral("json")) {
                *error = QStringLiteral("check: отчет %1 - нужен файл .pdf, .html или .json").arg(v);
                return false;
            }
            o.reports << v;
        } else {
            *error = QStringLiteral("check: неизвестный аргумент %1").arg(a);
            return false;
        }
    }
    return true;
}

CheckCommand::CheckCommand(BenchContext& ctx, ConsolePrompts& prompts, QTextStream& out,
                           QTextStream& err, sim::Bench* bench)
    : m_ctx(ctx), m_prompts(prompts), m_out(out), m_err(err), m_bench(bench) {}

int CheckCommand::run(const Options& options) {
    if (options.answer != 0)
        m_prompts.setAnswer(options.answer == 1 ? PromptAnswer::Yes : PromptAnswer::No);
    if (m_ctx.workingFolder.isEmpty())
        m_ctx.workingFolder = QDir::currentPath() + QLatin1Char('/');
    // Board type 4: the test program goes into DD5 first, the software saved,
    // as the workstation's tests do; the service commands own that step.
    std::unique_ptr<ServiceCommands> service;
    if (m_ctx.boardType == 4 && !m_ctx.controllerPreparation)
        service = std::make_unique<ServiceCommands>(m_ctx, m_prompts, m_out, m_err, nullptr);
    ConsoleCheckHost host(m_ctx, m_err, options, m_bench);
    const FullCheckReport report = RunFullCheck(m_ctx, host);

    if (options.json) {
        m_out << QString::fromUtf8(QJsonDocument(fullCheckJson(report)).toJson(QJsonDocument::Compact))
              << "\n";
    } else {
        for (const QString& line : fullCheckSummary(report))
            m_out << line << "\n";
    }
    m_out.flush();

    bool written = true;
    for (const QString& path : options.reports) {
        QString error;
        if (writeFullCheckReport(report, path, &error)) {
            m_err << QStringLiteral("Отчет записан: %1\n").arg(QDir::toNativeSeparators(path));
        } else {
            m_err << QStringLiteral("Отчет не записан: %1\n").arg(error);
            written = false;
        }
    }
    m_err.flush();
    if (report.count(CheckVerdict::LinkFailure) > 0)
        return 2;
    return report.passed() && written ? 0 : 1;
}

} // namespace kia
