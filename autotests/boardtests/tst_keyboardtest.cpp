// The keyboard test against the simulated keyboards: the key matrices of every
// board type, keys found once pressed, keys that only ever stay pressed, stuck
// and dead keys, and a link that fails in the middle of the scan.

#include "benchrig.h"

#include "app/commandtable.h"
#include "interactivetests.h"
#include "keyboardtest.h"
#include "segmenttest.h"
#include "soundtest.h"
#include "testresults.h"
#include "testsession.h"

#include <QTest>

using namespace kia;
using testhost::BenchRig;

namespace {
int beeps(const ScriptedPrompts& p) {
    int n = 0;
    for (const PromptEvent& e : p.events)
        n += e.kind == PromptEvent::Beep && e.hz == 600 && e.ms == 30;
    return n;
}

// One full round of the columns.
void scanRound(KeyboardTest& t) {
    for (int c = 0; c < keyboard::columnCount(t.context().boardType) && !t.hasEnded(); ++c)
        t.tick();
}

bool prepared(BenchRig& rig) {
    const bool ok = PrepareTestSession(rig.ctx, rig.host) && PrepareKeyboard(rig.ctx);
    rig.ctx.busy = false;
    return ok;
}
} // namespace

class TestKeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void matrixCodes_data();
    void matrixCodes();
    void everyCodeAtMostOneKey_data();
    void everyCodeAtMostOneKey();
    void columnOrder_data();
    void columnOrder();
    void everyKeyFoundOncePressed_data();
    void everyKeyFoundOncePressed();
    void keysStayPressedAndBeepEveryScan();
    void twoKeysOfAColumnShowNothing();
    void stuckAndDeadKeys();
    void linkFailureMidScan_data();
    void linkFailureMidScan();
};

void TestKeyboardTest::matrixCodes_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("key");
    using namespace keyboard;
    QTest::newRow("0: | at 0x01/FE") << 0 << 0x01FE << int(Arrow);
    QTest::newRow("0: КЛ at 0x01/BF") << 0 << 0x01BF << int(Kl);
    QTest::newRow("1: + at 0x02/BF") << 1 << 0x02BF << int(Plus);
    QTest::newRow("2: minus 3 at 0x04/BF") << 2 << 0x04BF << int(Minus3);
    QTest::newRow("0: BB at 0x08/EF") << 0 << 0x08EF << int(Bb);
    QTest::newRow("0: ИТОГ at 0x08/DF") << 0 << 0x08DF << int(Itog);
    QTest::newRow("0: empty 0x04/EF") << 0 << 0x04EF << NoKey;
    QTest::newRow("2: empty 0x08/BF") << 2 << 0x08BF << NoKey;
    QTest::newRow("0: no column 0x10") << 0 << 0x10FE << NoKey;
    QTest::newRow("0: two keys of a column") << 0 << 0x01FC << NoKey;
    QTest::newRow("0: two columns at once") << 0 << 0x03FE << NoKey;
    QTest::newRow("0: nothing pressed") << 0 << 0x01FF << NoKey;
    QTest::newRow("0: bit 7 low is no row") << 0 << 0x017F << NoKey;
    QTest::newRow("3: top 1 at 0x01/FE") << 3 << 0x01FE << int(Top1);
    QTest::newRow("3: top 6 at 0x01/DF") << 3 << 0x01DF << int(Top6);
    QTest::newRow("3: empty 0x01/BF") << 3 << 0x01BF << NoKey;
    QTest::newRow("3: | moves to 0x02") << 3 << 0x02FE << int(Arrow);
    QTest::newRow("3: ИТОГ at 0x10/DF") << 3 << 0x10DF << int(Itog);
    QTest::newRow("3: no column 0x20") << 3 << 0x20FE << NoKey;
    QTest::newRow("4: top 1 at 0x01/FE") << 4 << 0x01FE << int(Top1);
    QTest::newRow("4: БН at 0x01/EF") << 4 << 0x01EF << int(Bn);
    QTest::newRow("4: КЛ at 0x40/FD") << 4 << 0x40FD << int(Kl);
    QTest::newRow("4: minus 3 at 0x40/F7") << 4 << 0x40F7 << int(Minus3);
    QTest::newRow("4: empty 0x10/F7") << 4 << 0x10F7 << NoKey;
    QTest::newRow("4: empty 0x40/FE") << 4 << 0x40FE << NoKey;
    QTest::newRow("4: row 0xDF is not on type 4") << 4 << 0x20DF << NoKey;
    QTest::newRow("4: no column 0x80") << 4 << 0x80FE << NoKey;
}

