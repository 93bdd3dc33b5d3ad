// The scenario, step and points files of data/ as shipped: every keyword the
// board tests produce and every peripheral circuit has its scenario on every
// board type; every point a scenario probes is on the board and in the step
// file; and on the simulated bench, with the probe tip put on each step's
// point, a fault-free board passes every probe step while a board with a fault
// ends at the conclusion that names it.

// Plain literals below are UTF-8 texts.
#undef QT_NO_CAST_FROM_ASCII

#include "enginerig.h"

#include "boardtests/circuittable.h"
#include "boardtests/namedtests.h"
#include "cli/diagnlint.h"
#include "core/cp1251.h"
#include "diagn/faulttypes.h"
#include "diagn/scenario.h"
#include "diagn/probecheck.h"
#include "diagn/stepfile.h"
#include "diagn/unattendedsteps.h"
#include "probe/boardpreparation.h"
#include "sim/dd5controller.h"
#include "view/controlpoint.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <optional>

using namespace kia;

namespace {

QString dataFile(const char* name) {
    return qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/") + QLatin1String(name);
}

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Names of the peripheral circuit rows 5..27 present on each board type, as
// the peripheral test hands them to the diagnostics.
QStringList circuitNames(int board) {
    QStringList common = {u("Фаза 1 шагового двигателя."), u("Фаза 2 шагового двигателя."),
                          u("Фаза 3 шагового двигателя."), u("Фаза 4 шагового двигателя."),
                          u("Управление индикацией."), u("Сигнал \"Наличие сети\"."),
                          u("Управление электромагнитом ящика."), u("Датчик конца бумаги."),
                          u("Данные ТПГ."), u("Запись в память ТПГ."), u("Синхроимпульс ТПГ.")};
    if (board == 4)
        return common + QStringList{u("Цепь конденсатора БП для 12в ТПГ."),
                                    u("\"-\" светодиода датчика конца бумаги."),
                                    u("Сигнал разрешения сканера."), u("Данные сканера."),
                                    u("Сигнал готовности сканера."), u("Включение +12В/1 ТПГ."),
                                    u("Включение +12В/2 ТПГ."),
                                    u("Импульс печати ТПГ (макс.по защите)."),
                                    u("Импульс печати ТПГ (макс.программный)."),
                                    u("Импульс печати ТПГ (мин.программный)."),
                                    u("Сигнал \"SCL\" ЭКЛЗ."), u("Сигнал \"SDA\" ЭКЛЗ.")};
    common << u("Данные сканера штрих-кодов.") << u("Импульс печати ТПГ (макс. по защите).")
           << u("Импульс печати ТПГ (макс. программный).") << u("Включение +12в ТПГ.");
    if (board != 3)
        common << u("Включение дополнительного \"C\".");
    if (board != 0)
        common << u("\"-\" светодиода датчика конца бумаги.");
    if (board == 3)
        common << u("Импульс печати ТПГ (мин. программный).") << u("Сигнал SDA ЭКЛЗ.")
               << u("Сигнал SCL ЭКЛЗ.");
    return common;
}

// The probe self-test rows, started as oscilloscope scenarios.
QStringList probeRowNames() {
    return {u("Высокоимпедансное состояние(проверка пробника)."),
            u("\"Общий\" провод (проверка пробника)."), u("\"+5B\" (проверка пробника)."),
            u("\"+12B\" (проверка пробника)."), u("Проверка формирователя лог. уровней.")};
}

QStringList testKeywords(int board) {
    QStringList k = {"ROM_ERROR",     "RAM_ERROR",     "BUS_ERROR",      "DATABUS_ERROR",
                     "BUS_ROM",       "BUS_FLASH",     "BUS_READ",       "TIMER_CLKERROR",
                     "TIMER_IOERROR", "FLASH1_ERROR",  "FLASH2_ERROR",   "FPEMPT_ERROR",
                     "FPWR_ERROR",    "IND0_ERROR",    "IND1_ERROR",     "GKIND_ERROR",
                     "GKIND1_ERROR",  "AUDIO_ERROR",   "KB_ERROR",       "SCAN_BUS",
                     "SCAN_CONTR",    "SCAN_REG",      "SCAN_DC"};
    if (board < 4)
        k << "SCAN_PPI" << "PULS_FP" << (board == 3 ? u("Управление DD15") : u("Управление DD14"));
    return k;
}

QStringList linkKeywords(int board) {
    return board == 4 ? QStringList{"NO_CONNECT", "NO_PROGCONNECT", "NO_PROGACCESS"}
                      : QStringList{"NO_CONNECT"};
}

QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& raw : f.readAll().split('\n'))
        lines << fromCp1251(raw).trimmed();
    return lines;
}

