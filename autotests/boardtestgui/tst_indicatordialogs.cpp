// The segment-test dialog and its on-screen indicator over the simulated
// indicators: which dots are lit for a text (the dot model, not pixels), the
// colours, the cursor, and the step and auto modes on the virtual clock.

#include "boardtests/benchrig.h"

#include "boardtests/indicatoraccess.h"
#include "boardtests/indicatorfont.h"
#include "boardtests/indicatortext.h"
#include "boardtests/segmenttest.h"
#include "boardtests/testresults.h"
#include "boardtests/widgets/indicatorwidget.h"
#include "boardtests/widgets/segmenttestdlg.h"
#include "core/cp1251.h"
#include "app/simulatedindicator.h"
#include "sim/testprocessor.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
IndicatorGlyph glyphOfCharacter(const QString& ch) {
    return indicatorGlyph(indicatorCode(quint8(toCp1251(ch).at(0))));
}

bool bitOf(const IndicatorGlyph& g, int row, int column) {
    return (g[size_t(row)] >> (4 - column)) & 1;
}

// Steps the dialog's clock in slices until `done` or the guard runs out.
template <typename Pred>
bool advanceUntil(CSegmentTestDlg& dlg, int sliceMs, Pred done, int guard = 400) {
    for (int i = 0; i < guard && !done(); ++i)
        dlg.timers().advance(sliceMs);
    return done();
}

void click(QDialog& d, const char* name) {
    d.findChild<QPushButton*>(QLatin1String(name))->click();
}
} // namespace

class TestIndicatorDialogs : public QObject {
    Q_OBJECT
private slots:
    void dotsOfAText_data();
    void dotsOfAText();
    void cursorAndColours();
    void openingShowsTheBoardsText();
    void stepMode();
    void autoRunToTheEnd();
    void buttonsEndTheDialog_data();
    void buttonsEndTheDialog();
    void linkFailureStopsEveryTimer();
    void boardIndicatorOnTheSimulatedBench();
};

void TestIndicatorDialogs::dotsOfAText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("character");
    const QString check = QStringLiteral("ПРОВЕРЬ ЗАСВЕТКУ");
    QTest::newRow("П: user character 0") << check << 0 << QStringLiteral("П");
    QTest::newRow("Р: Latin P") << check << 1 << QStringLiteral("P");
    QTest::newRow("Ь: user character") << check << 6 << QStringLiteral("Ь");
    QTest::newRow("blank") << check << 7 << QStringLiteral(" ");
    QTest::newRow("З: second row") << check << 8 << QStringLiteral("З");
    QTest::newRow("У: last") << check << 15 << QStringLiteral("У");
    QTest::newRow("Latin text") << QStringLiteral("END OF LCD TEST!") << 15 << QStringLiteral("!");
    QTest::newRow("small letter") << QStringLiteral("тест") << 0 << QStringLiteral("т");
    QTest::newRow("'<' through a user character") << QStringLiteral("<>") << 1 << QStringLiteral(">");
}

// The widget lights exactly the font's dots of the character the text has at
// the position, whether the indicator shows it from its own set or from a
// user character, and the simulated indicator holds the same dot rows.
void TestIndicatorDialogs::dotsOfAText() {
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, character);
    BenchRig rig(2);
    IndicatorScreen screen;
    QVERIFY(ShowIndicatorText(rig.ctx, 0, text, &screen));
    CIndicatorWidget w;
    w.setScreen(screen);
    const IndicatorGlyph expected = glyphOfCharacter(character);
    int lit = 0;
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(w.dotLit(position, r, c), bitOf(expected, r, c));
            lit += w.dotLit(position, r, c);
        }
    }
    QCOMPARE(lit == 0, character == QStringLiteral(" "));
    const sim::IndicatorController& board = rig.board().indicator(0);
    const quint8 code = board.screenCode(position);
    const IndicatorGlyph onBoard = code < 16 ? board.userCharacter(code & 7) : indicatorGlyph(code);
    for (int r = 0; r < 8; ++r)
        QCOMPARE(onBoard[size_t(r)] & 0x1F, w.drawnRows(position)[size_t(r)] & 0x1F);
}

void TestIndicatorDialogs::cursorAndColours() {
    BenchRig rig(0);
    IndicatorScreen screen;
    QVERIFY(ShowIndicatorText(rig.ctx, 0, QStringLiteral(" ПРОВЕРЬ КУРСОР "), &screen));
    CIndicatorWidget w;
    w.setScreen(screen);
    const IndicatorGlyph before = w.drawnRows(3);
    w.setCursor(3, true);
    QCOMPARE(w.drawnRows(3)[7] & 0x1F, 0x1F);
    for (int r = 0; r < 7; ++r)
        QCOMPARE(w.drawnRows(3)[size_t(r)], before[size_t(r)]);
    QCOMPARE(w.drawnRows(4), screen.glyphAt(4));
    w.setCursor(3, false); // the blink's dark half
    QCOMPARE(w.drawnRows(3), before);
    w.setCursor(99, true);
    for (int p = 0; p < 16; ++p)
        QCOMPARE(w.drawnRows(p), screen.glyphAt(p));
    QVERIFY(!w.dotLit(16, 0, 0) && !w.dotLit(-1, 0, 0) && !w.dotLit(1, 8, 0) && !w.dotLit(1, 0, 5));
    QCOMPARE(w.background(), QColor(0x4F, 0xEF, 0x4F));
    QCOMPARE(w.dotColour(), QColor(0xAF, 0xCF, 0xAF));
    w.setBackground(SegmentTest::BacklightBackground);
    QCOMPARE(w.background(), QColor(0xBF, 0xFF, 0x3F));
}

