#include "keyboardtest.h"

#include "core/benchcontext.h"
#include "core/userprompts.h"
#include "testresults.h"

#include <array>

namespace kia {

namespace keyboard {

namespace {
constexpr int N = NoKey;
constexpr std::array<quint8, 7> kRows7 = {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF};

// The matrix of board types 0..2 (and of type 3 after its top-row column),
// column by column, rows in the order of kRows7.
constexpr int kMain[4][7] = {
    {Arrow, Seven, Eight, Nine, Sb, Percent, Kl},
    {Mh, Four, Five, Six, Pv, Minus2, Plus},
    {Fc, One, Two, Three, N, Times, Minus3},
    {Bn, Zero, DoubleZero, Point, Bb, Itog, N},
};
constexpr int kTop[7] = {Top1, Top2, Top3, Top4, Top5, Top6, N};
// Board type 4: seven columns of five rows.
constexpr int kType4[7][5] = {
    {Top1, Arrow, Mh, Fc, Bn},      {Top2, Seven, Four, One, Zero},
    {Top3, Eight, Five, Two, DoubleZero}, {Top4, Nine, Six, Three, Point},
    {Top5, Sb, Pv, N, Bb},          {Top6, Percent, Minus2, Times, Itog},
    {N, Kl, Plus, Minus3, N},
};

struct KeyText {
    const char* label;
    const char* name;
};
constexpr KeyText kTexts[KeyCount] = {
    {"", "|"},      {"7", "7"},   {"8", "8"},       {"9", "9"},   {"СБ", "СБ"}, {"%", "%"},
    {"КЛ", "КЛ"},   {"MH", "MH"}, {"4", "4"},       {"5", "5"},   {"6", "6"},   {"ПВ", "ПВ"},
    {"", "-2"},     {"", "+"},    {"ФЦ", "ФЦ"},     {"1", "1"},   {"2", "2"},   {"3", "3"},
    {"x", "x"},     {"", "-3"},   {"БН", "БН"},     {"0", "0"},   {"00", "00"}, {".", "."},
    {"ИТОГ", "ИТОГ"}, {"BB", "BB"}, {"1", "T1"},    {"2", "T2"},  {"3", "T3"},  {"4", "T4"},
    {"5", "T5"},    {"6", "T6"},
};

bool validKey(int key) {
    return key >= 0 && key < KeyCount;
}

int rowIndex(quint8 row, int rows) {
    for (int r = 0; r < rows; ++r) {
        if (kRows7[static_cast<size_t>(r)] == row)
            return r;
    }
    return -1;
}

int columnIndex(quint8 bit, int columns) {
    for (int c = 0; c < columns; ++c) {
        if (bit == (1u << c))
            return c;
    }
    return -1;
}

int keyAt(int boardType, int column, int row) {
    if (boardType == 4)
        return kType4[column][row];
    if (boardType == 3)
        return column == 0 ? kTop[row] : kMain[column - 1][row];
    return kMain[column][row];
}
} // namespace

QString label(int key) {
    return validKey(key) ? QString::fromUtf8(kTexts[key].label) : QString();
}

QString name(int key) {
    return validKey(key) ? QString::fromUtf8(kTexts[key].name) : QString();
}

int iconOf(int key) {
    switch (key) {
    case Arrow:
        return 171;
    case Minus2:
        return 172;
    case Plus:
        return 173;
    case Minus3:
        return 174;
    default:
        return 0;
    }
}

bool isTopRowKey(int key) {
    return key >= Top1 && key <= Top6;
}

int columnCount(int boardType) {
    return boardType == 4 ? 7 : boardType == 3 ? 5 : 4;
}

int keyOfCode(int boardType, quint16 code) {
    const int rows = boardType == 4 ? 5 : 7;
    const int c = columnIndex(static_cast<quint8>(code >> 8), columnCount(boardType));
    const int r = rowIndex(static_cast<quint8>(code & 0xFF), rows);
    if (c < 0 || r < 0)
        return NoKey;
    return keyAt(boardType, c, r);
}

quint16 codeOfKey(int boardType, int key) {
    if (!validKey(key))
        return 0;
    const int rows = boardType == 4 ? 5 : 7;
    for (int c = 0; c < columnCount(boardType); ++c) {
        for (int r = 0; r < rows; ++r) {
            if (keyAt(boardType, c, r) == key)
                return static_cast<quint16>(kRows7[static_cast<size_t>(r)] | (0x100u << c));
        }
    }
    return 0;
}

quint8 nextColumn(int boardType, quint8 column) {
    const unsigned next = static_cast<unsigned>(column) << 1;
    return next >= (1u << columnCount(boardType)) || next == 0 ? quint8(0x01) : quint8(next);
}

} // namespace keyboard

namespace {
constexpr quint16 kPpiPortB = 0x4001;
constexpr quint16 kPpiPortC = 0x4002;
constexpr quint16 kType4Keyboard = 0x8000;
constexpr int kBeepHz = 600;
constexpr int kBeepMs = 30;
} // namespace

KeyboardTest::KeyboardTest(BenchContext& ctx) : m_ctx(ctx) {}

QString KeyboardTest::title() {
    return QStringLiteral("Тест клавиатуры");
}
QString KeyboardTest::hintText() {
    return QStringLiteral("Нажимая последовательно все клавиши на клавиатуре блока управления, "
                          "проверьте их срабатывание по  изменению сотояний соответствующих "
                          "кнопок на данном макете.");
}
QString KeyboardTest::exitButton() {
    return QStringLiteral("Выход");
}
QString KeyboardTest::diagnosticsButton() {
    return QStringLiteral("Диагностика");
}

bool KeyboardTest::showsTopRow() const {
    return m_ctx.boardType == 3 || m_ctx.boardType == 4;
}

bool KeyboardTest::isPressed(int key) const {
    return key >= 0 && key < keyboard::KeyCount && ((m_pressed >> key) & 1);
}

void KeyboardTest::open() {
    m_column = 0x01;
    m_lastKey = keyboard::NoKey;
}

void KeyboardTest::tick() {
    if (hasEnded())
        return;
    LinkPort& link = m_ctx.link;
    quint8 row = 0;
    if (isProgrammerBoard(m_ctx.boardType)) {
        const quint16 v =
            link.ReadMemoryByte(static_cast<quint16>(kType4Keyboard | (m_column ^ 0xFF)));
        if (v > 0xFF) {
            m_result = ResultLinkFailure;
            return;
        }
        row = static_cast<quint8>((v & 0x1F) | 0xE0);
    } else {
        const quint8 columns = static_cast<quint8>(~m_column & 0x3F);
        if (!link.WriteMemoryByte(kPpiPortC, columns)) {
            m_result = ResultLinkFailure;
            return;
        }
        m_ctx.ppiShadows[2] = columns;
        const quint16 v = link.ReadMemoryByte(kPpiPortB);
        if (v > 0xFF) {
            m_result = ResultLinkFailure;
            return;
        }
        row = static_cast<quint8>((v & 0x7F) | 0x80);
    }
    m_lastCode = static_cast<quint16>(row | (m_column << 8));
    m_lastKey = keyboard::keyOfCode(m_ctx.boardType, m_lastCode);
    if (m_lastKey != keyboard::NoKey) {
        m_ctx.prompts.beep(kBeepHz, kBeepMs);
        if (!isPressed(m_lastKey)) {
            m_pressed |= quint64(1) << m_lastKey;
            m_order << m_lastKey;
        }
    }
    m_column = keyboard::nextColumn(m_ctx.boardType, m_column);
}

void KeyboardTest::pressExit() {
    if (!hasEnded())
        m_result = ResultExit;
}

void KeyboardTest::pressDiagnostics() {
    if (!hasEnded())
        m_result = ResultDiagnostics;
}

} // namespace kia