StepFile shippedStepFile() {
    StepFile file;
    file.load(dataFile("kia_nelta2.ccr"));
    return file;
}

// ---- the board: the real points file ----------------------------------------

class PointsBoard final : public DiagnosticsBoard {
public:
    explicit PointsBoard(int board) : m_board(board) {
        LoadPointsFile(dataFile("kia_nelta2.dot"), board, m_points);
    }
    void ClearMarks() override {}
    bool MarkPoint(const QString& n) override { return FindPoint(m_points, m_board, n) >= 0; }
    bool ShowPoint(const QString& n) override { return MarkPoint(n); }
    QRect MarkRect() const override { return QRect(0, 0, 64, 64); }
    void SetMenusLocked(bool) override {}
    bool has(const QString& n) const { return FindPoint(m_points, m_board, n) >= 0; }

private:
    int m_board;
    QList<ControlPoint> m_points;
};

// ---- the probe steps, run with the workstation's instruments ----------------

// The probe steps, run with the workstation's instruments: the tip put on
// each step's point, the level driver clipped where the step asks for it,
// the step's own check (step file, stimulus row, readings or pulse) as the
// dialog runs it after "Пуск"; the conclusion ends the run.
struct Walk {
    explicit Walk(int board)
        : rig(board), points(board),
          dialogs(
              rig.ctx, [this](const QString& p) { rig.bench.setProbePoint(p); },
              [this](const QString& p) { rig.bench.setDriverPoint(p); }),
          engine(rig.ctx, rig.host, dialogs, points) {
        rig.ctx.scenarios = &engine;
        engine.setScenarioFile(dataFile("kia_nelta2.dgn"));
        engine.setLogicProbe([] { return true; });
        QFile::copy(dataFile("kia_nelta2.ccr"), StepFile::defaultPath(rig.ctx.workingFolder));
    }
    // Runs to the end; false when the run would not end by itself. The ports
    // and latches start from their idle state, as a test session leaves them.
    bool run(const QString& name, int flag = 1) {
        if (!PrepareBoardForChecks(rig.ctx) || !engine.StartScenario(name, flag))
            return false;
        for (int guard = 0; guard < 1000 && engine.running(); ++guard) {
            const auto a = dialogs.takeAnswer();
            if (!a)
                return false;
            engine.HandleOutcome(a->code, a->argument);
        }
        return !engine.running();
    }
    const QStringList& steps() const { return dialogs.steps(); }
    QString conclusion() const { return engine.lastRun().conclusion; }
    RunEnd ended() const { return engine.lastRun().end; }
    QString endMessage() const { return engine.lastRun().message; }

    testhost::BenchRig rig;
    PointsBoard points;
    UnattendedProbeSteps dialogs;
    DiagnosticsEngine engine;
};

} // namespace

class TestShippedData : public QObject {
    Q_OBJECT
private slots:
    void lintFindsNothing();
    void everyNameHasAScenario_data();
    void everyNameHasAScenario();
    void faultTypesStartTheirScenarios_data();
    void faultTypesStartTheirScenarios();
    void probedPointsAreOnTheBoardAndInTheStepFile_data();
    void probedPointsAreOnTheBoardAndInTheStepFile();
    void everyCommandLineParses();
    void faultFreeBoardPassesEveryProbeStep_data();
    void faultFreeBoardPassesEveryProbeStep();
    void faultEndsAtItsConclusion_data();
    void faultEndsAtItsConclusion();
    void circuitWalks_data();
    void circuitWalks();
};

