#pragma once

#include "memoryerrormodel.h"
#include "testprocedure.h"

#include <QtGlobal>
#include <array>

namespace kia {

/// The banked memory tests: the 28С256 (test 4 on types 0..3, two 16 KiB
/// banks), the 29С010 (test 4 on type 4, four 32 KiB banks) and the ФП write
/// test of type 4 (test 7, two 32 KiB banks). Each pattern group fills every
/// bank (write phase), then checks every bank (verify phase); the groups use
/// patterns 1..6 shifted by bank, the last one erases (pattern 7). A bad cell
/// opens the memory-error display for its block.
class BankTest final : public TestProcedure {
public:
    struct Layout {
        int banks = 2;
        int stepCount = 28;
        int period = 100;
        quint32 bankSize = 0x4000;
        MemoryErrorKind kind = MemoryErrorKind::Eeprom;
        /// Port-1 mask that selects the bank in the verify phase on type 4.
        quint8 type4SelectMask = 0x60;
        QString progressText;
    };

    BankTest(int boardType, const Layout& layout);
    /// Test 4 on the board type, or test 7 on type 4.
    static Layout eepromLayout(int boardType);
    static Layout fiscalLayout();

    int stepCount() const override { return m_layout.stepCount; }
    int period() const override { return m_layout.period; }
    QString progressText() const override { return m_layout.progressText; }
    void step(TestEngine& engine) override;

    /// Pattern of bank `bank` in pattern group `group`: 1..6 cyclically from
    /// group + 1, and 7 (erase) for every bank of group 6.
    static int bankPattern(int group, int bank);
    /// "Тест 3 - запись ( банк 1 ) ...", "Тест 3 - чтение ( банк 1 ) ..." or "Очистка...".
    static QString stepText(int pattern, bool verify, int bank);
    /// Where the walk through the bad blocks of bank `bank` ends.
    quint32 lastBlock(int bank) const;

private:
    bool selectBank(TestEngine& engine, int bank, bool verify);

    int m_boardType;
    Layout m_layout;
    bool m_verify = false;
};

} // namespace kia
