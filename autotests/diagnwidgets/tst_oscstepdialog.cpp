// The oscilloscope step dialog on the offscreen platform against the
// simulated bench: buttons by mode, text steps, the stored or drawn
// reference picture, the stimulus on its timer (ticks called by hand), and
// the codes it reports, 7 for the programmer rows.
#undef QT_NO_CAST_FROM_ASCII

#include "core/benchcontext.h"
#include "core/cp1251.h"
#include "core/scriptedprompts.h"
#include "diagn/widgets/oscstepdialog.h"
#include "sim/bench.h"
#include "sim/benchline.h"
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

const char* kStepFile = "CIR31-DD5.12,XS3.1,DD5.12>R3;\n"
                        "OUT-0,50;SET-0;IN-0,1;TIME-20;\n"  // DD5.12
                        "OUT-50;OSC-201;\n"                 // DD5.12*
                        "OUT-50;OSC-202;\n"                 // DD5.12**: no such picture
                        "OUT-0,50;SET-18;\n"                // DD5.12***: programmer row
                        "OUT-0,50;SET-99;\n";               // DD5.12****: bad row

struct Rig {
    Rig() : bench(0, clock), ctx(clock, prompts) {
        ctx.workingFolder = dir.path() + "/";
        ctx.link.attachLine(std::make_unique<sim::BenchLine>(bench, clock), 1, 0);
        QFile f(ctx.workingFolder + "kia_nelta2.ccr");
        f.open(QIODevice::WriteOnly);
        f.write(toCp1251(QString::fromUtf8(kStepFile)));
        stored = QImage(151, 121, QImage::Format_RGB32);
        stored.fill(QColor(10, 20, 30));
        stored.save(dir.path() + "/201.png");
    }
    ~Rig() { ctx.link.CloseLinkPort(); }

    COscStepDialog* open(const QString& point, int mode, const QString& text = QString(),
                         const QString& pictures = QString()) {
        StepRequest r;
        r.oscilloscope = true;
        r.point = point;
        r.text = text;
        r.mode = mode;
        r.history << StepRecord{"DD1", "X", 1, OutcomeFail0, 2} << StepRecord{"DD2", "X", 2, OutcomePass, 2};
        auto* d = new COscStepDialog(ctx, r, nullptr, pictures.isEmpty() ? dir.path() + "/" : pictures, false);
        spy = std::make_unique<QSignalSpy>(d, &COscStepDialog::outcome);
        return d;
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
    QImage stored;
    std::unique_ptr<QSignalSpy> spy;
};

QPushButton* button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(name); }

} // namespace