void TestShippedData::lintFindsNothing() {
    const QStringList findings =
        LintScenarioFile(dataFile("kia_nelta2.dgn"), dataFile("kia_nelta2.dot"));
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
}

void TestShippedData::everyNameHasAScenario_data() {
    QTest::addColumn<int>("board");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("oscilloscope");
    for (int b = 0; b < 5; ++b) {
        for (const QString& k : testKeywords(b) + circuitNames(b))
            QTest::addRow("%d %s", b, qPrintable(k)) << b << k << false;
        for (const QString& k : linkKeywords(b) + probeRowNames())
            QTest::addRow("%d %s", b, qPrintable(k)) << b << k << true;
    }
}

// A test keyword or circuit is started with the common flag: a CDIAGN scenario
// serves both instruments. Link failures and the probe rows start an
// oscilloscope scenario.
void TestShippedData::everyNameHasAScenario() {
    QFETCH(int, board);
    QFETCH(QString, name);
    QFETCH(bool, oscilloscope);
    Scenario s;
    QVERIFY(s.Load(dataFile("kia_nelta2.dgn"), name, oscilloscope ? KindOscilloscope : KindCommon,
                   board));
    ScenarioNode first;
    QVERIFY(s.GetNode(1, first));
    QVERIFY(s.NodeCount() > 2);
}

void TestShippedData::faultTypesStartTheirScenarios_data() {
    QTest::addColumn<int>("board");
    for (int b = 0; b < 5; ++b)
        QTest::addRow("board %d", b) << b;
}

void TestShippedData::faultTypesStartTheirScenarios() {
    QFETCH(int, board);
    const FaultTypeList list = ReadFaultTypes(dataFile("kia_nelta2.dgn"), board);
    QVERIFY(list.readable);
    QCOMPARE(list.skipped, 0);
    QVERIFY(list.entries.size() >= 20);
    for (const FaultTypeEntry& e : list.entries) {
        Scenario s;
        QVERIFY2(s.Load(dataFile("kia_nelta2.dgn"), e.scenario,
                        e.startFlag == 0 ? KindOscilloscope : KindCommon, board),
                 qPrintable(e.description));
    }
}

void TestShippedData::probedPointsAreOnTheBoardAndInTheStepFile_data() {
    faultTypesStartTheirScenarios_data();
}

// Every point of every scenario of the board type exists in the points file
// and has a circuit line and the command line its stars choose.
void TestShippedData::probedPointsAreOnTheBoardAndInTheStepFile() {
    QFETCH(int, board);
    const QStringList dgn = readLines(dataFile("kia_nelta2.dgn"));
    const StepFile ccr = shippedStepFile();
    QVERIFY(ccr.isLoaded());
    PointsBoard points(board);
    static const QRegularExpression header(QStringLiteral("^([COP])DIAGN(\\d\\d) (.*)$"));
    int probed = 0;
    for (const QString& line : dgn) {
        const QRegularExpressionMatch m = header.match(line);
        if (!m.hasMatch() || ((m.captured(2).toInt() >> board) & 1) == 0)
            continue;
        const int kind = QStringLiteral("COP").indexOf(m.captured(1));
        Scenario s;
        QVERIFY2(s.Load(dataFile("kia_nelta2.dgn"), m.captured(3), kind, board),
                 qPrintable(line));
        for (int i = 1; i < s.NodeCount(); ++i) {
            ScenarioNode n;
            QVERIFY(s.GetNode(i, n));
            if (n.kind != StepPoint && n.kind != StepPointText)
                continue;
            for (const QString& p : n.name.split(QLatin1Char(','))) {
                QVERIFY2(points.has(QString(p).remove(QLatin1Char('*'))),
                         qPrintable(m.captured(3) + QLatin1String(": ") + p));
                StepCommand c;
                QString why;
                QVERIFY2(ccr.find(p, board, c, &why) == StepFile::Ok,
                         qPrintable(m.captured(3) + QLatin1String(": ") + p + QLatin1Char(' ') + why));
                ++probed;
            }
        }
    }
    QVERIFY(probed > 300);
}

