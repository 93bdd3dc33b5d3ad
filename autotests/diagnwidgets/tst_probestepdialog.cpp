// The probe step dialog on the offscreen platform against the simulated
// bench: its texts, the history rows, PASS/FAIL with their colours, the
// result pause (taken from the dialog's scheduler, so no time passes), the
// outcome it reports, and single-point mode with the detail list and
// "Повторить".
#undef QT_NO_CAST_FROM_ASCII

#include "core/benchcontext.h"
#include "core/cp1251.h"
#include "core/scriptedprompts.h"
#include "diagn/widgets/probestepdialog.h"
#include "sim/bench.h"
#include "sim/benchline.h"
#include "sim/probe.h"
#include "sim/virtualclock.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kia;

namespace {

const char* kStepFile = "; шины\n"
                        "CIR31-DD3.20,XS1.4;\n"
                        "OUT-5;\n"           // DD3.20: logic 0 expected
                        "OUT-5;LOG-0;\n"     // DD3.20*: not for the probe
                        "OUT-5,50;IN-0,1;SET-0;CON-XS2.1;\n" // DD3.20**
                        "CIR31-DD3.20>R1;\n"  // the same pin, seen towards R1
                        "OUT-HI;\n";

struct Rig {
    Rig() : bench(0, clock), ctx(clock, prompts) {
        ctx.workingFolder = dir.path() + "/";
        ctx.link.attachLine(std::make_unique<sim::BenchLine>(bench, clock), 1, 0);
        QFile f(ctx.workingFolder + "kia_nelta2.ccr");
        f.open(QIODevice::WriteOnly);
        f.write(toCp1251(QString::fromUtf8(kStepFile)));
    }
    ~Rig() { ctx.link.CloseLinkPort(); }

    /// A dialog whose timers land in `pending`.
    CProbeStepDialog* open(const QString& point, bool singlePoint, int historyRows = 0) {
        StepRequest r;
        r.point = point;
        r.text = "Заключение: замените DD3.";
        r.singlePoint = singlePoint;
        for (int i = 0; i < historyRows; ++i)
            r.history << StepRecord{QStringLiteral("DD%1").arg(i), "X", i + 1, i % 3, 2};
        auto* d = new CProbeStepDialog(ctx, r, nullptr, [this](int ms, std::function<void()> f) {
            pending.append({ms, std::move(f)});
        });
        spy = std::make_unique<QSignalSpy>(d, &CProbeStepDialog::outcome);
        return d;
    }
    /// Runs the timers set so far; returns their delays.
    QList<int> runTimers() {
        QList<int> delays;
        const auto now = std::move(pending);
        pending.clear();
        for (const auto& p : now) {
            delays << p.first;
            p.second();
        }
        return delays;
    }
    QString outcomes() const {
        QStringList out;
        for (const QList<QVariant>& args : *spy)
            out << QStringLiteral("%1/%2").arg(args[0].toInt()).arg(args[1].toInt());
        return out.join(',');
    }

    QTemporaryDir dir;
    sim::VirtualClock clock;
    sim::Bench bench;
    ScriptedPrompts prompts;
    BenchContext ctx;
    QList<std::pair<int, std::function<void()>>> pending;
    std::unique_ptr<QSignalSpy> spy;
};

QPushButton* button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(name); }
QLabel* label(QWidget* w, const char* name) { return w->findChild<QLabel*>(name); }
QTreeWidget* tree(QWidget* w, const char* name) { return w->findChild<QTreeWidget*>(name); }

} // namespace

class TestProbeStepDialog : public QObject {
    Q_OBJECT
private slots:
    void opening() {
        Rig rig;
        QPointer<CProbeStepDialog> d = rig.open("DD3.20>R1", false, 3);
        QCOMPARE(d->windowTitle(), QStringLiteral("Диагностика"));
        QCOMPARE(label(d, "stepText")->text(),
                 QStringLiteral("\nУстановите щуп пробника на\nDD3.20 !\nНажмите \"Пуск\" !"));
        QCOMPARE(label(d, "stepResult")->text(), QStringLiteral("?"));
        QVERIFY(button(d, "startButton")->isEnabled());
        QVERIFY(button(d, "backButton")->isEnabled());
        QTreeWidget* h = tree(d, "stepHistory");
        QCOMPARE(h->topLevelItemCount(), 4);
        const QStringList words{"- PASS", "- FAIL0", "- FAIL1", "- ?"};
        const QStringList labels{"DD0", "DD1", "DD2", "DD3.20"};
        // History outcomes 0, 1, 2 are FAIL0, FAIL1, PASS.
        const QStringList expected{"- FAIL0", "- FAIL1", "- PASS", "- ?"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(h->topLevelItem(i)->text(0), labels[i]);
            QCOMPARE(h->topLevelItem(i)->text(1), expected[i]);
        }
        QVERIFY(rig.pending.isEmpty());
        delete d;
    }

