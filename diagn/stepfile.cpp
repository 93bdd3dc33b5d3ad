#include "stepfile.h"

#include "core/board.h"
#include "core/cp1251.h"
#include "probe/stimulus.h"

#include <QFile>

namespace kia {

namespace {
const QString kCir = QStringLiteral("CIR");
} // namespace

bool parseStepNumber(QStringView text, int& value) {
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > 6)
        return false;
    int v = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - u'0');
    }
    value = v;
    return true;
}

bool stepFieldValue(const QString& line, QStringView key, QStringView& value) {
    const qsizetype at = line.indexOf(key);
    if (at < 0)
        return false;
    const qsizetype from = at + key.size();
    qsizetype end = line.indexOf(QLatin1Char(';'), from);
    if (end < 0)
        end = line.size();
    value = QStringView(line).mid(from, end - from);
    return true;
}

namespace {

bool parseNumber(QStringView text, int& value) { return parseStepNumber(text, value); }
bool fieldValue(const QString& line, QStringView key, QStringView& value) {
    return stepFieldValue(line, key, value);
}

// The reason is only put together when the caller asks for it: most callers
// only want to know whether a line parses.
template <typename Text>
bool fail(QString* error, Text text) {
    if (error)
        *error = text();
    return false;
}

} // namespace

ProbePointName parseProbePointName(const QString& written) {
    ProbePointName p;
    const QStringView all(written);
    QStringView name = all;
    QStringView braced;
    QString joined; // the name around the braces, when there are braces
    const qsizetype open = all.indexOf(QLatin1Char('{'));
    if (open >= 0) {
        const qsizetype close = all.indexOf(QLatin1Char('}'), open + 1);
        braced = close < 0 ? all.sliced(open + 1) : all.sliced(open + 1, close - open - 1);
        // Stars written after the braces still count.
        const QStringView after = close < 0 ? QStringView() : all.sliced(close + 1);
        joined.reserve(open + after.size());
        joined.append(all.first(open)).append(after);
        name = joined;
    }
    while (name.endsWith(QLatin1Char('*'))) {
        name.chop(1);
        ++p.stars;
    }
    const qsizetype star = name.indexOf(QLatin1Char('*'));
    if (star >= 0)
        name.truncate(star);
    p.stepName.reserve(name.size() + braced.size());
    p.stepName.append(name).append(braced);
    qsizetype shownEnd = name.size();
    for (QChar stop : {QLatin1Char('>'), QLatin1Char('<')}) {
        const qsizetype at = name.indexOf(stop);
        if (at >= 0 && at < shownEnd)
            shownEnd = at;
    }
    p.shown = braced.isEmpty() && shownEnd == name.size() ? p.stepName : name.first(shownEnd).toString();
    return p;
}

int voltageLevelClass(int v) {
    if (v == 1000)
        return 3;
    if (v <= 17)
        return 0;
    if (v >= 35 && v <= 75)
        return 1;
    if (v > 110)
        return 2;
    return 4;
}

bool StepCommand::examinable() const {
    if (!examinableByLog || expected.isEmpty())
        return false;
    if (isPulseCheck())
        return true;
    for (int level : expected) {
        if (level > 3)
            return false;
    }
    if (expected.size() > 1) {
        bool allEqual = true;
        for (int level : expected)
            allEqual = allEqual && level == expected.first();
        if (allEqual)
            return false;
    }
    return true;
}

bool parseStepCommand(const QString& line, StepCommand& out, QString* error) {
    out = StepCommand();
    QStringView v;
    if (fieldValue(line, u"GET-", v)) {
        if (!parseNumber(v, out.measurement) || out.measurement > 2)
            return fail(error, [&] { return QStringLiteral("неверное значение GET-: \"%1\"").arg(v); });
    }
    if (fieldValue(line, u"OUT-", v)) {
        // Read as written; a level check turns the values into level classes below.
        const bool read = forEachStepItem(v, [&](QStringView item) {
            const qsizetype colon = item.indexOf(QLatin1Char(':'));
            const QStringView head = (colon < 0 ? item : item.first(colon)).trimmed();
            int value = 0;
            if (head == u"HI")
                value = 1000;
            else if (!parseNumber(head, value))
                return false;
            out.expected.append(value);
            return true;
        });
        if (!read)
            return fail(error, [&] { return QStringLiteral("неверное значение OUT-: \"%1\"").arg(v); });
    }
    if (out.isPulseCheck()) {
        if (!out.expected.isEmpty() && out.expected.size() < 3)
            return fail(error, [] {
                return QStringLiteral("для импульса OUT- задаёт уровень, мин. и макс. длительность");
            });
    } else {
        for (int& value : out.expected)
            value = voltageLevelClass(value);
    }
    if (fieldValue(line, u"IN-", v)) {
        const bool read = forEachStepItem(v, [&](QStringView item) {
            int value = 0;
            if (!parseNumber(item, value) || value > 255)
                return false;
            out.inputs.append(value);
            return true;
        });
        if (!read)
            return fail(error, [&] { return QStringLiteral("неверное значение IN-: \"%1\"").arg(v); });
    }
    if (fieldValue(line, u"SET-", v)) {
        if (!parseNumber(v, out.row) || out.row >= StimulusRoutines::RowCount)
            return fail(error, [&] {
                return QStringLiteral("строка SET-%1 вне таблицы (0..%2)")
                    .arg(v.trimmed())
                    .arg(StimulusRoutines::RowCount - 1);
            });
    }
    if (!out.inputs.isEmpty() && !out.isPulseCheck() && !out.expected.isEmpty()
        && out.inputs.size() != out.expected.size())
        return fail(error, [] { return QStringLiteral("IN- и OUT- задают разное число значений"); });
    if (fieldValue(line, u"CON-", v))
        out.connectTo = v.trimmed().toString();
    if (line.contains(u"LOG")) {
        int log = 1;
        if (fieldValue(line, u"LOG-", v) && parseNumber(v, log) && log == 0)
            out.examinableByLog = false;
    }
    return true;
}

