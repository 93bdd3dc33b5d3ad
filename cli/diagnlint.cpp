#include "diagnlint.h"

#include "core/cp1251.h"
#include "diagn/oscillogram.h"
#include "diagn/probecheck.h"
#include "diagn/scenario.h"
#include "diagn/stepfile.h"
#include "view/controlpoint.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>

namespace kia {

namespace {

constexpr int kAllBoards = 0x1F;

struct Header {
    int line = 0; // 1-based
    int kind = 0;
    int mask = 0;
    QString name;
    QByteArray raw; // the header line as in the file
    QList<QPair<int, QString>> body; // physical line number, logical line
    bool cutByText = false;
    int endLine = 0;
};

QString valueOf(const QString& line, QLatin1StringView keyword) {
    const qsizetype i = line.indexOf(keyword);
    if (i < 0)
        return QString();
    const qsizetype s = i + keyword.size();
    const qsizetype e = line.indexOf(QLatin1Char(';'), s);
    return line.mid(s, (e < 0 ? line.size() : e) - s);
}

int numberOf(const QString& v) {
    const QString t = v.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t[n].isDigit())
        ++n;
    return t.left(n).toInt();
}

int maskAt(const QString& line, qsizetype at) {
    int mask = 0;
    for (qsizetype i = at; i < at + 2 && i < line.size() && line[i].isDigit(); ++i)
        mask = mask * 10 + line[i].digitValue();
    return mask;
}

// The step number a body line starts with ("12: ..."), or 0.
int leadingStep(const QString& line) {
    const QString t = line.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t[n].isDigit())
        ++n;
    return n > 0 && n < t.size() && t[n] == QLatin1Char(':') ? t.left(n).toInt() : 0;
}

QString pointName(const QString& written) {
    qsizetype end = written.size();
    for (QChar stop : {QLatin1Char(';'), QLatin1Char('{'), QLatin1Char('*')}) {
        const qsizetype at = written.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    return written.left(end).trimmed();
}

} // namespace

QList<DiagnosticsKeyword> diagnosticsKeywords() {
    constexpr int types03 = 0x0F, type4 = 0x10;
    return {
        {"ROM_ERROR", kAllBoards, false},     {"RAM_ERROR", kAllBoards, false},
        {"BUS_ERROR", kAllBoards, false},     {"DATABUS_ERROR", kAllBoards, false},
        {"BUS_ROM", kAllBoards, false},       {"BUS_FLASH", kAllBoards, false},
        {"BUS_READ", kAllBoards, false},      {"TIMER_CLKERROR", kAllBoards, false},
        {"TIMER_IOERROR", kAllBoards, false}, {"FLASH1_ERROR", kAllBoards, false},
        {"FLASH2_ERROR", kAllBoards, false},  {"FPEMPT_ERROR", kAllBoards, false},
        {"FPWR_ERROR", kAllBoards, false},    {"IND0_ERROR", kAllBoards, false},
        {"IND1_ERROR", kAllBoards, false},    {"GKIND_ERROR", kAllBoards, false},
        {"GKIND1_ERROR", kAllBoards, false},  {"AUDIO_ERROR", kAllBoards, false},
        {"KB_ERROR", kAllBoards, false},      {"SCAN_BUS", kAllBoards, false},
        {"SCAN_CONTR", kAllBoards, false},    {"SCAN_REG", kAllBoards, false},
        {"SCAN_DC", kAllBoards, false},       {"SCAN_PPI", types03, false},
        {"PULS_FP", types03, false},          {"NO_CONNECT", kAllBoards, true},
        {"NO_PROGCONNECT", type4, true},      {"NO_PROGACCESS", type4, true},
    };
}

