// The start dialog "Начало тестирования": the instructions and the scheme of
// each board type, the collapsed and expanded sizes, its place over the main
// window.

#include "app/appfont.h"
#include "boardtests/startdialogtexts.h"
#include "boardtests/widgets/teststartdlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kia;

class TestStartDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterMonoFont(); }
    void textsAndScheme_data();
    void textsAndScheme();
    void opensCollapsedAndToggles_data();
    void opensCollapsedAndToggles();
    void centredOverTheMainWindow();
};

void TestStartDialog::textsAndScheme_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("firstWords");
    QTest::addColumn<int>("picture");
    const QString dd3 =
        QStringLiteral("Перед тестированием  установите на блоке управления  тестовый процессор");
    QTest::newRow("type 0") << 0 << dd3 + QStringLiteral(" на место DD3, отключите") << 302;
    QTest::newRow("type 2") << 2 << dd3 + QStringLiteral(" на место DD3, отключите") << 302;
    QTest::newRow("type 3: X8 too, own line breaks")
        << 3 << dd3 + QStringLiteral("\nна место DD3,отключите разъемы X5, X6, X7, X8") << 302;
    QTest::newRow("type 4: the programmer")
        << 4 << QStringLiteral("Перед тестированием отключите разъемы X5,X6, X7, X10") << 301;
}

void TestStartDialog::textsAndScheme() {
    QFETCH(int, boardType);
    QFETCH(QString, firstWords);
    QFETCH(int, picture);
    CTestStartDlg dlg(boardType);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Начало тестирования"));
    const QString text = dlg.findChild<QLabel*>(QStringLiteral("instructionText"))->text();
    QVERIFY2(text.startsWith(firstWords), qPrintable(text));
    QCOMPARE(text, startdialog::instructionText(boardType));
    QVERIFY(text.endsWith(QStringLiteral("кассы !")));
    // Texts with their own line breaks keep them: every line fits unbroken.
    if (text.contains(u'\n')) {
        dlg.show();
        const QLabel* label = dlg.findChild<QLabel*>(QStringLiteral("instructionText"));
        for (const QString& line : text.split(u'\n'))
            QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->contentsRect().width(),
                     qPrintable(line));
    }

    const QImage expected(QStringLiteral(":/bitmaps/%1.png").arg(picture));
    QVERIFY(!expected.isNull());
    const QLabel* scheme = dlg.findChild<QLabel*>(QStringLiteral("schemePicture"));
    QCOMPARE(scheme->pixmap().toImage().convertToFormat(expected.format()), expected);

    QCOMPARE(dlg.findChild<QPushButton*>(QStringLiteral("continueButton"))->text(),
             QStringLiteral("Продолжить"));
    QCOMPARE(dlg.findChild<QPushButton*>(QStringLiteral("cancelButton"))->text(),
             QStringLiteral("Отменить"));
    QCOMPARE(dlg.findChild<QCheckBox*>(QStringLiteral("dontShowCheckBox"))->text(),
             QStringLiteral("Больше не выводить это сообщение."));
}

void TestStartDialog::opensCollapsedAndToggles_data() {
    QTest::addColumn<int>("boardType");
    QTest::newRow("scheme 302") << 1;
    QTest::newRow("scheme 301") << 4;
}

void TestStartDialog::opensCollapsedAndToggles() {
    QFETCH(int, boardType);
    CTestStartDlg dlg(boardType);
    dlg.show();
    auto* toggle = dlg.findChild<QPushButton*>(QStringLiteral("schemeButton"));
    const QLabel* scheme = dlg.findChild<QLabel*>(QStringLiteral("schemePicture"));
    QCOMPARE(dlg.pictureHeight(), 200);

    // Collapsed: the full height without the picture and 20 pixels; the
    // picture lies wholly below the dialog's bottom edge.
    QVERIFY(!dlg.isExpanded());
    QCOMPARE(dlg.height(), dlg.fullHeight() - dlg.pictureHeight() - 20);
    QCOMPARE(toggle->text(), QStringLiteral("Схема подключения"));
    QVERIFY(scheme->isHidden());
    QVERIFY(scheme->y() >= dlg.height());
    const QSize collapsed = dlg.size();

    toggle->click();
    QVERIFY(dlg.isExpanded());
    QCOMPARE(dlg.height(), dlg.fullHeight());
    QCOMPARE(toggle->text(), QStringLiteral("Скрыть схему"));
    QVERIFY(scheme->isVisible());
    QVERIFY(dlg.rect().contains(scheme->geometry()));

    toggle->click();
    QCOMPARE(dlg.size(), collapsed);
    QCOMPARE(toggle->text(), QStringLiteral("Схема подключения"));
    QVERIFY(scheme->isHidden());
}

void TestStartDialog::centredOverTheMainWindow() {
    QWidget window;
    window.setGeometry(100, 80, 900, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CTestStartDlg dlg(0, &window);
    const QPoint offset = dlg.geometry().center() - window.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
}

QTEST_MAIN(TestStartDialog)
#include "tst_teststartdlg.moc"
