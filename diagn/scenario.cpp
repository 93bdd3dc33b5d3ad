#include "scenario.h"

#include "core/cp1251.h"

#include <QFile>
#include <algorithm>
#include <QHash>
#include <vector>

namespace kia {

namespace {

// Step numbers are at most six digits; longer digit runs are still searched
// for their shorter tails, as a plain substring search would find them.
constexpr int kMaxStepDigits = 9;
constexpr int kBadStep = -2;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

QByteArrayView cutLeadingBlanks(QByteArrayView line) {
    qsizetype i = 0;
    while (i < line.size() && (line.at(i) == ' ' || line.at(i) == '\t'))
        ++i;
    return line.sliced(i);
}

// The header of scenario `name` of the kind keyword for `boardType`.
bool isHeader(QByteArrayView line, QByteArrayView keyword, QByteArrayView name, int boardType) {
    const qsizetype k = line.indexOf(keyword);
    if (k < 0 || name.isEmpty())
        return false;
    const qsizetype p = line.indexOf(name);
    if (p <= 0 || p + name.size() != line.size() || line.at(p - 1) != ' ')
        return false;
    int mask = 0;
    for (qsizetype i = k + keyword.size(); i < k + keyword.size() + 2 && i < line.size(); ++i) {
        if (!isDigit(line.at(i)))
            break;
        mask = mask * 10 + (line.at(i) - '0');
    }
    return boardType >= 0 && boardType < 31 && ((mask >> boardType) & 1) != 0;
}

// For every step number, the first logical line that contains it followed by
// ":" - the same answer as a substring search per step, in one pass.
QHash<int, int> indexStepLines(const QList<QByteArray>& lines) {
    QHash<int, int> first;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray& l = lines[i];
        for (qsizetype c = l.indexOf(':'); c >= 0; c = l.indexOf(':', c + 1)) {
            qsizetype s = c;
            while (s > 0 && isDigit(l.at(s - 1)) && c - (s - 1) <= kMaxStepDigits)
                --s;
            for (qsizetype from = s; from < c; ++from) {
                if (l.at(from) == '0')
                    continue; // a number is never written with a leading zero
                int n = 0;
                for (qsizetype j = from; j < c; ++j)
                    n = n * 10 + (l.at(j) - '0');
                if (!first.contains(n))
                    first.insert(n, i);
            }
        }
    }
    return first;
}

// Value of a field: from just after its keyword to the next ";" or the end.
QString fieldValue(const QString& line, QLatin1StringView keyword, bool* present = nullptr) {
    const qsizetype i = line.indexOf(keyword);
    if (present)
        *present = i >= 0;
    if (i < 0)
        return QString();
    const qsizetype s = i + keyword.size();
    qsizetype e = line.indexOf(QLatin1Char(';'), s);
    if (e < 0)
        e = line.size();
    return line.mid(s, e - s);
}

// Leading blanks skipped, decimal digits up to the first other character.
int readNumber(QStringView v) {
    qsizetype i = 0;
    while (i < v.size() && (v[i] == QLatin1Char(' ') || v[i] == QLatin1Char('\t')))
        ++i;
    int n = 0, digits = 0;
    for (; i < v.size() && v[i] >= QLatin1Char('0') && v[i] <= QLatin1Char('9'); ++i) {
        if (++digits > kMaxStepDigits)
            return kBadStep;
        n = n * 10 + (v[i].unicode() - '0');
    }
    return n;
}

// The number written just before the first ":" of a line.
int ownNumber(const QString& line) {
    const qsizetype c = line.indexOf(QLatin1Char(':'));
    if (c < 0)
        return 0;
    qsizetype s = c;
    while (s > 0 && line[s - 1] >= QLatin1Char('0') && line[s - 1] <= QLatin1Char('9'))
        --s;
    return readNumber(QStringView(line).mid(s, c - s));
}

ScenarioNode parseStep(const QString& line) {
    ScenarioNode n;
    const QString point = fieldValue(line, QLatin1StringView("P-"));
    const QString text = fieldValue(line, QLatin1StringView("T-"));
    if (!point.isEmpty() && text.isEmpty()) {
        n.kind = StepPoint;
        n.name = point;
    } else if (!point.isEmpty()) {
        n.kind = StepPointText;
        n.name = point;
        n.text = text;
    } else if (!text.isEmpty()) {
        n.kind = StepText;
        n.text = text;
    } else if (const qsizetype t = line.indexOf(QLatin1StringView("TEST")); t >= 0) {
        n.kind = StepTest;
        qsizetype e = line.indexOf(QLatin1Char(';'), t);
        n.name = line.mid(t, (e < 0 ? line.size() : e) - t);
    } else if (const QString other = fieldValue(line, QLatin1StringView("ODIAGNOSTIC-"));
               !other.isEmpty()) {
        n.kind = StepHandOver;
        n.name = other;
    } else {
        // Not a valid step: it stays in the graph as a text step without a
        // text, so its branches still lead on.
        n.kind = StepText;
    }
    return n;
}

// The step that `branch` of the step line leads to (0: none); a branch into
// another scenario sets the node's link to -1 and its next scenario.
int branchTarget(const QString& line, int branch, ScenarioNode& node) {
    static const QLatin1StringView kNew[3] = {QLatin1StringView("PASSNEW-"),
                                              QLatin1StringView("FAILNEW0-"),
                                              QLatin1StringView("FAILNEW1-")};
    static const QLatin1StringView kStep[3] = {QLatin1StringView("PASS-"),
                                               QLatin1StringView("FAIL0-"),
                                               QLatin1StringView("FAIL1-")};
    if (branch == BranchPass && (line.contains(QLatin1StringView("TEST")) ||
                                 line.contains(QLatin1StringView("ODIAGNOSTIC-"))))
        return ownNumber(line);
    const QString other = fieldValue(line, kNew[branch]);
    if (!other.isEmpty()) {
        node.next[branch] = other;
        node.links[branch] = LinkOtherScenario;
        return 0;
    }
    bool present = false;
    const QString v = fieldValue(line, kStep[branch], &present);
    return present ? readNumber(v) : 0;
}

struct WorkItem {
    int parent;
    int step;
    int branch;
};

} // namespace