    void driverConnection() {
        Rig rig;
        auto* d = rig.open("DD3.20**", false);
        QVERIFY(label(d, "stepText")->text().endsWith(
            "\n(выход формирователя лог. уровней\nдолжен быть подключен к XS2.1)"));
        delete d;
    }

    void conclusionWithoutPoint() {
        Rig rig;
        auto* d = rig.open(QString(), false, 1);
        QCOMPARE(label(d, "stepText")->text(), QStringLiteral("Заключение: замените DD3."));
        QVERIFY(!button(d, "startButton")->isEnabled());
        QVERIFY(rig.pending.isEmpty());
        button(d, "exitButton")->click();
        QCOMPARE(rig.outcomes(), QStringLiteral("0/0"));
    }

    void checkAndReport_data() {
        QTest::addColumn<QString>("point");
        QTest::addColumn<int>("tip");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("pass") << "DD3.20" << int(sim::Probe::Low) << "PASS" << QColor(0, 159, 0) << "1/0";
        QTest::newRow("fail0") << "DD3.20" << int(sim::Probe::High) << "FAIL" << QColor(159, 0, 0) << "2/0";
        QTest::newRow("fail1 open") << "XS1.4" << int(sim::Probe::Open) << "FAIL" << QColor(0, 0, 159) << "2/1";
    }
    void checkAndReport() {
        QFETCH(QString, point);
        QFETCH(int, tip);
        Rig rig;
        rig.bench.probe().setTipLevel(quint8(tip));
        QPointer<CProbeStepDialog> d = rig.open(point, false);
        d->show();
        button(d, "startButton")->click();
        QLabel* result = label(d, "stepResult");
        QTEST(result->text(), "shown");
        QTEST(result->palette().color(QPalette::Window), "colour");
        QCOMPARE(result->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(!button(d, "startButton")->isEnabled());
        QVERIFY(!button(d, "exitButton")->isEnabled());
        QVERIFY(!button(d, "backButton")->isEnabled());
        QCOMPARE(rig.spy->count(), 0); // nothing is reported during the pause
        QCOMPARE(rig.runTimers(), QList<int>{CProbeStepDialog::ResultPauseMs});
        QTEST(rig.outcomes(), "outcome");
        QTRY_VERIFY(!d);
    }

    void immediateCodes_data() {
        QTest::addColumn<QString>("point");
        QTest::addColumn<bool>("singlePoint");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("no circuit") << "DD9.9" << false << "4/0";
        QTest::newRow("not for the probe, run") << "DD3.20*" << false << "1/0";
        QTest::newRow("not for the probe, single") << "DD3.20*" << true << "6/0";
        QTest::newRow("no command line") << "XS1.4**********" << true << "4/0";
    }
    void immediateCodes() {
        QFETCH(QString, point);
        QFETCH(bool, singlePoint);
        Rig rig;
        auto* d = rig.open(point, singlePoint);
        QCOMPARE(rig.spy->count(), 0);
        QCOMPARE(rig.runTimers(), QList<int>{1});
        QTEST(rig.outcomes(), "outcome");
        button(d, "startButton")->click(); // a late click checks nothing more
        QCOMPARE(rig.spy->count(), 1);
        delete d;
    }

    void missingStepFile() {
        Rig rig;
        QFile::remove(rig.ctx.workingFolder + "kia_nelta2.ccr");
        auto* d = rig.open("DD3.20", false);
        rig.runTimers();
        QCOMPARE(rig.outcomes(), QStringLiteral("4/0"));
        delete d;
    }

    void linkFailureWithoutPause() {
        Rig rig;
        rig.bench.probe().setBroken(true);
        auto* d = rig.open("DD3.20", false);
        button(d, "startButton")->click();
        QCOMPARE(rig.outcomes(), QStringLiteral("3/0"));
        QVERIFY(rig.pending.isEmpty());
        delete d;
    }

    void backToSelectedStep() {
        Rig rig;
        auto* d = rig.open("DD3.20", false, 3);
        QTreeWidget* h = tree(d, "stepHistory");
        button(d, "backButton")->click(); // nothing selected
        h->setCurrentItem(h->topLevelItem(3)); // the step now open
        button(d, "backButton")->click();
        QCOMPARE(rig.spy->count(), 0);
        h->setCurrentItem(h->topLevelItem(1));
        button(d, "backButton")->click();
        QCOMPARE(rig.outcomes(), QStringLiteral("5/1"));
        delete d;
    }

    void singlePointFailRepeats() {
        Rig rig;
        rig.bench.probe().setTipLevel(sim::Probe::Open);
        auto* d = rig.open("DD3.20", true);
        QVERIFY(!button(d, "backButton")->isEnabled());
        QTreeWidget* details = tree(d, "stepDetails");
        QCOMPARE(details->headerItem()->text(0), QStringLiteral("Шаг :"));
        QCOMPARE(details->headerItem()->text(1), QStringLiteral("Считанное значение:"));
        QCOMPARE(details->headerItem()->text(2), QStringLiteral("Ожидаемое значение:"));
        d->show();
        button(d, "startButton")->click();
        rig.runTimers();
        QCOMPARE(rig.spy->count(), 0); // the dialog stays open
        QVERIFY(details->isVisible());
        QVERIFY(!tree(d, "stepHistory")->isVisible());
        QCOMPARE(details->topLevelItemCount(), 1);
        QTreeWidgetItem* row = details->topLevelItem(0);
        QCOMPARE(row->text(0), QStringLiteral("1."));
        QCOMPARE(row->text(1), stepLevelText(3));
        QCOMPARE(row->text(2), stepLevelText(0));
        QCOMPARE(row->foreground(1).color(), QColor(191, 0, 0));
        QPushButton* third = button(d, "backButton");
        QCOMPARE(third->text(), QStringLiteral("Повторить"));
        QVERIFY(third->isEnabled());
        QVERIFY(button(d, "exitButton")->isEnabled());

        // The engineer finds the broken track; the repeat passes and reports.
        rig.bench.probe().setTipLevel(sim::Probe::Low);
        third->click();
        QCOMPARE(third->text(), QStringLiteral("Назад на выбранный шаг"));
        QVERIFY(!details->isVisible());
        QCOMPARE(label(d, "stepResult")->text(), QStringLiteral("PASS"));
        rig.runTimers();
        QCOMPARE(rig.outcomes(), QStringLiteral("1/0"));
    }

    void singlePointMatchingRowsInBlack() {
        Rig rig;
        // The output follows the input only for the first value.
        rig.bench.probe().setTipLevel(sim::Probe::Low);
        auto* d = rig.open("DD3.20**", true);
        button(d, "startButton")->click();
        rig.runTimers();
        QTreeWidget* details = tree(d, "stepDetails");
        QCOMPARE(details->topLevelItemCount(), 2);
        QCOMPARE(details->topLevelItem(0)->text(0), QStringLiteral("1."));
        QCOMPARE(details->topLevelItem(0)->foreground(1).color(), QColor(Qt::black));
        QCOMPARE(details->topLevelItem(1)->text(0), QStringLiteral("2."));
        QCOMPARE(details->topLevelItem(1)->foreground(1).color(), QColor(191, 0, 0));
        button(d, "exitButton")->click();
        QCOMPARE(rig.outcomes(), QStringLiteral("0/0"));
    }

    void closingEndsTheRunOnce() {
        Rig rig;
        auto* d = rig.open("DD3.20", false);
        d->show();
        d->close();
        rig.runTimers();
        QCOMPARE(rig.outcomes(), QStringLiteral("0/0"));
    }
};

QTEST_MAIN(TestProbeStepDialog)
#include "tst_probestepdialog.moc"
