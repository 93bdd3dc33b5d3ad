#include "app/commandrouter.h"
#include "framefixture.h"
#include "probe/fakemodemline.h"
#include "view/diagnview.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>

using namespace kia;

class TestMainFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { m_fx = std::make_unique<FrameFixture>(); }
    void cleanupTestCase() { m_fx.reset(); }
    void init() { m_fx->reset(); }

    void titles_data();
    void titles();
    void statusPanes();
    void storedPortOutsideRangeBecomesCom1();
    void comSelectionChangesPaneNotPort();
    void instrumentFromMenuLeavesToolBar();
    void pictureModeKeepsOneScrollPerPicture();
    void probePaneFollowsBusyFlag();
    void probeTimerRunsAfterActivation();
    void commandsWithoutHandlerSayNotYet();
    void routedCommandsReachTheirHandler();
    void disabledCommandDoesNothing();
    void barsCanBeHiddenAndShown();
    void settingsAreWrittenAtTheEnd();
    void missingToolBarImagesEndTheProgram();
    void workingFolderIsTheCurrentFolder();

private:
    FakeModemLine* openFakePort(int port);
    std::unique_ptr<FrameFixture> m_fx;
};

FakeModemLine* TestMainFrame::openFakePort(int port) {
    auto line = std::make_unique<FakeModemLine>();
    FakeModemLine* raw = line.get();
    m_fx->ctx->link.attachLine(std::move(line), port, 0);
    return raw;
}

void TestMainFrame::titles_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("title");
    QTest::newRow("0")
        << 0
        << QStringLiteral(" КИА ККМ \"Нельта-02Ф\" и \"Нельта-02К\" плата 402615.123 - kia_nelta2");
    QTest::newRow("1") << 1
                       << QStringLiteral(" КИА ККМ \"Нельта-02Ф\" и \"Нельта-02К\" плата "
                                         "402615.148 LIT.- LIT.2 - kia_nelta2");
    QTest::newRow("2")
        << 2
        << QStringLiteral(
               " КИА ККМ \"Нельта-02Ф\" и \"Нельта-02К\" плата 402615.148 LIT.3 - kia_nelta2");
    QTest::newRow("3")
        << 3
        << QStringLiteral(
               " КИА ККМ \"Нельта-02Ф\" и \"Нельта-02К\" плата 402615.174 LIT. - kia_nelta2");
    QTest::newRow("4")
        << 4
        << QStringLiteral(" КИА ККМ \"Нельта-02Ф\" и \"Нельта-02К\" плата 402615.276 - kia_nelta2");
}

void TestMainFrame::titles() {
    QFETCH(int, boardType);
    QFETCH(QString, title);
    QVERIFY(m_fx->makeFrame(boardType));
    QCOMPARE(m_fx->frame->windowTitle(), title);
    QCOMPARE(m_fx->frame->document().title() + QStringLiteral(" - kia_nelta2"), title);
    QVERIFY(m_fx->prompts.events.isEmpty());
}

void TestMainFrame::statusPanes() {
    QVERIFY(m_fx->makeFrame(0));
    CMainFrame& f = *m_fx->frame;
    QCOMPARE(f.pane(0)->text(), QStringLiteral("Для помощи нажми F1"));
    QCOMPARE(f.pane(1)->text(), QStringLiteral("Выбор: COM1 и лог. пробник."));
    QCOMPARE(f.pane(2)->text(), QString());
    QVERIFY(f.pane(2)->minimumWidth() >= 28 * QFontMetrics(f.pane(2)->font()).averageCharWidth());
}

void TestMainFrame::storedPortOutsideRangeBecomesCom1() {
    QByteArray settings(71, '\0');
    settings[68] = 9;
    settings[69] = 1;
    m_fx->writeSettings(settings);
    QVERIFY(m_fx->makeFrame(0));
    CMainFrame& f = *m_fx->frame;
    QCOMPARE(m_fx->ctx->selectedPort, 9);
    QCOMPARE(f.pane(1)->text(), QStringLiteral("Выбор: COM9 и лог. пробник."));

    emit f.menuBar()->actions().at(4)->menu()->aboutToShow(); // "&Com - порт"
    QCOMPARE(m_fx->ctx->selectedPort, 1);
    QVERIFY(f.menuAction(32780)->isChecked());
    for (int id : {32782, 32855, 32857, 32859, 32861, 32863, 32865})
        QVERIFY(!f.menuAction(id)->isChecked());
    QCOMPARE(f.pane(1)->text(), QStringLiteral("Выбор: COM1 и лог. пробник."));
}