QString Scenario::KindKeyword(int kind) {
    switch (kind) {
    case KindCommon: return QStringLiteral("CDIAGN");
    case KindOscilloscope: return QStringLiteral("ODIAGN");
    case KindProbe: return QStringLiteral("PDIAGN");
    default: return QString();
    }
}

namespace {
QByteArrayView cutTrailingBlanks(QByteArrayView line) {
    qsizetype n = line.size();
    while (n > 0 && isBlank(line.at(n - 1)))
        --n;
    return line.first(n);
}
} // namespace

bool Scenario::IsHeaderOf(QByteArrayView line, int kind, const QString& name, int boardType) {
    const QString keyword = KindKeyword(kind);
    if (keyword.isEmpty())
        return false;
    return isHeader(cutTrailingBlanks(line), keyword.toLatin1(), toCp1251(name), boardType);
}

QString Scenario::HeaderName(QByteArrayView line, int kind) {
    const QByteArray keyword = KindKeyword(kind).toLatin1();
    const QByteArrayView text = cutTrailingBlanks(line);
    const qsizetype k = keyword.isEmpty() ? -1 : text.indexOf(keyword);
    if (k < 0)
        return QString();
    const qsizetype after = std::min(text.size(), k + keyword.size() + 2);
    return fromCp1251(cutLeadingBlanks(text.sliced(after)));
}

bool Scenario::Load(const QString& fileName, const QString& name, int kind, int boardType) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return Load(file, name, kind, boardType);
}

bool Scenario::Load(QIODevice& device, const QString& name, int kind, int boardType) {
    // One read of the whole file; lines are views into it.
    const QByteArray all = device.readAll();
    return LoadFromBytes(all, name, kind, boardType);
}

