// The memory-error display in the window, reached from a RAM test on a board
// with a bad cell: title, rows, colours of the bytes, the header click that
// switches to the expected data, the buttons at the ends of the range, and a
// clean block that never shows.

#include "dialogscript.h"
#include "pixels.h"

#include "boardtests/benchrig.h"

#include "app/appfont.h"
#include "boardtests/expectedbyte.h"
#include "boardtests/memoryerrormodel.h"
#include "boardtests/testengine.h"
#include "boardtests/testresults.h"
#include "boardtests/widgets/memoryerrordlg.h"
#include "boardtests/widgets/windowtestsession.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace kia;
using testgui::Ink;
using testgui::inkPixels;
using testhost::BenchRig;

namespace {
// Pixel rectangle of byte `i` of list row `row` in the list's viewport.
QRect byteRect(CMemoryErrorDlg* d, int row, int i) {
    QTreeWidget* list = d->list();
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    const int w = d->charWidth();
    const int x = cell.left() + MemoryRowLayout::padding(w) + MemoryRowLayout::byteX(i, w);
    return QRect(x, cell.top(), 2 * w, cell.height());
}

QRect addressRect(CMemoryErrorDlg* d, int row) {
    QTreeWidget* list = d->list();
    return list->visualRect(list->model()->index(row, 0));
}

// Bytes of the row whose pixels carry `ink`.
QList<int> bytesInInk(CMemoryErrorDlg* d, const QImage& image, int row, Ink ink) {
    QList<int> out;
    for (int i = 0; i < 16; ++i)
        if (inkPixels(image, byteRect(d, row, i), ink) > 0)
            out << i;
    return out;
}

QList<int> allBytes() {
    QList<int> out;
    for (int i = 0; i < 16; ++i)
        out << i;
    return out;
}

QList<int> allBut(int skip) {
    QList<int> out = allBytes();
    out.removeAll(skip);
    return out;
}

struct Rig {
    explicit Rig(int boardType, const QString& faults)
        : rig(boardType), session(rig.ctx, nullptr, nullptr, CTestDialog::Pacing::ContextClock),
          script(session) {
        QString error;
        if (!faults.isEmpty() && !rig.bench.loadFaultScript(faults, &error))
            qFatal("fault script: %s", qPrintable(error));
    }
    /// The RAM test through the window's dialogs; "Выход" when it completes.
    int runRamTest() {
        TestEngine engine(rig.ctx, session, RamTestNumber);
        script.click(QStringLiteral("CTestDialog"), QStringLiteral("exitButton"));
        return session.RunTestDialog(engine);
    }
    BenchRig rig;
    WindowTestSession session;
    testgui::DialogScript script;
};
} // namespace

class TestMemoryErrorDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }
    void rowsColoursAndToggle();
    void buttonsAtTheEnds_data();
    void buttonsAtTheEnds();
    void cleanBlockIsNeverShown();
};

void TestMemoryErrorDialog::rowsColoursAndToggle() {
    Rig r(0, QStringLiteral("ram-cell addr=0x1235 low=0xFF")); // reads 0x00
    bool inspected = false;
    r.script.on(QStringLiteral("CMemoryErrorDlg"), [&](QDialog* dialog) {
        auto* d = static_cast<CMemoryErrorDlg*>(dialog);
        QTreeWidget* list = d->list();
        QCOMPARE(d->windowTitle(), QStringLiteral("Ошибка теста N1 ОЗУ !"));
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Адрес :"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Считанные данные :"));
        QCOMPARE(list->topLevelItemCount(), 8);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("01200"));
        QCOMPARE(list->topLevelItem(7)->text(0), QStringLiteral("01270"));
        QCOMPARE(list->topLevelItem(3)->text(1),
                 QStringLiteral("00 43 00 45 00 00 00 49 - 00 4B 00 4D 00 4F 00 51"));
        QCOMPARE(d->hint()->text(),
                 QStringLiteral("Для просмотра ожидаемых данных, \"щелкните\" левой кнопкой\n"
                                "мыши на строке \"Считанные данные\"."));
        // All eight rows are in view at once.
        QVERIFY(list->visualRect(list->model()->index(7, 1)).bottom() <=
                list->viewport()->height());

        // Read data: the bad byte red, the others blue, the address dark green.
        QImage shot = testgui::snapshot(list->viewport());
        QCOMPARE(bytesInInk(d, shot, 3, Ink::Red), QList<int>{5});
        QCOMPARE(bytesInInk(d, shot, 3, Ink::Blue), allBut(5));
        QCOMPARE(bytesInInk(d, shot, 2, Ink::Red), QList<int>{});
        QCOMPARE(bytesInInk(d, shot, 2, Ink::Blue), allBytes());
        QVERIFY(inkPixels(shot, addressRect(d, 3), Ink::Green) > 0);

        // A click on the data column's header: the expected data, the bad
        // byte black, and the hint that leads back.
        QHeaderView* header = list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 20, header->height() / 2));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Ожидаемые данные :"));
        QCOMPARE(d->hint()->text(),
                 QStringLiteral("Для просмотра считанных данных, \"щелкните\" левой кнопкой\n"
                                "мыши на строке \"Ожидаемые данные\"."));
        QCOMPARE(list->topLevelItem(3)->text(1),
                 QStringLiteral("00 43 00 45 00 47 00 49 - 00 4B 00 4D 00 4F 00 51"));
        shot = testgui::snapshot(list->viewport());
        QCOMPARE(bytesInInk(d, shot, 3, Ink::Red), QList<int>{});
        QCOMPARE(bytesInInk(d, shot, 3, Ink::Black), QList<int>{5});
        QCOMPARE(bytesInInk(d, shot, 3, Ink::Blue), allBut(5));

        // A click on the address header changes nothing; the data header switches back.
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Ожидаемые данные :"));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 20, header->height() / 2));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Считанные данные :"));
        QCOMPARE(bytesInInk(d, testgui::snapshot(list->viewport()), 3, Ink::Red), QList<int>{5});
        inspected = true;
        testgui::DialogScript::clickButton(d, QStringLiteral("exitButton"));
    });
    QCOMPARE(r.runRamTest(), int(ResultExit));
    QVERIFY(inspected);
}

