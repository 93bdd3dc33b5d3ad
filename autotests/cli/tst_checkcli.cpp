// kia-bench check on the simulated bench: every board type passes with a PDF
// and a JSON report, a RAM fault is named with its block and the conclusion of
// its diagnostics, bad arguments are
// refused before any port opens.
#include "clirun.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kia;

namespace {
using clitest::Run;
using clitest::runCli;

QJsonObject readJson(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}
} // namespace

class TestCheckCli : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_oldCwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void cleanup() { QDir::setCurrent(m_oldCwd); }

    void everyBoardTypePasses_data() {
        QTest::addColumn<int>("board");
        for (int b = 0; b <= 4; ++b)
            QTest::addRow("board type %d", b) << b;
    }
    void everyBoardTypePasses() {
        QFETCH(int, board);
        // Board type 4 loads the test program from the working folder.
        const QString data = qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/");
        QVERIFY(QFile::copy(data + QStringLiteral("testcpu.052"), QStringLiteral("testcpu.052")));
        const Run r = runCli({QStringLiteral("-b"), QString::number(board), QStringLiteral("-p"),
                              QStringLiteral("sim"), QStringLiteral("check"), QStringLiteral("--report"),
                              QStringLiteral("r.pdf"), QStringLiteral("--report"), QStringLiteral("r.json")});
        QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
        QVERIFY(r.out.contains(QStringLiteral("Итог: плата исправна")));
        const QJsonObject o = readJson(QStringLiteral("r.json"));
        QCOMPARE(o.value(QStringLiteral("boardType")).toInt(), board);
        QVERIFY(o.value(QStringLiteral("passed")).toBool());
        for (const QJsonValue& t : o.value(QStringLiteral("tests")).toArray()) {
            const QJsonObject test = t.toObject();
            const QString verdict = test.value(QStringLiteral("verdict")).toString();
            if (test.value(QStringLiteral("interactive")).toBool())
                QCOMPARE(verdict, QStringLiteral("skipped"));
            else
                QVERIFY2(verdict == QStringLiteral("passed"),
                         qPrintable(test.value(QStringLiteral("name")).toString()));
        }
        if (board == 4)
            QCOMPARE(o.value(QStringLiteral("controllerIdentity")).toString().size(), 12);
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdfinfo.isEmpty()) {
            QFile f(QStringLiteral("r.pdf"));
            QVERIFY(f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-");
        } else {
            QProcess p;
            p.start(pdfinfo, {QStringLiteral("r.pdf")});
            QVERIFY(p.waitForFinished(30000));
            QCOMPARE(p.exitCode(), 0);
            QVERIFY(p.readAllStandardOutput().contains("Pages:"));
        }
    }

    // The failing block and, with the data files at hand, the conclusion the
    // diagnostics came to with the simulated tip on each point: in the JSON
    // on stdout and in the HTML report.
    void ramFaultNamesTheBlockAndTheConclusion() {
        const QString data = qEnvironmentVariable("KIA_SOURCE_DIR") + QStringLiteral("/data/");
        for (const char* name : {"kia_nelta2.dgn", "kia_nelta2.ccr", "kia_nelta2.dot"})
            QVERIFY(QFile::copy(data + QLatin1String(name), QLatin1String(name)));
        QFile script(QStringLiteral("faults.txt"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("ram-cell addr=0x1235 high=0x10\n");
        script.close();
        const Run r = runCli({QStringLiteral("-p"), QStringLiteral("sim"), QStringLiteral("--faults"),
                              QStringLiteral("faults.txt"), QStringLiteral("check"), QStringLiteral("--json"),
                              QStringLiteral("--report"), QStringLiteral("r.html")});
        QCOMPARE(r.code, 1);
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QVERIFY(!o.value(QStringLiteral("passed")).toBool());
        const QString expected = QStringLiteral("Неисправна микросхема ОЗУ");
        bool named = false;
        for (const QJsonValue& t : o.value(QStringLiteral("tests")).toArray()) {
            const QJsonObject test = t.toObject();
            if (test.value(QStringLiteral("keyword")).toString() != QStringLiteral("RAM_ERROR"))
                continue;
            named = true;
            QVERIFY(test.value(QStringLiteral("places")).toArray().first().toString().contains(
                QStringLiteral("0x01200")));
            QVERIFY2(test.value(QStringLiteral("conclusion")).toString().contains(expected),
                     qPrintable(r.err));
        }
        QVERIFY(named);
        QFile html(QStringLiteral("r.html"));
        QVERIFY(html.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(html.readAll()).contains(expected));
    }

    // Without the scenario file the check still reports the block and the
    // keyword; the conclusion stays empty.
    void withoutScenarioFileNoConclusion() {
        QFile script(QStringLiteral("faults.txt"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("ram-cell addr=0x1235 high=0x10\n");
        script.close();
        const Run r = runCli({QStringLiteral("-p"), QStringLiteral("sim"), QStringLiteral("--faults"),
                              QStringLiteral("faults.txt"), QStringLiteral("check"), QStringLiteral("--json")});
        QCOMPARE(r.code, 1);
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        bool named = false;
        for (const QJsonValue& t : o.value(QStringLiteral("tests")).toArray()) {
            const QJsonObject test = t.toObject();
            if (test.value(QStringLiteral("keyword")).toString() != QStringLiteral("RAM_ERROR"))
                continue;
            named = test.value(QStringLiteral("places")).toArray().first().toString().contains(
                QStringLiteral("0x01200"));
            QVERIFY(test.value(QStringLiteral("conclusion")).toString().isEmpty());
        }
        QVERIFY(named);
    }

    void missingTestProgramStopsEarly() {
        const Run r = runCli({QStringLiteral("-b"), QStringLiteral("4"), QStringLiteral("-p"),
                              QStringLiteral("sim"), QStringLiteral("check")});
        QCOMPARE(r.code, 1);
        // One try, not one per test: the rest are skipped for the same reason.
        QCOMPARE(r.out.count(QStringLiteral("не выполнен: ")), 1);
        QVERIFY(r.out.contains(QStringLiteral("пропущен: прервана: тест-программа в DD5 не отвечает")));
        QVERIFY(r.out.contains(QStringLiteral("Итог: прервана: тест-программа в DD5 не отвечает")));
    }

    void badArgumentsBeforeThePort_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("report kind") << QStringList{QStringLiteral("check"), QStringLiteral("--report"), QStringLiteral("r.txt")};
        QTest::newRow("report missing") << QStringList{QStringLiteral("check"), QStringLiteral("--report")};
        QTest::newRow("unknown") << QStringList{QStringLiteral("check"), QStringLiteral("--fast")};
        QTest::newRow("both answers") << QStringList{QStringLiteral("check"), QStringLiteral("--yes"), QStringLiteral("--no")};
    }
    void badArgumentsBeforeThePort() {
        QFETCH(QStringList, args);
        const Run r = runCli(QStringList{QStringLiteral("-p"), QStringLiteral("/dev/nonexistent")} + args);
        QCOMPARE(r.code, 64);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCwd;
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TestCheckCli test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_checkcli.moc"
