#include "faultscript.h"

#include "core/displaytext.h"

#include <QStringList>
#include <optional>

namespace sim {

namespace {

struct KindInfo {
    const char* word;
    FaultKind kind;
};

constexpr KindInfo kKinds[] = {
    {"silence", FaultKind::Silence},
    {"wrong-ack", FaultKind::WrongAck},
    {"bad-checksum", FaultKind::BadChecksum},
    {"unequal-pair", FaultKind::UnequalPair},
    {"short", FaultKind::ShortReply},
    {"garbage", FaultKind::Garbage},
    {"slow", FaultKind::SlowPeer},
    {"pull-cable", FaultKind::CablePull},
    {"device-lost", FaultKind::DeviceLost},
};

std::optional<FaultKind> kindFromWord(const QString& w) {
    for (const KindInfo& k : kKinds) {
        if (w == QLatin1String(k.word))
            return k.kind;
    }
    return std::nullopt;
}

std::optional<int> parseNumber(const QString& s, int min, int max) {
    bool ok = false;
    int v = 0;
    if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = s.mid(2).toInt(&ok, 16);
    else
        v = s.toInt(&ok, 10);
    if (!ok || s.isEmpty() || v < min || v > max)
        return std::nullopt;
    return v;
}

// The parameter a kind takes besides the common ones, if any.
QString kindParameter(FaultKind k) {
    switch (k) {
    case FaultKind::ShortReply:
        return QStringLiteral("missing");
    case FaultKind::Garbage:
        return QStringLiteral("bytes");
    case FaultKind::SlowPeer:
        return QStringLiteral("ms");
    case FaultKind::CablePull:
        return QStringLiteral("through");
    default:
        return QString();
    }
}

class LineParser {
public:
    LineParser(int lineNo, QString* error) : m_line(lineNo), m_error(error) {}