void TestKeyboardTest::matrixCodes() {
    QFETCH(int, boardType);
    QFETCH(int, code);
    QFETCH(int, key);
    QCOMPARE(keyboard::keyOfCode(boardType, quint16(code)), key);
    if (key != keyboard::NoKey)
        QCOMPARE(int(keyboard::codeOfKey(boardType, key)), code);
}

void TestKeyboardTest::everyCodeAtMostOneKey_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("keys");
    QTest::newRow("type 0") << 0 << 26;
    QTest::newRow("type 1") << 1 << 26;
    QTest::newRow("type 2") << 2 << 26;
    QTest::newRow("type 3") << 3 << 32;
    QTest::newRow("type 4") << 4 << 32;
}

// Every 16-bit code maps to a key of the table or to none, each key of the
// board has exactly one code, and no code of another board's columns leaks in.
void TestKeyboardTest::everyCodeAtMostOneKey() {
    QFETCH(int, boardType);
    QFETCH(int, keys);
    QList<int> found(keyboard::KeyCount, 0);
    for (int code = 0; code <= 0xFFFF; ++code) {
        const int key = keyboard::keyOfCode(boardType, quint16(code));
        if (key == keyboard::NoKey)
            continue;
        QVERIFY(key >= 0 && key < keyboard::KeyCount);
        ++found[key];
    }
    int distinct = 0;
    for (int key = 0; key < keyboard::KeyCount; ++key) {
        QVERIFY2(found[key] <= 1, qPrintable(keyboard::name(key)));
        distinct += found[key];
        QCOMPARE(found[key] == 1, keyboard::codeOfKey(boardType, key) != 0);
        if (boardType < 3)
            QCOMPARE(found[key] == 1, !keyboard::isTopRowKey(key));
    }
    QCOMPARE(distinct, keys);
    QVERIFY(keyboard::label(-1).isEmpty() && keyboard::name(keyboard::KeyCount).isEmpty());
    QCOMPARE(keyboard::codeOfKey(boardType, 999), quint16(0));
}

void TestKeyboardTest::columnOrder_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QList<int>>("columns");
    QTest::newRow("type 0") << 0 << QList<int>{1, 2, 4, 8, 1};
    QTest::newRow("type 2") << 2 << QList<int>{1, 2, 4, 8, 1};
    QTest::newRow("type 3") << 3 << QList<int>{1, 2, 4, 8, 0x10, 1};
    QTest::newRow("type 4") << 4 << QList<int>{1, 2, 4, 8, 0x10, 0x20, 0x40, 1};
}

void TestKeyboardTest::columnOrder() {
    QFETCH(int, boardType);
    QFETCH(QList<int>, columns);
    BenchRig rig(boardType);
    QVERIFY(prepared(rig));
    KeyboardTest t(rig.ctx);
    t.open();
    for (int c : columns) {
        QCOMPARE(int(t.column()), c);
        t.tick();
    }
    QVERIFY(!t.hasEnded());
    QCOMPARE(t.showsTopRow(), boardType >= 3);
}

void TestKeyboardTest::everyKeyFoundOncePressed_data() {
    QTest::addColumn<int>("boardType");
    for (int type = 0; type <= 4; ++type)
        QTest::addRow("type %d", type) << type;
}

// Each key of the board's keyboard, pressed alone on the simulated board, is
// found as that key and no other; the board has exactly the keys of the table.
void TestKeyboardTest::everyKeyFoundOncePressed() {
    QFETCH(int, boardType);
    BenchRig rig(boardType);
    QVERIFY(prepared(rig));
    int tested = 0;
    for (int key = 0; key < keyboard::KeyCount; ++key) {
        const bool onBoard = keyboard::codeOfKey(boardType, key) != 0;
        QCOMPARE(rig.board().keyboard().hasKey(keyboard::name(key)), onBoard);
        if (!onBoard)
            continue;
        KeyboardTest t(rig.ctx);
        t.open();
        rig.board().keyboard().releaseAll();
        QVERIFY(rig.board().keyboard().press(keyboard::name(key)));
        scanRound(t);
        QVERIFY2(!t.hasEnded(), qPrintable(keyboard::name(key)));
        QCOMPARE(t.pressedKeys(), QList<int>{key});
        ++tested;
    }
    QCOMPARE(tested, rig.board().keyboard().keyNames().size());
}

