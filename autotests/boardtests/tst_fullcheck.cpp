// The full check: every automatic test of a board type in order with one
// start dialog, failures written down with their place and keyword, a bad
// bus skipping what cannot mean anything after it, a link failure ending
// the run, and the report in its three forms.
#include "benchrig.h"

#include "app/commandtable.h"
#include "boardtests/fullcheck.h"
#include "boardtests/testdriver.h"
#include "report/fullcheckreport.h"
#include "sim/boardfault.h"
#include "sim/dd5controller.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace kia;

namespace {

class RigCheckHost final : public FullCheckHost {
public:
    explicit RigCheckHost(testhost::BenchRig& rig) : m_rig(rig) {}

    bool startContinues = true;
    int startDialogs = 0;
    int versionChoices = 0;
    QStringList diagnosed;
    QStringList offered;
    QStringList progressNames;
    QStringList done; // "index verdict", " +" once the conclusion is in
    std::function<void(int)> beforeTest; // index of the test about to run

    bool showStartDialog(int, bool& dontShowAgain) override {
        ++startDialogs;
        dontShowAgain = false;
        return startContinues;
    }
    bool chooseSoftwareVersion(BenchContext& ctx) override {
        ++versionChoices;
        ctx.chosenVersion = QStringLiteral("нет"); // "меньше 2.10"
        return true;
    }
    int runEngine(TestEngine& engine) override { return runTestToEnd(engine, m_rig.clock); }
    void progress(int index, int, const QString& name) override {
        progressNames << name;
        if (beforeTest)
            beforeTest(index);
    }
    bool offerInteractive(const FullCheckItem& item) override {
        offered << item.name;
        return false;
    }
    void entryDone(int index, const FullCheckEntry& entry) override {
        done << QStringLiteral("%1 %2%3").arg(index).arg(checkVerdictKey(entry.verdict),
                                                   entry.conclusion.isEmpty() ? QString()
                                                                              : QStringLiteral(" +"));
    }
    QString runDiagnostics(const QString& keyword) override {
        diagnosed << keyword;
        return QStringLiteral("Заключение по ") + keyword;
    }

private:
    testhost::BenchRig& m_rig;
};

// The controller software the type-4 bench was sealed with, filed as the
// workstation files it before it loads the test program (the ROM test of
// type 4 compares with it).
void fileControllerSoftware(testhost::BenchRig& rig) {
    const QByteArray id = sim::Dd5Controller::defaultIdentity();
    const auto image = sim::Dd5Controller::cashSoftwareImage(id);
    QFile f(rig.ctx.workingFolder + QString::fromLatin1(id) + QStringLiteral(".cpu"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(image.data()), qint64(image.size()));
}

void addFault(testhost::BenchRig& rig, const char* script) {
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(QString::fromLatin1(script), &error), qPrintable(error));
}

const FullCheckEntry* entryOf(const FullCheckReport& r, int commandId) {
    for (const FullCheckEntry& e : r.entries)
        if (e.item.commandId == commandId)
            return &e;
    return nullptr;
}

} // namespace

class TestFullCheck : public QObject {
    Q_OBJECT
private slots:
    void faultFreeBoardPasses_data() {
        QTest::addColumn<int>("boardType");
        QTest::addColumn<int>("automatic");
        for (int t = 0; t <= 3; ++t)
            QTest::addRow("board type %d", t) << t << 10;
        QTest::newRow("board type 4") << 4 << 8;
    }
    void faultFreeBoardPasses() {
        QFETCH(int, boardType);
        QFETCH(int, automatic);
        testhost::BenchRig rig(boardType);
        if (boardType == 4)
            fileControllerSoftware(rig);
        RigCheckHost host(rig);
        rig.ctx.dontShowStartDialog = false;
        const FullCheckReport r = RunFullCheck(rig.ctx, host);
        QCOMPARE(host.startDialogs, 1);
        if (r.count(CheckVerdict::Passed) != automatic)
            qInfo().noquote() << fullCheckSummary(r).join(QLatin1Char('\n'));
        QCOMPARE(r.count(CheckVerdict::Passed), automatic);
        QCOMPARE(r.count(CheckVerdict::Failed), 0);
        QVERIFY(r.passed());
        QVERIFY(!r.interrupted);
        QCOMPARE(r.entries.first().item.commandId, cmd::BusTest);
        QCOMPARE(host.progressNames.size(), automatic);
        QVERIFY(host.diagnosed.isEmpty());
        // The tests that need the engineer were offered, one by one, and skipped.
        QCOMPARE(host.offered.size(), int(r.entries.size()) - automatic);
        QCOMPARE(r.count(CheckVerdict::Skipped), int(host.offered.size()));
        QVERIFY(r.link.frames > 0);
        QCOMPARE(r.link.failures, quint64(0));
        // What the engineer set stays as it was; the bench is free again.
        QVERIFY(!rig.ctx.dontShowStartDialog);
        QVERIFY(!rig.ctx.busy);
        QVERIFY(rig.prompts.boxes().isEmpty());
    }

