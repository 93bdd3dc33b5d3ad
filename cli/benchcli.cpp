#include "indicatorcommands.h"
#include "benchcli.h"

#include "diagncommands.h"
#include "hexdump.h"
#include "servicecommands.h"
#include "instrumentcommands.h"
#include "journalcommand.h"
#include "testcommand.h"

#include "core/benchcontext.h"
#include "core/clock.h"
#include "core/consoleprompts.h"
#include "link/linkmessages.h"
#include "link/linkstatus.h"
#include "sim/bench.h"
#include "sim/benchline.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace kia {

namespace {
QString hexByte(quint16 v) { return QString::number(v, 16).rightJustified(2, QLatin1Char('0')).toUpper(); }
} // namespace

BenchCli::BenchCli(QTextStream& out, QTextStream& err, Clock* clock)
    : m_out(out), m_err(err), m_prompts(std::make_unique<ConsolePrompts>(stderr))
{
    if (!clock) {
        m_ownClock = std::make_unique<RealClock>();
        clock = m_ownClock.get();
    }
    m_clock = clock;
    m_ctx = std::make_unique<BenchContext>(*m_clock, *m_prompts);
    m_ctx->ports.loadEnvironment();
    m_ctx->ports.setSimulatorMaker([this](int) -> std::unique_ptr<SerialLine> {
        return std::make_unique<sim::BenchLine>(simBench());
    });
}

BenchCli::~BenchCli()
{
    // The line refers to the simulated bench: close it first.
    m_ctx->link.CloseLinkPort();
}

sim::Bench& BenchCli::simBench()
{
    if (!m_bench)
        m_bench = std::make_unique<sim::Bench>(m_ctx->boardType, *m_clock);
    return *m_bench;
}

QString BenchCli::helpText()
{
    return QStringLiteral(
        "Использование: kia-bench [ПАРАМЕТРЫ] КОМАНДА [АРГУМЕНТЫ]\n"
        "Обмен с тестовым процессором или программатором платы блока управления.\n"
        "\n"
        "Параметры:\n"
        "  -b, --board N        тип платы 0..4 (по умолчанию 0)\n"
        "  -p, --port PORT      COM1..COM8, путь к устройству или sim (по умолчанию COM1)\n"
        "  -s, --speed BAUD     скорость порта (по умолчанию 9600 для типов 0..3,\n"
        "                       115200 для типа 4)\n"
        "  -t, --trace          выводить в stderr каждый байт обмена (hex, направление, время)\n"
        "      --faults FILE    сценарий неисправностей имитатора (только --port sim)\n"
        "      --probe-at POINT щуп пробника имитатора на контрольной точке POINT\n"
        "                       (только --port sim; точка из kia_nelta2.dot)\n"
        "      --sim-dd5 STATE  содержимое DD5 имитатора платы типа 4:\n"
        "                       software (ПО кассы с номером, по умолчанию),\n"
        "                       noid (ПО кассы без номера), test (тест-программа)\n"
        "  -h, --help           показать эту справку и выйти\n"
        "  -V, --version        показать версию и выйти\n"
        "\n"
        "Команды:\n"
        "  ping                         проверить, отвечает ли тестовый процессор\n"
        "  read-port P                  прочитать порт P (0..3)\n"
        "  write-port P VALUE MASK      записать в порт P биты VALUE по маске MASK\n"
        "  read-mem ADDR LEN            прочитать LEN байт памяти с адреса ADDR\n"
        "  write-mem ADDR BYTE...       записать байты в память с адреса ADDR\n"
        "  identify                     прочитать номер из контроллера DD5 (тип 4)\n")
        + TestCommand::helpText() + ServiceCommands::helpText() +
        InstrumentCommands::helpText() + PeripheralCommands::helpText() +
        IndicatorCommands::helpText() + DiagnCommands::helpText() + CheckCommand::helpText() +
        JournalCommand::helpText() + QStringLiteral(
        "\n"
        "Числа пишутся десятично или шестнадцатерично (0x1F, 1Fh, $1F).\n"
        "COMn на Linux - это /dev/ttyS<n-1>; переменная KIA_COMn задает другое\n"
        "устройство или sim для порта n.\n"
        "\n"
        "Коды завершения:\n"
        "  0   успешно\n"
        "  1   плата ответила, но проверка не пройдена (тест не прошел или отменен)\n"
        "  2   ошибка связи (выводится текст состояния связи)\n"
        "  64  ошибка в командной строке\n");
}

int BenchCli::usage(const QString& message)
{
    m_err << "kia-bench: " << message << "\n"
          << "Подробнее: kia-bench --help\n";
    m_err.flush();
    return ExitUsage;
}

