#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace kia {

/// A point name as a scenario hands it to the probe step: the name the step
/// file knows it by, which command line of its circuit applies, and the name
/// shown to the engineer.
///  - "A{B}": the step file knows "A" + "B" (a "*" inside "A" still cuts it);
///  - trailing stars: each one skips one more command line ("DD3.20**" uses the
///    third line after the circuit line);
///  - ">" or "<": the shown name ends before the first of them.
struct ProbePointName {
    QString stepName;
    int stars = 0;
    QString shown;
};
ProbePointName parseProbePointName(const QString& written);

/// Level class of an expected voltage (tenths of a volt) of a level check:
/// 1000 (HI) high impedance 3; up to 1.7 V logic 0; 3.5..7.5 V logic 1;
/// above 11 V +12 V (2); everything between is no valid level (4).
int voltageLevelClass(int tenthsOfVolt);

/// A plain decimal number, blanks around it allowed; false for anything else.
bool parseStepNumber(QStringView text, int& value);
/// The value of a command field: from after `key` (found as a substring) to
/// the next ";" or the end of the line; false when the line lacks the key.
bool stepFieldValue(const QString& line, QStringView key, QStringView& value);

/// Calls `item` on every ","-separated item of a field value, empty ones
/// included (as a split would give them), in place; false as soon as `item`
/// returns false.
template <typename Item>
bool forEachStepItem(QStringView value, Item item) {
    qsizetype from = 0;
    for (;;) {
        const qsizetype comma = value.indexOf(u',', from);
        const qsizetype end = comma < 0 ? value.size() : comma;
        if (!item(value.sliced(from, end - from)))
            return false;
        if (comma < 0)
            return true;
        from = comma + 1;
    }
}

/// One parsed command line of the step file.
struct StepCommand {
    int row = -1;               ///< "SET-": stimulus row, -1 none
    QList<int> inputs;          ///< "IN-": input values, one byte each
    QList<int> expected;        ///< "OUT-": level classes, or level/min/max of a pulse check
    int measurement = -1;       ///< "GET-": 0..2, -1 none
    QString connectTo;          ///< "CON-": where the level driver's output goes
    bool examinableByLog = true; ///< false when the line says "LOG-0"

    bool isPulseCheck() const { return measurement >= 0; }
    /// Whether the probe can examine the point at all (otherwise the step
    /// reports that it cannot be checked with the probe).
    bool examinable() const;
};

/// Parses a command line. Every field value runs to the next ";". False with
/// a Russian reason in *error when a field is present but malformed (numbers
/// that are no numbers, a row outside the stimulus table, an unknown
/// measurement, an input above 255, a pulse check without level, minimum and
/// maximum), so a typo never turns into a silently wrong check.
bool parseStepCommand(const QString& line, StepCommand& out, QString* error = nullptr);

/// The step file: circuit lines ("CIR" + a two-digit decimal board-type mask +
/// the circuit's points, each preceded by "-" or "," and followed by "," or
/// ";"), each followed by its command lines. Windows-1251 on disk.
class StepFile {
public:
    enum Status { Ok, CannotOpen, NoCircuit, NoCommandLine, BadCommandLine };

    /// kia_nelta2.ccr in the working folder.
    static QString defaultPath(const QString& workingFolder);

    bool load(const QString& fileName);
    void loadFromBytes(QByteArrayView bytes);
    bool isLoaded() const { return m_loaded; }

    /// Index of the first circuit line that holds `stepName` and whose mask has
    /// the board type's bit; -1 when none.
    int circuitLine(const QString& stepName, int boardType) const;
    /// Board-type mask of a circuit line (-1 when the two characters after
    /// "CIR" are no decimal number).
    static int circuitMask(const QString& line);
    /// The point names listed on a circuit line.
    static QStringList circuitPoints(const QString& line);
    static bool isCircuitLine(const QString& line);

    /// The command line of a point as the scenario writes it.
    Status commandLine(const QString& writtenPoint, int boardType, QString& line) const;
    /// Finds and parses the probe command of a point.
    Status find(const QString& writtenPoint, int boardType, StepCommand& out,
                QString* error = nullptr) const;

    const QStringList& lines() const { return m_lines; }

private:
    QStringList m_lines;
    bool m_loaded = false;
};

} // namespace kia
