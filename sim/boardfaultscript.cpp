#include "boardfaultscript.h"

#include "controllerprogram.h"

#include <optional>

namespace sim {

namespace {

// What a board keyword takes: how many line arguments (P.B or L.B), and
// which key=value parameters, the first `required` of them mandatory.
struct WordInfo {
    const char* word;
    int lines;
    bool ppiLines;
    const char* keys[4];
    int required;
};

constexpr WordInfo kWords[] = {
    {"port-low", 1, false, {}, 0},
    {"port-high", 1, false, {}, 0},
    {"port-open", 1, false, {}, 0},
    {"port-short", 2, false, {}, 0},
    {"ram-cell", 0, false, {"addr", "low", "high"}, 1},
    {"flash-cell", 0, false, {"bank", "addr", "low", "high"}, 2},
    {"eeprom-cell", 0, false, {"addr", "low", "high"}, 1},
    {"clock-reg", 0, false, {"reg", "low", "high"}, 1},
    {"rom-sum", 0, false, {}, 0},
    {"rom-byte", 0, false, {"half", "addr", "xor"}, 2},
    {"clock-stopped", 0, false, {}, 0},
    {"clock-silent", 0, false, {}, 0},
    {"eeprom-silent", 0, false, {}, 0},
    {"fp-dirty", 0, false, {"addr", "value"}, 1},
    {"fp-nowrite", 0, false, {"addr"}, 1},
    {"ppi-low", 1, true, {}, 0},
    {"ppi-high", 1, true, {}, 0},
    {"ind-cell", 0, false, {"ind", "addr", "low", "high"}, 2},
    {"ind-cgram", 0, false, {"ind", "addr", "low", "high"}, 2},
    {"ind-dead", 0, false, {"ind"}, 1},
    {"key-stuck", 1, false, {}, 0},
    {"key-dead", 1, false, {}, 0},
    {"key-press", 1, false, {"at", "hold"}, 1},
    {"emitter-silent", 0, false, {}, 0},
    {"circuit-low", 1, false, {}, 0},
    {"circuit-high", 1, false, {}, 0},
    {"circuit-open", 1, false, {}, 0},
    {"circuit-coupled", 2, false, {}, 0},
    {"pin-short", 2, false, {}, 0},
    {"pulse-split", 1, false, {}, 0},
    {"probe-broken", 0, false, {}, 0},
    {"select-dead", 0, false, {"out"}, 1},
    {"read-flip", 1, false, {"addr", "xor"}, 1},
    {"older-revision", 0, false, {}, 0},
    {"rom-version", 1, false, {}, 0},
    {"register-speed", 1, false, {}, 0},
    {"register-cable", 0, false, {}, 0},
};

const WordInfo* infoOf(const QString& word) {
    for (const WordInfo& w : kWords) {
        if (word == QLatin1String(w.word))
            return &w;
    }
    return nullptr;
}

bool takesKey(const WordInfo& w, const QString& key) {
    for (const char* k : w.keys) {
        if (k && key == QLatin1String(k))
            return true;
    }
    return false;
}

std::optional<quint32> number(const QString& s) {
    bool ok = false;
    const quint32 v = s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                          ? s.mid(2).toUInt(&ok, 16)
                          : s.toUInt(&ok, 10);
    if (!ok || s.isEmpty())
        return std::nullopt;
    return v;
}

// "P.B" with P 0..3 (or A..C for the PPI) and B 0..7.
bool parseLineArg(const QString& s, bool ppi, int& port, int& bit) {
    if (s.size() != 3 || s.at(1) != QLatin1Char('.'))
        return false;
    const QChar p = s.at(0).toUpper();
    const QChar b = s.at(2);
    if (ppi) {
        if (p < QLatin1Char('A') || p > QLatin1Char('C'))
            return false;
        port = p.unicode() - u'A';
    } else {
        if (p < QLatin1Char('0') || p > QLatin1Char('3'))
            return false;
        port = p.unicode() - u'0';
    }
    if (b < QLatin1Char('0') || b > QLatin1Char('7'))
        return false;
    bit = b.unicode() - u'0';
    return true;
}

} // namespace

bool BoardFaultScript::isBoardWord(const QString& word) {
    return infoOf(word) != nullptr;
}

bool BoardFaultScript::parseLine(const QStringList& words, int lineNo, BoardSetup& setup,
                                 QString* problem) {
    auto fail = [problem](const QString& what) {
        if (problem)
            *problem = what;
        return false;
    };
    const QString& word = words.first();
    const WordInfo* info = infoOf(word);
    if (!info)
        return fail(QStringLiteral("неизвестная неисправность \"%1\".").arg(word));

    QStringList args;
    QList<QPair<QString, quint32>> params;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& w = words.at(i);
        const qsizetype eq = w.indexOf(QLatin1Char('='));
        if (eq < 0) {
            args.append(w);
            continue;
        }
        const QString key = w.left(eq);
        const QString value = w.mid(eq + 1);
        if (!takesKey(*info, key))
            return fail(QStringLiteral("параметр \"%1\" не относится к неисправности \"%2\".")
                            .arg(key, word));
        for (const auto& p : params) {
            if (p.first == key)
                return fail(QStringLiteral("параметр \"%1\" задан дважды.").arg(key));
        }
        // A key press is timed in milliseconds, up to an hour.
        const quint32 max =
            key == QLatin1String("at") || key == QLatin1String("hold") ? 3600000u
            : key == QLatin1String("addr") && word == QLatin1String("read-flip") ? 0x1FFFFu
            : key == QLatin1String("addr") || key == QLatin1String("reg")
                ? 0xFFFFu
                : (key == QLatin1String("bank") || key == QLatin1String("half") ? 3u : 0xFFu);
        const std::optional<quint32> v = number(value);
        if (!v || *v > max)
            return fail(
                QStringLiteral("неверное значение \"%1\" параметра \"%2\" (допустимо 0..%3).")
                    .arg(value, key)
                    .arg(max));
        params.append({key, *v});
    }
    if (args.size() != info->lines) {
        if (info->lines == 0)
            return fail(QStringLiteral("неизвестный параметр \"%1\".").arg(args.first()));
        if (QLatin1String(info->word).startsWith(QLatin1String("circuit-")) ||
            QLatin1String(info->word) == QLatin1String("pin-short") ||
            QLatin1String(info->word) == QLatin1String("pulse-split"))
            return fail(QStringLiteral("для \"%1\" нужно контрольных точек: %2 (например X5/1).")
                            .arg(word)
                            .arg(info->lines));
        if (QLatin1String(info->word) == QLatin1String("register-speed"))
            return fail(QStringLiteral(
                "для \"register-speed\" нужна скорость: 9600, 19200, 57600 или 115200."));
        if (QLatin1String(info->word) == QLatin1String("rom-version"))
            return fail(
                QStringLiteral("для \"rom-version\" нужна версия, например rom-version 2.10."));
        return fail(QStringLiteral("для \"%1\" нужно линий: %2 (%3).")
                        .arg(word)
                        .arg(info->lines)
                        .arg(info->ppiLines ? QStringLiteral("L.B, например B.5")
                                            : QStringLiteral("P.B, например 2.3")));
    }
    for (int k = 0; k < info->required; ++k) {
        const QString key = QLatin1String(info->keys[k]);
        bool found = false;
        for (const auto& p : params)
            found = found || p.first == key;
        if (!found)
            return fail(QStringLiteral("для \"%1\" нужен параметр %2=N.").arg(word, key));
    }
    auto param = [&params](const char* key, quint32 fallback) {
        for (const auto& p : params) {
            if (p.first == QLatin1String(key))
                return p.second;
        }
        return fallback;
    };

