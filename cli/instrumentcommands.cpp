#include "instrumentcommands.h"

#include "core/benchcontext.h"
#include "core/board.h"
#include "hexdump.h"
#include "link/linkstatus.h"
#include "probe/boardpreparation.h"
#include "probe/probe.h"
#include "probe/probetexts.h"
#include "probe/pulsemeasure.h"
#include "probe/stimulus.h"

namespace kia {

namespace {
constexpr int ExitOk = 0;
constexpr int ExitLink = 2;
constexpr int ExitUsage = 64;

/// The three pulse circuits of the thermal printer's print pulse: window and
/// stimulus length (0.1 ms) by board family, as the circuit checks time them.
struct PulseSetting {
    int windowMs;
    int length;
    int length4;
};
constexpr PulseSetting kPulses[3] = {{200, 400, 400}, {100, 80, 20}, {50, 10, 5}};
} // namespace

InstrumentCommands::InstrumentCommands(BenchContext& ctx, QTextStream& out, QTextStream& err)
    : m_ctx(ctx), m_out(out), m_err(err) {}

bool InstrumentCommands::handles(const QString& command) {
    return command == QLatin1String("probe") || command == QLatin1String("stimulus");
}

QString InstrumentCommands::helpText() {
    return QStringLiteral(
        "  probe                        уровень на щупе логического пробника\n"
        "  probe --pulse 0|1|2          измерить импульс (окно 200, 100 или 50 мс)\n"
        "  stimulus ROW [--input V,...] строка ROW (0..24) таблицы стимулов: подготовка\n"
        "                               платы, начало, каждое значение входа, завершение\n");
}

namespace {

// What an instrument command's arguments say.
struct InstrumentArguments {
    int pulse = -1; // probe: the pulse circuit, -1 a static reading
    int row = 0;    // stimulus
    QList<quint8> inputs;
};

bool readArguments(const QString& command, const QStringList& args, InstrumentArguments& a,
                   QString* error) {
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    a = InstrumentArguments{};
    quint32 v = 0;
    if (command == QLatin1String("probe")) {
        if (args.isEmpty())
            return true;
        if (args.size() != 2 || args[0] != QLatin1String("--pulse") || !parseNumber(args[1], 2, v))
            return fail(QStringLiteral("probe: ожидается --pulse 0, 1 или 2"));
        a.pulse = int(v);
        return true;
    }
    if (command != QLatin1String("stimulus"))
        return fail(QStringLiteral("неизвестная команда: %1").arg(command));
    if (args.isEmpty() || !parseNumber(args[0], StimulusRoutines::RowCount - 1, v))
        return fail(QStringLiteral("stimulus: номер строки от 0 до %1")
                        .arg(StimulusRoutines::RowCount - 1));
    a.row = int(v);
    if (args.size() == 3 && args[1] == QLatin1String("--input")) {
        for (const QString& text : args[2].split(QLatin1Char(','))) {
            if (!parseNumber(text.trimmed(), 255, v))
                return fail(QStringLiteral("stimulus: неверное значение входа: %1").arg(text));
            a.inputs << static_cast<quint8>(v);
        }
    } else if (args.size() != 1) {
        return fail(QStringLiteral("stimulus: ожидается ROW [--input V[,V...]]"));
    } else {
        a.inputs << 0; // the setter runs once with input 0
    }
    return true;
}

} // namespace

bool InstrumentCommands::validate(const QString& command, const QStringList& args,
                                  QString* error) {
    InstrumentArguments a;
    return readArguments(command, args, a, error);
}

int InstrumentCommands::run(const QString& command, const QStringList& args) {
    InstrumentArguments a;
    QString error;
    if (!readArguments(command, args, a, &error))
        return usage(error);
    if (command == QLatin1String("probe"))
        return probe(a.pulse);
    return stimulus(a.row, a.inputs);
}

int InstrumentCommands::linkFailure() {
    const StatusMessage m = LinkStatusText(m_ctx.linkStatus, m_ctx.boardType, m_ctx.selectedPort);
    m_err << m.title << ": " << m.text << "\n";
    m_err.flush();
    return ExitLink;
}

int InstrumentCommands::usage(const QString& message) {
    m_err << "kia-bench: " << message << "\n";
    m_err.flush();
    return ExitUsage;
}

int InstrumentCommands::probe(int pulse) {
    if (pulse < 0) {
        quint8 level = 0;
        if (!ReadProbeLevel(m_ctx, level))
            return linkFailure();
        m_out << LevelReadingText(level) << "\n";
        m_out.flush();
        return ExitOk;
    }
    const PulseSetting& s = kPulses[pulse];
    const int length = isProgrammerBoard(m_ctx.boardType) ? s.length4 : s.length;
    CircuitValues values{};
    values[1] = static_cast<quint8>(length % 100);
    values[2] = static_cast<quint8>(length / 100);
    if (!MeasurePulse(m_ctx, s.windowMs, values))
        return linkFailure();
    m_out << MeasuredPulseText(m_ctx.lastPulse) << "\n";
    m_out.flush();
    return ExitOk;
}

int InstrumentCommands::stimulus(int r, const QList<quint8>& inputs) {
    if (!PrepareBoardForChecks(m_ctx))
        return linkFailure();
    StimulusRoutines routines(m_ctx);
    if (!routines.start(r))
        return linkFailure();
    for (quint8 v : inputs) {
        m_ctx.inputValue = v;
        if (!routines.setInput(r))
            return linkFailure();
    }
    if (!routines.finish(r))
        return linkFailure();
    m_out << QStringLiteral("Стимул %1 выполнен\n").arg(r);
    m_out.flush();
    return ExitOk;
}

} // namespace kia