QStringList LintScenarioFile(const QString& dgnPath, const QString& dotPath) {
    QStringList findings;
    const QString file = QFileInfo(dgnPath).fileName();
    QFile f(dgnPath);
    if (!f.open(QIODevice::ReadOnly)) {
        findings << QStringLiteral("%1: файл не открывается").arg(file);
        return findings;
    }
    QList<QString> lines;
    QList<QByteArray> rawLines;
    while (!f.atEnd()) {
        QByteArray raw = f.readLine();
        while (!raw.isEmpty() && (raw.endsWith('\n') || raw.endsWith('\r') || raw.endsWith(' ')))
            raw.chop(1);
        lines << fromCp1251(raw);
        rawLines << raw;
    }

    QList<Header> headers;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& l = lines[i];
        if (l.startsWith(QLatin1Char('I')) && l.contains(QLatin1StringView("DIAGN"))) {
            const bool d0 = !valueOf(l, QLatin1StringView("D0-")).isEmpty();
            const bool d1 = !valueOf(l, QLatin1StringView("D1-")).isEmpty();
            if (!valueOf(l, QLatin1StringView("T-")).isEmpty() && d0 == d1)
                findings << QStringLiteral("%1:%2: у типа неисправности должен быть ровно один из "
                                           "D0- и D1-")
                                .arg(file).arg(i + 1);
            continue;
        }
        int kind = -1;
        for (int k = 0; k < 3; ++k)
            if (l.startsWith(Scenario::KindKeyword(k)))
                kind = k;
        if (kind < 0)
            continue;
        Header h;
        h.line = i + 1;
        h.kind = kind;
        h.mask = maskAt(l, 6);
        h.raw = rawLines[i];
        h.name = Scenario::HeaderName(h.raw, kind);
        QString logical;
        bool open = false;
        int startedAt = 0;
        int j = i + 1;
        for (; j < lines.size(); ++j) {
            const QString& p = lines[j];
            if (p.contains(QLatin1StringView("END"))) {
                h.endLine = j + 1;
                h.cutByText = p.trimmed() != QStringLiteral("END");
                break;
            }
            if (!open)
                startedAt = j + 1;
            logical += open ? p.trimmed() : p;
            const qsizetype bs = logical.indexOf(QLatin1Char('\\'));
            if (bs >= 0) {
                logical[bs] = QLatin1Char('\n');
                open = true;
            } else {
                h.body << qMakePair(startedAt, logical);
                logical.clear();
                open = false;
            }
        }
        if (open)
            h.body << qMakePair(startedAt, logical);
        headers << h;
        i = j;
    }

    // Whether the loader finds scenario `name` for the board type, by its own header rule.
    auto exists = [&](const QString& name, int kind, int board) {
        for (const Header& h : headers)
            if ((kind < 0 || h.kind == kind) && Scenario::IsHeaderOf(h.raw, h.kind, name, board))
                return true;
        return false;
    };

    QHash<int, QList<ControlPoint>> points;
    bool havePoints = true;
    for (int b = 0; b < 5 && havePoints; ++b)
        havePoints = LoadPointsFile(dotPath, b, points[b]);

    for (const Header& h : headers) {
        const QString where = QStringLiteral("%1:%2: %3 %4")
                                  .arg(file).arg(h.line).arg(Scenario::KindKeyword(h.kind), h.name);
        if (h.cutByText)
            findings << QStringLiteral("%1: END внутри текста в строке %2 обрывает сценарий")
                            .arg(where).arg(h.endLine);
        if (h.mask == 0 || h.mask > kAllBoards)
            findings << QStringLiteral("%1: неверная маска типов плат %2").arg(where).arg(h.mask);
        for (int board = 0; board < 5; ++board) {
            if (((h.mask >> board) & 1) && !Scenario::IsHeaderOf(h.raw, h.kind, h.name, board)) {
                findings << QStringLiteral("%1: сценарий не находится по этому имени (оно должно "
                                           "стоять в конце строки после пробела и не встречаться "
                                           "в ней раньше)")
                                .arg(where);
                break;
            }
        }
        QMap<int, QString> steps;
        for (const auto& [at, text] : h.body) {
            const int n = leadingStep(text);
            if (n > 0 && !steps.contains(n))
                steps.insert(n, text);
        }
        // Reachability by the step numbers as written.
        QSet<int> reached;
        QList<int> work{1};
        while (!work.isEmpty()) {
            const int n = work.takeFirst();
            if (reached.contains(n))
                continue;
            reached.insert(n);
            if (!steps.contains(n))
                continue;
            const QString& t = steps[n];
            const bool noPass = t.contains(QLatin1StringView("TEST")) ||
                                t.contains(QLatin1StringView("ODIAGNOSTIC-"));
            static const char* names[3] = {"PASS", "FAIL0", "FAIL1"};
            static const QLatin1StringView steps3[3] = {QLatin1StringView("PASS-"),
                                                        QLatin1StringView("FAIL0-"),
                                                        QLatin1StringView("FAIL1-")};
            static const QLatin1StringView news[3] = {QLatin1StringView("PASSNEW-"),
                                                      QLatin1StringView("FAILNEW0-"),
                                                      QLatin1StringView("FAILNEW1-")};
            for (int b = 0; b < 3; ++b) {
                if (b == 0 && noPass)
                    continue;
                const QString other = valueOf(t, news[b]);
                if (!other.isEmpty()) {
                    for (int board = 0; board < 5; ++board)
                        if (((h.mask >> board) & 1) && !exists(other, -1, board)) {
                            findings << QStringLiteral("%1: шаг %2: переход %3 в сценарий %4, "
                                                       "которого нет для типа платы %5")
                                            .arg(where).arg(n).arg(QLatin1String(names[b]), other)
                                            .arg(board);
                            break;
                        }
                    continue;
                }
                if (!t.contains(steps3[b]))
                    continue;
                const int target = numberOf(valueOf(t, steps3[b]));
                if (target == 0)
                    continue;
                if (!steps.contains(target))
                    findings << QStringLiteral("%1: шаг %2: переход %3 на несуществующий шаг %4")
                                    .arg(where).arg(n).arg(QLatin1String(names[b])).arg(target);
                else
                    work << target;
            }
            const QString handOver = valueOf(t, QLatin1StringView("ODIAGNOSTIC-"));
            if (!handOver.isEmpty())
                for (int board = 0; board < 5; ++board)
                    if (((h.mask >> board) & 1) && !exists(handOver, KindOscilloscope, board)) {
                        findings << QStringLiteral("%1: шаг %2: нет сценария ODIAGN %3 для типа "
                                                   "платы %4")
                                        .arg(where).arg(n).arg(handOver).arg(board);
                        break;
                    }
            const QString p = valueOf(t, QLatin1StringView("P-"));
            if (!p.isEmpty() && havePoints) {
                for (const QString& written : p.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                    const QString name = pointName(written);
                    for (int board = 0; board < 5; ++board)
                        if (((h.mask >> board) & 1) && FindPoint(points[board], board, name) < 0)
                            findings << QStringLiteral("%1: шаг %2: точки %3 нет в "
                                                       "kia_nelta2.dot для типа платы %4")
                                            .arg(where).arg(n).arg(name).arg(board);
                }
            }
        }
        if (!steps.contains(1))
            findings << QStringLiteral("%1: нет шага 1").arg(where);
        for (auto it = steps.cbegin(); it != steps.cend(); ++it)
            if (!reached.contains(it.key()))
                findings << QStringLiteral("%1: шаг %2 недостижим").arg(where).arg(it.key());
        for (int board = 0; board < 5; ++board) {
            Scenario s;
            if (((h.mask >> board) & 1) && exists(h.name, h.kind, board) &&
                !s.Load(dgnPath, h.name, h.kind, board)) {
                findings << QStringLiteral("%1: не загружается для типа платы %2")
                                .arg(where).arg(board);
                break;
            }
        }
    }

    for (const DiagnosticsKeyword& k : diagnosticsKeywords()) {
        const QString name = QString::fromLatin1(k.name);
        for (int board = 0; board < 5; ++board) {
            if (!((k.boards >> board) & 1))
                continue;
            if (!exists(name, k.oscilloscope ? int(KindOscilloscope) : -1, board)) {
                findings << QStringLiteral("%1: нет сценария %2%3 для типа платы %4")
                                .arg(file, k.oscilloscope ? QStringLiteral("ODIAGN ") : QString(),
                                     name)
                                .arg(board);
            }
        }
    }
    return findings;
}

