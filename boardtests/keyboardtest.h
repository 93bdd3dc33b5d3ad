#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace kia {

class BenchContext;

/// The keys of the board's keyboard, as the pictured keyboard of the test
/// dialog lays them out: rows 1..4 left to right, the tall "BB", then the
/// top row of board types 3 and 4.
namespace keyboard {
enum Key : int {
    Arrow, Seven, Eight, Nine, Sb, Percent, Kl,           // row 1
    Mh, Four, Five, Six, Pv, Minus2, Plus,                // row 2
    Fc, One, Two, Three, Times, Minus3,                   // row 3
    Bn, Zero, DoubleZero, Point, Itog,                    // row 4
    Bb,                                                   // rows 3 and 4
    Top1, Top2, Top3, Top4, Top5, Top6,                   // top row
    KeyCount
};
constexpr int NoKey = -1;

/// The text on the key's button ("7", "СБ", "ИТОГ", "1" for top 1); empty for
/// the four keys that show a picture (the arrow, the two minus keys, "+").
QString label(int key);
/// A name that tells every key apart ("7", "СБ", "-2", "-3", "|", "+",
/// "T1".."T6"); also what a key script of the simulated bench calls it.
QString name(int key);
/// The picture (icon 171..174) of a picture key, 0 for the others.
int iconOf(int key);
bool isTopRowKey(int key);

/// The key whose scan code (row byte + 256 × column bit) this is on the board
/// type, or NoKey: only the exact code of one key matches (two keys of one
/// column, an empty cell, a column bit the board does not have: no key).
int keyOfCode(int boardType, quint16 code);
/// The scan code of a key on the board type, or 0 when that board has no such key.
quint16 codeOfKey(int boardType, int key);
/// The column bit after `column` in the scan (wraps to 0x01 after the last).
quint8 nextColumn(int boardType, quint8 column);
/// Columns of the board type's matrix: 4 (types 0..2), 5 (type 3), 7 (type 4).
int columnCount(int boardType);
} // namespace keyboard

/// The keyboard test ("Тест клавиатуры") without its window. The dialog calls
/// open() once, then tick() every ScanMs; the buttons call pressExit() and
/// pressDiagnostics(). Each tick drives one column and reads the rows (types
/// 0..3 through the 82C55 at 0x4002/0x4001, type 4 by a read at 0x8000 with
/// the column in the low address byte); a key found beeps 600 Hz / 30 ms and
/// stays shown pressed for good. Results: 2 "Выход", 123 "Диагностика", 124 a
/// link failure. UI thread; every tick talks to the link.
class KeyboardTest {
public:
    static constexpr int ScanMs = 50;

    explicit KeyboardTest(BenchContext& ctx);

    BenchContext& context() const { return m_ctx; }
    void open();
    void tick();
    void pressExit();
    void pressDiagnostics();

    bool hasEnded() const { return m_result != 0; }
    int result() const { return m_result; }
    bool showsTopRow() const;
    quint8 column() const { return m_column; }
    bool isPressed(int key) const;
    /// Keys seen so far, in the order first seen.
    const QList<int>& pressedKeys() const { return m_order; }
    /// The key found by the last tick, or NoKey.
    int lastKey() const { return m_lastKey; }
    /// The scan code the last tick read.
    quint16 lastCode() const { return m_lastCode; }

    static QString title();
    static QString hintText();
    static QString exitButton();
    static QString diagnosticsButton();

private:
    BenchContext& m_ctx;
    quint8 m_column = 0x01;
    int m_result = 0;
    quint64 m_pressed = 0;
    QList<int> m_order;
    int m_lastKey = keyboard::NoKey;
    quint16 m_lastCode = 0;
};

} // namespace kia
