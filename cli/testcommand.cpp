#include "testcommand.h"

#include "consolesession.h"

#include "app/commandtable.h"
#include "app/versionlist.h"
#include "core/benchcontext.h"
#include "core/board.h"
#include "core/consoleprompts.h"
#include "core/displaytext.h"
#include "core/scenariohost.h"
#include "boardtests/memoryerrormodel.h"
#include "boardtests/portimagemodel.h"
#include "boardtests/startdialogtexts.h"
#include "boardtests/testcommands.h"
#include "boardtests/testdriver.h"
#include "boardtests/testengine.h"
#include "boardtests/testenginehost.h"
#include "boardtests/testresults.h"
#include "boardtests/testsessionhost.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kia {

namespace {

struct NamedCommand {
    const char* name;
    int id;
    const char* help;
};

const NamedCommand kTests[] = {
    {"bus", cmd::BusTest, "тест шин контроллера"},
    {"rom", cmd::RomTest, "тест ПЗУ (версия ПО: --version, на типе 4 - номер DD5)"},
    {"ram", cmd::RamTest, "тест ОЗУ"},
    {"timer", cmd::TimerTest, "тест таймера"},
    {"flash", cmd::EepromTest, "тест РПЗУ 28С256 (29С010 на типе 4)"},
    {"flash2", cmd::SerialEepromTest, "тест РПЗУ 24С256"},
    {"fp-blank", cmd::FiscalBlankCheck, "проверка чистоты ФП"},
    {"fp-write", cmd::FiscalWriteTest, "тест записи ФП (спрашивает согласие)"},
    {"ppi", cmd::PpiTest, "тест ППИ 82С55"},
    {"ind0", cmd::CashierIndicatorReadWrite, "тест записи/чтения индикатора кассира"},
    {"ind1", cmd::CustomerIndicatorReadWrite, "тест записи/чтения индикатора покупателя"},
};

struct BadBlock {
    int kind = 0;
    int pattern = 0;
    quint32 block = 0;
    QString title;
    QStringList read;
    QStringList expected;
};

QString hexAddress(quint32 v) {
    return QStringLiteral("0x") +
           QString::number(v, 16).toUpper().rightJustified(5, QLatin1Char('0'));
}

// The workstation's windows as text on the terminal.
class ConsoleTestHost final : public TestSessionHost, public TestEngineHost {
public:
    ConsoleTestHost(BenchContext& ctx, QTextStream& out, QTextStream& err,
                    const TestCommand::Options& o)
        : m_ctx(ctx), m_out(out), m_err(err), m_options(o) {}

    QList<BadBlock> blocks;
    QString lastText;
    int lastRange = 0;

    bool ShowStartDialog(int boardType, bool& dontShowAgain) override {
        dontShowAgain = false;
        return consoleStartDialog(m_err, boardType);
    }

    bool ChooseSoftwareVersion(BenchContext& ctx) override {
        return consoleChooseVersion(ctx, m_err, m_options.haveVersion, m_options.version);
    }

    int RunTestDialog(TestEngine& engine) override {
        QObject::connect(&engine, &TestEngine::progressRangeChanged,
                         [this](int max) { lastRange = max; });
        QObject::connect(&engine, &TestEngine::progressChanged, [this, &engine](int pos) {
            m_err << QStringLiteral("  [%1/%2] %3\n").arg(pos).arg(lastRange).arg(engine.text());
            m_err.flush();
        });
        QObject::connect(&engine, &TestEngine::textChanged,
                         [this](const QString& t) { lastText = t; });
        lastText = engine.text();
        return runTestToEnd(engine, m_ctx.clock);
    }

    TestEngineHost& engineHost() override { return *this; }