    if (QLatin1String(info->word) == QLatin1String("older-revision")) {
        setup.olderRevision = true;
        return true;
    }
    if (QLatin1String(info->word) == QLatin1String("register-cable")) {
        setup.registerCable = true;
        return true;
    }
    if (QLatin1String(info->word) == QLatin1String("register-speed")) {
        const qint32 baud = args.first().toInt();
        if (baud != 9600 && baud != 19200 && baud != 57600 && baud != 115200)
            return fail(QStringLiteral("скорость кассы \"%1\" не из 9600, 19200, 57600, 115200.")
                            .arg(args.first()));
        setup.registerSpeed = baud;
        return true;
    }
    if (QLatin1String(info->word) == QLatin1String("rom-version")) {
        if (!isKnownSoftwareVersion(args.first())) {
            QString known;
            for (const SoftwareVersion& v : SoftwareVersions)
                known +=
                    (known.isEmpty() ? QString() : QStringLiteral(", ")) + QLatin1String(v.name);
            return fail(
                QStringLiteral("неизвестная версия ПО \"%1\" (есть %2).").arg(args.first(), known));
        }
        setup.romVersion = args.first();
        return true;
    }

    {
        const QLatin1String w(info->word);
        BoardFault k;
        bool keyWord = true;
        if (w == QLatin1String("key-stuck"))
            k = BoardFault::keyStuck(args.first());
        else if (w == QLatin1String("key-dead"))
            k = BoardFault::keyDead(args.first());
        else if (w == QLatin1String("key-press"))
            k = BoardFault::keyPress(args.first(), static_cast<int>(param("at", 0)),
                                     static_cast<int>(param("hold", 200)));
        else if (w == QLatin1String("emitter-silent"))
            k = BoardFault::emitterSilent();
        else if (w == QLatin1String("circuit-low") || w == QLatin1String("circuit-high"))
            k = BoardFault::circuitStuck(args.first(), w == QLatin1String("circuit-high"));
        else if (w == QLatin1String("circuit-open"))
            k = BoardFault::circuitOpen(args.first());
        else if (w == QLatin1String("circuit-coupled"))
            k = BoardFault::circuitCoupled(args.at(0), args.at(1));
        else if (w == QLatin1String("pin-short"))
            k = BoardFault::pinShorted(args.at(0), args.at(1));
        else if (w == QLatin1String("pulse-split"))
            k = BoardFault::pulseSplit(args.first());
        else if (w == QLatin1String("probe-broken"))
            k = BoardFault::probeBroken();
        else if (w == QLatin1String("select-dead"))
            k = BoardFault::selectDead(static_cast<int>(param("out", 0)));
        else if (w == QLatin1String("read-flip")) {
            int memory = -1;
            for (int m = 0; m < 5; ++m) {
                if (args.first() == BoardFault::flipMemoryName(m))
                    memory = m;
            }
            if (memory < 0)
                return fail(QStringLiteral("неизвестная память \"%1\" (есть fp, eeprom, program, "
                                           "dd5, register).")
                                .arg(args.first()));
            k = BoardFault::readFlip(static_cast<BoardFault::FlipMemory>(memory), param("addr", 0),
                                     static_cast<quint8>(param("xor", 1)));
        } else
            keyWord = false;
        if (keyWord) {
            // Key and point names are checked against the board when it is put on.
            setup.faults.append(k);
            setup.faultLines.append(lineNo);
            return true;
        }
    }