    void ramFaultIsNamedAndTheRestRuns() {
        testhost::BenchRig rig(0);
        addFault(rig, "ram-cell addr=0x1235 high=0x10");
        RigCheckHost host(rig);
        const FullCheckReport r = RunFullCheck(rig.ctx, host);
        if (entryOf(r, cmd::RamTest)->verdict != CheckVerdict::Failed)
            qInfo().noquote() << fullCheckSummary(r).join(QLatin1Char('\n'));
        const FullCheckEntry* ram = entryOf(r, cmd::RamTest);
        QVERIFY(ram);
        QCOMPARE(ram->verdict, CheckVerdict::Failed);
        QCOMPARE(ram->keyword, QStringLiteral("RAM_ERROR"));
        QVERIFY(!ram->places.isEmpty());
        QVERIFY2(ram->places.first().contains(QStringLiteral("0x01200")), qPrintable(ram->places.first()));
        QCOMPARE(ram->conclusion, QStringLiteral("Заключение по RAM_ERROR"));
        QCOMPARE(host.diagnosed, QStringList{QStringLiteral("RAM_ERROR")});
        // The window's list fills in test by test, the RAM row again with
        // its conclusion once the automatic tests are over.
        const int ramRow = int(entryOf(r, cmd::RamTest) - r.entries.constData());
        QCOMPARE(host.done.size(), r.entries.size() + 1);
        for (int i = 0; i < r.entries.size(); ++i)
            QVERIFY2(host.done.contains(QStringLiteral("%1 %2").arg(i).arg(checkVerdictKey(r.entries[i].verdict))),
                     qPrintable(host.done.join(QLatin1Char(','))));
        QVERIFY(host.done.indexOf(QStringLiteral("%1 failed +").arg(ramRow)) >
                host.done.indexOf(QStringLiteral("%1 failed").arg(ramRow)));
        // The check went on past the failure.
        QCOMPARE(entryOf(r, cmd::TimerTest)->verdict, CheckVerdict::Passed);
        QCOMPARE(entryOf(r, cmd::CustomerIndicatorReadWrite)->verdict, CheckVerdict::Passed);
        QVERIFY(!r.passed());
        QCOMPARE(host.startDialogs, 1);
        QCOMPARE(host.versionChoices, 1);

        const QStringList summary = fullCheckSummary(r);
        QVERIFY(summary.contains(QStringLiteral("    Диагностика: RAM_ERROR")));
        QVERIFY(summary.contains(QStringLiteral("    Заключение: Заключение по RAM_ERROR")));
        QVERIFY(summary.last().startsWith(QStringLiteral("Итог: обнаружены неисправности")));
    }

    void badBusSkipsTheRest() {
        testhost::BenchRig rig(0);
        rig.bench.addBoardFault(sim::BoardFault::portStuckLow(0, 3));
        RigCheckHost host(rig);
        const FullCheckReport r = RunFullCheck(rig.ctx, host);
        QCOMPARE(r.entries.first().verdict, CheckVerdict::Failed);
        QVERIFY(!r.entries.first().keyword.isEmpty());
        QVERIFY(!r.entries.first().places.isEmpty());
        for (int i = 1; i < r.entries.size(); ++i) {
            QCOMPARE(r.entries[i].verdict, CheckVerdict::Skipped);
            QCOMPARE(r.entries[i].note, QStringLiteral("не имеет смысла при неисправной шине контроллера"));
        }
        QCOMPARE(host.progressNames.size(), 1);
        QVERIFY(host.offered.isEmpty());
    }

    void linkFailureEndsTheCheck() {
        testhost::BenchRig rig(2);
        RigCheckHost host(rig);
        host.beforeTest = [&rig](int index) {
            if (index == 2)
                rig.bench.pullCable();
        };
        const FullCheckReport r = RunFullCheck(rig.ctx, host);
        QCOMPARE(r.entries[0].verdict, CheckVerdict::Passed);
        QCOMPARE(r.entries[1].verdict, CheckVerdict::Passed);
        QCOMPARE(r.entries[2].verdict, CheckVerdict::LinkFailure);
        QVERIFY(r.interrupted);
        for (int i = 3; i < r.entries.size(); ++i)
            QCOMPARE(r.entries[i].verdict, CheckVerdict::Skipped);
        QVERIFY(r.link.failures > 0);
        QVERIFY(!r.passed());
        QVERIFY(!rig.ctx.busy);
    }