class TestOscStepDialog : public QObject {
    Q_OBJECT
private slots:
    void buttonsByMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("shown"); // next yes no end back, 1 = visible, 'd' = disabled
        QTest::newRow("0 path ends") << 0 << "00011";
        QTest::newRow("1 next") << 1 << "10011";
        QTest::newRow("2 yes/no") << 2 << "01111";
        QTest::newRow("3 conclusion") << 3 << "00011";
        QTest::newRow("4 single point") << 4 << "0001d";
    }
    void buttonsByMode() {
        QFETCH(int, mode);
        Rig rig;
        auto* d = rig.open(QString(), mode, "Проверьте кварц");
        QString got;
        for (const char* name : {"nextButton", "yesButton", "noButton", "endButton", "backButton"}) {
            QPushButton* b = button(d, name);
            got += !b->isVisibleTo(d) ? QLatin1Char('0') : b->isEnabled() ? QLatin1Char('1') : QLatin1Char('d');
        }
        QTEST(got, "shown");
        delete d;
    }

    void textStepReadsNoFile() {
        Rig rig;
        QFile::remove(rig.ctx.workingFolder + "kia_nelta2.ccr");
        auto* d = rig.open(QString(), 2, "Есть ли тактовый сигнал на DD5.12 ?");
        QCOMPARE(d->findChild<QLabel*>("stepText")->text(), QStringLiteral("Есть ли тактовый сигнал на DD5.12 ?"));
        QVERIFY(d->findChild<QLabel*>("oscIcon"));
        QVERIFY(!d->findChild<QLabel*>("oscPicture"));
        QVERIFY(d->picture().isNull());
        d->OnTimer(); // a text step has no file error to report
        QCOMPARE(rig.spy->count(), 0);
        button(d, "noButton")->click();
        QCOMPARE(rig.outcomes(), QStringLiteral("2/0"));
    }

    void answers_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("click");
        QTest::addColumn<int>("selectRow");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("next") << 1 << "nextButton" << -1 << "1/0";
        QTest::newRow("yes") << 2 << "yesButton" << -1 << "1/0";
        QTest::newRow("no") << 2 << "noButton" << -1 << "2/0";
        QTest::newRow("end") << 0 << "endButton" << -1 << "0/0";
        QTest::newRow("back to row 1") << 2 << "backButton" << 1 << "5/1";
        QTest::newRow("back, current row") << 2 << "backButton" << 2 << "";
        QTest::newRow("back, none") << 2 << "backButton" << -1 << "";
    }
    void answers() {
        QFETCH(int, mode);
        QFETCH(QString, click);
        QFETCH(int, selectRow);
        Rig rig;
        auto* d = rig.open(QString(), mode, "Вопрос");
        auto* history = d->findChild<QTreeWidget*>("stepHistory");
        QCOMPARE(history->topLevelItemCount(), 3);
        QCOMPARE(history->topLevelItem(0)->text(1), QStringLiteral("- FAIL0"));
        QCOMPARE(history->topLevelItem(2)->text(1), QStringLiteral("- ?"));
        if (selectRow >= 0)
            history->setCurrentItem(history->topLevelItem(selectRow));
        button(d, click.toLatin1().constData())->click();
        QTEST(rig.outcomes(), "outcome");
        if (rig.spy->isEmpty())
            delete d;
    }

    void pointTextAndStimulus() {
        Rig rig;
        auto* d = rig.open("DD5.12>R3", 2);
        QCOMPARE(d->findChild<QLabel*>("stepText")->text(),
                 QStringLiteral("Щуп осциллографа на DD5.12.\nСигнал соответствует образцу ?"));
        QVERIFY(d->drawsOscillogram());
        QCOMPARE(d->picture().size(), QSize(151, 121));
        QCOMPARE(d->timerPeriodMs(), 20);
        d->OnTimer();
        QCOMPARE(rig.ctx.inputValue, quint8(1)); // every input value in turn
        QCOMPARE(rig.spy->count(), 0);
        button(d, "yesButton")->click();
        QCOMPARE(rig.outcomes(), QStringLiteral("1/0"));
    }

    void storedPicture_data() {
        QTest::addColumn<QString>("point");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("OSC- picture") << "DD5.12*" << false;
        QTest::newRow("missing picture: drawn") << "DD5.12**" << true;
    }
    void storedPicture() {
        QFETCH(QString, point);
        QFETCH(bool, drawn);
        Rig rig;
        auto* d = rig.open(point, 2);
        QCOMPARE(d->drawsOscillogram(), drawn);
        if (!drawn)
            QCOMPARE(d->picture().pixelColor(70, 60), QColor(10, 20, 30));
        delete d;
    }

    void codes_data() {
        QTest::addColumn<QString>("point");
        QTest::addColumn<bool>("silentLink");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("no circuit") << "DD9.1" << false << "4/0";
        QTest::newRow("bad row") << "DD5.12****" << false << "4/0";
        QTest::newRow("start fails") << "DD5.12" << true << "3/1";
        QTest::newRow("programmer row fails") << "DD5.12***" << true << "7/1";
    }
    void codes() {
        QFETCH(QString, point);
        QFETCH(bool, silentLink);
        Rig rig;
        if (silentLink)
            rig.bench.addFault(sim::Fault::silence());
        auto* d = rig.open(point, 2);
        QCOMPARE(rig.spy->count(), 0); // nothing before the first tick
        d->OnTimer();
        QTEST(rig.outcomes(), "outcome");
    }

    void finishRoutineFailureIsReported() {
        Rig rig;
        auto* d = rig.open("DD5.12", 2);
        d->OnTimer();
        rig.bench.addFault(sim::Fault::silence());
        button(d, "yesButton")->click();
        QCOMPARE(rig.outcomes(), QStringLiteral("3/1"));
    }

    void drawnPixels() {
        OscCommand c;
        QVERIFY(parseOscCommand("OUT-50;", c));
        const Oscillogram o = buildOscillogram(c, 0, QString());
        QImage black(151, 121, QImage::Format_RGB32);
        black.fill(Qt::black);
        const QImage img = DrawOscillogram(black, o);
        QCOMPARE(img.pixelColor(140, o.zeroY), QColor(0, 255, 255));   // zero line over the band
        QCOMPARE(img.pixelColor(140, 15), QColor(0, 255, 0));          // 5 V, 3 px wide
        QCOMPARE(img.pixelColor(140, 14), QColor(0, 255, 0));
        QCOMPARE(img.pixelColor(140, 25), QColor(64, 64, 64));         // band 5.3..3.5 V
        QCOMPARE(img.pixelColor(140, 50), QColor(0, 0, 0));            // between the bands
    }
};

QTEST_MAIN(TestOscStepDialog)
#include "tst_oscstepdialog.moc"