    int ports[2] = {0, 0};
    int bits[2] = {0, 0};
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!parseLineArg(args.at(i), info->ppiLines, ports[i], bits[i]))
            return fail(QStringLiteral("неверная линия \"%1\" (нужно %2).")
                            .arg(args.at(i), info->ppiLines ? QStringLiteral("L.B, например B.5")
                                                            : QStringLiteral("P.B, например 2.3")));
    }
    const bool anyStuck = param("low", 0x100) != 0x100 || param("high", 0x100) != 0x100;
    const quint8 low = static_cast<quint8>(anyStuck ? param("low", 0) : 0xFF);
    const quint8 high = static_cast<quint8>(param("high", 0));
    const quint32 addr = param("addr", 0);

    BoardFault f;
    const QLatin1String w(info->word);
    if (w == QLatin1String("port-low"))
        f = BoardFault::portStuckLow(ports[0], bits[0]);
    else if (w == QLatin1String("port-high"))
        f = BoardFault::portStuckHigh(ports[0], bits[0]);
    else if (w == QLatin1String("port-open"))
        f = BoardFault::portOpen(ports[0], bits[0]);
    else if (w == QLatin1String("port-short"))
        f = BoardFault::portShort(ports[0], bits[0], ports[1], bits[1]);
    else if (w == QLatin1String("ram-cell"))
        f = BoardFault::ramCell(addr, low, high);
    else if (w == QLatin1String("flash-cell"))
        f = BoardFault::bankCell(static_cast<int>(param("bank", 0)), addr, low, high);
    else if (w == QLatin1String("eeprom-cell"))
        f = BoardFault::serialEepromCell(addr, low, high);
    else if (w == QLatin1String("clock-reg"))
        f = BoardFault::clockRegister(static_cast<int>(param("reg", 0)), low, high);
    else if (w == QLatin1String("rom-sum"))
        f = BoardFault::romStoredSum();
    else if (w == QLatin1String("rom-byte"))
        f = BoardFault::romByte(static_cast<int>(param("half", 0)), addr,
                                static_cast<quint8>(param("xor", 0x01)));
    else if (w == QLatin1String("clock-stopped"))
        f = BoardFault::clockStopped();
    else if (w == QLatin1String("clock-silent"))
        f = BoardFault::clockSilent();
    else if (w == QLatin1String("eeprom-silent"))
        f = BoardFault::serialEepromSilent();
    else if (w == QLatin1String("fp-dirty"))
        f = BoardFault::fiscalNotBlank(addr, static_cast<quint8>(param("value", 0)));
    else if (w == QLatin1String("fp-nowrite"))
        f = BoardFault::fiscalNoWrite(addr);
    else if (w == QLatin1String("ind-cell"))
        f = BoardFault::indicatorCell(static_cast<int>(param("ind", 0)), static_cast<int>(addr),
                                      low, high);
    else if (w == QLatin1String("ind-cgram"))
        f = BoardFault::indicatorCharacter(static_cast<int>(param("ind", 0)),
                                           static_cast<int>(addr), low, high);
    else if (w == QLatin1String("ind-dead"))
        f = BoardFault::indicatorDead(static_cast<int>(param("ind", 0)));
    else
        f = BoardFault::ppiStuck(ports[0], bits[0], w == QLatin1String("ppi-high"));

    // What does not depend on the board type is refused here already.
    const QString reason = f.checkFor(0);
    const bool typeDependent = f.kind == BoardFaultKind::RamCell ||
                               f.kind == BoardFaultKind::BankCell ||
                               f.kind == BoardFaultKind::ClockRegister;
    if (!reason.isEmpty() && !typeDependent)
        return fail(reason + QLatin1Char('.'));
    setup.faults.append(f);
    setup.faultLines.append(lineNo);
    return true;
}

} // namespace sim