void TestKeyboardTest::keysStayPressedAndBeepEveryScan() {
    BenchRig rig(0);
    QVERIFY(prepared(rig));
    KeyboardTest t(rig.ctx);
    t.open();
    rig.prompts.clear();
    scanRound(t);
    QCOMPARE(beeps(rig.prompts), 0);
    rig.board().keyboard().press(QStringLiteral("5"));
    for (int round = 0; round < 3; ++round)
        scanRound(t);
    QCOMPARE(beeps(rig.prompts), 3); // a held key beeps on every scan of its column
    rig.board().keyboard().release(QStringLiteral("5"));
    rig.board().keyboard().press(QStringLiteral("ИТОГ"));
    scanRound(t);
    rig.board().keyboard().releaseAll();
    scanRound(t);
    QCOMPARE(beeps(rig.prompts), 4);
    // Released keys stay shown pressed.
    QCOMPARE(t.pressedKeys(), (QList<int>{keyboard::Five, keyboard::Itog}));
    QVERIFY(t.isPressed(keyboard::Five) && !t.isPressed(keyboard::Six));
    QVERIFY(!t.isPressed(-1) && !t.isPressed(keyboard::KeyCount));
}

void TestKeyboardTest::twoKeysOfAColumnShowNothing() {
    BenchRig rig(4);
    QVERIFY(prepared(rig));
    KeyboardTest t(rig.ctx);
    t.open();
    rig.board().keyboard().press(QStringLiteral("7"));
    rig.board().keyboard().press(QStringLiteral("4")); // same column on type 4
    rig.board().keyboard().press(QStringLiteral("КЛ"));
    scanRound(t);
    QCOMPARE(t.pressedKeys(), QList<int>{keyboard::Kl});
}

void TestKeyboardTest::stuckAndDeadKeys() {
    BenchRig rig(3);
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(QStringLiteral("key-stuck 8\nkey-dead T4\n"), &error),
             qPrintable(error));
    QVERIFY(prepared(rig));
    KeyboardTest t(rig.ctx);
    t.open();
    scanRound(t);
    QCOMPARE(t.pressedKeys(), QList<int>{keyboard::Eight}); // shown without a touch
    rig.board().keyboard().press(QStringLiteral("T4"));
    rig.board().keyboard().press(QStringLiteral("9")); // the stuck key's column: no code
    rig.board().keyboard().press(QStringLiteral("5"));
    scanRound(t);
    QCOMPARE(t.pressedKeys(), (QList<int>{keyboard::Eight, keyboard::Five}));
}

void TestKeyboardTest::linkFailureMidScan_data() {
    QTest::addColumn<int>("boardType");
    QTest::addColumn<QString>("script");
    QTest::newRow("type 0, the row read") << 0 << "silence cmd=7 after=3 once";
    QTest::newRow("type 2, the column write") << 2 << "silence cmd=8 after=3 once";
    QTest::newRow("type 4, garbage for the rows") << 4 << "garbage instead cmd=7 after=2 once";
}

void TestKeyboardTest::linkFailureMidScan() {
    QFETCH(int, boardType);
    QFETCH(QString, script);
    BenchRig rig(boardType);
    QVERIFY(prepared(rig));
    QString error;
    QVERIFY2(rig.bench.loadFaultScript(script, &error), qPrintable(error));
    KeyboardTest t(rig.ctx);
    t.open();
    for (int i = 0; i < 20 && !t.hasEnded(); ++i)
        t.tick();
    QCOMPARE(t.result(), int(ResultLinkFailure));
    const quint8 column = t.column();
    t.tick(); // an ended test does not talk to the board
    QCOMPARE(t.column(), column);
    // The next command works.
    rig.board().keyboard().press(QStringLiteral("0"));
    KeyboardTest again(rig.ctx);
    again.open();
    scanRound(again);
    QVERIFY(!again.hasEnded());
    QCOMPARE(again.pressedKeys(), QList<int>{keyboard::Zero});
}

QTEST_GUILESS_MAIN(TestKeyboardTest)
#include "tst_keyboardtest.moc"