QStringList LintStepFile(const QString& dgnPath, const QString& ccrPath) {
    QStringList findings;
    QSet<QString> seen;
    auto add = [&](const QString& f) {
        if (!seen.contains(f)) {
            seen.insert(f);
            findings << f;
        }
    };
    const QString ccrName = QFileInfo(ccrPath).fileName();
    StepFile ccr;
    if (!ccr.load(ccrPath)) {
        findings << QStringLiteral("%1: файл не открывается").arg(ccrName);
        return findings;
    }
    for (int i = 0; i < ccr.lines().size(); ++i) {
        const QString& l = ccr.lines()[i];
        if (!StepFile::isCircuitLine(l))
            continue;
        if (StepFile::circuitMask(l) <= 0 || StepFile::circuitMask(l) > kAllBoards)
            add(QStringLiteral("%1:%2: неверная маска типов плат цепи").arg(ccrName).arg(i + 1));
        if (StepFile::circuitPoints(l).isEmpty())
            add(QStringLiteral("%1:%2: в цепи нет ни одной точки").arg(ccrName).arg(i + 1));
    }

    QFile f(dgnPath);
    if (!f.open(QIODevice::ReadOnly))
        return findings; // the scenario file's own lint says so
    struct Head {
        int kind;
        int mask;
        QString name;
    };
    QList<Head> heads;
    while (!f.atEnd()) {
        QByteArray raw = f.readLine();
        while (!raw.isEmpty() && (raw.endsWith('\n') || raw.endsWith('\r') || raw.endsWith(' ')))
            raw.chop(1);
        const QString l = fromCp1251(raw);
        for (int k = 0; k < 3; ++k)
            if (l.startsWith(Scenario::KindKeyword(k)))
                heads << Head{k, maskAt(l, 6), Scenario::HeaderName(raw, k)};
    }

    for (const Head& h : heads) {
        for (int board = 0; board < 5; ++board) {
            if (!((h.mask >> board) & 1))
                continue;
            Scenario s;
            if (!s.Load(dgnPath, h.name, h.kind, board))
                continue; // reported by the scenario file's lint
            const QString where =
                QStringLiteral("%1 %2").arg(Scenario::KindKeyword(h.kind), h.name);
            // Which dialog a point step opens: the probe for PDIAGN, the
            // oscilloscope for ODIAGN, either for CDIAGN (by the instrument chosen).
            const bool probe = h.kind != KindOscilloscope;
            const bool osc = h.kind != KindProbe;
            for (int n = 1; n <= s.NodeCount(); ++n) {
                const ScenarioNode* node = s.node(n);
                if (!node || (node->kind != StepPoint && node->kind != StepPointText))
                    continue;
                // The dialog gets the last name as written.
                const QStringList names = node->name.split(QLatin1Char(','), Qt::SkipEmptyParts);
                if (names.isEmpty())
                    continue;
                const QString point = names.last().trimmed();
                QString line;
                const StepFile::Status st = ccr.commandLine(point, board, line);
                if (st == StepFile::NoCircuit) {
                    add(QStringLiteral("%1: точка %2 без цепи в %3 для типа платы %4")
                            .arg(where, point, ccrName).arg(board));
                    continue;
                }
                if (st == StepFile::NoCommandLine) {
                    add(QStringLiteral("%1: для точки %2 нет строки команды в %3 для типа платы %4")
                            .arg(where, point, ccrName).arg(board));
                    continue;
                }
                QString error;
                StepCommand command;
                if (probe && !parseStepCommand(line, command, &error)) {
                    add(QStringLiteral("%1: точка %2: строка команды \"%3\" не читается: %4")
                            .arg(where, point, line, error));
                    continue;
                }
                OscCommand oscCommand;
                if (osc && !parseOscCommand(line, oscCommand, &error)) {
                    add(QStringLiteral("%1: точка %2: строка команды \"%3\" не читается: %4")
                            .arg(where, point, line, error));
                    continue;
                }
                // A common scenario's point may be meant for the oscilloscope
                // (the probe passes it unchecked by design); a probe scenario's may not.
                if (h.kind == KindProbe && !command.examinable())
                    add(QStringLiteral("%1: точку %2 нельзя проконтролировать логическим пробником "
                                       "(шаг пройдёт без проверки)")
                            .arg(where, point));
            }
        }
    }
    return findings;
}

} // namespace kia