QString StepFile::defaultPath(const QString& workingFolder) {
    return workingFolder + applicationTitle() + QStringLiteral(".ccr");
}

bool StepFile::load(const QString& fileName) {
    m_lines.clear();
    m_loaded = false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    loadFromBytes(file.readAll());
    return true;
}

void StepFile::loadFromBytes(QByteArrayView bytes) {
    m_lines.clear();
    m_lines.reserve(bytes.count('\n') + 1);
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', pos);
        if (nl < 0)
            nl = bytes.size();
        QByteArrayView line = bytes.sliced(pos, nl - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        m_lines.append(fromCp1251(line));
        pos = nl + 1;
    }
    m_loaded = true;
}

bool StepFile::isCircuitLine(const QString& line) { return line.contains(kCir); }

int StepFile::circuitMask(const QString& line) {
    const qsizetype at = line.indexOf(kCir);
    if (at < 0 || at + 5 > line.size())
        return -1;
    const QChar a = line[at + 3];
    const QChar b = line[at + 4];
    if (!a.isDigit() || !b.isDigit() || a.unicode() > u'9' || b.unicode() > u'9')
        return -1;
    return (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
}

QStringList StepFile::circuitPoints(const QString& line) {
    QStringList points;
    const qsizetype at = line.indexOf(kCir);
    if (at < 0)
        return points;
    qsizetype pos = line.indexOf(QLatin1Char('-'), at + 3);
    while (pos >= 0 && pos < line.size()) {
        qsizetype end = pos + 1;
        while (end < line.size() && line[end] != QLatin1Char(',') && line[end] != QLatin1Char(';'))
            ++end;
        if (end >= line.size())
            break; // a name must be closed by "," or ";"
        const QStringView name = QStringView(line).sliced(pos + 1, end - pos - 1).trimmed();
        if (!name.isEmpty())
            points.append(name.toString());
        if (line[end] == QLatin1Char(';'))
            break;
        pos = end;
    }
    return points;
}

namespace {

// Whether a circuit line lists the name in one of its four forms: after "-"
// or ",", closed by "," or ";". Compared in place.
bool listsPoint(QStringView line, QStringView name) {
    const qsizetype last = line.size() - name.size() - 1; // room for the closing character
    for (qsizetype at = 1; at <= last; ++at) {
        const QChar before = line[at - 1];
        if (before != QLatin1Char('-') && before != QLatin1Char(','))
            continue;
        const QChar after = line[at + name.size()];
        if ((after == QLatin1Char(',') || after == QLatin1Char(';')) && line.sliced(at, name.size()) == name)
            return true;
    }
    return false;
}

} // namespace

int StepFile::circuitLine(const QString& stepName, int boardType) const {
    if (stepName.isEmpty() || boardType < 0 || boardType > 6)
        return -1;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        if (!line.contains(kCir))
            continue;
        const int mask = circuitMask(line);
        if (mask < 0 || !(mask & (1 << boardType)))
            continue;
        if (listsPoint(line, stepName))
            return i;
    }
    return -1;
}

StepFile::Status StepFile::commandLine(const QString& writtenPoint, int boardType, QString& line) const {
    if (!m_loaded)
        return CannotOpen;
    const ProbePointName name = parseProbePointName(writtenPoint);
    const int circuit = circuitLine(name.stepName, boardType);
    if (circuit < 0)
        return NoCircuit;
    const int at = circuit + 1 + name.stars;
    if (at >= m_lines.size())
        return NoCommandLine;
    line = m_lines[at];
    return Ok;
}

StepFile::Status StepFile::find(const QString& writtenPoint, int boardType, StepCommand& out,
                                QString* error) const {
    QString line;
    const Status s = commandLine(writtenPoint, boardType, line);
    if (s != Ok)
        return s;
    return parseStepCommand(line, out, error) ? Ok : BadCommandLine;
}

} // namespace kia