    int ShowMemoryError(MemoryErrorKind kind, int pattern, quint32 blockStart) override {
        MemoryErrorModel model(m_ctx, kind, pattern, blockStart);
        return showMemoryErrorWith(model, [this](MemoryErrorModel& m) {
            BadBlock b{int(m.kind()), m.pattern(), m.blockStart(), m.title(), {}, {}};
            for (int row = 0; row < m.rowCount(); ++row) {
                b.read << m.rowText(row, true);
                b.expected << m.rowText(row, false);
            }
            if (!m_options.json) {
                m_out << m.title() << QStringLiteral("  блок ") << hexAddress(m.blockStart())
                      << "\n";
                m_out << QStringLiteral("  Считанные данные :\n");
                for (const QString& r : b.read)
                    m_out << "    " << r << "\n";
                m_out << QStringLiteral("  Ожидаемые данные :\n");
                for (const QString& r : b.expected)
                    m_out << "    " << r << "\n";
                m_out.flush();
            }
            blocks << b;
            return MemoryErrorModel::ContinueResult;
        });
    }

    int ShowPortImageError(const PortImageModel& image) override {
        if (!m_options.json) {
            m_out << image.title() << "\n";
            for (int i = 0; i < image.rowCount(); ++i)
                m_out << "  " << image.rowText(i) << "\n";
            m_out.flush();
        }
        return 1; // "Диагностика": the fault analysis names the pins and the keyword
    }

private:
    BenchContext& m_ctx;
    QTextStream& m_out;
    QTextStream& m_err;
    const TestCommand::Options& m_options;
};

// Guided diagnostics do not run in a terminal: the keyword is reported.
class ConsoleScenarios final : public ScenarioHost {
public:
    QString keyword;
    bool StartScenario(const QString& k, int) override {
        keyword = k;
        return true;
    }
    bool StartOscilloscopeScenario(const QString& k) override {
        keyword = k;
        return true;
    }
};

} // namespace

QStringList TestCommand::testNames() {
    QStringList names;
    for (const NamedCommand& t : kTests)
        names << QString::fromLatin1(t.name);
    return names;
}

QString TestCommand::helpText() {
    QString s = QStringLiteral(
        "  test ИМЯ [--version V] [--yes|--no] [--json]\n"
        "                               тест платы, как из меню \"Тестирование\":\n");
    for (const NamedCommand& t : kTests)
        s += QStringLiteral("      %1 %2\n")
                 .arg(QString::fromLatin1(t.name).leftJustified(9, QLatin1Char(' ')),
                      QString::fromUtf8(t.help));
    s += QStringLiteral(
        "      --version V  версия ПО ККМ для теста ПЗУ (типы 0..3): имя из versions.txt\n"
        "                   или имя файла прошивки; без него - \"меньше 2.10\"\n"
        "      --yes, --no  ответ на вопросы (согласие на тест записи ФП, диагностика)\n"
        "      --json       итог одной строкой JSON: test, board, result, verdict,\n"
        "                   keyword, report, text, badBlocks\n"
        "    Рабочая папка (versions.txt, файлы прошивок) - текущий каталог.\n"
        "    Ход теста выводится в stderr, итог - в stdout.\n");
    return s;
}

bool TestCommand::parse(const QStringList& args, Options& options, QString* error) {
    options = Options();
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--json")) {
            options.json = true;
        } else if (a == QStringLiteral("--yes") || a == QStringLiteral("--no")) {
            if (options.answer != 0) {
                *error = QStringLiteral("укажите только один из --yes и --no");
                return false;
            }
            options.answer = a == QStringLiteral("--yes") ? 1 : 2;
        } else if (a == QStringLiteral("--version")) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("после --version нужна версия ПО");
                return false;
            }
            options.version = args[++i];
            options.haveVersion = true;
        } else if (a.startsWith(QLatin1Char('-'))) {
            *error = QStringLiteral("неизвестный параметр теста: %1").arg(a);
            return false;
        } else if (options.name.isEmpty()) {
            options.name = a;
        } else {
            *error = QStringLiteral("лишний аргумент: %1").arg(a);
            return false;
        }
    }
    if (options.name.isEmpty()) {
        *error = QStringLiteral("test ИМЯ: укажите тест (%1)")
                     .arg(testNames().join(QStringLiteral(", ")));
        return false;
    }
    for (const NamedCommand& t : kTests) {
        if (options.name == QLatin1String(t.name))
            options.commandId = t.id;
    }
    if (options.commandId == 0) {
        *error = QStringLiteral("неизвестный тест: %1 (есть %2)")
                     .arg(options.name, testNames().join(QStringLiteral(", ")));
        return false;
    }
    return true;
}

