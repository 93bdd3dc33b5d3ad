#include "indicatorcommands.h"

#include "consolesession.h"

#include "benchcli.h"
#include "boardtests/indicatoraccess.h"
#include "boardtests/indicatorfont.h"
#include "boardtests/interactivetests.h"
#include "boardtests/keyboardtest.h"
#include "boardtests/segmenttest.h"
#include "boardtests/soundtest.h"
#include "boardtests/startdialogtexts.h"
#include "boardtests/testdriver.h"
#include "boardtests/testengine.h"
#include "boardtests/testenginehost.h"
#include "boardtests/testsession.h"
#include "boardtests/testsessionhost.h"
#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/cp1251.h"
#include "link/linkstatus.h"
#include "sim/bench.h"
#include "sim/boardmodel.h"
#include "hexdump.h"

namespace kia {

namespace {


// The character an indicator code stands for in the program's text.
QString characterOf(int code) {
    if (code >= 128 && code < 176)
        code += 64;
    else if (code >= 224 && code < 240)
        code += 16;
    else if (code >= 128)
        return QStringLiteral("▒");
    return fromCp1251(QByteArray(1, char(code)));
}

QString userCharacterText(const IndicatorGlyph& rows) {
    bool lit = true;
    bool dark = true;
    for (quint8 r : rows) {
        lit = lit && (r & 0x1F) == 0x1F;
        dark = dark && (r & 0x1F) == 0;
    }
    if (lit)
        return QStringLiteral("█");
    if (dark)
        return QStringLiteral(" ");
    for (int code = 32; code < 256; ++code) {
        const IndicatorGlyph& g = indicatorGlyph(code);
        bool same = true;
        for (int r = 0; r < 8; ++r)
            same = same && (g[size_t(r)] & 0x1F) == (rows[size_t(r)] & 0x1F);
        if (same)
            return characterOf(code);
    }
    return QStringLiteral("▒");
}

QString screenText(const IndicatorScreen& s) {
    QString text;
    for (int p = 0; p < 16; ++p) {
        const quint8 c = s.codes[size_t(p)];
        text += c < 8 ? userCharacterText(s.userRows[c]) : characterOf(c);
    }
    return text;
}

} // namespace

QString simulatedIndicatorText(const sim::Bench& bench, int indicator) {
    auto& board = const_cast<sim::Bench&>(bench).board();
    const sim::IndicatorController& c = board.indicator(indicator);
    QString text;
    for (int p = 0; p < 16; ++p) {
        const quint8 code = c.screenCode(p);
        if (code < 16) {
            const std::array<quint8, 8> rows = c.userCharacter(code & 7);
            text += userCharacterText(rows);
        } else {
            text += characterOf(code);
        }
    }
    QString line = QLatin1Char('|') + text + QLatin1Char('|');
    if (!c.displayOn())
        line += QStringLiteral(" (индикатор выключен)");
    else if (c.cursorOn() && c.cursorPosition() >= 0)
        line += QStringLiteral(" курсор в позиции %1").arg(c.cursorPosition());
    return line;
}

QString IndicatorCommands::helpText() {
    return QStringLiteral(
        "  segment-test 0|1             тест ж/к ячеек и курсора индикатора кассира (0)\n"
        "                               или покупателя (1): 146 шагов, после каждой фазы -\n"
        "                               что показывает индикатор\n"
        "  keyboard [--seconds N]       тест клавиатуры: N секунд (10) опроса, каждая\n"
        "                               замеченная клавиша с ее названием (на sim клавиши\n"
        "                               нажимает сценарий key-press в --faults)\n"
        "  sound [--seconds N]          тест звукового излучателя: N секунд (10) тонов;\n"
        "                               на sim - что услышал излучатель\n");
}

namespace {
constexpr int kDefaultSeconds = 10;
constexpr quint32 kMaxSeconds = 3600;

// "--seconds N" (1..3600) or nothing; false for anything else.
bool parseSeconds(const QStringList& args, int* seconds) {
    *seconds = kDefaultSeconds;
    if (args.isEmpty())
        return true;
    quint32 v = 0;
    if (args.size() != 2 || args[0] != QStringLiteral("--seconds") ||
        !parseNumber(args[1], kMaxSeconds, v) || v == 0)
        return false;
    *seconds = int(v);
    return true;
}
} // namespace

bool IndicatorCommands::handles(const QString& command) {
    return command == QStringLiteral("segment-test") || command == QStringLiteral("keyboard") ||
           command == QStringLiteral("sound");
}

bool IndicatorCommands::checkArguments(const QString& command, const QStringList& args,
                                       QString* error) {
    int seconds = 0;
    if (command == QStringLiteral("segment-test")) {
        if (args.size() == 1 && (args[0] == QStringLiteral("0") || args[0] == QStringLiteral("1")))
            return true;
        *error = QStringLiteral("segment-test 0|1: 0 - индикатор кассира, 1 - покупателя");
        return false;
    }
    if (parseSeconds(args, &seconds))
        return true;
    *error = QStringLiteral("%1 [--seconds N]: N - целое число секунд от 1 до %2")
                 .arg(command)
                 .arg(kMaxSeconds);
    return false;
}

int IndicatorCommands::run(const QString& command, const QStringList& args) {
    if (command == QStringLiteral("keyboard"))
        return keyboardTest(args);
    if (command == QStringLiteral("sound"))
        return soundTest(args);
    return segmentTest(args);
}

int IndicatorCommands::keyboardTest(const QStringList& args) {
    int seconds = 0;
    QString error;
    if (!checkArguments(QStringLiteral("keyboard"), args, &error))
        return usage(error);
    parseSeconds(args, &seconds);
    if (!prepare() || !PrepareKeyboard(m_ctx))
        return linkFailure();
    KeyboardTest t(m_ctx);
    t.open();
    m_out << KeyboardTest::title() << QStringLiteral(": %1 с опроса, столбец каждые %2 мс\n")
                                          .arg(seconds)
                                          .arg(KeyboardTest::ScanMs);
    m_out.flush();
    const int scans = seconds * 1000 / KeyboardTest::ScanMs;
    for (int i = 0; i < scans; ++i) {
        m_ctx.clock.sleepMs(KeyboardTest::ScanMs);
        const int before = t.pressedKeys().size();
        t.tick();
        if (t.hasEnded())
            return linkFailure();
        if (t.pressedKeys().size() > before) {
            const int key = t.lastKey();
            m_out << QStringLiteral("%1 мс: клавиша \"%2\" (код 0x%3)\n")
                         .arg((i + 1) * KeyboardTest::ScanMs)
                         .arg(keyboard::name(key))
                         .arg(QStringLiteral("%1").arg(t.lastCode(), 4, 16, QLatin1Char('0')).toUpper());
            m_out.flush();
        }
    }
    t.pressExit();
    QStringList names;
    for (int key : t.pressedKeys())
        names << keyboard::name(key);
    int keys = 0;
    for (int key = 0; key < keyboard::KeyCount; ++key)
        keys += keyboard::codeOfKey(m_ctx.boardType, key) != 0;
    m_out << QStringLiteral("Итог: замечено клавиш %1 из %2").arg(names.size()).arg(keys)
          << (names.isEmpty() ? QString() : QStringLiteral(": ") + names.join(QLatin1Char(' ')))
          << "\n";
    m_out.flush();
    return ExitOk;
}

int IndicatorCommands::soundTest(const QStringList& args) {
    int seconds = 0;
    QString error;
    if (!checkArguments(QStringLiteral("sound"), args, &error))
        return usage(error);
    parseSeconds(args, &seconds);
    if (!prepare() || !PrepareSound(m_ctx))
        return linkFailure();
    if (m_bench)
        m_bench->board().sound().clear();
    SoundTest t(m_ctx);
    t.open();
    m_out << SoundTest::title() << QStringLiteral(" %1 с\n").arg(seconds);
    m_err << SoundTest::hintText() << "\n";
    m_err.flush();
    const qint64 end = m_ctx.clock.nowUs() + qint64(seconds) * 1000000;
    int played = 0;
    while (m_ctx.clock.nowUs() + qint64(t.interval()) * 1000 <= end) {
        m_ctx.clock.sleepMs(t.interval());
        t.tick();
        if (t.hasEnded())
            return linkFailure();
        ++played;
        m_out << QStringLiteral("Тон %1: a = %2, периодов %3, пауза %4 мс\n")
                     .arg(played)
                     .arg(t.lastUnits())
                     .arg(t.lastPeriods())
                     .arg(t.interval());
    }
    t.pressExit();
    m_out << QStringLiteral("Итог: сыграно тонов %1\n").arg(played);
    if (m_bench) {
        const auto& heard = m_bench->board().sound().tones();
        if (heard.empty()) {
            m_out << QStringLiteral("Излучатель: ничего не слышно\n");
        } else {
            QStringList units;
            for (const auto& tone : heard)
                units << QString::number(tone.a);
            m_out << QStringLiteral("Излучатель: услышано тонов %1, a = %2\n")
                         .arg(heard.size())
                         .arg(units.join(QLatin1Char(' ')));
        }
    }
    m_out.flush();
    return ExitOk;
}

int IndicatorCommands::usage(const QString& message) {
    m_err << "kia-bench: " << message << "\n"
          << "Подробнее: kia-bench --help\n";
    m_err.flush();
    return ExitUsage;
}

int IndicatorCommands::linkFailure() {
    const StatusMessage m = LinkStatusText(m_ctx.linkStatus, m_ctx.boardType, m_ctx.selectedPort);
    m_err << m.title << ": " << m.text << "\n";
    m_err.flush();
    return ExitLinkFailure;
}

bool IndicatorCommands::prepare() {
    ConsoleSessionHost host(m_err);
    const bool ok = PrepareTestSession(m_ctx, host);
    m_ctx.busy = false;
    return ok;
}

int IndicatorCommands::segmentTest(const QStringList& args) {
    QString error;
    if (!checkArguments(QStringLiteral("segment-test"), args, &error))
        return usage(error);
    const int ind = args[0].toInt();
    if (!prepare())
        return linkFailure();
    // Only the set-up (display on): the engineer has to see every step.
    if (!IndicatorInit(m_ctx, ind))
        return linkFailure();

    SegmentTest t(m_ctx, ind);
    auto show = [&](const QString& phase) {
        m_out << phase << ": ";
        if (m_bench)
            m_out << simulatedIndicatorText(*m_bench, ind);
        else
            m_out << QLatin1Char('|') << screenText(t.screen()) << QLatin1Char('|');
        m_out << "\n";
        m_out.flush();
    };
    m_out << SegmentTest::title() << (ind == 0 ? " (кассира)\n" : " (покупателя)\n");
    if (!t.open())
        return linkFailure();
    show(QStringLiteral("Открытие"));
    m_err << t.hint() << "\n";
    t.pressAuto();
    m_err << t.hint() << "\n";
    m_err.flush();
    if (t.hasEnded())
        return linkFailure();
    // Phases: each 16 steps of the segments, the cursor text, each cursor
    // position, the end text.
    do {
        const int s = t.step();
        m_ctx.clock.sleepMs(t.runInterval());
        t.runTick();
        if (t.hasEnded())
            return linkFailure();
        if (s < 128 && s % 16 == 15)
            show(QStringLiteral("Шаг %1, строк точек: %2").arg(s).arg(s / 16 + 1));
        else if (s >= 128 && s < 145)
            show(QStringLiteral("Шаг %1").arg(s));
        else if (s == 145)
            show(QStringLiteral("Конец"));
    } while (t.runRunning());
    t.pressExit();
    if (t.result() == 124)
        return linkFailure();
    m_out << "Итог: пройдено 146 шагов\n";
    m_out.flush();
    return ExitOk;
}

} // namespace kia
