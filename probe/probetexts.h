#pragma once

#include "circuitvalues.h"

#include <QString>
#include <QtGlobal>

namespace kia {

struct PulseReading;

/// Reading text of a ProbeLevel ("лог.\"0\"." … "Высокоимпедансное состояние.");
/// empty for a value that is no level.
QString ProbeLevelText(quint8 level);
/// "Уровень " + reading text for levels 0..2, the bare reading text for 3.
QString LevelReadingText(quint8 level);
/// n tenths as "n/10.n%10" (5 → "0.5", 200 → "20.0").
QString tenthsText(int tenths);

/// "Импульс уровня … , длител. L ms" of a pulse row's input pulse.
QString InputPulseText(const CircuitValues& values);
/// The expected pulse with its duration range.
QString ExpectedPulseText(const CircuitValues& values);
/// The measured pulse; an open tip reads as level 3, and more than two edges
/// add "(дробленый)".
QString MeasuredPulseText(const PulseReading& reading);

/// The input and expected fields of a pulse row after a measurement: the pulse
/// texts, or with an open tip the level texts of the inverted levels.
struct PulseFieldTexts {
    QString input;
    QString expected;
};
PulseFieldTexts pulseFieldTexts(const CircuitValues& values, const PulseReading& reading);

} // namespace kia
