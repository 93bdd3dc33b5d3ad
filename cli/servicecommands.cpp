#include "servicecommands.h"

#include "app/commandtable.h"
#include "boardtests/memoryerrormodel.h"
#include "boardtests/startdialogtexts.h"
#include "boardtests/testenginehost.h"
#include "boardtests/testsession.h"
#include "boardtests/testsessionhost.h"
#include "core/benchcontext.h"
#include "core/consoleprompts.h"
#include "link/linkstatus.h"
#include "service/controllersoftware.h"
#include "service/datamemorycommands.h"
#include "service/operationmodes.h"
#include "service/progresssink.h"
#include "service/servicehost.h"
#include "service/softwareupdate.h"
#include "service/softwareverification.h"
#include "sim/bench.h"
#include "sim/cashregister.h"

namespace kia {

namespace {

struct ServiceVerb {
    const char* name;
    int id;      // command id, 0 for the CLI's own verbs
    int files;   // 0 none, 1 required, 2 optional
    const char* help;
};

const ServiceVerb kVerbs[] = {
    {"save-fp", cmd::SaveFiscalData, 1, "сохранить данные ФП в файл (65536 байт)"},
    {"restore-fp", cmd::RestoreFiscalData, 1, "восстановить данные ФП из файла (с проверкой)"},
    {"clear-fp", cmd::ClearFiscalMemory, 0, "очистить ФП (с проверкой)"},
    {"save-eeprom", cmd::SaveEepromData, 1, "сохранить данные РПЗУ в файл (131072 байт)"},
    {"restore-eeprom", cmd::RestoreEepromData, 1, "восстановить данные РПЗУ из файла"},
    {"clear-eeprom", cmd::ClearEeprom, 0, "очистить РПЗУ (с проверкой)"},
    {"update", cmd::UpdateSoftware, 1, "записать ПО кассы из файла *.bin (--yes: перемычка JP1 стоит)"},
    {"verify", cmd::VerifySoftware, 1, "сравнить ПО работающей кассы с эталоном *.bin"},
    {"restore-controller", cmd::RestoreControllerSoftware, 2,
     "вернуть сохраненное ПО в DD5 (--yes обязателен)"},
    {"prepare", 0, 0, "записать тест-программу в DD5, как перед тестом"},
};

const ServiceVerb* findVerb(const QString& name) {
    for (const ServiceVerb& v : kVerbs) {
        if (name == QLatin1String(v.name))
            return &v;
    }
    return nullptr;
}

// A bar on stderr: caption, 30 marks, percentage; redrawn when the percentage changes.
class BarSink final : public ProgressSink {
public:
    explicit BarSink(QTextStream& err) : m_err(err) {}
    ~BarSink() override { finish(); }
    void step() override { ++m_pos; draw(); }
    void setPosition(int p) override { m_pos = p; draw(); }
    void setRange(int m) override { m_max = m > 0 ? m : 1; m_shown = -1; draw(); }
    void setCaption(const QString& c) override {
        finish();
        m_caption = c;
        m_shown = -1;
        draw();
    }
    void finish() {
        if (m_drawn)
            m_err << "\n";
        m_err.flush();
        m_drawn = false;
    }

private:
    void draw() {
        const int percent = qBound(0, m_pos * 100 / m_max, 100);
        if (percent == m_shown || m_caption.isEmpty())
            return;
        m_shown = percent;
        const int marks = percent * 30 / 100;
        m_err << "\r" << m_caption << " [" << QString(marks, QLatin1Char('#'))
              << QString(30 - marks, QLatin1Char('.')) << "] " << percent << "%";
        m_err.flush();
        m_drawn = true;
    }
    QTextStream& m_err;
    QString m_caption;
    int m_pos = 0;
    int m_max = 1;
    int m_shown = -1;
    bool m_drawn = false;
};

class CliEngineHost final : public TestEngineHost {
public:
    int ShowMemoryError(MemoryErrorKind, int, quint32) override {
        return MemoryErrorModel::ContinueResult;
    }
    int ShowPortImageError(const PortImageModel&) override { return 1; }
};

} // namespace

// The windows of the service commands as lines on the terminal.
class CliServiceHost final : public ServiceHost, public TestSessionHost {
public:
    CliServiceHost(BenchContext& ctx, QTextStream& err) : m_ctx(ctx), m_err(err) {}

    int RunProgress(int mode, OperationArgument& argument) override {
        BarSink bar(m_err);
        return RunOperation(m_ctx, bar, mode, argument);
    }
    TestSessionHost& session() override { return *this; }
    void ClearMarks() override {}
    void ShowStatus(const QString& text) override {
        m_err << text << "\n";
        m_err.flush();
    }
    bool ShowPreVerification() override {
        m_err << QStringLiteral("[Верификация ПО кассы...] ")
              << QStringLiteral("Касса подключена к порту, включена и запущена; верификация начинается.\n");
        m_err.flush();
        return true;
    }