void TestIndicatorDialogs::openingShowsTheBoardsText() {
    BenchRig rig(3);
    QVERIFY(IndicatorInit(rig.ctx, 1));
    SegmentTest engine(rig.ctx, 1);
    CSegmentTestDlg dlg(engine, DialogTimers::Pacing::Manual);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Тест ж/к ячеек индитатора и курсора"));
    QVERIFY(dlg.start());
    const sim::IndicatorController& board = rig.board().indicator(1);
    for (int p = 0; p < 16; ++p)
        QCOMPARE(dlg.indicator()->screen().codes[size_t(p)], board.screenCode(p));
    QCOMPARE(dlg.indicator()->screen().userCount, 4);
    QCOMPARE(dlg.hintLabel()->text(), SegmentTest::openingHint(3, 1));
    // The customer's indicator has no backlight to blink.
    dlg.timers().advance(5000);
    QCOMPARE(dlg.indicator()->background(), QColor(0x4F, 0xEF, 0x4F));
    QCOMPARE(engine.step(), 0);
}

void TestIndicatorDialogs::stepMode() {
    BenchRig rig(0);
    QVERIFY(IndicatorInit(rig.ctx, 0));
    SegmentTest engine(rig.ctx, 0);
    CSegmentTestDlg dlg(engine, DialogTimers::Pacing::Manual);
    QVERIFY(dlg.start());
    // The backlight blinks every 800 ms, picture and port 1 bit 7 together.
    dlg.timers().advance(800);
    QCOMPARE(dlg.indicator()->background(), QColor(0xBF, 0xFF, 0x3F));
    QVERIFY(rig.board().port(1).latch & 0x80);
    dlg.timers().advance(800);
    QCOMPARE(dlg.indicator()->background(), QColor(0x4F, 0xEF, 0x4F));
    QVERIFY(!(rig.board().port(1).latch & 0x80));

    for (int i = 0; i < 16; ++i)
        click(dlg, "stepButton");
    QCOMPARE(engine.step(), 16);
    dlg.timers().advance(3000); // no run timer in step mode
    QCOMPARE(engine.step(), 16);
    // Every position shows user character 0 with its top row lit.
    const sim::IndicatorController& board = rig.board().indicator(0);
    for (int p = 0; p < 16; ++p) {
        QVERIFY(dlg.indicator()->dotLit(p, 0, 0) && dlg.indicator()->dotLit(p, 0, 4));
        QVERIFY(!dlg.indicator()->dotLit(p, 1, 2));
        QCOMPARE(board.screenCode(p) & 7, 0);
    }
    QCOMPARE(board.userCharacter(0)[0] & 0x1F, 0x1F);
    click(dlg, "stepButton"); // s = 16: cleared, two rows lit, written at 0
    QVERIFY(dlg.indicator()->dotLit(0, 1, 2));
    QVERIFY(!dlg.indicator()->dotLit(1, 0, 0));
}

void TestIndicatorDialogs::autoRunToTheEnd() {
    BenchRig rig(4);
    QVERIFY(IndicatorInit(rig.ctx, 1));
    SegmentTest engine(rig.ctx, 1);
    CSegmentTestDlg dlg(engine, DialogTimers::Pacing::Manual);
    QVERIFY(dlg.start());
    click(dlg, "autoButton");
    QCOMPARE(dlg.hintLabel()->text(), SegmentTest::runHint());
    const qint64 started = rig.nowMs();
    QVERIFY(advanceUntil(dlg, 100, [&] { return engine.step() == 128; }));
    // 128 fast steps of 100 ms; the link's own time is inside the period.
    QVERIFY2(rig.nowMs() - started >= 12800 && rig.nowMs() - started < 12800 + 1100,
             qPrintable(QString::number(rig.nowMs() - started)));
    QVERIFY(advanceUntil(dlg, 100, [&] { return engine.step() == 130; }));
    QCOMPARE(rig.board().indicator(1).cursorPosition(), 0);
    QVERIFY(dlg.indicator()->dotLit(0, 7, 2)); // the cursor under position 0
    dlg.timers().advance(350);
    QVERIFY(!dlg.indicator()->dotLit(0, 7, 2)); // blinking
    const qint64 cursorPhase = rig.nowMs();
    QVERIFY(advanceUntil(dlg, 100, [&] { return !engine.runRunning(); }));
    // 15 slow steps of 1100 ms are left, the last one ends the run.
    QVERIFY(rig.nowMs() - cursorPhase >= 15 * 1100 - 350 - 100);
    QCOMPARE(engine.step(), 0);
    QCOMPARE(engine.cursorPosition(), -1);
    QVERIFY(rig.board().indicator(1).displayOn() && !rig.board().indicator(1).cursorOn());
    IndicatorScreen end;
    QVERIFY(ShowIndicatorText(rig.ctx, 0, QStringLiteral("END OF LCD TEST!"), &end));
    for (int p = 0; p < 16; ++p)
        QCOMPARE(dlg.indicator()->drawnRows(p), end.glyphAt(p));
    const int beforeIdle = dlg.timers().advance(10000);
    QCOMPARE(beforeIdle, 0); // every timer stopped
    click(dlg, "exitButton");
    QCOMPARE(dlg.result(), int(ResultExit));
}