int BenchCli::linkFailure()
{
    const StatusMessage m = LinkStatusText(m_ctx->linkStatus, m_ctx->boardType, m_ctx->selectedPort);
    m_err << (m_ctx->linkTitle.isEmpty() ? m.title : m_ctx->linkTitle) << ": " << m.text << "\n";
    m_err.flush();
    return ExitLinkFailure;
}

bool BenchCli::openPort(const QString& target, qint32 speed)
{
    static const QRegularExpression com(QStringLiteral("^COM([0-9]+)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(target);
    if (m.hasMatch()) {
        const int port = m.captured(1).toInt();
        m_ctx->selectedPort = port >= 1 && port <= 8 ? port : 1;
        return m_ctx->link.OpenLinkPort(port, speed);
    }
    m_ctx->selectedPort = 1;
    // A device path names itself in the link messages; COMn and sim say "Com<n>".
    if (target != QStringLiteral("sim"))
        m_ctx->linkTitle = target;
    return m_ctx->link.attachLine(m_ctx->ports.makeLineFor(target, 1), 1, speed);
}

int BenchCli::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption board({QStringLiteral("b"), QStringLiteral("board")}, QString(), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")}, QString(), QStringLiteral("PORT"), QStringLiteral("COM1"));
    const QCommandLineOption speed({QStringLiteral("s"), QStringLiteral("speed")}, QString(), QStringLiteral("BAUD"), QStringLiteral("0"));
    const QCommandLineOption trace({QStringLiteral("t"), QStringLiteral("trace")}, QString());
    const QCommandLineOption faults(QStringLiteral("faults"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption dd5(QStringLiteral("sim-dd5"), QString(), QStringLiteral("STATE"), QStringLiteral("software"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("V"), QStringLiteral("version")}, QString());
    const QCommandLineOption probeAt(QStringLiteral("probe-at"), QString(), QStringLiteral("POINT"));
    parser.addOptions({board, port, speed, trace, faults, dd5, probeAt, help, version});

    if (!parser.parse(QStringList{QStringLiteral("kia-bench")} + arguments))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        m_out << helpText();
        m_out.flush();
        return ExitOk;
    }
    if (parser.isSet(version)) {
        m_out << "kia-bench 2.00\n";
        m_out.flush();
        return ExitOk;
    }

    quint32 value = 0;
    if (!parseNumber(parser.value(board), 4, value))
        return usage(QStringLiteral("тип платы должен быть от 0 до 4: %1").arg(parser.value(board)));
    m_ctx->boardType = int(value);
    // A bench made before the command line was read (a test's hook) takes the board now.
    if (m_bench && m_bench->boardType() != m_ctx->boardType)
        m_bench->setBoardType(m_ctx->boardType);
    if (!parseNumber(parser.value(speed), 4000000, value))
        return usage(QStringLiteral("неверная скорость: %1").arg(parser.value(speed)));
    const qint32 baud = qint32(value);
    m_dd5State = parser.value(dd5);
    if (m_dd5State != QStringLiteral("software") && m_dd5State != QStringLiteral("noid") &&
        m_dd5State != QStringLiteral("test"))
        return usage(QStringLiteral("неизвестное состояние DD5: %1").arg(m_dd5State));

    const QString target = !parser.isSet(port) &&
                                   DiagnCommands::defaultsToSimulator(parser.positionalArguments())
                               ? QStringLiteral("sim")
                               : parser.value(port);
    static const QRegularExpression com(QStringLiteral("^COM([0-9]+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(target);
    if (m.hasMatch() && (m.captured(1).toInt() < 1 || m.captured(1).toInt() > 8))
        return usage(QStringLiteral("номер порта должен быть от 1 до 8: %1").arg(target));
    const bool simulated = target == QStringLiteral("sim") ||
                           (m.hasMatch() && m_ctx->ports.targetFor(m.captured(1).toInt()) ==
                                                QStringLiteral("sim"));

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usage(QStringLiteral("не указана команда"));
    // The journal is a file of the working folder: no port, no bench.
    if (JournalCommand::handles(positional.first())) {
        QString error;
        if (!JournalCommand::validate(positional.mid(1), &error))
            return usage(error);
        return JournalCommand::run(positional.mid(1), m_out, m_err);
    }
    // The whole command line is checked before any port is touched.
    Command command;
    if (const int bad = parseCommand(positional.first(), positional.mid(1), command))
        return bad;

    if (parser.isSet(probeAt)) {
        if (!simulated)
            return usage(QStringLiteral("--probe-at действует только с --port sim"));
        const QString folder = m_ctx->workingFolder.isEmpty()
                                   ? QDir::currentPath() + QLatin1Char('/')
                                   : m_ctx->workingFolder;
        const QString bad = checkProbePoint(folder + QStringLiteral("kia_nelta2.dot"),
                                            m_ctx->boardType, parser.value(probeAt));
        if (!bad.isEmpty())
            return usage(bad);
    }
    if (simulated) {
        sim::Bench& bench = simBench();
        if (m_dd5State == QStringLiteral("test"))
            bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
        else if (m_dd5State == QStringLiteral("noid"))
            bench.setDd5StartState(sim::Dd5Controller::StartState::CashSoftwareNoIdentity);
        if (parser.isSet(faults)) {
            QFile f(parser.value(faults));
            if (!f.open(QIODevice::ReadOnly))
                return usage(QStringLiteral("не удается открыть файл %1").arg(parser.value(faults)));
            QString error;
            if (!bench.loadFaultScript(QString::fromUtf8(f.readAll()), &error))
                return usage(QStringLiteral("%1: %2").arg(parser.value(faults), error));
        }
        if (parser.isSet(probeAt))
            bench.setProbePoint(parser.value(probeAt));
    } else if (parser.isSet(faults)) {
        return usage(QStringLiteral("--faults действует только с --port sim"));
    }

    if (parser.isSet(trace))
        m_ctx->link.setTraceSink([this](const QString& line) {
            m_err << line << "\n";
            m_err.flush();
        });

    if (DiagnCommands::handles(positional.first()))
        return DiagnCommands(*m_ctx, m_out, m_err, [&] { return openPort(target, baud); })
            .run(positional.first(), positional.mid(1));
    if (!openPort(target, baud))
        return linkFailure();
    return execute(command);
}

// Every command's arguments are checked here, before run() opens a port: a bad
// command line exits 64 with its message and never reaches the link. The
// basic commands are read into `c` below. A command family in its own file
// (ServiceCommands, InstrumentCommands, IndicatorCommands, DiagnCommands)
// has static handles(command) and validate(command, args, [boardType,]
// &error), and its run(command, args) reads the arguments with the same
// function validate() uses; here a family only needs its one line below,
// and execute() one line to run it. A new command joins its family's
// handles(), validate() and run(); a new family gets the same three.
int BenchCli::parseCommand(const QString& command, const QStringList& args, Command& c)
{
    c = Command{};
    c.name = command;
    c.args = args;
    QString error;
    if (command == QStringLiteral("ping"))
        return args.isEmpty() ? ExitOk : usage(QStringLiteral("ping не принимает аргументов"));
    if (command == QStringLiteral("identify")) {
        if (!args.isEmpty())
            return usage(QStringLiteral("identify не принимает аргументов"));
        if (m_ctx->boardType != 4)
            return usage(QStringLiteral("identify работает только с платой типа 4"));
        return ExitOk;
    }
    if (PeripheralCommands::handles(command)) {
        const QString bad = PeripheralCommands::parse(command, args, c.periph);
        return bad.isEmpty() ? ExitOk : usage(bad);
    }
    if (ServiceCommands::handles(command))
        return ServiceCommands::validate(command, args, m_ctx->boardType, &error) ? ExitOk
                                                                                   : usage(error);
    if (InstrumentCommands::handles(command))
        return InstrumentCommands::validate(command, args, &error) ? ExitOk : usage(error);
    if (IndicatorCommands::handles(command))
        return IndicatorCommands::validate(command, args, &error) ? ExitOk : usage(error);
    if (DiagnCommands::handles(command))
        return DiagnCommands::validate(command, args, &error) ? ExitOk : usage(error);
    if (command == QStringLiteral("test"))
        return TestCommand::parse(args, m_testOptions, &error) ? ExitOk : usage(error);
    if (CheckCommand::handles(command))
        return CheckCommand::parse(args, m_checkOptions, &error) ? ExitOk : usage(error);
    if (command == QStringLiteral("read-port")) {
        if (args.size() != 1 || !parseNumber(args[0], 3, c.port))
            return usage(QStringLiteral("read-port P: порт от 0 до 3"));
        return ExitOk;
    }
    if (command == QStringLiteral("write-port")) {
        if (args.size() != 3 || !parseNumber(args[0], 3, c.port) ||
            !parseNumber(args[1], 255, c.value) || !parseNumber(args[2], 255, c.mask))
            return usage(
                QStringLiteral("write-port P VALUE MASK: порт 0..3, значение и маска 0..255"));
        return ExitOk;
    }
    if (command == QStringLiteral("read-mem")) {
        if (args.size() != 2 || !parseNumber(args[0], 0xFFFF, c.address) ||
            !parseNumber(args[1], 0x10000, c.length) || c.length == 0 ||
            c.address + c.length > 0x10000)
            return usage(
                QStringLiteral("read-mem ADDR LEN: адрес 0..FFFF, длина от 1 до конца памяти"));
        return ExitOk;
    }
    if (command == QStringLiteral("write-mem")) {
        if (args.size() < 2 || !parseNumber(args[0], 0xFFFF, c.address))
            return usage(
                QStringLiteral("write-mem ADDR BYTE...: адрес 0..FFFF и хотя бы один байт"));
        for (int i = 1; i < args.size(); ++i) {
            quint32 b = 0;
            if (!parseNumber(args[i], 255, b))
                return usage(QStringLiteral("неверный байт: %1").arg(args[i]));
            c.bytes.push_back(quint8(b));
        }
        if (c.address + c.bytes.size() > 0x10000)
            return usage(QStringLiteral("запись выходит за конец памяти"));
        return ExitOk;
    }
    return usage(QStringLiteral("неизвестная команда: %1").arg(command));
}

int BenchCli::execute(const Command& c)
{
    if (c.name == QStringLiteral("ping"))
        return cmdPing();
    if (c.name == QStringLiteral("read-port"))
        return cmdReadPort(c);
    if (c.name == QStringLiteral("write-port"))
        return cmdWritePort(c);
    if (c.name == QStringLiteral("read-mem"))
        return cmdReadMem(c);
    if (c.name == QStringLiteral("write-mem"))
        return cmdWriteMem(c);
    if (c.name == QStringLiteral("identify"))
        return cmdIdentify();
    if (ServiceCommands::handles(c.name))
        return ServiceCommands(*m_ctx, *m_prompts, m_out, m_err, m_bench.get()).run(c.name, c.args);
    if (InstrumentCommands::handles(c.name))
        return InstrumentCommands(*m_ctx, m_out, m_err).run(c.name, c.args);
    if (IndicatorCommands::handles(c.name))
        return IndicatorCommands(*m_ctx, m_bench.get(), m_out, m_err).run(c.name, c.args);
    if (PeripheralCommands::handles(c.name))
        return PeripheralCommands(*m_ctx, *m_prompts, m_bench.get(), m_out, m_err)
            .run(c.name, c.periph);
    if (CheckCommand::handles(c.name))
        return CheckCommand(*m_ctx, *m_prompts, m_out, m_err, m_bench.get()).run(m_checkOptions);
    return TestCommand(*m_ctx, *m_prompts, m_out, m_err).run(m_testOptions);
}

int BenchCli::cmdPing()
{
    const quint16 v = m_ctx->link.ReadPort(0);
    if (v > 0xFF)
        return linkFailure();
    m_ctx->peerAnswered = 1;
    m_out << QStringLiteral("Связь есть: порт 0 = 0x%1\n").arg(hexByte(v));
    m_out.flush();
    return ExitOk;
}

int BenchCli::cmdReadPort(const Command& c)
{
    const quint16 v = m_ctx->link.ReadPort(quint8(c.port));
    if (v > 0xFF)
        return linkFailure();
    m_out << QStringLiteral("порт %1 = 0x%2\n").arg(c.port).arg(hexByte(v));
    m_out.flush();
    return ExitOk;
}

int BenchCli::cmdWritePort(const Command& c)
{
    if (!m_ctx->link.WritePort(quint8(c.port), quint8(c.value), quint8(c.mask)))
        return linkFailure();
    return ExitOk;
}

int BenchCli::cmdReadMem(const Command& c)
{
    const quint32 address = c.address, length = c.length;
    QByteArray data;
    data.reserve(int(length));
    quint32 at = address;
    while (at < address + length) {
        const quint32 n = std::min<quint32>(255, address + length - at);
        quint8 block[255];
        if (!m_ctx->link.ReadMemory(quint16(at), std::span<quint8>(block, n)))
            return linkFailure();
        data.append(reinterpret_cast<const char*>(block), int(n));
        at += n;
    }
    for (const QString& row : hexDump(address, data))
        m_out << row << "\n";
    m_out.flush();
    return ExitOk;
}

int BenchCli::cmdWriteMem(const Command& c)
{
    const std::vector<quint8>& bytes = c.bytes;
    for (size_t off = 0; off < bytes.size(); off += 255) {
        const size_t n = std::min<size_t>(255, bytes.size() - off);
        if (!m_ctx->link.WriteMemory(quint16(c.address + off),
                                     std::span<const quint8>(bytes.data() + off, n)))
            return linkFailure();
    }
    return ExitOk;
}

int BenchCli::cmdIdentify()
{
    QString identity;
    const quint8 r = m_ctx->link.ReadControllerIdentity(identity);
    if (r != LongOk) {
        m_err << QStringLiteral("Программатор: ") << identificationText(r) << "\n";
        m_err.flush();
        return ExitLinkFailure;
    }
    if (identity.size() != 12) {
        m_err << QStringLiteral("Диагностика: В контроллер БУ еще не записана тест-программа!\n"
                                "Проведите сначала \"Тест шин контроллера\".\n");
        m_err.flush();
        return ExitCheckFailed;
    }
    m_out << QStringLiteral("Номер ПО контроллера: ") << identity << "\n";
    m_out.flush();
    return ExitOk;
}

} // namespace kia