    void declinedStartRunsNothing() {
        testhost::BenchRig rig(0);
        RigCheckHost host(rig);
        host.startContinues = false;
        const FullCheckReport r = RunFullCheck(rig.ctx, host);
        QCOMPARE(host.startDialogs, 1);
        QCOMPARE(r.entries.first().verdict, CheckVerdict::NotRun);
        QVERIFY(r.interrupted);
        QCOMPARE(r.count(CheckVerdict::Passed), 0);
        QCOMPARE(r.link.frames, quint64(0));
        QVERIFY(!r.passed());
    }

    void reportForms() {
        testhost::BenchRig rig(0);
        addFault(rig, "ram-cell addr=0x1235 high=0x10");
        rig.ctx.boardId = QStringLiteral("N-17 <тест>");
        RigCheckHost host(rig);
        const FullCheckReport r = RunFullCheck(rig.ctx, host);

        const QString json = rig.folder.filePath(QStringLiteral("r.json"));
        const QString html = rig.folder.filePath(QStringLiteral("r.html"));
        const QString pdf = rig.folder.filePath(QStringLiteral("r.pdf"));
        QString error;
        QVERIFY2(writeFullCheckReport(r, json, &error), qPrintable(error));
        QVERIFY2(writeFullCheckReport(r, html, &error), qPrintable(error));
        QVERIFY2(writeFullCheckReport(r, pdf, &error), qPrintable(error));
        QVERIFY(!writeFullCheckReport(r, rig.folder.filePath(QStringLiteral("r.txt")), &error));
        QVERIFY(!writeFullCheckReport(r, rig.folder.filePath(QStringLiteral("no/dir/r.json")), &error));

        QFile jf(json);
        QVERIFY(jf.open(QIODevice::ReadOnly));
        QJsonParseError pe;
        const QJsonObject o = QJsonDocument::fromJson(jf.readAll(), &pe).object();
        QCOMPARE(pe.error, QJsonParseError::NoError);
        QCOMPARE(o.value(QStringLiteral("boardType")).toInt(), 0);
        QCOMPARE(o.value(QStringLiteral("boardId")).toString(), rig.ctx.boardId);
        QCOMPARE(o.value(QStringLiteral("passed")).toBool(), false);
        QVERIFY(o.value(QStringLiteral("link")).toObject().value(QStringLiteral("frames")).toInt() > 0);
        const QJsonArray tests = o.value(QStringLiteral("tests")).toArray();
        QCOMPARE(tests.size(), r.entries.size());
        bool ramFound = false;
        for (const QJsonValue& v : tests) {
            const QJsonObject t = v.toObject();
            if (t.value(QStringLiteral("keyword")).toString() == QStringLiteral("RAM_ERROR")) {
                ramFound = true;
                QCOMPARE(t.value(QStringLiteral("verdict")).toString(), QStringLiteral("failed"));
                QVERIFY(!t.value(QStringLiteral("places")).toArray().isEmpty());
            }
        }
        QVERIFY(ramFound);

        QFile hf(html);
        QVERIFY(hf.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(hf.readAll());
        QVERIFY(page.contains(QStringLiteral("N-17 &lt;тест&gt;"))); // escaped, not markup
        QVERIFY(page.contains(QStringLiteral("Заключение по RAM_ERROR")));
        // The table holds short lines; the whole dump follows it, where its
        // long lines cannot squeeze the table's columns.
        const qsizetype tableEnd = page.indexOf(QStringLiteral("</table>"));
        QVERIFY(tableEnd > 0);
        QVERIFY(!page.left(tableEnd).contains(QStringLiteral("<pre")));
        QVERIFY(page.indexOf(QStringLiteral("ожидалось"), tableEnd) > tableEnd);

        QFile pf(pdf);
        QVERIFY(pf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (!pdfinfo.isEmpty()) {
            QProcess p;
            p.start(pdfinfo, {pdf});
            QVERIFY(p.waitForFinished(30000));
            QCOMPARE(p.exitCode(), 0);
            QVERIFY(p.readAllStandardOutput().contains("Pages:"));
        }
    }
};

int main(int argc, char** argv) {
    // The PDF needs the painter and fonts of a GUI application.
    QGuiApplication app(argc, argv);
    TestFullCheck test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fullcheck.moc"
