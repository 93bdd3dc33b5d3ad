// kia-bench service commands end to end on the simulated board type 4, in a
// temporary working folder: result texts on stdout, the bar on stderr, exit codes.

#include "cli/benchcli.h"
#include "core/benchcontext.h"
#include "sim/bench.h"
#include "sim/cashregister.h"
#include "sim/virtualclock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

namespace {
struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList& args, const std::function<void(BenchCli&)>& before = {}) {
    Run r;
    sim::VirtualClock clock;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    BenchCli cli(out, err, &clock);
    if (before)
        before(cli);
    r.code = cli.run(args);
    out.flush();
    err.flush();
    return r;
}

QStringList words(const char* text) { return QString::fromUtf8(text).split(QLatin1Char(' ')); }

QStringList sim4(const QStringList& rest, const QString& dd5 = QStringLiteral("test")) {
    return QStringList{QStringLiteral("-b"), QStringLiteral("4"), QStringLiteral("-p"),
                       QStringLiteral("sim"), QStringLiteral("--sim-dd5"), dd5} + rest;
}
} // namespace

class TestServiceCli : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void resultsAndExitCodes_data();
    void resultsAndExitCodes();
    void prepareAndRestoreController();
    void updateNeedsYes();
    void verifyAt57600();
    void refusedOnOtherBoards();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
};

void TestServiceCli::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    QFile::copy(qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/testcpu.052"),
                QStringLiteral("testcpu.052"));
}

void TestServiceCli::cleanup() {
    QDir::setCurrent(m_oldCwd);
    m_dir.reset();
}

void TestServiceCli::resultsAndExitCodes_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("fileSize"); // a file "in.bin" of this size is made first (-1: none)
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");
    QTest::newRow("save-fp") << words("save-fp a.fp") << -1 << 0 << "Данные ФП успешно сохранены !  ";
    QTest::newRow("save-eeprom") << words("save-eeprom a.fls") << -1 << 0 << "Данные РПЗУ успешно сохранены !  ";
    QTest::newRow("clear-fp") << words("clear-fp") << -1 << 0 << "Накопитель ФП пуст!   ";
    QTest::newRow("clear-eeprom") << words("clear-eeprom") << -1 << 0 << "Очистка РПЗУ успешно завершена!   ";
    QTest::newRow("restore-fp") << words("restore-fp in.bin") << 65536 << 0 << "Данные ФП успешно восстановлены !  ";
    QTest::newRow("restore-fp short") << words("restore-fp in.bin") << 65535 << 1 << "Неверный размер файла in.bin !  ";
    QTest::newRow("restore-eeprom long") << words("restore-eeprom in.bin") << 131073 << 1 << "Неверный размер файла in.bin !  ";
    QTest::newRow("restore-eeprom missing") << words("restore-eeprom in.bin") << -1 << 1 << "Ошибка открытия файла in.bin !  ";
    QTest::newRow("save-fp into folder") << words("save-fp .") << -1 << 1 << "Ошибка открытия файла . !";
}

void TestServiceCli::resultsAndExitCodes() {
    QFETCH(QStringList, args);
    QFETCH(int, fileSize);
    QFETCH(int, code);
    QFETCH(QString, out);
    if (fileSize >= 0) {
        QFile f(QStringLiteral("in.bin"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(fileSize, char(0x5A)));
    }
    const Run r = runCli(sim4(args));
    QCOMPARE(r.code, code);
    QVERIFY2(r.out.contains(out), qPrintable(r.out));
    if (code == 0 && args.size() > 1 && args[0].startsWith(QStringLiteral("save")))
        QVERIFY(r.err.contains(QStringLiteral("] 100%")));
}

void TestServiceCli::prepareAndRestoreController() {
    QByteArray original;
    Run r = runCli(sim4({QStringLiteral("prepare")}, QStringLiteral("software")), [&](BenchCli& cli) {
        const auto& c = cli.simBench().dd5().code();
        original = QByteArray(reinterpret_cast<const char*>(c.data()), int(c.size()));
    });
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("[ВНИМАНИЕ]")));
    QFile saved(QStringLiteral("230607091405.cpu"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), original);
    saved.close();

    // Without --yes the question's default (No) stops it.
    r = runCli(sim4({QStringLiteral("restore-controller")}));
    QCOMPARE(r.code, 1);
    QVERIFY(QFile::exists(QStringLiteral("230607091405.cpu")));

    QByteArray after;
    r = runCli(sim4({QStringLiteral("restore-controller"), QStringLiteral("--yes")}),
               [&](BenchCli& cli) {
                   sim::Bench& bench = cli.simBench();
                   bench.setDd5StartState(sim::Dd5Controller::StartState::TestProgram);
               });
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("ПО контроллера успешно восстановлено!")));
    QVERIFY(!QFile::exists(QStringLiteral("230607091405.cpu")));
}

void TestServiceCli::updateNeedsYes() {
    QFile f(QStringLiteral("new.bin"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(sim::CashRegister::softwareImage());
    f.close();
    Run r = runCli(sim4({QStringLiteral("update"), QStringLiteral("new.bin")}));
    QCOMPARE(r.code, 1);
    r = runCli(sim4({QStringLiteral("update"), QStringLiteral("new.bin"), QStringLiteral("--yes")}));
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("ПО кассы успешно обновлено !")));
    QVERIFY(r.err.contains(QStringLiteral("Резервная копия: backups/program-")));
}

void TestServiceCli::verifyAt57600() {
    const QString image = qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/kassa.bin");
    Run r = runCli(sim4({QStringLiteral("verify"), image, QStringLiteral("--sim-speed"), QStringLiteral("57600")}));
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("ПО кассы соответствует эталонному !  ")));
    r = runCli(sim4({QStringLiteral("verify"), QStringLiteral("testcpu.052")}));
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.contains(QStringLiteral("Неверный размер файла testcpu.052 !  ")));
}

void TestServiceCli::refusedOnOtherBoards() {
    const Run r = runCli({QStringLiteral("-b"), QStringLiteral("0"), QStringLiteral("-p"),
                          QStringLiteral("sim"), QStringLiteral("clear-fp")});
    QCOMPARE(r.code, 64);
}

QTEST_GUILESS_MAIN(TestServiceCli)
#include "tst_servicecli.moc"