bool Scenario::LoadFromBytes(QByteArrayView text, const QString& name, int kind, int boardType) {
    const QString keywordText = KindKeyword(kind);
    if (keywordText.isEmpty())
        return false;
    const QByteArray keyword = keywordText.toLatin1();
    const QByteArray wanted = toCp1251(name);
    qsizetype pos = 0;
    auto nextLine = [&]() {
        const qsizetype nl = text.indexOf('\n', pos);
        const qsizetype end = nl < 0 ? text.size() : nl;
        QByteArrayView line = text.sliced(pos, end - pos);
        pos = nl < 0 ? text.size() + 1 : nl + 1;
        qsizetype n = line.size();
        while (n > 0 && isBlank(line.at(n - 1)))
            --n;
        return line.first(n);
    };

    bool found = false;
    while (pos < text.size() && !found)
        found = isHeader(nextLine(), keyword, wanted, boardType);
    if (!found)
        return false;

    // The body, joined into logical lines; "END" anywhere ends it.
    QList<QByteArray> lines;
    QByteArray logical;
    bool open = false;
    while (pos < text.size()) {
        const QByteArrayView physical = nextLine();
        if (physical.contains(QByteArrayView("END")))
            break;
        logical += open ? cutLeadingBlanks(physical) : physical;
        const qsizetype bs = logical.indexOf('\\');
        if (bs >= 0) {
            logical[bs] = '\n';
            open = true;
        } else {
            lines.append(logical);
            logical.clear();
            open = false;
        }
    }
    if (open)
        lines.append(logical); // a continued line that the end cut short is still a line
    if (lines.isEmpty())
        return false;

    const QHash<int, int> stepLine = indexStepLines(lines);
    const int firstLine = stepLine.value(1, -1);
    if (firstLine < 0)
        return false;

    ClearFrom(1);
    std::vector<WorkItem> work;
    QHash<int, int> reached; // step number -> its node (0: reached, no node)
    auto addNode = [&](const QString& line, int parent, int branch) {
        ScenarioNode n = parseStep(line);
        n.parent = parent;
        n.branch = branch;
        m_nodes.append(n);
        const int index = int(m_nodes.size());
        for (int b = BranchPass; b <= BranchFail1; ++b) {
            const int target = branchTarget(line, b, m_nodes.last());
            if (target != 0)
                work.push_back({index, target, b});
        }
        return index;
    };

    addNode(fromCp1251(lines[firstLine]), 0, BranchPass);
    for (size_t head = 0; head < work.size(); ++head) {
        const WorkItem w = work[head];
        if (const auto it = reached.constFind(w.step); it != reached.constEnd()) {
            if (it.value() > 0)
                m_nodes[w.parent - 1].links[w.branch] = it.value();
            continue;
        }
        reached.insert(w.step, 0);
        const int at = w.step > 0 ? stepLine.value(w.step, -1) : -1;
        if (at == 0)
            continue; // the first body line ends the path
        if (at < 0) {
            const int parentKind = m_nodes[w.parent - 1].kind;
            if (parentKind == StepTest || parentKind == StepHandOver)
                continue;
            m_nodes.clear();
            m_name.clear();
            return false;
        }
        const int index = addNode(fromCp1251(lines[at]), w.parent, w.branch);
        m_nodes[w.parent - 1].links[w.branch] = index;
        reached.insert(w.step, index);
    }

    m_kind = kind;
    m_name = name;
    return true;
}

const ScenarioNode* Scenario::node(int index) const {
    if (index < 1 || index > m_nodes.size())
        return nullptr;
    return &m_nodes[index - 1];
}

bool Scenario::GetNode(int index, ScenarioNode& out) const {
    const ScenarioNode* n = node(index);
    if (!n)
        return false;
    out = *n;
    return true;
}

void Scenario::ClearFrom(int index) {
    const int size = int(m_nodes.size());
    if (index < 1 || index > size)
        return;
    if (index == 1) {
        m_nodes.clear();
        return;
    }
    // Children always come after their parent in the table.
    std::vector<bool> gone(size_t(size) + 1, false);
    gone[size_t(index)] = true;
    for (int i = index + 1; i <= size; ++i)
        gone[size_t(i)] = gone[size_t(m_nodes[i - 1].parent)];
    std::vector<int> renumber(size_t(size) + 1, 0);
    QList<ScenarioNode> kept;
    for (int i = 1; i <= size; ++i) {
        if (!gone[size_t(i)]) {
            kept.append(m_nodes[i - 1]);
            renumber[size_t(i)] = int(kept.size());
        }
    }
    for (ScenarioNode& n : kept) {
        n.parent = renumber[size_t(n.parent)];
        for (int& link : n.links) {
            if (link > 0)
                link = renumber[size_t(link)]; // a link into the deleted part ends the path
        }
    }
    m_nodes = kept;
}

} // namespace kia
