// The port-image list in the window, reached from the bus test and the PPI
// test on a board with a shorted or stuck line: title, rows, colours of the
// bits that differ, and what its two buttons make of the test.

#include "dialogscript.h"
#include "pixels.h"

#include "boardtests/benchrig.h"

#include "app/appfont.h"
#include "boardtests/testengine.h"
#include "boardtests/testresults.h"
#include "boardtests/widgets/portimagedlg.h"
#include "boardtests/widgets/windowtestsession.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace kia;
using testgui::Ink;
using testgui::inkPixels;

namespace {
QRect rowRect(CPortImageDlg* d, int row) {
    return d->list()->visualItemRect(d->list()->item(row));
}

QRect bitRect(CPortImageDlg* d, int row, int bit) {
    const QRect r = rowRect(d, row);
    const int w = d->charWidth();
    return QRect(r.left() + PortImageDelegate::padding(w) + PortImageDelegate::bitX(bit, w),
                 r.top(), w, r.height());
}

QList<int> bitsInInk(CPortImageDlg* d, const QImage& image, int row, Ink ink) {
    QList<int> out;
    for (int bit = 0; bit < 8; ++bit)
        if (inkPixels(image, bitRect(d, row, bit), ink) > 0)
            out << bit;
    return out;
}
} // namespace

class TestPortImageDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }
    void showsTheFailingLines_data();
    void showsTheFailingLines();
};

void TestPortImageDialog::showsTheFailingLines_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("test");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("port"); // the port whose lines differ
    QTest::addColumn<QStringList>("portRows");
    QTest::addColumn<QList<int>>("redBits");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("keyword");

    const QString bus = QStringLiteral("Тест шин контроллера не прошел !");
    // The zero walks onto 2.3 and pulls the shorted 2.4 down with it.
    QTest::newRow("shorted bus lines, type 0")
        << 0 << int(BusTestNumber) << QStringLiteral("port-short 2.3 2.4") << bus << 12 << 2
        << QStringList{QStringLiteral("Порт 2  -  DD3 : 21 22 23 24 25 26 27 28"),
                       QStringLiteral("Ожидаемый уров.: 1  1  1  0  1  1  1  1"),
                       QStringLiteral("Считанный уров.: 1  1  1  0  0  1  1  1")}
        << QList<int>{4} << QStringLiteral("diagnosticsButton") << int(ResultDiagnostics)
        << QStringLiteral("BUS_ERROR");
    // A line held low differs already with every line high.
    QTest::newRow("bus line stuck low, type 4")
        << 4 << int(BusTestNumber) << QStringLiteral("port-low 1.1") << bus << 12 << 1
        << QStringList{QStringLiteral("Порт 1  -  DD5 : 40 41 42 43 44 1  2  3"),
                       QStringLiteral("Ожидаемый уров.: 1  1  1  1  1  1  1  1"),
                       QStringLiteral("Считанный уров.: 1  0  1  1  1  1  1  1")}
        << QList<int>{1} << QStringLiteral("exitButton") << int(ResultExit) << QString();
    QTest::newRow("PPI line stuck low, type 1")
        << 1 << int(PpiTestNumber) << QStringLiteral("ppi-low B.2")
        << QStringLiteral("Тест ППИ не прошел !") << 9 << 1
        << QStringList{QStringLiteral("Порт B  -  DD14: 18 19 20 21 22 23 24 25"),
                       QStringLiteral("Ожидаемый уров.: 1  1  1  1  1  1  1  1"),
                       QStringLiteral("Считанный уров.: 1  1  0  1  1  1  1  1")}
        << QList<int>{2} << QStringLiteral("diagnosticsButton") << int(ResultDiagnostics)
        << QString();
}

void TestPortImageDialog::showsTheFailingLines() {
    QFETCH(int, boardType);
    QFETCH(int, test);
    QFETCH(QString, fault);
    QFETCH(QString, title);
    QFETCH(int, rows);
    QFETCH(int, port);
    QFETCH(QStringList, portRows);
    QFETCH(QList<int>, redBits);
    QFETCH(QString, button);
    QFETCH(int, result);
    QFETCH(QString, keyword);

    testhost::BenchRig rig(boardType);
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(fault, &error), qPrintable(error));
    WindowTestSession session(rig.ctx, nullptr, nullptr, CTestDialog::Pacing::ContextClock);
    testgui::DialogScript script(session);
    bool inspected = false;
    script.on(QStringLiteral("CPortImageDlg"), [&](QDialog* dialog) {
        auto* d = static_cast<CPortImageDlg*>(dialog);
        QListWidget* list = d->list();
        QCOMPARE(d->windowTitle(), title);
        QCOMPARE(list->count(), rows);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(list->item(3 * port + i)->text(), portRows.at(i));
        // Every row in view, none cut off.
        QVERIFY(rowRect(d, rows - 1).bottom() < list->viewport()->height());

        const QImage shot = testgui::snapshot(list->viewport());
        for (int p = 0; p < rows / 3; ++p) {
            QVERIFY(inkPixels(shot, rowRect(d, 3 * p), Ink::Blue) > 0); // pin header
            QCOMPARE(inkPixels(shot, rowRect(d, 3 * p), Ink::Red), 0);
            QCOMPARE(bitsInInk(d, shot, 3 * p + 1, Ink::Red), QList<int>{}); // expected levels
            QCOMPARE(bitsInInk(d, shot, 3 * p + 2, Ink::Red),
                     p == port ? redBits : QList<int>{}); // read levels
        }
        const QRect read = rowRect(d, 3 * port + 2);
        const int w = d->charWidth();
        const QRect label(read.left(), read.top(), PortImageDelegate::padding(w) + 16 * w,
                          read.height());
        QVERIFY(inkPixels(shot, label, Ink::Green) > 0);
        QCOMPARE(inkPixels(shot, label, Ink::Red), 0);
        QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("diagnosticsButton"))->text(),
                 QStringLiteral("Диагностика"));
        QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("exitButton"))->text(),
                 QStringLiteral("Выход"));
        inspected = true;
        testgui::DialogScript::clickButton(d, button);
    });

    TestEngine engine(rig.ctx, session, test);
    QCOMPARE(session.RunTestDialog(engine), result);
    QVERIFY(inspected);
    QVERIFY(engine.failed());
    if (!keyword.isEmpty())
        QCOMPARE(rig.ctx.lastErrorKeyword, keyword);
    QCOMPARE(script.opened,
             (QStringList{QStringLiteral("CTestDialog"), QStringLiteral("CPortImageDlg")}));
}

QTEST_MAIN(TestPortImageDialog)
#include "tst_portimagedlg.moc"
