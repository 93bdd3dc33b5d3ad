#include "circuitdialogmodel.h"

#include "circuitio.h"

#include "core/benchcontext.h"
#include "core/board.h"
#include "core/userprompts.h"
#include "probe/probetexts.h"

namespace kia {

namespace {

bool beginsWithX(const QString& name) { return name.startsWith(QLatin1Char('X')); }

QString instructionText(int row, const CircuitRow& c, bool samePoint) {
    const QString head = QStringLiteral("Цепь:   ") + c.name;
    if (samePoint)
        return head;
    if (!c.firstInput().isEmpty() || !c.output.isEmpty()) {
        if (row > 4 && beginsWithX(c.firstInput()))
            return head + QStringLiteral("\nПодключите выход формирователя к ") + c.firstInput() +
                   QStringLiteral("\nНажмите \"Пуск\" !");
        return head + QStringLiteral("\nУстановите щуп пробника на ") + c.output +
               QStringLiteral("\n и удерживайте его до конца контроля !\nНажмите \"Пуск\" !");
    }
    if (row == 0)
        return QStringLiteral(
            "Удерживайте щуп пробника изолированным\nот любых цепей !\nНажмите \"Пуск\" ! ");
    if (row == 4)
        return QStringLiteral("Установите щуп пробника на выход\nформирователя лог. уровней !\n"
                              "Нажмите \"Пуск\" ! ");
    return head;
}

} // namespace

bool CircuitCrossExcused(int boardType, int row, int other) {
    const CircuitTable& t = circuitTable(boardType);
    if (row < 0 || row >= CircuitRowCount || other < 0 || other >= CircuitRowCount)
        return true;
    const CircuitRow& r = t[static_cast<size_t>(row)];
    const CircuitRow& o = t[static_cast<size_t>(other)];
    auto outputs = [&](const char* a, std::initializer_list<const char*> bs) {
        if (r.output != QLatin1String(a))
            return false;
        for (const char* b : bs) {
            if (o.output == QLatin1String(b))
                return true;
        }
        return false;
    };
    auto inputs = [&](const char* a, const char* b) {
        return r.firstInput() == QLatin1String(a) && o.firstInput() == QLatin1String(b);
    };
    switch (boardType) {
    case 0:
        return outputs("X5/7", {"X6/14"});
    case 1:
    case 2:
        return outputs("X5/1", {"X5/2"}) || outputs("X5/3", {"X5/4", "X6/1"}) ||
               outputs("X5/4", {"X6/1"}) || inputs("X2/2", "X6/2") || inputs("X6/2", "DD3/15");
    case 3:
        return outputs("X6/1", {"X6/2", "X7/1", "X8/1"}) ||
               outputs("X6/3", {"X6/4", "X7/1", "X8/1"}) || outputs("X6/2", {"X7/1"}) ||
               outputs("X6/4", {"X7/1"}) || o.output == QLatin1String("X8/1") ||
               inputs("X2/2", "X7/2");
    case 4:
        return o.crossFlags[static_cast<size_t>(row)] == 0;
    default:
        return false;
    }
}

bool CircuitPinExcused(int boardType, int row, int pin) {
    if (row < 0 || row >= CircuitRowCount)
        return true;
    const QStringList& pins = circuitPinNames(boardType);
    if (pin < 0 || pin >= pins.size())
        return true;
    if (boardType == 4)
        return (circuitTable(4)[static_cast<size_t>(row)].pins >> pin & 1u) == 0;
    if (boardType == 3 && (pin == 1 || pin == 2 || pin == 17 || pin == 18))
        return true;
    const QString& output = circuitTable(boardType)[static_cast<size_t>(row)].output;
    static const QStringList printPulse{QStringLiteral("X6/6"), QStringLiteral("X7/6"),
                                        QStringLiteral("X3/18"), QStringLiteral("X8/6")};
    return pins[pin] == QLatin1String("DD3/16") && printPulse.contains(output);
}

CircuitDialogModel::CircuitDialogModel(BenchContext& ctx, CircuitTestHost& host, int row,
                                       bool samePoint)
    : m_ctx(ctx), m_host(host), m_table(circuitTable(ctx.boardType)),
      m_row(row < 0 || row >= CircuitRowCount ? 0 : row), m_samePoint(samePoint) {
    const int per = isProgrammerBoard(ctx.boardType) ? 59 : 64;
    m_maximum = circuit().steps * (per - m_row);
    m_text = instructionText(m_row, circuit(), samePoint);
}

bool CircuitDialogModel::otherCircuitEnabled() const {
    return !m_ctx.diagnosticsActive;
}

QList<int> CircuitDialogModel::selectableRows() const {
    QList<int> rows;
    for (int r = 0; r < CircuitRowCount; ++r) {
        if (m_table[static_cast<size_t>(r)].isPresent())
            rows << r;
    }
    return rows;
}

QStringList CircuitDialogModel::selectableNames() const {
    QStringList names;
    for (int r : selectableRows())
        names << m_table[static_cast<size_t>(r)].name;
    return names;
}

void CircuitDialogModel::setProgress(int p) {
    m_progress = p;
    if (onProgress)
        onProgress(p);
}

int CircuitDialogModel::run() {
    for (;;) {
        bool repeat = false;
        const int end = runOnce(repeat);
        if (!repeat)
            return end;
    }
}

bool CircuitDialogModel::passes(const CircuitRow& row, int step, quint8 level) const {
    if (row.kind == CircuitKind::Pulse) {
        const PulseReading& p = m_ctx.lastPulse;
        return p.level == row.values[8] && row.values[9] <= p.duration &&
               p.duration <= row.values[10];
    }
    return level == row.expected(step);
}

CircuitErrorReport CircuitDialogModel::report(int step, quint8 level, const Failure& where) const {
    const CircuitRow& c = circuit();
    CircuitErrorReport e;
    e.kind = where.kind;
    e.row = m_row;
    e.step = step;
    e.otherRow = where.otherRow;
    e.otherStep = where.otherStep;
    e.pin = where.pin;
    e.circuit = c.name;
    e.inputs = c.inputs;
    e.output = c.output;
    if (c.kind == CircuitKind::Pulse) {
        const PulseFieldTexts f = pulseFieldTexts(c.values, m_ctx.lastPulse);
        for (int j = 0; j < c.inputs.size(); ++j)
            e.inputValues << f.input;
        e.measured = MeasuredPulseText(m_ctx.lastPulse);
        e.expected = f.expected;
    } else {
        const quint8 v = c.values[static_cast<size_t>(step)];
        for (int j = 0; j < c.inputs.size(); ++j)
            e.inputValues << QStringLiteral("Уровень ") + ProbeLevelText((v >> j) & 1);
        e.measured = LevelReadingText(level);
        e.expected = LevelReadingText(c.expected(step));
    }
    if (where.kind == CircuitErrorReport::Kind::Cross) {
        const CircuitRow& o = m_table[static_cast<size_t>(where.otherRow)];
        e.bottomLine = QStringLiteral("ВНИМАНИЕ !  Неисправность проявилась при установке на "
                                      "выходе цепи \"") +
                       o.name + QStringLiteral("\" ( ") + o.output + QStringLiteral(" ) уровня ") +
                       ProbeLevelText(o.expected(where.otherStep));
    } else if (where.kind == CircuitErrorReport::Kind::Pin) {
        const bool high = !isProgrammerBoard(m_ctx.boardType) && where.pin >= 21;
        e.bottomLine = QStringLiteral("ВНИМАНИЕ !  Неисправность проявилась при установке на "
                                      "выводе     ") +
                       circuitPinNames(m_ctx.boardType).value(where.pin) +
                       (high ? QStringLiteral(" уровня лог.\"1\"") : QStringLiteral(" уровня лог.\"0\""));
    }
    return e;
}

CircuitDialogModel::Check CircuitDialogModel::check(int step, const Failure& where,
                                                    CircuitErrorAnswer& answer) {
    quint8 level = 0;
    if (!ReadCircuitOutput(m_ctx, circuit(), level))
        return Check::Link;
    if (passes(circuit(), step, level))
        return Check::Passed;
    m_ctx.prompts.systemSound(SystemSound::Hand);
    m_ctx.circuitErrorFlag = true;
    answer = m_host.ShowCircuitError(report(step, level, where));
    if (answer == CircuitErrorAnswer::Diagnostics) {
        m_ctx.failingPin = where.kind == CircuitErrorReport::Kind::Pin
                               ? static_cast<quint8>(where.pin)
                               : quint8(255);
        m_ctx.lastErrorKeyword = circuit().name;
    }
    return Check::Failed;
}

int CircuitDialogModel::runOnce(bool& repeat) {
    const CircuitRow& c = circuit();
    const bool type4 = isProgrammerBoard(m_ctx.boardType);
    LinkPort& link = m_ctx.link;
    setProgress(0);
    // A failed check: the engineer's answer decides how the run goes on.
    enum class Next { Go, End, Return };
    int endCode = 0;
    auto handle = [&](Check result, CircuitErrorAnswer answer) {
        if (result == Check::Passed)
            return Next::Go;
        if (result == Check::Link) {
            endCode = CircuitDialogLinkFailure;
            return Next::Return;
        }
        switch (answer) {
        case CircuitErrorAnswer::Exit:
            endCode = CircuitDialogExit;
            return Next::Return;
        case CircuitErrorAnswer::Repeat:
            repeat = true;
            return Next::Return;
        case CircuitErrorAnswer::Continue:
            return Next::End;
        case CircuitErrorAnswer::Diagnostics:
            endCode = CircuitDialogDiagnostics;
            return Next::Return;
        }
        return Next::Return;
    };

    bool ended = false;
    for (int i = 0; i < c.steps && !ended; ++i) {
        if (type4) {
            for (quint8 n = 0; n < 4; ++n) {
                if (!link.WritePort(n, 0xFF, 0xFF))
                    return CircuitDialogLinkFailure;
            }
        }
        m_ctx.inputValue = c.values[static_cast<size_t>(i)];
        if (!DriveCircuitInputs(m_ctx, c))
            return CircuitDialogLinkFailure;
        CircuitErrorAnswer answer = CircuitErrorAnswer::Continue;
        Check result = check(i, Failure{}, answer);
        Next next = handle(result, answer);
        if (next == Next::Return)
            return endCode;
        if (next == Next::End)
            break;
        if (m_row <= 4 || (!type4 && (m_row == 19 || m_row == 21)))
            break;

        for (int o = m_row + 1; o < CircuitRowCount && !ended; ++o) {
            const CircuitRow& other = m_table[static_cast<size_t>(o)];
            if (other.isPresent() && !CircuitCrossExcused(m_ctx.boardType, m_row, o)) {
                for (int k = 0; k < other.steps; ++k) {
                    m_ctx.inputValue = other.values[static_cast<size_t>(k)];
                    if (!DriveCircuitInputs(m_ctx, other))
                        return CircuitDialogLinkFailure;
                    if (k == other.steps - 1)
                        continue;
                    Failure where{CircuitErrorReport::Kind::Cross, o, k, -1};
                    result = check(i, where, answer);
                    next = handle(result, answer);
                    if (next == Next::Return)
                        return endCode;
                    if (next == Next::End) {
                        ended = true;
                        break;
                    }
                }
            }
            if (!ended)
                advance();
        }
        if (ended)
            break;

        const int pinCount = static_cast<int>(circuitPinNames(m_ctx.boardType).size());
        int previous = -1;
        for (int k = 0; k < pinCount; ++k) {
            if (!CircuitPinExcused(m_ctx.boardType, m_row, k)) {
                const bool driven = type4 ? DriveControllerPin(m_ctx, previous, k)
                                          : DriveScanPin(m_ctx, k);
                if (!driven)
                    return CircuitDialogLinkFailure;
                previous = k;
                Failure where{CircuitErrorReport::Kind::Pin, -1, -1, k};
                result = check(i, where, answer);
                next = handle(result, answer);
                if (next == Next::Return)
                    return endCode;
                if (next == Next::End) {
                    ended = true;
                    break;
                }
            }
            advance();
        }
    }

    setProgress(m_maximum);
    if (m_row == CircuitRowCount - 1) {
        m_text = m_ctx.circuitErrorFlag ? QStringLiteral("\nТест завершен !")
                                        : QStringLiteral("\nТест прошел !");
        m_verdictShown = true;
        m_ctx.prompts.systemSound(SystemSound::Asterisk);
        return 0;
    }
    return m_row + 10;
}

} // namespace kia