void TestMainFrame::comSelectionChangesPaneNotPort() {
    QVERIFY(m_fx->makeFrame(0));
    CMainFrame& f = *m_fx->frame;
    m_fx->ctx->selectedPort = 2;
    openFakePort(2);
    f.menuAction(32859)->trigger(); // COM5
    QCOMPARE(f.pane(1)->text(), QStringLiteral("Выбор: COM5 и лог. пробник."));
    QCOMPARE(m_fx->ctx->selectedPort, 5);
    QCOMPARE(m_fx->ctx->link.openPort(), 2); // changed at the next operation
    f.InitPopup();
    QVERIFY(f.menuAction(32859)->isChecked());
    QVERIFY(!f.menuAction(32782)->isChecked());
}

void TestMainFrame::instrumentFromMenuLeavesToolBar() {
    QVERIFY(m_fx->makeFrame(0));
    CMainFrame& f = *m_fx->frame;
    f.menuAction(32819)->trigger();
    QCOMPARE(f.pane(1)->text(), QStringLiteral("Выбор: COM1 и осциллограф."));
    f.InitPopup();
    QVERIFY(f.menuAction(32819)->isChecked());
    QVERIFY(!f.menuAction(32818)->isChecked());
    // No rule keeps the tool bar group in step with the menu.
    QVERIFY(f.toolAction(32818)->isChecked());
    QVERIFY(!f.toolAction(32819)->isChecked());

    f.toolAction(32818)->trigger();
    QCOMPARE(f.pane(1)->text(), QStringLiteral("Выбор: COM1 и лог. пробник."));
    f.InitPopup();
    QVERIFY(f.menuAction(32818)->isChecked());
}

void TestMainFrame::pictureModeKeepsOneScrollPerPicture() {
    QVERIFY(m_fx->makeFrame(2));
    CMainFrame& f = *m_fx->frame;
    f.resize(500, 400);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    CDiagnView* view = f.view();
    QCOMPARE(view->pictureSize(), FrameFixture::SchematicSize);

    view->scrollTo(QPoint(100, 50));
    f.menuAction(32771)->trigger(); // layout
    QCOMPARE(view->pictureSize(), FrameFixture::LayoutSize);
    QCOMPARE(int(f.settings().pictureMode), 1);
    QCOMPARE(view->scrollPosition(), QPoint(0, 0));
    view->scrollTo(QPoint(30, 20));

    f.menuAction(32778)->trigger(); // diagram: back where it was left
    QCOMPARE(view->pictureSize(), FrameFixture::SchematicSize);
    QCOMPARE(view->scrollPosition(), QPoint(100, 50));
    f.InitPopup();
    QVERIFY(f.menuAction(32778)->isChecked() && !f.menuAction(32771)->isChecked());
    QVERIFY(f.toolAction(32778)->isChecked()); // pressed at start, never moved by the menu

    // The picture already shown: the position goes to the other slot, and
    // this picture jumps to its own saved one.
    view->scrollTo(QPoint(200, 100));
    f.menuAction(32778)->trigger();
    QCOMPARE(view->scrollPosition(), QPoint(100, 50));
    QCOMPARE(f.savedScroll(1), QPoint(200, 100));
    f.menuAction(32771)->trigger();
    const int maxX = view->horizontalScrollBar()->maximum();
    const int maxY = view->verticalScrollBar()->maximum();
    QCOMPARE(view->scrollPosition(), QPoint(qMin(200, maxX), qMin(100, maxY)));
}

void TestMainFrame::probePaneFollowsBusyFlag() {
    QVERIFY(m_fx->makeFrame(0));
    CMainFrame& f = *m_fx->frame;
    QLabel* pane = f.pane(2);

    f.OnProbeTimer(); // no port open: nothing
    QCOMPARE(pane->text(), QString());

    FakeModemLine* line = openFakePort(1);
    line->probe = [](bool) { return quint8(ModemCts | ModemDsr); };
    f.OnProbeTimer();
    QCOMPARE(pane->text(), QStringLiteral("Уров.на щупе пробника - лог. \"1\"."));

    m_fx->ctx->busy = true; // a service operation owns the port
    const int reads = line->modemReads;
    f.OnProbeTimer();
    QCOMPARE(pane->text(), QString());
    QCOMPARE(line->modemReads, reads);

    m_fx->ctx->busy = false;
    f.OnProbeTimer();
    QCOMPARE(pane->text(), QStringLiteral("Уров.на щупе пробника - лог. \"1\"."));
}

void TestMainFrame::probeTimerRunsAfterActivation() {
    QVERIFY(m_fx->makeFrame(0));
    CMainFrame& f = *m_fx->frame;
    QVERIFY(!f.probeTimer()->isActive());
    FakeModemLine* line = openFakePort(1);
    line->probe = [](bool rts) { return quint8(rts ? ModemDsr : 0); }; // open tip
    f.ActivateFrame();
    QVERIFY(f.isMaximized());
    QVERIFY(f.probeTimer()->isActive());
    QCOMPARE(f.probeTimer()->interval(), 500);
    QTRY_COMPARE(f.pane(2)->text(), QStringLiteral("Уров.на щупе пробника - ВИС ( обрыв )."));
}

