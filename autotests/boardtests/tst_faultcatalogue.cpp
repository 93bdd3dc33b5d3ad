// The trainer's fault catalogue: every entry loads on its board types and is
// found by the full check with the keyword the entry promises; conclusions
// are scored by what they name.
#include "benchrig.h"

#include "boardtests/fullcheck.h"
#include "boardtests/testdriver.h"
#include "sim/dd5controller.h"
#include "sim/faultcatalogue.h"

#include <QtTest>

using namespace kia;

namespace {
class QuietCheckHost final : public FullCheckHost {
public:
    explicit QuietCheckHost(sim::VirtualClock& clock) : m_clock(clock) {}
    bool showStartDialog(int, bool& dontShowAgain) override {
        dontShowAgain = false;
        return true;
    }
    bool chooseSoftwareVersion(BenchContext& ctx) override {
        ctx.chosenVersion = QStringLiteral("нет");
        return true;
    }
    int runEngine(TestEngine& engine) override { return runTestToEnd(engine, m_clock); }

private:
    sim::VirtualClock& m_clock;
};
} // namespace

class TestFaultCatalogue : public QObject {
    Q_OBJECT
private slots:
    void everyFaultIsFound_data() {
        QTest::addColumn<int>("boardType");
        QTest::addColumn<QString>("id");
        for (int t = 0; t <= 4; ++t)
            for (const sim::CatalogueFault& f : sim::faultCatalogue(t))
                if (!f.interactive)
                    QTest::addRow("%d %s", t, qPrintable(f.id)) << t << f.id;
    }
    void everyFaultIsFound() {
        QFETCH(int, boardType);
        QFETCH(QString, id);
        const QList<sim::CatalogueFault> catalogue = sim::faultCatalogue(boardType);
        const sim::CatalogueFault* fault = sim::findCatalogueFault(catalogue, id);
        QVERIFY(fault);
        QVERIFY(!fault->description.isEmpty());

        testhost::BenchRig rig(boardType);
        if (boardType == 4) {
            const QByteArray identity = sim::Dd5Controller::defaultIdentity();
            const auto image = sim::Dd5Controller::cashSoftwareImage(identity);
            QFile f(rig.ctx.workingFolder + QString::fromLatin1(identity) + QStringLiteral(".cpu"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(reinterpret_cast<const char*>(image.data()), qint64(image.size()));
        }
        QString error;
        QVERIFY2(rig.bench.loadFaultScript(fault->script, &error), qPrintable(error));
        QuietCheckHost host(rig.clock);
        const FullCheckReport report = RunFullCheck(rig.ctx, host);
        QStringList failed;
        for (const FullCheckEntry& e : report.entries)
            if (e.verdict == CheckVerdict::Failed)
                failed << e.keyword;
        QVERIFY2(!failed.isEmpty(), "no test found the fault");
        if (!fault->keyword.isEmpty())
            QVERIFY2(failed.contains(fault->keyword), qPrintable(failed.join(QLatin1Char(' '))));
    }

    void conclusionsAreScoredByWhatTheyName_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("conclusion");
        QTest::addColumn<bool>("named");
        QTest::newRow("RAM named") << QStringLiteral("ram-cell")
                                   << QStringLiteral("Неисправна микросхема ОЗУ DD6. Замените её.") << true;
        QTest::newRow("RAM, other chip") << QStringLiteral("ram-cell")
                                         << QStringLiteral("Неисправен дешифратор DD11.") << false;
        QTest::newRow("case does not matter") << QStringLiteral("clock-stopped")
                                              << QStringLiteral("НЕТ ГЕНЕРАЦИИ КВАРЦА ZQ2") << true;
        QTest::newRow("empty conclusion") << QStringLiteral("rom-sum") << QString() << false;
    }
    void conclusionsAreScoredByWhatTheyName() {
        QFETCH(QString, id);
        QFETCH(QString, conclusion);
        QFETCH(bool, named);
        const QList<sim::CatalogueFault> catalogue = sim::faultCatalogue(0);
        const sim::CatalogueFault* fault = sim::findCatalogueFault(catalogue, id);
        QVERIFY(fault);
        QCOMPARE(sim::conclusionNamesFault(*fault, conclusion), named);
    }

    void catalogueIsPerBoardType() {
        QVERIFY(sim::faultCatalogue(-1).isEmpty());
        QVERIFY(sim::faultCatalogue(5).isEmpty());
        // Type 4 has no PPI and no 24C256.
        QVERIFY(!sim::findCatalogueFault(sim::faultCatalogue(4), QStringLiteral("ppi-low")));
        QVERIFY(sim::findCatalogueFault(sim::faultCatalogue(3), QStringLiteral("ppi-low")));
        for (int t = 0; t <= 4; ++t) {
            QSet<QString> ids;
            for (const sim::CatalogueFault& f : sim::faultCatalogue(t)) {
                QVERIFY2(!ids.contains(f.id), qPrintable(f.id));
                ids.insert(f.id);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFaultCatalogue)
#include "tst_faultcatalogue.moc"