// Every command line of the step file, also of points no test walks, reads
// without a step-file error, and every circuit line names points of the board.
void TestShippedData::everyCommandLineParses() {
    const StepFile file = shippedStepFile();
    QVERIFY(file.isLoaded());
    QList<QList<ControlPoint>> points(5);
    for (int b = 0; b < 5; ++b)
        QVERIFY(LoadPointsFile(dataFile("kia_nelta2.dot"), b, points[b]));
    const QStringList& lines = file.lines();
    int commands = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!StepFile::isCircuitLine(lines[i]))
            continue;
        const int mask = StepFile::circuitMask(lines[i]);
        QVERIFY2(mask > 0 && mask < 32, qPrintable(lines[i]));
        for (const QString& p : StepFile::circuitPoints(lines[i])) {
            bool somewhere = false;
            for (int b = 0; b < 5; ++b)
                somewhere = somewhere || (((mask >> b) & 1) && FindPoint(points[b], b, p) >= 0);
            QVERIFY2(somewhere, qPrintable(lines[i] + QLatin1String(": ") + p));
        }
        for (qsizetype j = i + 1; j < lines.size() && !lines[j].isEmpty() &&
                                  !lines[j].startsWith(QLatin1Char(';')) &&
                                  !StepFile::isCircuitLine(lines[j]);
             ++j) {
            StepCommand c;
            QString why;
            QVERIFY2(parseStepCommand(lines[j], c, &why), qPrintable(lines[j] + QLatin1Char(' ') + why));
            ++commands;
        }
    }
    QVERIFY(commands > 150);
}

void TestShippedData::faultFreeBoardPassesEveryProbeStep_data() {
    QTest::addColumn<int>("board");
    QTest::addColumn<QString>("name");
    for (int b = 0; b < 5; ++b)
        for (const QString& k : testKeywords(b))
            QTest::addRow("%d %s", b, qPrintable(k)) << b << k;
}

// On a good board the probe run goes through every step with PASS and ends at
// the scenario's last conclusion, which is shown without a point.
void TestShippedData::faultFreeBoardPassesEveryProbeStep() {
    QFETCH(int, board);
    QFETCH(QString, name);
    Walk w(board);
    QVERIFY(w.run(name));
    QVERIFY(!w.steps().isEmpty());
    for (const QString& step : w.steps())
        QVERIFY2(step.endsWith(QLatin1String(" PASS")), qPrintable(step));
    const StepHistory& history = w.engine.history();
    for (const StepRecord& r : history)
        QCOMPARE(r.outcome, OutcomePass);
    QVERIFY(!w.conclusion().isEmpty());
    QVERIFY2(w.ended() == RunEnd::Stopped, qPrintable(w.endMessage()));
}