void TestMainFrame::commandsWithoutHandlerSayNotYet() {
    QVERIFY(m_fx->makeFrame(0));
    m_fx->frame->menuAction(32787)->trigger(); // the RAM test
    const QList<PromptEvent> boxes = m_fx->prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].title, QStringLiteral("Тест ОЗУ"));
    QCOMPARE(boxes[0].text, CommandRouter::notAvailableText());
}

void TestMainFrame::routedCommandsReachTheirHandler() {
    QVERIFY(m_fx->makeFrame(4));
    CMainFrame& f = *m_fx->frame;
    QList<int> ran;
    for (int id : {32787, 32785, 32880, 32884, 57667})
        f.router().setHandler(id, [&ran, id] { ran << id; });
    f.menuAction(32787)->trigger();
    f.toolAction(32785)->trigger();
    f.OnCommand(32880); // no menu item, still a command
    f.menuAction(32884)->trigger();
    f.menuAction(57667)->trigger();
    QCOMPARE(ran, (QList<int>{32787, 32785, 32880, 32884, 57667}));
    QVERIFY(m_fx->prompts.events.isEmpty());
}

void TestMainFrame::disabledCommandDoesNothing() {
    QVERIFY(m_fx->makeFrame(4));
    CMainFrame& f = *m_fx->frame;
    bool ran = false;
    f.router().setHandler(32791, [&ran] { ran = true; });
    f.OnCommand(32791); // serial EEPROM test: not on board type 4
    QVERIFY(!ran);
    QVERIFY(m_fx->prompts.events.isEmpty());
}

void TestMainFrame::barsCanBeHiddenAndShown() {
    QVERIFY(m_fx->makeFrame(0));
    CMainFrame& f = *m_fx->frame;
    f.show();
    f.InitPopup();
    QVERIFY(f.menuAction(59392)->isChecked() && f.menuAction(59393)->isChecked());
    f.menuAction(59392)->trigger();
    f.menuAction(59393)->trigger();
    QVERIFY(f.mainToolBar()->isHidden());
    QVERIFY(f.statusBar()->isHidden());
    f.InitPopup();
    QVERIFY(!f.menuAction(59392)->isChecked() && !f.menuAction(59393)->isChecked());
    f.menuAction(59392)->trigger();
    QVERIFY(!f.mainToolBar()->isHidden());
}

void TestMainFrame::settingsAreWrittenAtTheEnd() {
    QByteArray original(80, '\0');
    for (int i = 0; i < 80; ++i)
        original[i] = char(0xA0 + i);
    original[68] = 2;
    original[69] = 1;
    original[70] = 0;
    m_fx->writeSettings(original);
    QVERIFY(m_fx->makeFrame(1));
    CMainFrame& f = *m_fx->frame;
    QCOMPARE(f.pane(1)->text(), QStringLiteral("Выбор: COM2 и лог. пробник."));
    QCOMPARE(f.settings().backgroundColour, 0xA3A2A1A0u);

    f.menuAction(32863)->trigger(); // COM7
    f.menuAction(32819)->trigger(); // oscilloscope
    f.menuAction(32771)->trigger(); // layout
    f.view()->setColourChooser([](QWidget*, ShellSettings& s) {
        s.backgroundColour = makeColourRef(0x11, 0x22, 0x33);
        s.customColours[0] = makeColourRef(0x44, 0x55, 0x66);
        return true;
    });
    f.menuAction(32774)->trigger();
    m_fx->frame.reset();

    QFile file(m_fx->settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 80);
    QCOMPARE(bytes.left(8), QByteArray("\x11\x22\x33\x00\x44\x55\x66\x00", 8));
    QCOMPARE(bytes.mid(8, 60), original.mid(8, 60));
    QCOMPARE(bytes.mid(68, 3), QByteArray("\x07\x00\x01", 3));
    QCOMPARE(bytes.mid(71), original.mid(71));
}

void TestMainFrame::missingToolBarImagesEndTheProgram() {
    m_fx->paths.bitmapFolder = m_fx->folder() + QStringLiteral("/nowhere/");
    const bool created = m_fx->makeFrame(0);
    m_fx->paths.bitmapFolder = m_fx->folder() + QStringLiteral("/res/bitmaps/");
    QVERIFY(!created);
    const QList<PromptEvent> boxes = m_fx->prompts.boxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].icon, PromptIcon::Error);
    QCOMPARE(boxes[0].text, QStringLiteral("Ошибка загрузки ресурсов пиктограмм !  "));
}

void TestMainFrame::workingFolderIsTheCurrentFolder() {
    QVERIFY(m_fx->makeFrame(3));
    QCOMPARE(m_fx->ctx->workingFolder, QDir::currentPath() + u'/');
    QVERIFY(m_fx->ctx->workingFolder.endsWith(u'/'));
    QCOMPARE(m_fx->frame->view()->points().size(), 1);
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
