#include "probetexts.h"

#include "core/benchcontext.h"
#include "probe.h"

namespace kia {

namespace {
/// The reading text without its final ".".
QString levelWord(quint8 level) {
    QString text = ProbeLevelText(level);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString pulseHead(quint8 level) {
    return QStringLiteral("Импульс уровня ") + levelWord(level) + QStringLiteral(", длител. ");
}
} // namespace

QString ProbeLevelText(quint8 level) {
    switch (level) {
    case ProbeLogic0:
        return QStringLiteral("лог.\"0\".");
    case ProbeLogic1:
        return QStringLiteral("лог.\"1\".");
    case ProbePlus12V:
        return QStringLiteral("+12B.");
    case ProbeOpen:
        return QStringLiteral("Высокоимпедансное состояние.");
    default:
        return QString();
    }
}

QString LevelReadingText(quint8 level) {
    if (level <= ProbePlus12V)
        return QStringLiteral("Уровень ") + ProbeLevelText(level);
    return ProbeLevelText(level);
}

QString tenthsText(int tenths) {
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10);
}

QString InputPulseText(const CircuitValues& values) {
    return pulseHead(values[0]) + tenthsText(inputPulseLength(values)) + QStringLiteral("ms");
}

QString ExpectedPulseText(const CircuitValues& values) {
    return pulseHead(values[8]) + tenthsText(values[9]) + QStringLiteral("ms - ") +
           tenthsText(values[10]) + QStringLiteral("ms");
}

QString MeasuredPulseText(const PulseReading& reading) {
    if (reading.level == ProbeOpen)
        return ProbeLevelText(ProbeOpen);
    QString text = pulseHead(reading.level) + tenthsText(reading.duration) + QStringLiteral("ms ");
    if (reading.edges > 2)
        text += QStringLiteral("(дробленый)");
    return text;
}

PulseFieldTexts pulseFieldTexts(const CircuitValues& values, const PulseReading& reading) {
    if (reading.level == ProbeOpen)
        return {LevelReadingText(values[0] ^ 1), LevelReadingText(values[8] ^ 1)};
    return {InputPulseText(values), ExpectedPulseText(values)};
}

} // namespace kia