void TestShippedData::faultEndsAtItsConclusion_data() {
    QTest::addColumn<int>("board");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("test");    // run first: it must fail and name the scenario
    QTest::addColumn<QString>("scenario"); // when no test names it
    QTest::addColumn<QString>("conclusion");
    QTest::addColumn<QString>("failedAt");

    QTest::newRow("0 RAM cell") << 0 << "ram-cell addr=0x1235 low=0x04" << "TEST_RAM" << ""
                                << u("Неисправна микросхема ОЗУ") << "";
    QTest::newRow("4 RAM cell") << 4 << "ram-cell addr=0x4321 high=0x80" << "TEST_RAM" << ""
                                << u("Неисправна микросхема ОЗУ") << "";
    QTest::newRow("0 AD3 stuck low") << 0 << "port-low 0.3" << "TEST_BUS" << ""
                                     << u("Линия DD3/36 не переключается") << "DD4/5";
    QTest::newRow("2 AD5 stuck high") << 2 << "port-high 0.5" << "TEST_BUS" << ""
                                      << u("Линия DD3/34 не переключается") << "DD4/7";
    QTest::newRow("0 AD2 cut at the pin") << 0 << "port-open 0.2" << "TEST_BUS" << ""
                                          << u("Вывод DD3/37 не соединен с платой") << "DD4/4";
    QTest::newRow("3 AD1 and AD2 shorted") << 3 << "port-short 0.1 0.2" << "TEST_BUS" << ""
                                           << u("Линия DD3/38 не переключается") << "DD4/3";
    QTest::newRow("4 AD6 stuck low") << 4 << "port-low 0.6" << "TEST_BUS" << ""
                                     << u("Линия DD5/31 не переключается") << "DD4/8";
    QTest::newRow("0 A13 stuck high") << 0 << "port-high 2.5" << "TEST_BUS" << ""
                                      << u("Линия DD3/26 не переключается") << "DD3/26";
    QTest::newRow("0 RAM select dead") << 0 << "select-dead out=0" << "TEST_RAM" << ""
                                       << u("Нет сигнала выборки ОЗУ на DD11/15") << "DD11/15";
    QTest::newRow("2 indicator select dead") << 2 << "select-dead out=4" << "" << "IND0_ERROR"
                                             << u("выборки индикатора кассира на DD11/11")
                                             << "DD11/11";
    QTest::newRow("0 flash cell") << 0 << "flash-cell bank=1 addr=0x0123 high=0x01" << "TEST_FLASH" << ""
                                << u("Замените микросхему РПЗУ") << "";
    QTest::newRow("0 fp nowrite") << 0 << "fp-nowrite addr=0x10" << "TEST_FP" << ""
                                << u("замените микросхему ФП") << "";
    QTest::newRow("0 clock stopped") << 0 << "clock-stopped" << "TEST_TIMER" << ""
                                     << u("замените микросхему часов") << "";
    // The stored sums are wrong, every line of the ROM is sound: all probe
    // steps pass and the run ends at the advice to reprogram the ROM.
    QTest::newRow("0 ROM sum") << 0 << "rom-sum" << "TEST_ROM" << ""
                               << u("перепрограммируйте или замените ПЗУ") << "";
    QTest::newRow("2 ROM byte") << 2 << "rom-byte half=1 addr=0x0123" << "TEST_ROM" << ""
                                << u("перепрограммируйте или замените ПЗУ") << "";
    QTest::newRow("4 ROM sum") << 4 << "rom-sum" << "TEST_ROM" << ""
                               << u("перепрограммируйте DD5") << "";
    QTest::newRow("0 PPI line PC4 stuck") << 0 << "ppi-low C.4" << "" << u("Управление DD14")
                                          << u("Выход DD14/13 ППИ DD14 не переключается")
                                          << "DD14/13";
    QTest::newRow("3 PPI line PB7 stuck") << 3 << "ppi-high B.7" << "" << u("Управление DD15")
                                          << u("Выход DD15/25 ППИ DD15 не переключается")
                                          << "DD15/25";
}

