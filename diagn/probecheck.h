#pragma once

#include "stepfile.h"

#include <QList>
#include <QString>

namespace kia {

class BenchContext;

/// Texts of the probe step: a reading as the detail list shows it, and the
/// pulse texts ("Имп." + short level + ", " + lengths in ms as tenths).
QString stepLevelText(int level);
QString stepPulseLevelText(int level);
QString stepExpectedPulseText(int level, int minTenths, int maxTenths);
/// A measured pulse: the level text for an open tip or when no length was
/// measured, the pulse with its length otherwise.
QString stepMeasuredPulseText(int level, int lengthTenths, bool lengthMeasured);

/// What the probe step dialog opens with: either a code to report at once
/// (4 step-file error, 6 the probe cannot examine the point) or a command to
/// run when the engineer presses "Пуск".
struct ProbeStepSetup {
    int immediateCode = -1; ///< -1: wait for "Пуск"
    bool canStart = false;  ///< false without a point: the text is all there is
    ProbePointName name;
    StepCommand command;
    QString text;
    QString fileError; ///< why a command line did not parse (for the log and lint)
};

/// The dialog text for a point ("Установите щуп пробника на …"), or the
/// instruction text without one; the step file is read only with a point.
ProbeStepSetup prepareProbeStep(const StepFile& file, const QString& writtenPoint,
                                const QString& instructionText, int boardType);

/// One row of the detail list.
struct ProbeCheckRow {
    QString label; ///< "1.", "2.", …
    QString read;
    QString expected;
    bool differs() const { return read != expected; }
};

/// How a check ended: a step outcome code (1 PASS, 2 FAIL with argument 0 or
/// 1, 3 link failure with argument 1 for a stimulus routine and 0 for a probe
/// reading, 4 a command the check cannot run) and the detail rows.
struct ProbeCheckResult {
    int code = 1;
    int argument = 0;
    QList<ProbeCheckRow> rows;
};

/// Runs one check of a command on the bench: the stimulus row's start routine,
/// the reading(s) or pulse measurement, the comparison and the finish routine.
/// FAIL1 when an open tip was seen, FAIL0 for any other mismatch. In
/// single-point mode a pulse check that measured no length reads the static
/// level again for the detail row. UI thread; blocks for the probe and
/// stimulus waits.
ProbeCheckResult runProbeCheck(BenchContext& ctx, const StepCommand& command, bool singlePoint);

/// The whole probe step without its dialog, as the dialog would report it
/// after "Пуск": the step file's command for the point, the check, and inside
/// a scenario a point the probe cannot examine reported as PASS (single-point
/// mode keeps code 6). Without a point there is nothing to check: code 0.
ProbeCheckResult runProbeStep(BenchContext& ctx, const StepFile& file, const QString& writtenPoint,
                              bool singlePoint);

/// Window (ms) and stimulus pulse of a "GET-" measurement on a board type.
struct PulseMeasurement {
    int windowMs = 0;
    int inputLevel = 0;
    int inputTenths = 0;
};
PulseMeasurement pulseMeasurementFor(int measurement, int boardType);

} // namespace kia
