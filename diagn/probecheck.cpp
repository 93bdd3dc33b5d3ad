#include "probecheck.h"

#include "stepdialoghost.h"

#include "core/benchcontext.h"
#include "core/board.h"
#include "probe/circuitvalues.h"
#include "probe/probe.h"
#include "probe/pulsemeasure.h"
#include "probe/stimulus.h"

namespace kia {

namespace {

QString tenths(int n) { return QStringLiteral("%1.%2").arg(n / 10).arg(n % 10); }

} // namespace

QString stepLevelText(int level) {
    switch (level) {
    case 0: return QStringLiteral("уровень лог. \"0\".");
    case 1: return QStringLiteral("уровень лог. \"1\".");
    case 2: return QStringLiteral("уровень +12B.");
    // The third letter is a Latin C, as the bench has always shown it.
    case 3: return QStringLiteral("ВИ") + QLatin1Char('C') + QStringLiteral(" ( обрыв ).");
    default: return QString();
    }
}

QString stepPulseLevelText(int level) {
    switch (level) {
    case 0: return QStringLiteral("лог.\"0\"");
    case 1: return QStringLiteral("лог.\"1\"");
    case 2: return QStringLiteral("ур.+12в");
    default: return QString();
    }
}

QString stepExpectedPulseText(int level, int minTenths, int maxTenths) {
    return QStringLiteral("Имп.") + stepPulseLevelText(level) + QStringLiteral(", ") + tenths(minTenths)
           + QStringLiteral(" - ") + tenths(maxTenths) + QStringLiteral("ms");
}

QString stepMeasuredPulseText(int level, int lengthTenths, bool lengthMeasured) {
    if (level == ProbeOpen || !lengthMeasured)
        return stepLevelText(level);
    return QStringLiteral("Имп.") + stepPulseLevelText(level) + QStringLiteral(", ") + tenths(lengthTenths)
           + QStringLiteral("ms");
}

PulseMeasurement pulseMeasurementFor(int measurement, int boardType) {
    const bool type4 = isProgrammerBoard(boardType);
    switch (measurement) {
    case 0: return {200, type4 ? 1 : 0, 400};
    case 1: return {100, type4 ? 1 : 0, type4 ? 20 : 80};
    case 2: return {50, type4 ? 1 : 0, type4 ? 5 : 10};
    default: return {};
    }
}

ProbeStepSetup prepareProbeStep(const StepFile& file, const QString& writtenPoint,
                                const QString& instructionText, int boardType) {
    ProbeStepSetup s;
    if (writtenPoint.isEmpty()) {
        s.text = instructionText;
        return s;
    }
    s.name = parseProbePointName(writtenPoint);
    s.canStart = true;
    s.text = QStringLiteral("\nУстановите щуп пробника на\n") + s.name.shown + QStringLiteral(" !\n")
             + QStringLiteral("Нажмите \"Пуск\" !");
    if (file.find(writtenPoint, boardType, s.command, &s.fileError) != StepFile::Ok) {
        s.immediateCode = CodeStepFileError;
        return s;
    }
    if (!s.command.examinable()) {
        s.immediateCode = CodeNotForProbe;
        return s;
    }
    if (!s.command.connectTo.isEmpty())
        s.text += QStringLiteral("\n(выход формирователя лог. уровней\nдолжен быть подключен к ")
                  + s.command.connectTo + QLatin1Char(')');
    return s;
}

ProbeCheckResult runProbeCheck(BenchContext& ctx, const StepCommand& command, bool singlePoint) {
    ProbeCheckResult r;
    auto linkFailure = [&r](int argument) {
        r.code = CodeLinkFailure;
        r.argument = argument;
        return r;
    };
    StimulusRoutines stimulus(ctx);
    const bool withRow = command.row >= 0;
    const bool level = !command.isPulseCheck();
    if (!command.inputs.isEmpty() && (!level || !withRow)) {
        r.code = CodeStepFileError; // inputs need a row to drive them, and never go with a pulse
        return r;
    }
    if (withRow && !stimulus.start(command.row))
        return linkFailure(1);

    bool failed = false;
    bool openSeen = false;
    if (level && command.inputs.isEmpty()) {
        quint8 read = 0;
        if (!ReadProbeLevel(ctx, read))
            return linkFailure(0);
        const int expected = command.expected.value(0, -1);
        failed = read != expected;
        openSeen = read == ProbeOpen;
        r.rows.append({QStringLiteral("1."), stepLevelText(read), stepLevelText(expected)});
    } else if (level) {
        for (int i = 0; i < command.inputs.size(); ++i) {
            ctx.inputValue = static_cast<quint8>(command.inputs[i]);
            if (!stimulus.setInput(command.row))
                return linkFailure(1);
            quint8 read = 0;
            if (!ReadProbeLevel(ctx, read))
                return linkFailure(0);
            // A command with fewer expected items than inputs does not parse,
            // so every reading has its expectation.
            const int expected = command.expected.value(i, -1);
            failed = failed || read != expected;
            openSeen = openSeen || read == ProbeOpen;
            r.rows.append({QStringLiteral("%1.").arg(i + 1), stepLevelText(read), stepLevelText(expected)});
        }
    } else {
        const PulseMeasurement m = pulseMeasurementFor(command.measurement, ctx.boardType);
        CircuitValues values{};
        values[0] = static_cast<quint8>(m.inputLevel);
        values[1] = static_cast<quint8>(m.inputTenths % 100);
        values[2] = static_cast<quint8>(m.inputTenths / 100);
        if (!MeasurePulse(ctx, m.windowMs, values))
            return linkFailure(1);
        const PulseReading pulse = ctx.lastPulse;
        const bool measured = pulse.edges >= 2;
        const int wantLevel = command.expected.value(0);
        const int minLength = command.expected.value(1);
        const int maxLength = command.expected.value(2);
        failed = pulse.level != wantLevel || pulse.duration < minLength || pulse.duration > maxLength;
        openSeen = pulse.level == ProbeOpen;
        int shownLevel = pulse.level;
        if (singlePoint && !measured && pulse.level != ProbeOpen) {
            quint8 read = 0;
            if (!ReadProbeLevel(ctx, read))
                return linkFailure(0);
            shownLevel = read;
            // With a stimulus row every reading of the check counts for the open tip.
            if (withRow)
                openSeen = openSeen || read == ProbeOpen;
        }
        r.rows.append({QStringLiteral("1."), stepMeasuredPulseText(shownLevel, pulse.duration, measured),
                       stepExpectedPulseText(wantLevel, minLength, maxLength)});
    }
    r.code = failed ? CodeFail : CodePass;
    r.argument = failed && openSeen ? 1 : 0;
    if (withRow && !stimulus.finish(command.row))
        return linkFailure(1);
    return r;
}

ProbeCheckResult runProbeStep(BenchContext& ctx, const StepFile& file, const QString& writtenPoint,
                              bool singlePoint) {
    const ProbeStepSetup setup = prepareProbeStep(file, writtenPoint, QString(), ctx.boardType);
    ProbeCheckResult r;
    if (!setup.canStart) {
        r.code = CodeStop;
        return r;
    }
    if (setup.immediateCode >= 0) {
        r.code = setup.immediateCode == CodeNotForProbe && !singlePoint ? CodePass : setup.immediateCode;
        return r;
    }
    return runProbeCheck(ctx, setup.command, singlePoint);
}

} // namespace kia
