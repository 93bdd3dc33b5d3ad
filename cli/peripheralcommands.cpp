#include "peripheralcommands.h"

#include "consolesession.h"

#include "boardtests/circuitdialogmodel.h"
#include "boardtests/circuittable.h"
#include "boardtests/circuittesthost.h"
#include "boardtests/peripheraltest.h"
#include "boardtests/startdialogtexts.h"
#include "boardtests/testdriver.h"
#include "boardtests/testengine.h"
#include "boardtests/testenginehost.h"
#include "boardtests/testsessionhost.h"
#include "core/benchcontext.h"
#include "core/consoleprompts.h"
#include "sim/bench.h"
#include "sim/circuitwiring.h"
#include "view/controlpoint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kia {

namespace {
constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitLink = 2;

class ConsoleCircuitHost final : public ConsoleSessionHost, public CircuitTestHost {
public:
    ConsoleCircuitHost(sim::Bench* bench, bool json, int from, QTextStream& out, QTextStream& err)
        : ConsoleSessionHost(err), m_bench(bench), m_json(json), m_from(from), m_out(out),
          m_err(err) {}

    void ShowPoint(const QString& name, quint16 mark) override {
        if (!name.isEmpty() && !m_json) {
            m_err << (mark == CircuitMarkDriver ? "[формирователь] " : "[щуп] ") << name << "\n";
            m_err.flush();
        }
        if (m_bench)
            m_bench->setProbePoint(name);
    }
    void ClearMarks() override {}

    int RunCircuitDialog(CircuitDialogModel& dialog) override {
        // --from: the engineer picks that row in the first dialog.
        if (m_from >= 0) {
            const int row = m_from;
            m_from = -1;
            if (row != dialog.row())
                return CircuitDialogModel::choiceEndCode(row);
        }
        const CircuitRow& c = dialog.circuit();
        if (m_bench && c.output.isEmpty()) {
            m_bench->setProbePoint(c.drive == CircuitDrive::LevelDriver ? sim::driverOutputPoint()
                                                                        : QString());
        }
        m_rowErrors = QJsonArray();
        int end = dialog.run();
        const QString verdict = end == CircuitDialogLinkFailure ? QStringLiteral("обрыв связи")
                                : m_rowErrors.isEmpty()         ? QStringLiteral("норма")
                                : QStringLiteral("ошибки: %1").arg(m_rowErrors.size());
        if (m_json) {
            QJsonObject o{{QStringLiteral("row"), dialog.row()},
                          {QStringLiteral("circuit"), c.name},
                          {QStringLiteral("verdict"), verdict},
                          {QStringLiteral("errors"), m_rowErrors}};
            if (dialog.verdictShown())
                o.insert(QStringLiteral("final"), dialog.text().trimmed());
            m_out << QJsonDocument(o).toJson(QJsonDocument::Compact) << "\n";
        } else {
            m_out << QStringLiteral("%1 %2 %3").arg(dialog.row(), 2).arg(c.name, verdict) << "\n";
            if (dialog.verdictShown())
                m_out << dialog.text().trimmed() << "\n";
        }
        m_out.flush();
        if (end == 0)
            end = CircuitDialogExit; // the verdict is read; "Выход"
        return end;
    }

    CircuitErrorAnswer ShowCircuitError(const CircuitErrorReport& e) override {
        ++errors;
        QJsonObject o{{QStringLiteral("step"), e.step},
                      {QStringLiteral("inputs"), QJsonArray::fromStringList(e.inputs)},
                      {QStringLiteral("inputValues"), QJsonArray::fromStringList(e.inputValues)},
                      {QStringLiteral("output"), e.output},
                      {QStringLiteral("measured"), e.measured},
                      {QStringLiteral("expected"), e.expected}};
        if (!e.bottomLine.isEmpty())
            o.insert(QStringLiteral("bottomLine"), e.bottomLine);
        m_rowErrors.append(o);
        if (!m_json) {
            m_out << "   Ошибка теста периферии\n"
                  << "   Цепь : " << e.circuit << "\n"
                  << "   Вход(ы) : " << e.inputs.join(QStringLiteral(", ")) << "\n"
                  << "   Значение входов : " << e.inputValues.join(QStringLiteral(", ")) << "\n"
                  << "   Выход : " << e.output << "\n"
                  << "   Считанное значение выхода : " << e.measured << "\n"
                  << "   Ожидаемое значение выхода : " << e.expected << "\n";
            if (!e.bottomLine.isEmpty())
                m_out << "   " << e.bottomLine << "\n";
            m_out.flush();
        }
        return CircuitErrorAnswer::Continue;
    }