    bool ShowStartDialog(int boardType, bool& dontShowAgain) override {
        m_err << "[" << startdialog::title() << "] " << startdialog::instructionText(boardType) << "\n";
        m_err.flush();
        dontShowAgain = false;
        return true;
    }
    bool ChooseSoftwareVersion(BenchContext&) override { return true; }
    int RunTestDialog(TestEngine&) override { return 2; }
    TestEngineHost& engineHost() override { return m_engineHost; }

private:
    BenchContext& m_ctx;
    QTextStream& m_err;
    CliEngineHost m_engineHost;
};

ServiceCommands::ServiceCommands(BenchContext& ctx, ConsolePrompts& prompts, QTextStream& out,
                                 QTextStream& err, sim::Bench* bench)
    : m_ctx(ctx), m_prompts(prompts), m_out(out), m_err(err), m_bench(bench),
      m_host(std::make_unique<CliServiceHost>(ctx, err)),
      m_preparation(std::make_unique<ServiceControllerPreparation>(*m_host)) {
    m_ctx.controllerPreparation = m_preparation.get();
}

ServiceCommands::~ServiceCommands() {
    m_prompts.setMessageObserver({});
    if (m_ctx.controllerPreparation == m_preparation.get())
        m_ctx.controllerPreparation = nullptr;
}

bool ServiceCommands::handles(const QString& command) { return findVerb(command) != nullptr; }

QString ServiceCommands::helpText() {
    QString text = QStringLiteral("\nСервисные операции (тип 4):\n");
    for (const ServiceVerb& v : kVerbs) {
        QString left = QLatin1String(v.name);
        if (v.files == 1)
            left += QStringLiteral(" FILE");
        else if (v.files == 2)
            left += QStringLiteral(" [FILE]");
        text += QStringLiteral("  ") + left.leftJustified(29) + QString::fromUtf8(v.help) +
                QLatin1Char('\n');
    }
    text += QStringLiteral("  Параметры команд: --yes (ответить \"Да\" на вопросы),\n"
                           "  --sim-speed BAUD (verify на sim: скорость кассы, 9600 по умолчанию).\n");
    return text;
}

int ServiceCommands::usage(const QString& message) {
    m_err << "kia-bench: " << message << "\n"
          << "Подробнее: kia-bench --help\n";
    m_err.flush();
    return 64;
}

namespace {

// What a service command's arguments say.
struct ServiceArguments {
    const ServiceVerb* verb = nullptr;
    QStringList files;
    bool yes = false;
    qint32 simSpeed = 9600;
};

bool readArguments(const QString& command, const QStringList& args, int boardType,
                   ServiceArguments& a, QString* error) {
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    a = ServiceArguments{};
    a.verb = findVerb(command);
    if (!a.verb)
        return fail(QStringLiteral("неизвестная команда: %1").arg(command));
    if (boardType != 4)
        return fail(QStringLiteral("%1: только для платы типа 4 (--board 4)").arg(command));
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--yes")) {
            a.yes = true;
        } else if (args[i] == QStringLiteral("--sim-speed")) {
            bool ok = false;
            a.simSpeed = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || std::find(std::begin(kCashRegisterSpeeds), std::end(kCashRegisterSpeeds),
                                 a.simSpeed) == std::end(kCashRegisterSpeeds))
                return fail(QStringLiteral("--sim-speed: 9600, 19200, 57600 или 115200"));
        } else if (args[i].startsWith(QStringLiteral("--"))) {
            return fail(QStringLiteral("неизвестный параметр: %1").arg(args[i]));
        } else {
            a.files << args[i];
        }
    }
    const int files = a.verb->files;
    if ((files == 1 && a.files.size() != 1) || (files == 0 && !a.files.isEmpty()) ||
        a.files.size() > 1)
        return fail(files == 1 ? QStringLiteral("%1 FILE: укажите один файл").arg(command)
                               : QStringLiteral("%1: лишние аргументы").arg(command));
    return true;
}

} // namespace

bool ServiceCommands::validate(const QString& command, const QStringList& args, int boardType,
                               QString* error) {
    ServiceArguments a;
    return readArguments(command, args, boardType, a, error);
}

int ServiceCommands::run(const QString& command, const QStringList& args) {
    ServiceArguments a;
    QString error;
    if (!readArguments(command, args, m_ctx.boardType, a, &error))
        return usage(error);
    const ServiceVerb* verb = a.verb;
    const QStringList& files = a.files;
    m_prompts.setMessageObserver([this](PromptIcon, const QString& title, const QString& text) {
        m_out << "[" << title << "] " << text << "\n";
        m_out.flush();
    });
    if (a.yes)
        m_prompts.setAnswer(PromptAnswer::Yes);
    if (!files.isEmpty())
        m_prompts.setFile(files.first());
    m_ctx.dontShowStartDialog = true;

    int result = 0;
    switch (verb->id) {
    case 0: {
        PreparationFailure why = PreparationFailure::None;
        if (!PrepareTestSession(m_ctx, *m_host, false, &why))
            return why == PreparationFailure::LinkFailure ? 2 : 1;
        m_ctx.busy = false;
        m_out << QStringLiteral("Тест-программа в контроллере DD5 отвечает.\n");
        m_out.flush();
        return 0;
    }
    case cmd::UpdateSoftware:
        result = RunSoftwareUpdate(m_ctx, *m_host);
        break;
    case cmd::VerifySoftware:
        if (m_bench) {
            m_bench->setCable(sim::Bench::Cable::CashRegister);
            m_bench->cashRegister().setSpeed(a.simSpeed);
            m_ctx.ports.setAllSimulated(true); // the register is looked for on the same bench
        }
        result = RunSoftwareVerification(m_ctx, *m_host);
        break;
    case cmd::RestoreControllerSoftware:
        result = RestoreControllerSoftware(m_ctx, *m_host);
        break;
    default:
        result = RunDataMemoryCommand(m_ctx, *m_host, verb->id);
        break;
    }
    if (result == OpDone)
        return 0;
    if (result > OpLinkBase - 1 && result < OpFileOpen)
        return 2;
    return 1;
}

} // namespace kia