TestCommand::TestCommand(BenchContext& ctx, ConsolePrompts& prompts, QTextStream& out,
                         QTextStream& err)
    : m_ctx(ctx), m_prompts(prompts), m_out(out), m_err(err) {}

int TestCommand::run(const Options& options) {
    if (options.answer != 0)
        m_prompts.setAnswer(options.answer == 1 ? PromptAnswer::Yes : PromptAnswer::No);
    if (m_ctx.workingFolder.isEmpty())
        m_ctx.workingFolder = QDir::currentPath() + QLatin1Char('/');
    ConsoleScenarios scenarios;
    ScenarioHost* previous = m_ctx.scenarios;
    m_ctx.scenarios = &scenarios;
    ConsoleTestHost host(m_ctx, m_out, m_err, options);

    const TestCommandOutcome out = RunTestCommand(m_ctx, host, options.commandId);
    m_ctx.scenarios = previous;

    int code = 1;
    QString verdict;
    if (out.linkFailure || out.controllerNotReady) {
        code = 2;
        verdict = QStringLiteral("link");
    } else if (out.cancelled) {
        verdict = QStringLiteral("cancelled");
    } else if (isProgramFileResult(out.result)) {
        verdict = QStringLiteral("file");
    } else if (out.runs > 0 && out.completed && !out.failed) {
        code = 0;
        verdict = QStringLiteral("pass");
    } else {
        verdict = QStringLiteral("fail");
    }
    QString keyword = out.keyword.isEmpty() ? scenarios.keyword : out.keyword;
    // Without a hand-over the keyword follows from the test, except for the timer,
    // whose keyword depends on which check failed: that is known only when the
    // engineer asked for diagnostics.
    if (keyword.isEmpty() && verdict == QStringLiteral("fail") && options.commandId != cmd::TimerTest)
        keyword = failureKeyword(m_ctx, options.commandId, ResultDiagnostics);
    const QString report =
        options.commandId == cmd::BusTest && !keyword.isEmpty() ? m_ctx.reportText : QString();

    if (options.json) {
        QJsonArray blocks;
        for (const BadBlock& b : host.blocks) {
            blocks.append(
                QJsonObject{{QStringLiteral("kind"), b.kind},
                            {QStringLiteral("pattern"), b.pattern},
                            {QStringLiteral("block"), hexAddress(b.block)},
                            {QStringLiteral("title"), b.title},
                            {QStringLiteral("read"), QJsonArray::fromStringList(b.read)},
                            {QStringLiteral("expected"), QJsonArray::fromStringList(b.expected)}});
        }
        const QJsonObject o{
            {QStringLiteral("test"), options.name},  {QStringLiteral("board"), m_ctx.boardType},
            {QStringLiteral("result"), out.result},  {QStringLiteral("verdict"), verdict},
            {QStringLiteral("keyword"), keyword},    {QStringLiteral("report"), report},
            {QStringLiteral("text"), host.lastText}, {QStringLiteral("badBlocks"), blocks}};
        m_out << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) << "\n";
        m_out.flush();
        return code;
    }

    if (out.completed)
        m_out << host.lastText << "\n"; // "Тест прошел !", "Накопитель ФП пуст !" …
    static const QHash<QString, QString> words{
        {QStringLiteral("pass"), QStringLiteral("ПРОШЕЛ")},
        {QStringLiteral("fail"), QStringLiteral("НЕ ПРОШЕЛ")},
        {QStringLiteral("link"), QStringLiteral("ОШИБКА СВЯЗИ")},
        {QStringLiteral("cancelled"), QStringLiteral("ОТМЕНЕН")},
        {QStringLiteral("file"), QStringLiteral("НЕТ ФАЙЛА ПРОШИВКИ")}};
    m_out << QStringLiteral("Итог: ") << words.value(verdict) << "\n";
    if (!keyword.isEmpty())
        m_out << QStringLiteral("Код неисправности: ") << keyword << "\n";
    if (!report.isEmpty())
        m_out << report << "\n";
    m_out.flush();
    return code;
}

} // namespace kia