    int errors = 0;

private:
    sim::Bench* m_bench;
    bool m_json;
    int m_from;
    QTextStream& m_out;
    QTextStream& m_err;
    QJsonArray m_rowErrors;
};
} // namespace

bool PeripheralCommands::handles(const QString& command) {
    return command == QLatin1String("periph") || command == QLatin1String("probe-test");
}

QString PeripheralCommands::parse(const QString& command, const QStringList& args,
                                  Options& options) {
    options = Options{};
    if (command == QLatin1String("probe-test"))
        return args.isEmpty() ? QString() : QStringLiteral("probe-test не принимает аргументов");
    bool answered = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--json")) {
            options.json = true;
        } else if (a == QLatin1String("--yes") || a == QLatin1String("--no")) {
            if (answered)
                return QStringLiteral("periph: --yes и --no задаются один раз");
            answered = true;
            options.answer = a == QLatin1String("--yes") ? 1 : 2;
        } else if (a == QLatin1String("--from")) {
            bool ok = false;
            const int row = i + 1 < args.size() ? args.at(i + 1).toInt(&ok) : -1;
            if (!ok || row < 0 || row >= CircuitRowCount)
                return QStringLiteral("periph: --from ROW, строка таблицы цепей 0..27");
            options.from = row;
            ++i;
        } else {
            return QStringLiteral("periph: неизвестный аргумент %1").arg(a);
        }
    }
    return QString();
}

QString PeripheralCommands::helpText() {
    return QStringLiteral(
        "  periph [--from ROW] [--yes|--no] [--json]\n"
        "                               тест цепей периферии (--yes/--no: проверять ли\n"
        "                               пробник; ошибки выводятся и тест продолжается)\n"
        "  probe-test                   тест логического пробника (строки 0..4)\n");
}

PeripheralCommands::PeripheralCommands(BenchContext& ctx, ConsolePrompts& prompts,
                                       sim::Bench* bench, QTextStream& out, QTextStream& err)
    : m_ctx(ctx), m_prompts(prompts), m_bench(bench), m_out(out), m_err(err) {}

int PeripheralCommands::run(const QString& command, const Options& options) {
    if (options.from >= 0 &&
        !circuitTable(m_ctx.boardType)[static_cast<size_t>(options.from)].isPresent()) {
        m_err << "kia-bench: на плате типа " << m_ctx.boardType << " нет цепи " << options.from
              << "\n";
        m_err.flush();
        return 64;
    }
    ConsoleCircuitHost host(m_bench, options.json, options.from, m_out, m_err);
    PeripheralOutcome outcome;
    if (command == QLatin1String("probe-test")) {
        outcome = RunProbeSelfTest(m_ctx, host, host);
    } else {
        m_prompts.setAnswer(options.answer == 2 ? PromptAnswer::No : PromptAnswer::Yes);
        outcome = RunPeripheralTest(m_ctx, host, host);
    }
    switch (outcome) {
    case PeripheralOutcome::LinkFailure:
    case PeripheralOutcome::NotPrepared:
        return ExitLink;
    default:
        return host.errors > 0 || m_ctx.circuitErrorFlag ? ExitFailed : ExitOk;
    }
}

QString checkProbePoint(const QString& dotPath, int boardType, const QString& point) {
    if (point == sim::driverOutputPoint())
        return QString();
    QList<ControlPoint> points;
    if (!LoadPointsFile(dotPath, boardType, points))
        return QStringLiteral("--probe-at: не удается прочитать файл точек %1").arg(dotPath);
    if (FindPoint(points, boardType, point) < 0)
        return QStringLiteral("--probe-at: на плате типа %1 нет контрольной точки \"%2\"")
            .arg(boardType)
            .arg(point);
    return QString();
}

} // namespace kia