// With the fault on the board the test fails, its keyword starts the
// scenario, the probe steps pass or fail by what the tip reads, and the run
// ends at the conclusion that names the fault.
void TestShippedData::faultEndsAtItsConclusion() {
    QFETCH(int, board);
    QFETCH(QString, faults);
    QFETCH(QString, test);
    QFETCH(QString, scenario);
    QFETCH(QString, conclusion);
    QFETCH(QString, failedAt);
    Walk w(board);
    QString error;
    QVERIFY2(w.rig.bench.loadFaultScript(faults, &error), qPrintable(error));
    // The ROM test compares with the saved program: on types 0..3 the
    // engineer picks "нет" (the stored sums only), type 4 needs the
    // controller's software saved as <identity>.cpu.
    w.rig.host.versions << QStringLiteral("нет");
    if (board == 4) {
        const QByteArray identity = sim::Dd5Controller::defaultIdentity();
        const auto image = sim::Dd5Controller::cashSoftwareImage(identity);
        QFile f(w.rig.ctx.workingFolder + QString::fromLatin1(identity) + QStringLiteral(".cpu"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(image.data()), qint64(image.size()));
    }
    if (!test.isEmpty()) {
        QString keyword;
        QCOMPARE(RunNamedTest(w.rig.ctx, w.rig.host, test, keyword), 2);
        QVERIFY(!keyword.isEmpty());
        scenario = keyword;
    }
    QVERIFY(w.run(scenario));
    QVERIFY2(w.conclusion().contains(conclusion),
             qPrintable(scenario + QLatin1String(": ") + w.conclusion() + QLatin1Char('\n') +
                        w.steps().join(QLatin1Char('\n'))));
    if (!failedAt.isEmpty()) {
        QStringList failed;
        for (const QString& s : w.steps())
            if (s.contains(QLatin1String("FAIL")))
                failed << s.section(QLatin1Char(' '), 0, 0);
        QVERIFY2(!failed.isEmpty() && failed.first() == failedAt,
                 qPrintable(w.steps().join(QLatin1Char('\n'))));
    } else {
        for (const QString& s : w.steps())
            QVERIFY2(s.endsWith(QLatin1String(" PASS")), qPrintable(s));
    }
}

void TestShippedData::circuitWalks_data() {
    QTest::addColumn<int>("board");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fault");  // empty: a fault-free board
    QTest::addColumn<QString>("output"); // the circuit's output, named by the conclusion
    const char* kinds[3] = {"circuit-low", "circuit-high", "circuit-open"};
    for (int b = 0; b < 5; ++b) {
        const QStringList names = circuitNames(b);
        int turn = 0;
        for (const CircuitRow& row : circuitTable(b)) {
            if (!row.isPresent() || !names.contains(row.name))
                continue;
            QTest::addRow("%d %s", b, qPrintable(row.name)) << b << row.name << QString() << QString();
            // Circuits read through a port have no output the tip can be stuck on.
            if (row.read != CircuitRead::Probe && row.read != CircuitRead::Pulse)
                continue;
            const char* kind = kinds[turn++ % 3];
            QTest::addRow("%d %s %s", b, qPrintable(row.name), kind)
                << b << row.name << QStringLiteral("%1 %2").arg(QLatin1String(kind), row.output)
                << row.output;
        }
    }
    // Inputs read through a controller port: the port line stuck at the pin
    // no longer follows the level driver clipped onto the connector.
    QTest::newRow("0 scanner data, P3.3 stuck") << 0 << u("Данные сканера штрих-кодов.") << "port-high 3.3"
                                                << "DD3/13";
    QTest::newRow("2 paper end, P3.5 stuck") << 2 << u("Датчик конца бумаги.") << "port-low 3.5"
                                             << "DD3/15";
    QTest::newRow("3 paper end, P1.6 stuck") << 3 << u("Датчик конца бумаги.") << "port-high 1.6"
                                             << "DD3/7";
    QTest::newRow("4 scanner data, P3.3 stuck") << 4 << u("Данные сканера.") << "port-low 3.3"
                                                << "DD5/9";
}

// The peripheral test's circuits: on a good board every probe step passes and
// the run ends at the advice to check the cable; with the circuit's output
// stuck or cut, the inputs still pass, the output fails and the conclusion
// names it.
void TestShippedData::circuitWalks() {
    QFETCH(int, board);
    QFETCH(QString, name);
    QFETCH(QString, fault);
    QFETCH(QString, output);
    Walk w(board);
    if (!fault.isEmpty()) {
        QString error;
        QVERIFY2(w.rig.bench.loadFaultScript(fault, &error), qPrintable(error));
    }
    QVERIFY(w.run(name));
    const QString steps = w.steps().join(QLatin1Char('\n'));
    QVERIFY2(!w.steps().isEmpty(), qPrintable(w.endMessage()));
    QVERIFY2(!w.conclusion().isEmpty(), qPrintable(steps));
    QStringList failed;
    for (const QString& step : w.steps())
        if (!step.endsWith(QLatin1String(" PASS")))
            failed << step;
    if (fault.isEmpty()) {
        QVERIFY2(failed.isEmpty(), qPrintable(steps));
        return;
    }
    QVERIFY2(!failed.isEmpty() &&
                 parseProbePointName(failed.first().section(QLatin1Char(' '), 0, 0)).stepName == output,
             qPrintable(steps));
    QVERIFY2(w.conclusion().contains(output),
             qPrintable(w.conclusion() + QLatin1Char('\n') + steps));
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