    std::optional<Fault> parse(const QStringList& words) {
        const std::optional<FaultKind> kind = kindFromWord(words.first());
        if (!kind)
            return fail(QStringLiteral("неизвестная неисправность \"%1\".").arg(words.first()));
        Fault f(*kind);
        bool haveFilter = false;
        bool haveCount = false;
        bool haveAfter = false;
        bool haveOwn = false;
        bool haveInstead = false;
        const QString own = kindParameter(*kind);

        for (qsizetype i = 1; i < words.size(); ++i) {
            const QString& w = words.at(i);
            const qsizetype eq = w.indexOf(QLatin1Char('='));
            const QString key = eq < 0 ? w : w.left(eq);
            const QString value = eq < 0 ? QString() : w.mid(eq + 1);

            if (key == QLatin1String("once") || key == QLatin1String("always")) {
                if (eq >= 0)
                    return fail(QStringLiteral("у слова \"%1\" не бывает значения.").arg(key));
                if (haveCount)
                    return fail(
                        QStringLiteral("можно указать только одно из once, times=N, always."));
                haveCount = true;
                if (key == QLatin1String("once"))
                    f.once();
                else
                    f.always();
                continue;
            }
            if (key == QLatin1String("instead")) {
                if (*kind != FaultKind::Garbage)
                    return notForKind(key, *kind);
                if (eq >= 0)
                    return fail(QStringLiteral("у слова \"%1\" не бывает значения.").arg(key));
                if (haveInstead)
                    return twice(key);
                haveInstead = true;
                f.instead = true;
                continue;
            }
            if (eq < 0)
                return fail(QStringLiteral("неизвестный параметр \"%1\".").arg(w));

            if (key == QLatin1String("cmd") || key == QLatin1String("long") ||
                key == QLatin1String("cash")) {
                if (haveFilter)
                    return fail(QStringLiteral(
                        "можно указать только один фильтр кадров (cmd, long или cash)."));
                const std::optional<int> v = number(key, value, 0, 255);
                if (!v)
                    return std::nullopt;
                haveFilter = true;
                if (key == QLatin1String("cmd"))
                    f.onCommand(*v);
                else if (key == QLatin1String("long"))
                    f.onLong(*v);
                else
                    f.onCash(*v);
            } else if (key == QLatin1String("after")) {
                if (haveAfter)
                    return twice(key);
                const std::optional<int> v = number(key, value, 0, 1000000000);
                if (!v)
                    return std::nullopt;
                haveAfter = true;
                f.after(*v);
            } else if (key == QLatin1String("times")) {
                if (haveCount)
                    return fail(
                        QStringLiteral("можно указать только одно из once, times=N, always."));
                const std::optional<int> v = number(key, value, 1, 1000000000);
                if (!v)
                    return std::nullopt;
                haveCount = true;
                f.times(*v);
            } else if (key == QLatin1String("missing") || key == QLatin1String("bytes") ||
                       key == QLatin1String("ms") || key == QLatin1String("through")) {
                if (key != own)
                    return notForKind(key, *kind);
                if (haveOwn)
                    return twice(key);
                const int min = key == QLatin1String("through") ? 0 : 1;
                const int max = key == QLatin1String("ms") ? 600000 : 255;
                const std::optional<int> v = number(key, value, min, max);
                if (!v)
                    return std::nullopt;
                haveOwn = true;
                if (key == QLatin1String("ms"))
                    f.delayMs = *v;
                else
                    f.bytes = *v;
            } else {
                return fail(QStringLiteral("неизвестный параметр \"%1\".").arg(key));
            }
        }
        if (*kind == FaultKind::SlowPeer && !haveOwn)
            return fail(QStringLiteral("для \"slow\" нужна задержка: ms=N."));
        return f;
    }

private:
    std::optional<int> number(const QString& key, const QString& value, int min, int max) {
        const std::optional<int> v = parseNumber(value, min, max);
        if (!v)
            fail(QStringLiteral("неверное значение \"%1\" параметра \"%2\" (допустимо %3..%4).")
                     .arg(value, key)
                     .arg(min)
                     .arg(max));
        return v;
    }
    std::nullopt_t notForKind(const QString& key, FaultKind k) {
        return fail(QStringLiteral("параметр \"%1\" не относится к неисправности \"%2\".")
                        .arg(key, Fault::keyword(k)));
    }
    std::nullopt_t twice(const QString& key) {
        return fail(QStringLiteral("параметр \"%1\" задан дважды.").arg(key));
    }
    std::nullopt_t fail(const QString& what) {
        if (m_error)
            *m_error = kia::shortenForDisplay(QStringLiteral("Строка %1: %2").arg(m_line).arg(what));
        return std::nullopt;
    }

    int m_line;
    QString* m_error;
};

} // namespace

bool FaultScript::read(const QString& text, Contents* contents, QString* error) {
    if (error)
        error->clear();
    Contents result;
    // Lines are looked at in place; only a line with words is copied.
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines.at(i);
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line.truncate(hash);
        if (line.trimmed().isEmpty())
            continue;
        const QStringList words =
            line.toString().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const int lineNo = static_cast<int>(i + 1);
        if (BoardFaultScript::isBoardWord(words.first())) {
            QString problem;
            if (!BoardFaultScript::parseLine(words, lineNo, result.board, &problem)) {
                if (error)
                    *error = kia::shortenForDisplay(
                        QStringLiteral("Строка %1: %2").arg(lineNo).arg(problem));
                if (contents)
                    *contents = Contents();
                return false;
            }
            continue;
        }
        LineParser p(lineNo, error);
        const std::optional<Fault> f = p.parse(words);
        if (!f) {
            if (contents)
                *contents = Contents();
            return false;
        }
        result.rules.append(*f);
    }
    if (contents)
        *contents = result;
    return true;
}

QList<Fault> FaultScript::parse(const QString& text, QString* error) {
    Contents contents;
    read(text, &contents, error);
    return contents.rules;
}

} // namespace sim