void TestIndicatorDialogs::buttonsEndTheDialog_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");
    QTest::newRow("Выход") << "exitButton" << int(ResultExit);
    QTest::newRow("Диагностика") << "diagnosticsButton" << int(ResultDiagnostics);
    QTest::newRow("close box") << "" << int(ResultExit);
}

void TestIndicatorDialogs::buttonsEndTheDialog() {
    QFETCH(QString, button);
    QFETCH(int, result);
    BenchRig rig(1);
    QVERIFY(IndicatorInit(rig.ctx, 0));
    SegmentTest engine(rig.ctx, 0);
    CSegmentTestDlg dlg(engine, DialogTimers::Pacing::Manual);
    QCOMPARE(dlg.findChild<QPushButton*>(QStringLiteral("autoButton"))->text(),
             QStringLiteral("Авто-прогон"));
    QCOMPARE(dlg.findChild<QPushButton*>(QStringLiteral("stepButton"))->text(),
             QStringLiteral("Пошаговый прогон"));
    QVERIFY(dlg.start());
    click(dlg, "autoButton");
    dlg.timers().advance(1000);
    if (button.isEmpty())
        dlg.reject();
    else
        click(dlg, button.toLatin1().constData());
    QCOMPARE(dlg.result(), result);
    QCOMPARE(dlg.timers().advance(5000), 0);
}

void TestIndicatorDialogs::linkFailureStopsEveryTimer() {
    BenchRig rig(0);
    QVERIFY(IndicatorInit(rig.ctx, 0));
    SegmentTest engine(rig.ctx, 0);
    CSegmentTestDlg dlg(engine, DialogTimers::Pacing::Manual);
    QVERIFY(dlg.start());
    click(dlg, "autoButton");
    QString error;
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence cmd=8 after=30 once"), &error));
    dlg.timers().advance(5000);
    QCOMPARE(dlg.result(), int(ResultLinkFailure));
    QCOMPARE(dlg.timers().advance(5000), 0);
    // A dead indicator at the opening: never shown, 124 at once.
    SegmentTest second(rig.ctx, 0);
    QVERIFY(rig.bench.loadFaultScript(QStringLiteral("silence cmd=8 once"), &error));
    CSegmentTestDlg again(second, DialogTimers::Pacing::Manual);
    QCOMPARE(again.run(), int(ResultLinkFailure));
}

// With a board source the dialog also shows the simulated board's own
// indicator: the same dots as the test's copy on a sound board, the board's
// dots where a character-generator cell is stuck.
void TestIndicatorDialogs::boardIndicatorOnTheSimulatedBench() {
    BenchRig rig(1);
    QString error;
    // Row 2 of user character 1 ("Ь" of "ПРОВЕРЬ ЗАСВЕТКУ") has its rightmost dot stuck lit.
    QVERIFY2(rig.bench.loadFaultScript(QStringLiteral("ind-cgram ind=0 addr=10 high=0x01"), &error),
             qPrintable(error));
    QVERIFY(IndicatorInit(rig.ctx, 0));
    SegmentTest engine(rig.ctx, 0);
    CSegmentTestDlg dlg(engine, DialogTimers::Pacing::Manual);
    bool behindPort = true;
    dlg.setBoardScreenSource([&](int ind, IndicatorScreen& s, int& cursor) {
        if (!behindPort)
            return false;
        s = simulatedIndicatorScreen(rig.bench, ind, &cursor);
        return true;
    });
    QVERIFY(dlg.start());
    CIndicatorWidget* board = dlg.boardIndicator();
    QVERIFY(!board->isHidden());
    for (int p = 0; p < 16; ++p) {
        if (p == 6) // "Ь", user character 1
            continue;
        QCOMPARE(board->drawnRows(p), dlg.indicator()->drawnRows(p));
    }
    QVERIFY(!dlg.indicator()->dotLit(6, 2, 4));
    QVERIFY(board->dotLit(6, 2, 4)); // the stuck dot, as the glass shows it
    // The cursor phase: the board's cursor where the controller has it.
    click(dlg, "autoButton");
    QVERIFY(advanceUntil(dlg, 100, [&] { return engine.step() == 133; }));
    QVERIFY(board->dotLit(3, 7, 0));
    // Another port selected: the board's indicator goes away.
    behindPort = false;
    click(dlg, "stepButton");
    QVERIFY(board->isHidden());
}

QTEST_MAIN(TestIndicatorDialogs)
#include "tst_indicatordialogs.moc"
