#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace kia {

class BenchContext;

/// Kinds of the memory-error display: which memory the block is read from,
/// the title, and where the walk through the blocks ends.
enum class MemoryErrorKind : int {
    Ram = 0,
    Eeprom = 1,          // 28С256 (types 0..3) / 29С010 (type 4)
    SerialEeprom = 2,    // 24С256
    FiscalBlank = 3,     // ФП blank check
    FiscalWrite = 4,     // ФП write test, types 0..3
    DisplayMemory = 5,   // indicator display memory (read through the indicator access)
    CharacterMemory = 6, // indicator character-generator memory
    FiscalBank = 7,      // ФП write test, type 4
};

/// The memory-error display without its window: given the kind, the pattern
/// and the block start (failing address with the low 7 bits cleared; for
/// type-4 banks it includes the bank offset), open() reads the 128-byte block
/// through the link and compares it with the pattern. A clean block means the
/// display closes at once with 1; a failed read with 124. Otherwise the dialog
/// shows the title, the rows and the enabled buttons that this model gives and
/// returns the button's result. Made and used on the UI thread (it talks to
/// the link in open()); after open() it is a plain value.
class MemoryErrorModel {
public:
    enum class Opening {
        Shown,       // the block holds bad bytes: show it
        Clean,       // every byte as expected: end with 1 at once
        LinkFailure, // the read failed: end with 124 at once
        NotOpened    // open() has not run yet
    };

    /// Layout of the list in dialog base units: the address column, the data
    /// column, the whole list; and the rows visible at once.
    static constexpr int AddressColumnUnits = 7;
    static constexpr int DataColumnUnits = 42;
    static constexpr int ListWidthUnits = 49;
    static constexpr int VisibleRows = 8;

    /// Button results.
    static constexpr int ContinueResult = 1;
    static constexpr int NextTestResult = 125;
    static constexpr int DiagnosticsResult = 123;
    static constexpr int ExitResult = 2;
    static constexpr int LinkFailureResult = 124;

    MemoryErrorModel(BenchContext& ctx, MemoryErrorKind kind, int pattern, quint32 blockStart);

    /// Reads and compares the block (kind-specific reads, bank selection included).
    Opening open();
    /// The display's result when it does not become visible: 1 or 124 (2 before open()).
    int immediateResult() const;

    MemoryErrorKind kind() const { return m_kind; }
    int pattern() const { return m_pattern; }
    quint32 blockStart() const { return m_block; }
    int boardType() const { return m_boardType; }

    QString title() const;
    /// "Продолжить тест" is disabled at the last block of the range.
    bool continueEnabled() const;
    /// "Следующий тест" is disabled when the test has no further step.
    bool nextTestEnabled() const;

    int rowCount() const;
    int byteCount() const { return rowCount() * 16; }
    /// Five upper-case hexadecimal digits: block + 16 × row.
    QString addressText(int row) const;
    quint8 readByte(int index) const { return m_read[static_cast<size_t>(index & 127)]; }
    quint8 expectedByte(int index) const { return m_expected[static_cast<size_t>(index & 127)]; }
    bool differs(int index) const { return readByte(index) != expectedByte(index); }
    /// The byte shown at `index` in the present mode.
    quint8 shownByte(int index) const { return m_showRead ? readByte(index) : expectedByte(index); }
    int differingCount() const;
    /// "01F80  00 47 00 49 00 4B 00 4D - 00 4F …": the row as text, read or expected bytes.
    QString rowText(int row, bool readData) const;

    /// Read data are shown at first; a click on the data column header toggles.
    bool showingRead() const { return m_showRead; }
    void toggleMode() { m_showRead = !m_showRead; }
    QString dataHeader() const;
    QString hint() const;

    static QString addressHeader();
    static QString continueButton();
    static QString nextTestButton();
    static QString diagnosticsButton();
    static QString exitButton();

private:
    bool readBlock();
    bool readIndicatorCells();
    quint16 expectedAddress(int index) const;

    BenchContext& m_ctx;
    MemoryErrorKind m_kind;
    int m_pattern;
    quint32 m_block;
    int m_boardType;
    Opening m_opening = Opening::NotOpened;
    bool m_showRead = true;
    std::array<quint8, 128> m_read{};
    std::array<quint8, 128> m_expected{};
};

} // namespace kia
