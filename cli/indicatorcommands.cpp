#include "indicatorcommands.h"

#include "benchcli.h"
#include "boardtests/indicatoraccess.h"
#include "boardtests/indicatorfont.h"
#include "boardtests/segmenttest.h"
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

namespace kia {

namespace {

// Only the start dialog is met on the way to these tests.
class ConsoleSessionHost final : public TestSessionHost, public TestEngineHost {
public:
    explicit ConsoleSessionHost(QTextStream& err) : m_err(err) {}
    bool ShowStartDialog(int boardType, bool& dontShowAgain) override {
        m_err << "[" << startdialog::title() << "] " << startdialog::instructionText(boardType)
              << "\n";
        m_err.flush();
        dontShowAgain = false;
        return true;
    }
    bool ChooseSoftwareVersion(BenchContext&) override { return false; }
    int RunTestDialog(TestEngine& engine) override {
        return runTestToEnd(engine, engine.context().clock);
    }
    TestEngineHost& engineHost() override { return *this; }
    int ShowMemoryError(MemoryErrorKind, int, quint32) override { return 2; }
    int ShowPortImageError(const PortImageModel&) override { return 2; }

private:
    QTextStream& m_err;
};

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
        "                               что показывает индикатор\n");
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

namespace {

// The indicator a command names, or -1 with `error` set.
int readArguments(const QString& command, const QStringList& args, QString* error) {
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return -1;
    };
    if (command != QLatin1String("segment-test"))
        return fail(QStringLiteral("неизвестная команда: %1").arg(command));
    if (args.size() != 1 || (args[0] != QStringLiteral("0") && args[0] != QStringLiteral("1")))
        return fail(QStringLiteral("segment-test 0|1: 0 - индикатор кассира, 1 - покупателя"));
    return args[0].toInt();
}

} // namespace

bool IndicatorCommands::handles(const QString& command) {
    return command == QLatin1String("segment-test");
}

bool IndicatorCommands::validate(const QString& command, const QStringList& args,
                                 QString* error) {
    return readArguments(command, args, error) >= 0;
}

int IndicatorCommands::run(const QString& command, const QStringList& args) {
    QString error;
    const int indicator = readArguments(command, args, &error);
    if (indicator < 0)
        return usage(error);
    return segmentTest(indicator);
}

int IndicatorCommands::segmentTest(int ind) {
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