void TestMemoryErrorDialog::buttonsAtTheEnds_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("skips"); // displays left with "Следующий тест" first
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("firstAddress");
    QTest::addColumn<bool>("continueEnabled");
    QTest::addColumn<bool>("nextEnabled");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    // The cell reads 0: patterns 2 and 4 expect 0 at odd addresses and pass.
    QTest::newRow("inside the range")
        << QStringLiteral("ram-cell addr=0x1235 low=0xFF") << 0
        << QStringLiteral("Ошибка теста N1 ОЗУ !") << QStringLiteral("01200") << true << true
        << QStringLiteral("diagnosticsButton") << int(ResultDiagnostics);
    QTest::newRow("last block: no block to continue with")
        << QStringLiteral("ram-cell addr=0x1F93 low=0xFF") << 0
        << QStringLiteral("Ошибка теста N1 ОЗУ !") << QStringLiteral("01F80") << false << true
        << QStringLiteral("diagnosticsButton") << int(ResultDiagnostics);
    QTest::newRow("last pattern: no further test")
        << QStringLiteral("ram-cell addr=0x0101 low=0xFF") << 3
        << QStringLiteral("Ошибка теста N6 ОЗУ !") << QStringLiteral("00100") << true << false
        << QStringLiteral("exitButton") << int(ResultExit);
}

void TestMemoryErrorDialog::buttonsAtTheEnds() {
    QFETCH(QString, fault);
    QFETCH(int, skips);
    QFETCH(QString, title);
    QFETCH(QString, firstAddress);
    QFETCH(bool, continueEnabled);
    QFETCH(bool, nextEnabled);
    QFETCH(QString, button);
    QFETCH(int, result);
    Rig r(0, fault);
    QStringList titles;
    for (int i = 0; i < skips; ++i)
        r.script.on(QStringLiteral("CMemoryErrorDlg"), [&titles](QDialog* d) {
            titles << d->windowTitle();
            testgui::DialogScript::clickButton(d, QStringLiteral("nextTestButton"));
        });
    bool inspected = false;
    r.script.on(QStringLiteral("CMemoryErrorDlg"), [&](QDialog* dialog) {
        auto* d = static_cast<CMemoryErrorDlg*>(dialog);
        QCOMPARE(d->windowTitle(), title);
        QCOMPARE(d->list()->topLevelItem(0)->text(0), firstAddress);
        auto* proceed = d->findChild<QPushButton*>(QStringLiteral("continueButton"));
        auto* next = d->findChild<QPushButton*>(QStringLiteral("nextTestButton"));
        QCOMPARE(proceed->text(), QStringLiteral("Продолжить тест"));
        QCOMPARE(next->text(), QStringLiteral("Следующий тест"));
        QCOMPARE(proceed->isEnabled(), continueEnabled);
        QCOMPARE(next->isEnabled(), nextEnabled);
        QVERIFY(d->findChild<QPushButton*>(QStringLiteral("diagnosticsButton"))->isEnabled());
        QVERIFY(d->findChild<QPushButton*>(QStringLiteral("exitButton"))->isEnabled());
        inspected = true;
        testgui::DialogScript::clickButton(d, button);
    });
    QCOMPARE(r.runRamTest(), result);
    QVERIFY(inspected);
    QCOMPARE(titles.size(), skips);
}

void TestMemoryErrorDialog::cleanBlockIsNeverShown() {
    Rig r(1, QString());
    for (quint32 a = 0x0200; a < 0x0280; ++a)
        r.rig.board().ram().write(a, ExpectedByte(3, quint16(a)));
    QCOMPARE(r.session.ShowMemoryError(MemoryErrorKind::Ram, 3, 0x0200), 1);
    QVERIFY(r.script.opened.isEmpty());

    // One bad byte in it: now the engineer sees it.
    r.rig.board().ram().write(0x0203, 0x00);
    QCOMPARE(r.session.ShowMemoryError(MemoryErrorKind::Ram, 3, 0x0200), int(ResultExit));
    QCOMPARE(r.script.opened, QStringList{QStringLiteral("CMemoryErrorDlg")});
}

QTEST_MAIN(TestMemoryErrorDialog)
#include "tst_memoryerrordlg.moc"
